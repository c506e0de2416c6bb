#include "tabulation/ExecuteurTraitement.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
#include "tabulation/EnTetesRegroupement.h"
#include "tabulation/Fusion.h"
#include "tabulation/LignesRepetees.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/NumericStatistics.h"
#include "tabulation/ValeursDerivees.h"

// The tables of one question: flat tables (the ten values of each line), ranking tables (counts
// by answer position and the mean rank), flat tables of a grouping of the modalities, mixed
// tables (flat values and statistic lines) and statistics tables of a numeric question.
//
// A kernel that fails shows its text and the request is dropped: no table is made from it.

namespace {

using Lignes = CTraitement::Lignes;
using Calculs = CTraitement::Calculs;

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr int kFlatValues = CMoteurTableau::kFlatValueCount;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

int Count(std::size_t size) { return static_cast<int>(size); }

// A kernel position, -1 when the axis has no such line.
int Position(std::uint16_t position) { return position == CMoteurTableau::kNotKept ? -1 : position; }

// Value `code` of a record of `width` values; a code the record does not have shows no value.
double ValueOf(std::span<const double> values, int record, int width, std::int32_t code) {
    if (code < 0 || code >= width)
        return kMissing;
    const std::size_t at = Index(record) * Index(width) + Index(code);
    return at < values.size() ? values[at] : kMissing;
}

// Where each modality of the row question stands among the row lines. A line given twice is
// computed on its first occurrence (the Total and non-response rows too) and copied onto the
// others from `sources`.
struct RowMap {
    int modalityCount = 0;
    std::vector<std::int32_t> codes;
    std::vector<std::uint16_t> map;
    int totalRow = -1;
    int nonResponseRow = -1;
    std::vector<int> sources;
};

RowMap MapRows(const CMoteurTableau& engine, const CQuestionEtendue& question, const Lignes& lines) {
    RowMap rows;
    std::uint16_t total = CMoteurTableau::kNotKept;
    std::uint16_t nonResponse = CMoteurTableau::kNotKept;
    engine.DonnerCorrespondanceModalites(question, lines, rows.modalityCount, rows.codes, rows.map,
                                         total, nonResponse);
    rows.sources = LignesRepetees::DonnerSources(lines);
    rows.totalRow = LignesRepetees::Source(rows.sources, Position(total));
    rows.nonResponseRow = LignesRepetees::Source(rows.sources, Position(nonResponse));
    return rows;
}

// The ten values of every row line, and the respondents they were measured against.
struct FlatValues {
    std::vector<double> values;
    double respondents = 0.0;
};

bool ComputeFlatValues(CMoteurTableau& engine, CTraitement& request, CQuestionEtendue& question, FlatValues& flat,
                       std::string& error) {
    const Lignes& lines = request.GetModalitesAxe(CTraitement::kLignes);
    const RowMap rows = MapRows(engine, question, lines);
    std::vector<double> counts;
    double total = 0.0;
    if (!engine.CompterModalites(question, counts, flat.respondents, total, rows.map, request.level,
                                 request.studyFieldId, request.weightingId, error))
        return false;
    engine.CalculerValeursTri(flat.values, counts, flat.respondents, total, Count(lines.size()), rows.modalityCount,
                              rows.map, rows.totalRow, rows.nonResponseRow);
    LignesRepetees::RecopierLignes(flat.values, kFlatValues, rows.sources);
    return true;
}

void SetRowLabels(CTableau& table, const Lignes& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        table.SetLibelleLigne(0, Count(i), lines[i].get());
}

// Column j is headed by calculation j; marked by column when `markColumns`.
void SetCalculationColumns(CTableau& table, const Calculs& calculations, bool markColumns) {
    for (std::size_t j = 0; j < calculations.size(); ++j) {
        table.SetLibelleColonne(0, Count(j), calculations[j].get());
        if (markColumns)
            table.SetMarque(Count(j), ValeursDerivees::MarqueCalculTri(calculations[j]->code));
    }
}

// Cell (i, j) holds the value of line i that calculation j selects; with `markCells` each cell
// takes its calculation's marker.
void FillFlatCells(CTableau& table, const FlatValues& flat, const Calculs& calculations, bool markCells) {
    for (int i = 0; i < table.RowCount(); ++i) {
        for (std::size_t j = 0; j < calculations.size(); ++j) {
            const std::int32_t code = calculations[j]->code;
            table.SetValeur(i, Count(j), ValueOf(flat.values, i, kFlatValues, code));
            if (markCells)
                table.SetMarqueCellule(i, Count(j), ValeursDerivees::MarqueCalculTri(code));
        }
    }
}

// ---- Ranking tables ----

void SetRankingColumns(CTableau& table, int ranks) {
    for (int k = 0; k < ranks; ++k) {
        const CLigne label(std::to_string(k + 1));
        table.SetLibelleColonne(0, k, &label);
        table.SetMarque(k, CTableauBase::kMarqueEffectif);
    }
    const CLigne total("Total");
    const CLigne mean("Moyenne");
    table.SetLibelleColonne(0, ranks, &total);
    table.SetMarque(ranks, CTableauBase::kMarqueEffectif);
    table.SetLibelleColonne(0, ranks + 1, &mean);
    table.SetMarque(ranks + 1, CTableauBase::kMarqueReel);
}

void FillCells(CTableau& table, std::span<const double> cells) {
    const int columns = table.ColumnCount();
    for (int i = 0; i < table.RowCount(); ++i)
        for (int j = 0; j < columns; ++j)
            table.SetValeur(i, j, ValueOf(cells, i, columns, j));
}

// ---- Mixed tables ----

bool HasStatisticLine(const Lignes& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const auto& line) { return dynamic_cast<const CCalcul*>(line.get()) != nullptr; });
}

