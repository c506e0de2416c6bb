#include "statistics/IndependenceCrossing.h"

#include <limits>
#include <utility>

#include "app/ModaliteEtendue.h"
#include "tabulation/CrossPlanes.h"
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
    return (1.0 - probabilite) * 100.0;
}

std::vector<double> IndependenceCrossing::Plan(int plane) const {
    const std::size_t size = static_cast<std::size_t>(lignes) * static_cast<std::size_t>(colonnes);
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
