#include "tabulation/ExecuteurTraitement.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/Calcul.h"
#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/QuestionEtendue.h"
#include "recodes/RecodageModalite.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/EnTetesRegroupement.h"
#include "tabulation/Fusion.h"
#include "tabulation/LignesRepetees.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/NumericStatistics.h"
#include "tabulation/ValeursDerivees.h"

// The tables of two questions: cross tables (over respondents or over answers), cross tables
// whose rows are the nodes of a grouping, and mean tables of a numeric question by the modalities
// of a closed one.
//
// A cross is computed as one block of lines x columns per calculation line, holding the plane
// its code names (count, percentages, significance mark...); the assembly turns the blocks into
// one or several tables as the request's merge options say. A kernel that fails shows its text
// and the request is dropped: no table is made from it.

namespace {

using Lignes = CTraitement::Lignes;
using Calculs = CTraitement::Calculs;
using NiveauxLibelles = CExecuteurTraitement::NiveauxLibelles;
using Blocs = std::vector<std::vector<double>>;

constexpr double kMissing = CTableauBase::kValeurManquante;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

int Count(std::size_t size) { return static_cast<int>(size); }

// ---- Axes ----

// Where each modality of a question stands among the lines of an axis: the map the counting
// kernels read, and the same map signed (-1 not kept) for the planes. A line given twice is
// computed on its first occurrence (the Total too) and copied onto the others from `sources`.
struct AxisMap {
    int modalityCount = 0;
    std::vector<std::int32_t> codes;
    std::vector<std::uint16_t> map;
    std::vector<std::int16_t> signedMap;
    int totalPosition = -1;
    std::vector<int> sources;
};

std::int16_t Signed(std::uint16_t position) {
    if (position == CMoteurTableau::kNotKept || position > std::numeric_limits<std::int16_t>::max())
        return -1;
    return static_cast<std::int16_t>(position);
}

AxisMap MapAxis(const CMoteurTableau& engine, const CQuestionEtendue& question, const Lignes& lines) {
    AxisMap axis;
    std::uint16_t total = CMoteurTableau::kNotKept;
    std::uint16_t nonResponse = CMoteurTableau::kNotKept;
    engine.DonnerCorrespondanceModalites(question, lines, axis.modalityCount, axis.codes, axis.map, total,
                                         nonResponse);
    axis.signedMap.reserve(axis.map.size());
    for (const std::uint16_t position : axis.map)
        axis.signedMap.push_back(Signed(position));
    axis.sources = LignesRepetees::DonnerSources(lines);
    axis.totalPosition = LignesRepetees::Source(axis.sources, Signed(total));
    return axis;
}

template <class T> NiveauxLibelles OneLevel(const std::vector<std::unique_ptr<T>>& lines) {
    NiveauxLibelles levels(1);
    for (const auto& line : lines)
        levels[0].push_back(line.get());
    return levels;
}

// ---- Planes and blocks ----

// Cell (i, j) of plane `plane` among eight planes of `rows` x `columns`; a code that names no
// plane shows no value.
double PlaneValue(std::span<const double> planes, std::int32_t plane, int rows, int columns, int i, int j) {
    if (plane < 0 || plane >= CrossPlanes::kPlaneCount)
        return kMissing;
    const std::size_t at = (Index(plane) * Index(rows) + Index(i)) * Index(columns) + Index(j);
    return at < planes.size() ? planes[at] : kMissing;
}

std::vector<std::uint16_t> PlaneMarkers(const Calculs& calculations) {
    std::vector<std::uint16_t> markers;
    markers.reserve(calculations.size());
    for (const auto& calculation : calculations)
        markers.push_back(static_cast<std::uint16_t>(CMoteurTableau::DonnerTypeMarqueur(calculation->code)));
    return markers;
}

// Everything the assembly of a cross needs, owned here: the request moves into the assembly, so
// labels and calculation lines are copies that outlive it.
struct Croisement {
    int rowHeaderLevels = 1;
    int rows = 0;
    int columns = 0;
    Lignes ownedRowLabels;
    NiveauxLibelles rowLabels;
    Lignes columnLines;
    Calculs calculations;
    CFusion rowMerges;
    CFusion columnMerges;
    Blocs blocks; // one rows x columns block per calculation line
    std::vector<std::uint16_t> markers;
    double base = 0.0;
};

// The lines, calculations, empty blocks and markers of a cross whose columns are the request's
// column lines.
void PrepareColumns(const CTraitement& request, Croisement& cross) {
    CLigne::CopierLignes(cross.columnLines, request.GetModalitesAxe(CTraitement::kColonnes));
    CCalcul::CopierTableau(cross.calculations, request.GetCalculsLignes());
    cross.columns = Count(cross.columnLines.size());
    cross.markers = PlaneMarkers(cross.calculations);
}

void AllocateBlocks(Croisement& cross) {
    cross.blocks.assign(cross.calculations.size(), std::vector<double>(Index(cross.rows) * Index(cross.columns)));
}

// Every occurrence of a repeated line or column shows the values of its first one.
void CopyRepeats(Croisement& cross, const std::vector<int>* rowSources,
                 const std::vector<int>& columnSources) {
    for (std::vector<double>& block : cross.blocks) {
        if (rowSources != nullptr)
            LignesRepetees::RecopierLignes(block, cross.columns, *rowSources);
        LignesRepetees::RecopierColonnes(block, cross.columns, columnSources);
    }
}

void AssembleCross(CExecuteurTraitement& runner, std::unique_ptr<CTraitement> request, const Croisement& cross) {
    runner.AssemblerTableaux(std::move(request), cross.blocks, 1, cross.rows, cross.rowHeaderLevels, cross.columns,
                             cross.rowLabels, OneLevel(cross.columnLines), cross.calculations, cross.rowMerges,
                             cross.columnMerges, cross.markers, cross.base);
}

// ---- Cross tables ----

using PlaneFunction = void (CMoteurTableau::*)(std::vector<double>&, std::span<const double>, int, int,
                                               std::span<const std::int16_t>, int, int, int,
                                               std::span<const std::int16_t>, int) const;

// Counts the request's two questions and lays the planes out as blocks. False when the crossing
// fails (with its text in `error`) or a side has no question (with no text).
bool CrossQuestions(CMoteurTableau& engine, const CTraitement& request, PlaneFunction planesOf, Croisement& cross,
                    std::string& error) {
    CQuestionEtendue* rowQuestion = request.GetQuestionAxe(CTraitement::kLignes);
    CQuestionEtendue* columnQuestion = request.GetQuestionAxe(CTraitement::kColonnes);
    if (rowQuestion == nullptr || columnQuestion == nullptr)
        return false;
    const Lignes& rowLines = request.GetModalitesAxe(CTraitement::kLignes);
    const AxisMap rows = MapAxis(engine, *rowQuestion, rowLines);
    const AxisMap columns = MapAxis(engine, *columnQuestion, request.GetModalitesAxe(CTraitement::kColonnes));
    std::vector<double> matrix;
    if (!engine.CroiserModalites(*rowQuestion, *columnQuestion, matrix, cross.base, rows.map, columns.map,
                                 request.level, request.studyFieldId, request.weightingId, error))
        return false;

    PrepareColumns(request, cross);
    CLigne::CopierLignes(cross.ownedRowLabels, rowLines);
    cross.rowLabels = OneLevel(cross.ownedRowLabels);
    cross.rows = Count(rowLines.size());
    cross.rowMerges = CFusion(1, 1, cross.rows, cross.columns);
    cross.columnMerges = CFusion(1, 1, cross.rows, cross.columns);

    std::vector<double> planes;
    (engine.*planesOf)(planes, matrix, cross.rows, rows.modalityCount, rows.signedMap, rows.totalPosition,
                       cross.columns, columns.modalityCount, columns.signedMap, columns.totalPosition);
    AllocateBlocks(cross);
    for (std::size_t k = 0; k < cross.calculations.size(); ++k) {
        const std::int32_t plane = cross.calculations[k]->code;
        for (int i = 0; i < cross.rows; ++i)
            for (int j = 0; j < cross.columns; ++j)
                cross.blocks[k][Index(i) * Index(cross.columns) + Index(j)] =
                    PlaneValue(planes, plane, cross.rows, cross.columns, i, j);
    }
    CopyRepeats(cross, &rows.sources, columns.sources);
    return true;
}

// ---- Cross tables with grouped rows ----

// The lines are the grouping's nodes, headed and merged as the nodes' tree.
void PrepareNodeRows(const CRecodageModalite& grouping, Croisement& cross) {
    EnTetesRegroupement::LibellesNoeuds labels = EnTetesRegroupement::DonnerLibellesNoeuds(grouping);
    cross.ownedRowLabels = std::move(labels.labels);
    cross.rowLabels = std::move(labels.levels);
    cross.rowHeaderLevels = grouping.DonnerNombreNiveaux();
    cross.rows = grouping.NodeCount();
    EnTetesRegroupement::FusionsNoeuds merges = EnTetesRegroupement::DonnerFusionsNoeuds(grouping, cross.columns);
    cross.rowMerges = std::move(merges.rowMerges);
    cross.columnMerges = std::move(merges.columnMerges);
}

// Group g of the level puts row g of each calculation's plane on its node's line.
void PlaceGroupRows(const CRecodageModalite& grouping, int groupLevel, int groups, std::span<const double> planes,
                    Croisement& cross) {
    for (int g = 0; g < groups; ++g) {
        const int node = grouping.DonnerIndexNoeud(g, groupLevel);
        if (node < 0 || node >= cross.rows)
            continue;
        for (std::size_t k = 0; k < cross.calculations.size(); ++k) {
            const std::int32_t plane = cross.calculations[k]->code;
            for (int j = 0; j < cross.columns; ++j)
                cross.blocks[k][Index(node) * Index(cross.columns) + Index(j)] =
                    PlaneValue(planes, plane, groups + 1, cross.columns, g, j);
        }
    }
}

struct GroupedSides {
    CQuestionEtendue& rowQuestion;
    CQuestionEtendue& columnQuestion;
    const CRecodageModalite& grouping;
    const AxisMap& columns;
};

// Every group level crossed with the column question. The column percentages of every level are
// measured against the column totals of level 0, and the total percentages against the largest
// total met so far, which is also the base.
bool CrossGroupLevels(CMoteurTableau& engine, const CTraitement& request, const GroupedSides& sides,
                      const CrossPlanes::SignificanceSettings& settings, Croisement& cross, std::string& error) {
    std::vector<double> columnBases;
    for (int k = 0; k < cross.rowHeaderLevels; ++k) {
        std::vector<double> matrix;
        double total = 0.0;
        if (!engine.CroiserGroupes(sides.rowQuestion, sides.columnQuestion, sides.grouping, k, matrix, total,
                                   sides.columns.map, request.level, request.studyFieldId, request.weightingId,
                                   error))
            return false;
        cross.base = std::max(cross.base, total);
        const int groups = sides.grouping.DonnerNombreGroupes(k);
        std::vector<double> planes;
        ValeursDerivees::CalculerPlansCroisesRegroupes(planes, matrix, cross.base, groups, cross.columns,
                                                       sides.columns.modalityCount, sides.columns.signedMap,
                                                       sides.columns.totalPosition, columnBases, settings);
        PlaceGroupRows(sides.grouping, k, groups, planes, cross);
    }
    return true;
}

// ---- Mean tables ----

// Cell (i, j) holds entry `code of calculation j` of line i's record; a code the record does not
// have shows no value.
std::vector<double> MeanCells(std::span<const double> records, int lines, const Calculs& calculations) {
    constexpr int width = NumericStatistics::kMeanRecordSize;
    const int columns = Count(calculations.size());
    std::vector<double> cells(Index(lines) * Index(columns), kMissing);
    for (int i = 0; i < lines; ++i)
        for (int j = 0; j < columns; ++j) {
            const std::int32_t code = calculations[Index(j)]->code;
            const std::size_t at = Index(i) * Index(width) + Index(code);
            if (code >= 0 && code < width && at < records.size())
                cells[Index(i) * Index(columns) + Index(j)] = records[at];
        }
    return cells;
}

std::vector<std::uint16_t> MeanMarkers(const Calculs& calculations) {
    std::vector<std::uint16_t> markers;
    markers.reserve(calculations.size());
    for (const auto& calculation : calculations)
        markers.push_back(ValeursDerivees::MarqueCalculMoyenne(calculation->code));
    return markers;
}

} // namespace

