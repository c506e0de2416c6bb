#include "statistics/IndependenceCrossing.h"

#include <limits>
#include <utility>

#include "app/ModaliteEtendue.h"
#include "tabulation/CrossPlanes.h"
#include <numeric>
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"

namespace {

// One side of the cross: the modality map of the profile line, signed for the planes.
struct Side {
    CQuestionEtendue* question = nullptr;
    int modalityCount = 0;
    std::vector<std::int32_t> codes;
    std::vector<std::uint16_t> map;
    std::vector<std::int16_t> signedMap;
    int total = -1;
    int lines = 0;
};

bool MapSide(const CMoteurTableau& engine, const CProfil& profile, int line, Side& side) {
    int nonResponse = -1;
    std::vector<std::unique_ptr<CModaliteEtendue>> selected;
    engine.DonnerIndexModalites(profile, line, side.question, side.modalityCount, side.codes, side.map, side.total,
                                nonResponse, side.lines, selected);
    if (side.question == nullptr || side.lines > std::numeric_limits<std::int16_t>::max())
        return false;
    side.signedMap.reserve(side.map.size());
    for (const std::uint16_t position : side.map)
        side.signedMap.push_back(position == CMoteurTableau::kNotKept ? std::int16_t{-1}
                                                                       : static_cast<std::int16_t>(position));
    return true;
}

} // namespace

double IndependenceCrossing::Risque() const {
    if (!EstTestable() || probabilite == kValeurManquante)
        return kValeurManquante;
    // The upper tail directly: 1 - probabilite loses every digit of a risk below 1e-16.
    return ProbaKhiDeuxSuperieure(khiDeux, degresLibertes) * 100.0;
}

std::vector<double> IndependenceCrossing::Plan(int plane) const {
    const std::size_t size = static_cast<std::size_t>(lignes) * static_cast<std::size_t>(colonnes);
    if (plane < 0 || plans.size() < size * (static_cast<std::size_t>(plane) + 1))
        return std::vector<double>(size, 0.0);
    const auto first = plans.begin() + static_cast<std::ptrdiff_t>(size * static_cast<std::size_t>(plane));
    return std::vector<double>(first, first + static_cast<std::ptrdiff_t>(size));
}

bool IndependenceCrossing::Croiser(CMoteurTableau& engine, const CProfil& rows, int i, const CProfil& columns, int j,
                                   int level, std::int32_t studyField, std::int32_t weighting,
                                   IndependenceCrossing& out, std::string& error) {
    Side row;
    Side column;
    if (!MapSide(engine, rows, i, row) || !MapSide(engine, columns, j, column))
        return false;
    std::vector<double> matrix;
    double total = 0.0;
    if (!engine.CroiserModalites(*row.question, *column.question, matrix, total, row.map, column.map, level,
                                 studyField, weighting, error))
        return false;
    IndependenceCrossing result;
    result.lignes = row.lines;
    result.colonnes = column.lines;
    result.ligneTotal = row.total;
    result.colonneTotal = column.total;
    engine.CalculerPourcentages(result.plans, matrix, row.lines, row.modalityCount, row.signedMap, row.total,
                                column.lines, column.modalityCount, column.signedMap, column.total);
    CMoteurTableau::CalculerKhiDeux(result.plans, row.lines, column.lines, row.total, column.total, result.khiDeux,
                                    result.degresLibertes, result.probabilite);
    out = std::move(result);
    return true;
}

IndependenceCrossing IndependenceCrossing::DeTableau(const std::vector<double>& counts, int r, int c) {
    const std::size_t width = static_cast<std::size_t>(c) + 1;
    std::vector<double> matrix((static_cast<std::size_t>(r) + 1) * width, 0.0);
    for (int a = 0; a < r; ++a)
        for (int b = 0; b < c; ++b) {
            const double count = counts[static_cast<std::size_t>(a) * static_cast<std::size_t>(c) + static_cast<std::size_t>(b)];
            matrix[static_cast<std::size_t>(a) * width + static_cast<std::size_t>(b)] = count;
            matrix[static_cast<std::size_t>(a) * width + static_cast<std::size_t>(c)] += count;
            matrix[static_cast<std::size_t>(r) * width + static_cast<std::size_t>(b)] += count;
            matrix[static_cast<std::size_t>(r) * width + static_cast<std::size_t>(c)] += count;
        }
    std::vector<std::int16_t> rowMap(static_cast<std::size_t>(r));
    std::vector<std::int16_t> columnMap(static_cast<std::size_t>(c));
    std::iota(rowMap.begin(), rowMap.end(), std::int16_t{0});
    std::iota(columnMap.begin(), columnMap.end(), std::int16_t{0});
    IndependenceCrossing result;
    result.lignes = r + 1;
    result.colonnes = c + 1;
    result.ligneTotal = r;
    result.colonneTotal = c;
    CrossPlanes::CalculerPourcentages(result.plans, matrix, r + 1, r, rowMap, r, c + 1, c, columnMap, c,
                                      CrossPlanes::SignificanceSettings{});
    CMoteurTableau::CalculerKhiDeux(result.plans, r + 1, c + 1, r, c, result.khiDeux, result.degresLibertes,
                                    result.probabilite);
    return result;
}

std::vector<double> IndependenceCrossing::Contributions() const {
    const std::vector<double> observed = Plan(CrossPlanes::kCount);
    const std::vector<double> expected = Plan(CrossPlanes::kExpectedCount);
    const auto at = [this](int i, int j) { return static_cast<std::size_t>(i) * static_cast<std::size_t>(colonnes) + static_cast<std::size_t>(j); };
    std::vector<double> contributions(observed.size(), 0.0);
    for (int i = 0; i < lignes; ++i) {
        if (i == ligneTotal)
            continue;
        for (int j = 0; j < colonnes; ++j) {
            if (j == colonneTotal)
                continue;
            const double e = expected[at(i, j)];
            const double o = observed[at(i, j)];
            double share = 0.0;
            if (khiDeux > 0.0 && e > 0.0)
                share = (o - e) * (o - e) / e / khiDeux * 100.0;
            contributions[at(i, j)] = o >= e ? share : -share;
            if (ligneTotal >= 0)
                contributions[at(ligneTotal, j)] += share;
            if (colonneTotal >= 0)
                contributions[at(i, colonneTotal)] += share;
        }
    }
    if (ligneTotal >= 0 && colonneTotal >= 0)
        contributions[at(ligneTotal, colonneTotal)] = 100.0;
    return contributions;
}