// A statistic line shows its statistic in its first column, which spans the line; the columns
// it covers hold no value of their own.
void PlaceStatisticLines(CTableau& table, const Lignes& lines, const NumericStatistics::Statistics& statistics,
                         CFusion& columnMerges) {
    const int columns = table.ColumnCount();
    if (columns == 0)
        return;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto* statistic = dynamic_cast<const CCalcul*>(lines[i].get());
        if (statistic == nullptr)
            continue;
        const int row = Count(i);
        table.SetValeur(row, 0, ValueOf(statistics, 0, NumericStatistics::kStatisticCount, statistic->code));
        table.SetMarqueCellule(row, 0, ValeursDerivees::MarqueCalculStatistique(statistic->code));
        for (int j = 1; j < columns; ++j)
            table.SetValeur(row, j, kMissing);
        columnMerges.SetFusion(table.ColumnHeaderLevels() + row, table.RowHeaderLevels(),
                               static_cast<std::uint16_t>(columns - 1));
    }
}

// ---- Grouped flat tables ----

// The cells of a table whose lines are a grouping's nodes, one column per calculation, with the
// nodes' row headers: L row-header levels, node i's label at its own group level, spanning to the
// right edge of the header and down over its descendants.
struct GroupedLayout {
    int levels = 1;
    int nodes = 0;
    int columns = 0;
    std::vector<double> cells;
    EnTetesRegroupement::LibellesNoeuds rowLabels;
    EnTetesRegroupement::FusionsNoeuds merges;
};

GroupedLayout LayOutGrouping(const CRecodageModalite& grouping, int columns) {
    GroupedLayout layout{.levels = grouping.DonnerNombreNiveaux(),
                         .nodes = grouping.NodeCount(),
                         .columns = columns,
                         .cells = {},
                         .rowLabels = EnTetesRegroupement::DonnerLibellesNoeuds(grouping),
                         .merges = EnTetesRegroupement::DonnerFusionsNoeuds(grouping, columns)};
    layout.cells.assign(Index(layout.nodes) * Index(columns), 0.0);
    return layout;
}

// Group g of the level puts its values on its node's line.
void PlaceGroupValues(GroupedLayout& layout, const CRecodageModalite& grouping, int groupLevel,
                      std::span<const double> values, const Calculs& calculations) {
    const int groups = grouping.DonnerNombreGroupes(groupLevel);
    for (int g = 0; g < groups; ++g) {
        const int node = grouping.DonnerIndexNoeud(g, groupLevel);
        if (node < 0 || node >= layout.nodes)
            continue;
        for (std::size_t j = 0; j < calculations.size(); ++j)
            layout.cells[Index(node) * Index(layout.columns) + j] =
                ValueOf(values, g, kFlatValues, calculations[j]->code);
    }
}