void CExecuteurTraitement::CalculerTriCroise(std::unique_ptr<CTraitement> request) {
    CMoteurTableau engine(GetContexte());
    Croisement cross;
    std::string error;
    if (!CrossQuestions(engine, *request, &CMoteurTableau::CalculerPourcentages, cross, error)) {
        if (!error.empty())
            SignalerErreur(error);
        return;
    }
    AssembleCross(*this, std::move(request), cross);
}

void CExecuteurTraitement::CalculerTauxImportanceCroise(std::unique_ptr<CTraitement> request) {
    CMoteurTableau engine(GetContexte());
    Croisement cross;
    std::string error;
    if (!CrossQuestions(engine, *request, &CMoteurTableau::CalculerPourcentagesReponses, cross, error)) {
        if (!error.empty())
            SignalerErreur(error);
        return;
    }
    AssembleCross(*this, std::move(request), cross);
}

void CExecuteurTraitement::CalculerTriCroiseRegroupe(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* rowQuestion = request->GetQuestionAxe(CTraitement::kLignes);
    CQuestionEtendue* columnQuestion = request->GetQuestionAxe(CTraitement::kColonnes);
    const CRecodageModalite* grouping = request->GetRegroupementAxe(CTraitement::kLignes);
    if (rowQuestion == nullptr || columnQuestion == nullptr || grouping == nullptr)
        return;
    CMoteurTableau engine(GetContexte());
    const AxisMap columns = MapAxis(engine, *columnQuestion, request->GetModalitesAxe(CTraitement::kColonnes));
    Croisement cross;
    PrepareColumns(*request, cross);
    PrepareNodeRows(*grouping, cross);
    AllocateBlocks(cross);
    std::string error;
    const GroupedSides sides{*rowQuestion, *columnQuestion, *grouping, columns};
    if (!CrossGroupLevels(engine, *request, sides, CrossPlanes::SignificanceSettings::FromSurvey(GetContexte()),
                          cross, error)) {
        SignalerErreur(error);
        return;
    }
    CopyRepeats(cross, nullptr, columns.sources);
    AssembleCross(*this, std::move(request), cross);
}