std::vector<std::uint16_t> FlatMarkers(const Calculs& calculations) {
    std::vector<std::uint16_t> markers;
    markers.reserve(calculations.size());
    for (const auto& calculation : calculations)
        markers.push_back(ValeursDerivees::MarqueCalculTri(calculation->code));
    return markers;
}

} // namespace

void CExecuteurTraitement::CalculerTriSimple(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* question = request->GetQuestionAxe(CTraitement::kLignes);
    if (question == nullptr)
        return;
    CMoteurTableau engine(GetContexte());
    FlatValues flat;
    std::string error;
    if (!ComputeFlatValues(engine, *request, *question, flat, error)) {
        SignalerErreur(error);
        return;
    }
    const Lignes& lines = request->GetModalitesAxe(CTraitement::kLignes);
    const Calculs& calculations = request->GetCalculsLignes();
    auto table = std::make_unique<CTableau>(1, 1, Count(lines.size()), Count(calculations.size()),
                                            CTableauBase::kMarqueParColonne);
    SetRowLabels(*table, lines);
    SetCalculationColumns(*table, calculations, true);
    FillFlatCells(*table, flat, calculations, false);
    FinirTableau(*table, std::move(request), flat.respondents);
    AjouterTableau(std::move(table));
}

void CExecuteurTraitement::CalculerTriClassement(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* question = request->GetQuestionAxe(CTraitement::kLignes);
    if (question == nullptr)
        return;
    CMoteurTableau engine(GetContexte());
    const Lignes& lines = request->GetModalitesAxe(CTraitement::kLignes);
    const RowMap rows = MapRows(engine, *question, lines);
    std::vector<double> counts;
    double respondents = 0.0;
    std::string error;
    if (!engine.CompterRangs(*question, counts, rows.map, respondents, request->level, request->studyFieldId,
                             request->weightingId, error)) {
        SignalerErreur(error);
        return;
    }
    // The kernel counts one column per answer position, at least one.
    const int ranks = std::max<int>(question->answerCount, 1);
    const int lineCount = Count(lines.size());
    std::vector<double> matrix;
    ValeursDerivees::CalculerRangsMoyens(matrix, counts, lineCount, rows.modalityCount, rows.map, rows.totalRow,
                                         ranks);
    LignesRepetees::RecopierLignes(matrix, ranks + 2, rows.sources);
    auto table = std::make_unique<CTableau>(1, 1, lineCount, ranks + 2, CTableauBase::kMarqueParColonne);
    SetRowLabels(*table, lines);
    SetRankingColumns(*table, ranks);
    FillCells(*table, matrix);
    FinirTableau(*table, std::move(request), respondents);
    AjouterTableau(std::move(table));
}

void CExecuteurTraitement::CalculerTriRegroupe(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* question = request->GetQuestionAxe(CTraitement::kLignes);
    const CRecodageModalite* grouping = request->GetRegroupementAxe(CTraitement::kLignes);
    if (question == nullptr || grouping == nullptr)
        return;
    const Calculs& calculations = request->GetCalculsLignes();
    GroupedLayout layout = LayOutGrouping(*grouping, Count(calculations.size()));
    CMoteurTableau engine(GetContexte());
    // Each level is measured against the largest bases met so far, and the total of answers never
    // falls from one level to the next.
    double base = 0.0;
    double largestTotal = 0.0;
    double answerTotal = 0.0;
    for (int k = 0; k < layout.levels; ++k) {
        std::vector<double> counts;
        double respondents = 0.0;
        double total = 0.0;
        std::string error;
        if (!engine.CompterGroupes(*question, *grouping, k, counts, respondents, total, request->level,
                                   request->studyFieldId, request->weightingId, error)) {
            SignalerErreur(error);
            return;
        }
        base = std::max(base, respondents);
        largestTotal = std::max(largestTotal, total);
        const int groups = grouping->DonnerNombreGroupes(k);
        std::vector<double> values;
        answerTotal = CalculerValeursTriRegroupe(values, counts, base, largestTotal, groups, groups, answerTotal);
        PlaceGroupValues(layout, *grouping, k, values, calculations);
    }
    NiveauxLibelles calculationLabels(1);
    for (const auto& calculation : calculations)
        calculationLabels[0].push_back(calculation.get());
    const std::vector<std::uint16_t> markers = FlatMarkers(calculations);
    ConstruireTableau(1, layout.levels, layout.nodes, layout.columns, layout.cells, markers,
                      layout.rowLabels.levels, calculationLabels,
                      std::make_unique<CFusion>(std::move(layout.merges.rowMerges)),
                      std::make_unique<CFusion>(std::move(layout.merges.columnMerges)), nullptr, base,
                      CTableauBase::kMarqueParColonne, std::move(request));
}