void CExecuteurTraitement::CalculerTableauMoyenne(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* closedQuestion = request->GetQuestionAxe(CTraitement::kLignes);
    CQuestionEtendue* numericQuestion = request->GetQuestionAxe(CTraitement::kColonnes);
    if (closedQuestion == nullptr || numericQuestion == nullptr)
        return;
    CMoteurTableau engine(GetContexte());
    const Lignes& lines = request->GetModalitesAxe(CTraitement::kLignes);
    const AxisMap rows = MapAxis(engine, *closedQuestion, lines);
    std::vector<double> records;
    double total = 0.0;
    std::string error;
    if (!engine.CalculerMoyennesModalites(*closedQuestion, *numericQuestion, records, total, rows.map,
                                          request->level, request->studyFieldId, request->weightingId, error)) {
        SignalerErreur(error);
        return;
    }
    const int lineCount = Count(lines.size());
    std::vector<double> placed;
    ValeursDerivees::PlacerLignesStatistiques(placed, records, lineCount, rows.modalityCount, rows.map,
                                              rows.totalPosition);
    LignesRepetees::RecopierLignes(placed, NumericStatistics::kMeanRecordSize, rows.sources);
    const Calculs& calculations = request->GetCalculsLignes();
    const std::vector<double> cells = MeanCells(placed, lineCount, calculations);
    const std::vector<std::uint16_t> markers = MeanMarkers(calculations);
    // The labels point into the request, which the table keeps: they outlive the building.
    ConstruireTableau(1, 1, lineCount, Count(calculations.size()), cells, markers, OneLevel(lines),
                      OneLevel(calculations), nullptr, nullptr, nullptr, total, CTableauBase::kMarqueParColonne,
                      std::move(request));
}