void CExecuteurTraitement::CalculerTraitementMixte(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* question = request->GetQuestionAxe(CTraitement::kLignes);
    if (question == nullptr)
        return;
    CMoteurTableau engine(GetContexte());
    FlatValues flat;
    std::string error;
    if (!ComputeFlatValues(engine, *request, *question, flat, error)) {
        SignalerErreur(error);
        return;
    }
    const Lignes& lines = request->GetModalitesAxe(CTraitement::kLignes);
    const Calculs& calculations = request->GetCalculsLignes();
    NumericStatistics::Statistics statistics{};
    if (HasStatisticLine(lines)) {
        double totalWeight = 0.0;
        if (!engine.CalculerStatistiquesQuestion(*question, request->level, request->studyFieldId,
                                                 request->weightingId, statistics, totalWeight, error)) {
            SignalerErreur(error);
            return;
        }
    }
    const int rowCount = Count(lines.size());
    const int columnCount = Count(calculations.size());
    auto table = std::make_unique<CTableau>(1, 1, rowCount, columnCount, CTableauBase::kMarqueParCellule);
    SetRowLabels(*table, lines);
    SetCalculationColumns(*table, calculations, false);
    FillFlatCells(*table, flat, calculations, true);
    auto rowMerges = std::make_unique<CFusion>(1, 1, rowCount, columnCount);
    auto columnMerges = std::make_unique<CFusion>(1, 1, rowCount, columnCount);
    PlaceStatisticLines(*table, lines, statistics, *columnMerges);
    table->SetFusionLignes(std::move(rowMerges));
    table->SetFusionColonnes(std::move(columnMerges));
    FinirTableau(*table, std::move(request), flat.respondents);
    AjouterTableau(std::move(table));
}

void CExecuteurTraitement::CalculerTableauStatistiques(std::unique_ptr<CTraitement> request) {
    CQuestionEtendue* question = request->GetQuestionAxe(CTraitement::kLignes);
    if (question == nullptr)
        return;
    CMoteurTableau engine(GetContexte());
    NumericStatistics::Statistics statistics{};
    double totalWeight = 0.0;
    std::string error;
    if (!engine.CalculerStatistiquesQuestion(*question, request->level, request->studyFieldId, request->weightingId,
                                             statistics, totalWeight, error)) {
        SignalerErreur(error);
        return;
    }
    const Calculs& calculations = request->GetCalculsLignes();
    auto table =
        std::make_unique<CTableau>(1, 1, Count(calculations.size()), 1, CTableauBase::kMarqueParLigne);
    const CLigne blank(" ");
    table->SetLibelleColonne(0, 0, &blank);
    for (std::size_t i = 0; i < calculations.size(); ++i) {
        const std::int32_t code = calculations[i]->code;
        table->SetLibelleLigne(0, Count(i), calculations[i].get());
        table->SetMarque(Count(i), ValeursDerivees::MarqueCalculStatistique(code));
        table->SetValeur(Count(i), 0, ValueOf(statistics, 0, NumericStatistics::kStatisticCount, code));
    }
    FinirTableau(*table, std::move(request), totalWeight);
    AjouterTableau(std::move(table));
}
