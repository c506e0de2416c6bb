#include "tabulation/ExecuteurTraitement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/Ligne.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "app/UserInterface.h"
#include "tabulation/AdvancedTableKernels.h"
#include "tabulation/AdvancedTableLayout.h"
#include "tabulation/CalculEvolue.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/Fusion.h"
#include "tabulation/LignesRepetees.h"
#include "tabulation/MatriceCreuse.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/NumericStatistics.h"
#include "tabulation/Profil.h"
#include "tabulation/ValeursDerivees.h"

// Advanced tables: every question of a row profile crossed with every question of a column
// profile in one table, filled by the calculation lines of a style, each on a sample (level,
// study field, weighting) of its own.
//
// Each count is made once per distinct sample: the cross of a pair of questions serves every cell
// calculation and test line of that sample, the counts of a question every margin line of that
// sample, and so on. A count that fails (a read, a study field, a weighting) leaves the cells it
// should fill empty; its text is shown once, after the table is added.

namespace {

using Sample = AdvancedTableKernels::Sample;
using Line = AdvancedTableLayout::Line;
using Lines = std::vector<Line>;

constexpr double kMissing = CTableauBase::kValeurManquante;
// The line drawn between the sub-rows or sub-columns of one modality; questions keep the normal one.
constexpr std::uint16_t kThinLine = 1;
constexpr std::uint16_t kTextMarker = CTableauBase::kMarqueTexte;
// Of the statistic records: the weight of a modality's answers, and the significance mark.
constexpr int kAnswerWeight = NumericStatistics::kAnswerWeight;
constexpr int kMeanMark = NumericStatistics::kMeanMark;
constexpr int kMeanRecordSize = NumericStatistics::kMeanRecordSize;
constexpr int kFlatValues = CMoteurTableau::kFlatValueCount;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

int Count(std::size_t size) { return static_cast<int>(size); }

std::uint16_t SpanOf(int further) { return static_cast<std::uint16_t>(std::clamp(further, 0, 0xFFFF)); }

// ---- The questions of a profile as the kernels see them ----

struct ProfileQuestion {
    CQuestionEtendue* question = nullptr;
    int modalityCount = 0;              // of the question
    std::vector<std::uint16_t> map;     // each modality's position among the selected ones
    std::vector<std::int16_t> signedMap;
    int totalPosition = -1;             // the Total pseudo-modality among the selected ones
    int nonResponsePosition = -1;
    std::vector<std::unique_ptr<CLigne>> labels; // one per selected modality
    std::vector<int> sources;           // a modality selected twice shows its first occurrence

    int Selected() const { return Count(labels.size()); }
    int Source(int position) const { return LignesRepetees::Source(sources, position); }
};

std::vector<ProfileQuestion> MapProfile(const CMoteurTableau& engine, const CProfil& profile) {
    std::vector<ProfileQuestion> questions;
    for (int i = 0; i < profile.GetCount(); ++i) {
        ProfileQuestion q;
        std::vector<std::int32_t> codes;
        std::vector<std::unique_ptr<CModaliteEtendue>> selected;
        int selectedCount = 0;
        engine.DonnerIndexModalites(profile, i, q.question, q.modalityCount, codes, q.map, q.totalPosition,
                                    q.nonResponsePosition, selectedCount, selected);
        if (q.question == nullptr)
            continue;
        for (const auto& modality : selected)
            q.labels.push_back(std::make_unique<CLigne>(*modality));
        q.sources = LignesRepetees::DonnerSources(q.labels);
        q.totalPosition = q.Source(q.totalPosition);
        q.nonResponsePosition = q.Source(q.nonResponsePosition);
        for (const std::uint16_t position : q.map)
            q.signedMap.push_back(position == CMoteurTableau::kNotKept ? std::int16_t{-1}
                                                                       : static_cast<std::int16_t>(position));
        questions.push_back(std::move(q));
    }
    return questions;
}

std::vector<int> SelectedCounts(const std::vector<ProfileQuestion>& questions) {
    std::vector<int> counts;
    for (const ProfileQuestion& q : questions)
        counts.push_back(q.Selected());
    return counts;
}

// ---- Texts of the test lines ----

// A number as printf's "%.Nf" (or "%.Ne") writes it in the "C" locale; a missing value writes
// nothing, as an empty cell shows nothing, and a value rounding to zero has no sign.
std::string Formatted(double value, int decimals, std::chars_format format) {
    if (value == kMissing)
        return std::string();
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format,
                                      std::clamp(decimals, 0, 15));
    if (result.ec != std::errc())
        return std::string();
    std::string text(buffer.data(), result.ptr);
    if (format == std::chars_format::fixed && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// The chi-square test of one pair on one sample, as its test-line text shows it.
struct ChiSquareTest {
    double base = 0.0;
    double chiSquare = kMissing;
    int degreesOfFreedom = 0;
    double probability = kMissing; // of the chi-square being at most the value; missing without a test
};

std::string TestLineText(std::string text, const ChiSquareTest& test, const CPresentationTableau& presentation) {
    const int reals = presentation.GetReel();
    const int percentages = presentation.GetPourcentage();
    const bool tested = test.probability != kMissing;
    // The risk is the upper tail itself: 1 - probability would round a p-value of 1e-20 to 0.
    const double risk = tested ? ProbaKhiDeuxSuperieure(test.chiSquare, test.degreesOfFreedom) : kMissing;
    using E = CExecuteurTraitement;
    E::RemplacerTexte(text, "??B??", Formatted(test.base, 0, std::chars_format::fixed));
    E::RemplacerTexte(text, "??K??", Formatted(test.chiSquare, reals, std::chars_format::fixed));
    E::RemplacerTexte(text, "??D??", std::to_string(test.degreesOfFreedom));
    E::RemplacerTexte(text, "??P??", Formatted(tested ? 100.0 * risk : kMissing, percentages, std::chars_format::fixed));
    E::RemplacerTexte(text, "??PE??", Formatted(risk, reals, std::chars_format::scientific));
    return text;
}

// ---- Filling the table ----

// The counts of one pair (or one question) on one sample, made once and kept for every line of
// that sample.
struct PairCount {
    bool counted = false;
    double total = 0.0;
    std::vector<double> planes; // eight planes of the selected rows x selected columns
};
struct FlatCount {
    bool counted = false;
    double respondents = 0.0;
    std::vector<double> values; // ten values per selected modality
};
struct MeanCount {
    bool counted = false;
    std::vector<double> records; // eleven statistics per selected column modality
};
struct QuestionStatistics {
    bool counted = false;
    NumericStatistics::Statistics record{};
};

class AdvancedTableFiller {
public:
    AdvancedTableFiller(const AdvancedTableLayout& layout, const std::vector<ProfileQuestion>& rows,
                        const std::vector<ProfileQuestion>& columns, AdvancedTableKernels& kernels,
                        const CPresentationTableau& presentation)
        : m_layout(layout), m_rows(rows), m_columns(columns), m_kernels(kernels), m_presentation(presentation),
          m_H(layout.ColumnHeaderLevels()), m_V(layout.RowHeaderLevels()), m_R(layout.Rows()),
          m_C(layout.Columns()), m_cells(Index(m_R) * Index(m_C), kMissing), m_markers(m_cells.size(), 0),
          m_rowMerges(std::make_unique<CFusion>(m_H, m_V, m_R, m_C)),
          m_columnMerges(std::make_unique<CFusion>(m_H, m_V, m_R, m_C)),
          m_lineMarks(std::make_unique<CMatriceCreuse>(m_H + m_R, m_V + m_C)),
          m_rowLabels(Index(m_V), std::vector<const CLigne*>(Index(m_R))),
          m_columnLabels(Index(m_H), std::vector<const CLigne*>(Index(m_C))) {}

    void Fill() {
        if (m_layout.HasCrossing())
            for (int q = 0; q < Count(m_rows.size()); ++q)
                for (int p = 0; p < Count(m_columns.size()); ++p)
                    FillPair(q, p);
        FillColumnLines();
        FillRowLines();
        FillQuestionLines();
        FillHeaders();
        DrawThinLines();
        CFusion::FusionnerCoinEnTete(*m_rowMerges, *m_columnMerges, m_H, m_V);
    }

    std::unique_ptr<CTableau> TakeTable() {
        auto table = std::make_unique<CTableau>(m_H, m_V, m_R, m_C, CTableauBase::kMarqueParCellule);
        // Text 0 is the empty text: a cell that shows a text never shows another one by default.
        table->AjouterTexte(std::string());
        for (const std::string& text : m_texts)
            table->AjouterTexte(text);
        const CLigne empty;
        for (int level = 0; level < m_H; ++level)
            for (int c = 0; c < m_C; ++c) {
                const CLigne* label = m_columnLabels[Index(level)][Index(c)];
                table->SetLibelleColonne(level, c, label != nullptr ? label : &empty);
            }
        for (int level = 0; level < m_V; ++level)
            for (int r = 0; r < m_R; ++r) {
                const CLigne* label = m_rowLabels[Index(level)][Index(r)];
                table->SetLibelleLigne(level, r, label != nullptr ? label : &empty);
            }
        for (int r = 0; r < m_R; ++r)
            for (int c = 0; c < m_C; ++c) {
                table->SetValeur(r, c, m_cells[Cell(r, c)]);
                table->SetMarqueCellule(r, c, m_markers[Cell(r, c)]);
            }
        table->SetFusionLignes(std::move(m_rowMerges));
        table->SetFusionColonnes(std::move(m_columnMerges));
        table->SetBordures(std::move(m_lineMarks));
        return table;
    }

    double Base() const { return m_base; }
    const std::vector<std::string>& Errors() const { return m_errors; }

private:
    std::size_t Cell(int r, int c) const { return Index(r) * Index(m_C) + Index(c); }

    void Put(int r, int c, double value, std::uint16_t marker) {
        if (r < 0 || r >= m_R || c < 0 || c >= m_C)
            return;
        m_cells[Cell(r, c)] = value;
        m_markers[Cell(r, c)] = marker;
    }
    void MergeRight(int r, int c, int further) {
        if (further > 0)
            m_columnMerges->SetFusion(m_H + r, m_V + c, SpanOf(further));
    }
    void MergeDown(int r, int c, int further) {
        if (further > 0)
            m_rowMerges->SetFusion(m_H + r, m_V + c, SpanOf(further));
    }

    void Failed(const std::string& error) {
        if (std::find(m_errors.begin(), m_errors.end(), error) == m_errors.end())
            m_errors.push_back(error);
    }

    // -- Counts, each made once per sample --

    const PairCount& CountPair(const ProfileQuestion& row, const ProfileQuestion& column, const Sample& sample) {
        auto [found, added] = m_pairCounts.try_emplace(sample);
        PairCount& count = found->second;
        if (!added)
            return count;
        std::vector<double> matrix;
        std::string error;
        if (!m_kernels.Croiser(*row.question, *column.question, matrix, count.total, row.map, column.map, sample,
                               error)) {
            Failed(error);
            return count;
        }
        m_kernels.Engine().CalculerPourcentages(count.planes, matrix, row.Selected(), row.modalityCount,
                                                row.signedMap, row.totalPosition, column.Selected(),
                                                column.modalityCount, column.signedMap, column.totalPosition);
        count.counted = true;
        return count;
    }

    const FlatCount& CountQuestion(bool rowSide, int index, const Sample& sample) {
        const ProfileQuestion& q = rowSide ? m_rows[Index(index)] : m_columns[Index(index)];
        auto [found, added] = m_flatCounts.try_emplace(std::make_tuple(rowSide, index, sample));
        FlatCount& count = found->second;
        if (!added)
            return count;
        std::vector<double> counts;
        double total = 0.0;
        std::string error;
        if (!m_kernels.Compter(*q.question, counts, count.respondents, total, q.map, sample, error)) {
            Failed(error);
            return count;
        }
        m_kernels.Engine().CalculerValeursTri(count.values, counts, count.respondents, total, q.Selected(),
                                              q.modalityCount, q.map, q.totalPosition, q.nonResponsePosition);
        m_base = std::max(m_base, count.respondents);
        count.counted = true;
        return count;
    }

    // The statistics of the row question's values within each selected column modality.
    const MeanCount& CountMeans(const ProfileQuestion& row, const ProfileQuestion& column, const Sample& sample) {
        auto [found, added] = m_meanCounts.try_emplace(sample);
        MeanCount& count = found->second;
        if (!added)
            return count;
        std::vector<double> records;
        double total = 0.0;
        std::string error;
        if (!m_kernels.MoyennesModalites(*column.question, *row.question, records, total, column.map, sample,
                                         error)) {
            Failed(error);
            return count;
        }
        ValeursDerivees::PlacerLignesStatistiques(count.records, records, column.Selected(), column.modalityCount,
                                                  column.map, column.totalPosition);
        count.counted = true;
        return count;
    }

    // The statistics of all the row question's values, whatever the column questions: they fill the
    // margin blocks of its statistic lines.
    const QuestionStatistics& CountStatistics(int q, const Sample& sample) {
        auto [found, added] = m_questionStatistics.try_emplace(std::make_pair(q, sample));
        QuestionStatistics& statistics = found->second;
        if (!added)
            return statistics;
        double totalWeight = 0.0;
        std::string error;
        if (!m_kernels.StatistiquesQuestion(*m_rows[Index(q)].question, sample, statistics.record, totalWeight,
                                            error)) {
            Failed(error);
            return statistics;
        }
        statistics.counted = true;
        return statistics;
    }

    // -- One pair of questions --

    void FillPair(int q, int p) {
        m_pairCounts.clear();
        m_meanCounts.clear();
        const Lines& cells = m_layout.GetLines().cells;
        for (int k = 0; k < Count(cells.size()); ++k)
            FillCells(q, p, k, cells[Index(k)]);
        const Lines& statistics = m_layout.GetLines().statistics;
        for (int s = 0; s < Count(statistics.size()); ++s)
            FillStatisticLine(q, p, m_layout.StatisticRow(q, s), statistics[Index(s)]);
        const Lines& tests = m_layout.GetLines().tests;
        for (int t = 0; t < Count(tests.size()); ++t)
            FillTestLine(q, p, m_layout.TestRow(q, t), tests[Index(t)]);
    }

    // Cell calculation k: the plane its kind names, a sub-row or sub-column of each modality pair.
    // On a sample where nobody crossed the pair the counts are 0 and nothing else has a value.
    void FillCells(int q, int p, int k, const Line& line) {
        if (line.calculation == nullptr)
            return;
        const ProfileQuestion& row = m_rows[Index(q)];
        const ProfileQuestion& column = m_columns[Index(p)];
        if (row.Selected() == 0 || column.Selected() == 0)
            return;
        const PairCount& count = CountPair(row, column, line.sample);
        if (!count.counted)
            return;
        m_base = std::max(m_base, count.total);
        const bool known = line.kind >= 0 && line.kind < CrossPlanes::kPlaneCount;
        const bool empty = !(count.total > 0.0) && line.kind != CrossPlanes::kCount;
        const auto marker = static_cast<std::uint16_t>(CMoteurTableau::DonnerTypeMarqueur(line.kind));
        const int rows = row.Selected();
        const int columns = column.Selected();
        for (int a = 0; a < rows; ++a)
            for (int b = 0; b < columns; ++b) {
                const std::size_t at = (Index(line.kind) * Index(rows) + Index(row.Source(a))) * Index(columns) +
                                       Index(column.Source(b));
                const double value = known && !empty && at < count.planes.size() ? count.planes[at] : kMissing;
                Put(m_layout.RowOfModality(q, a, k), m_layout.ColumnOfModality(p, b, k), value, marker);
            }
    }

    // One value per column modality, in the first of its sub-columns and merged over them.
    void FillStatisticLine(int q, int p, int r, const Line& line) {
        const ProfileQuestion& column = m_columns[Index(p)];
        const MeanCount& count = CountMeans(m_rows[Index(q)], column, line.sample);
        if (!count.counted)
            return;
        const std::uint16_t marker = ValeursDerivees::MarqueCalculMoyenne(line.kind);
        for (int b = 0; b < column.Selected(); ++b) {
            const std::size_t record = Index(column.Source(b)) * Index(kMeanRecordSize);
            double value = kMissing;
            if (line.kind >= 0 && line.kind < kMeanRecordSize && record + Index(kMeanRecordSize) <= count.records.size()) {
                value = count.records[record + Index(line.kind)];
                // A modality without answers takes part in no test: no mark rather than a blank one.
                if (line.kind == kMeanMark && !(count.records[record + Index(kAnswerWeight)] > 0.0))
                    value = kMissing;
            }
            const int c = m_layout.ColumnOfModality(p, b);
            Put(r, c, value, marker);
            MergeRight(r, c, m_layout.ColumnGroup() - 1);
        }
    }

    void FillTestLine(int q, int p, int r, const Line& line) {
        const int width = m_layout.ColumnsOfQuestion(p);
        if (width <= 0)
            return;
        const ProfileQuestion& row = m_rows[Index(q)];
        const ProfileQuestion& column = m_columns[Index(p)];
        const PairCount& count = CountPair(row, column, line.sample);
        if (!count.counted)
            return;
        // The Total pseudo-modalities are left out of the test.
        ChiSquareTest test;
        test.base = count.total;
        CrossPlanes::CalculerKhiDeux(count.planes, row.Selected(), column.Selected(), row.totalPosition,
                                     column.totalPosition, test.chiSquare, test.degreesOfFreedom, test.probability);
        m_texts.push_back(TestLineText(line.calculation->testLineText, test, m_presentation));
        const int c = m_layout.FirstColumnOfQuestion(p);
        Put(r, c, static_cast<double>(m_texts.size()), kTextMarker); // text 0 is the empty one
        MergeRight(r, c, width - 1);
    }

    // -- Margin lines --

    // The value of a margin line of kind `kind` among the ten values of a modality; the mean and
    // the deviation have none. On a sample where nobody answered only the count has a value (0).
    static double FlatValue(const FlatCount& count, int position, std::int32_t kind) {
        if (kind < 0 || kind >= kFlatValues)
            return kMissing;
        if (!(count.respondents > 0.0) && kind != 0)
            return kMissing;
        const std::size_t at = Index(position) * Index(kFlatValues) + Index(kind);
        return at < count.values.size() ? count.values[at] : kMissing;
    }

    // Column lines: for each row modality, the value over its row question's counts.
    void FillColumnLines() {
        const auto fill = [&](const Lines& lines, bool before) {
            for (int j = 0; j < Count(lines.size()); ++j) {
                const Line& line = lines[Index(j)];
                const int c = m_layout.ColumnOfMarginLine(before, j);
                const std::uint16_t marker = ValeursDerivees::MarqueCalculTri(line.kind);
                for (int q = 0; q < Count(m_rows.size()); ++q) {
                    const FlatCount& count = CountQuestion(true, q, line.sample);
                    if (!count.counted)
                        continue;
                    const ProfileQuestion& row = m_rows[Index(q)];
                    for (int a = 0; a < row.Selected(); ++a) {
                        const int r = m_layout.RowOfModality(q, a);
                        Put(r, c, FlatValue(count, row.Source(a), line.kind), marker);
                        MergeDown(r, c, m_layout.RowGroup() - 1);
                    }
                }
            }
        };
        fill(m_layout.GetLines().columnsBefore, true);
        fill(m_layout.GetLines().columnsAfter, false);
    }

    // Row lines: for each column modality, the value over its column question's counts.
    void FillRowLines() {
        const auto fill = [&](const Lines& lines, bool before) {
            for (int i = 0; i < Count(lines.size()); ++i) {
                const Line& line = lines[Index(i)];
                const int r = m_layout.RowOfMarginLine(before, i);
                const std::uint16_t marker = ValeursDerivees::MarqueCalculTri(line.kind);
                for (int p = 0; p < Count(m_columns.size()); ++p) {
                    const FlatCount& count = CountQuestion(false, p, line.sample);
                    if (!count.counted)
                        continue;
                    const ProfileQuestion& column = m_columns[Index(p)];
                    for (int b = 0; b < m_layout.ColumnModalities(p); ++b) {
                        const int c = m_layout.ColumnOfModality(p, b);
                        Put(r, c, FlatValue(count, column.Source(b), line.kind), marker);
                        MergeRight(r, c, m_layout.ColumnGroup() - 1);
                    }
                }
            }
        };
        fill(m_layout.GetLines().rowsBefore, true);
        fill(m_layout.GetLines().rowsAfter, false);
    }

    // The statistics of each row question over all its values, in the margin blocks of its
    // statistic lines: one value merged over each block. The significance mark has none there.
    void FillQuestionLines() {
        const Lines& statistics = m_layout.GetLines().statistics;
        const int before = Count(m_layout.GetLines().columnsBefore.size());
        const int after = Count(m_layout.GetLines().columnsAfter.size());
        if (before == 0 && after == 0)
            return;
        for (int q = 0; q < Count(m_rows.size()); ++q)
            for (int s = 0; s < Count(statistics.size()); ++s) {
                const Line& line = statistics[Index(s)];
                const QuestionStatistics& all = CountStatistics(q, line.sample);
                if (!all.counted)
                    continue;
                const double value = line.kind >= 0 && line.kind < kMeanMark ? all.record[Index(line.kind)] : kMissing;
                const std::uint16_t marker = ValeursDerivees::MarqueCalculMoyenne(line.kind);
                const int r = m_layout.StatisticRow(q, s);
                if (before > 0) {
                    Put(r, m_layout.ColumnOfMarginLine(true, 0), value, marker);
                    MergeRight(r, m_layout.ColumnOfMarginLine(true, 0), before - 1);
                }
                if (after > 0) {
                    Put(r, m_layout.ColumnOfMarginLine(false, 0), value, marker);
                    MergeRight(r, m_layout.ColumnOfMarginLine(false, 0), after - 1);
                }
            }
    }

    // -- Headers --

    const CLigne* Own(std::unique_ptr<CLigne> label) {
        m_ownedLabels.push_back(std::move(label));
        return m_ownedLabels.back().get();
    }
    // The line's own label, else the name of its operation; one label per calculation line.
    const CLigne* LabelOf(const Line& line) {
        if (line.calculation == nullptr)
            return nullptr;
        auto [found, added] = m_lineLabels.try_emplace(line.calculation, nullptr);
        if (!added)
            return found->second;
        auto label = std::make_unique<CLigne>(static_cast<const CLigne&>(*line.calculation));
        if (label->label.empty())
            label->label = line.calculation->DonnerLibelleOperation();
        found->second = Own(std::move(label));
        return found->second;
    }
    const CLigne* Caption(const ProfileQuestion& q, bool heading) {
        auto label = std::make_unique<CLigne>(q.question->GetCaption());
        label->heading = heading ? 1 : 0;
        return Own(std::move(label));
    }
    void RowLabel(int level, int r, const CLigne* label) {
        if (level >= 0 && level < m_V && r >= 0 && r < m_R)
            m_rowLabels[Index(level)][Index(r)] = label;
    }
    void ColumnLabel(int level, int c, const CLigne* label) {
        if (level >= 0 && level < m_H && c >= 0 && c < m_C)
            m_columnLabels[Index(level)][Index(c)] = label;
    }

    void FillHeaders() {
        FillColumnHeaders();
        FillRowHeaders();
    }

    void FillColumnHeaders() {
        const AdvancedTableLayout::Lines& lines = m_layout.GetLines();
        // A margin column's label heads all the header levels.
        const auto margins = [&](const Lines& marginLines, bool before) {
            for (int j = 0; j < Count(marginLines.size()); ++j) {
                const int c = m_layout.ColumnOfMarginLine(before, j);
                ColumnLabel(0, c, LabelOf(marginLines[Index(j)]));
                m_rowMerges->SetFusion(0, m_V + c, SpanOf(m_H - 1));
            }
        };
        margins(lines.columnsBefore, true);
        margins(lines.columnsAfter, false);
        const bool calculationLevel = m_layout.HasCalculationLevel() && !m_layout.GetOptions().stackedInRows;
        for (int p = 0; p < Count(m_columns.size()); ++p) {
            const int width = m_layout.ColumnsOfQuestion(p);
            if (width <= 0)
                continue;
            const ProfileQuestion& column = m_columns[Index(p)];
            const int first = m_layout.FirstColumnOfQuestion(p);
            ColumnLabel(0, first, Caption(column, false));
            m_columnMerges->SetFusion(0, m_V + first, SpanOf(width - 1));
            for (int b = 0; b < column.Selected(); ++b) {
                const int c = m_layout.ColumnOfModality(p, b);
                ColumnLabel(1, c, column.labels[Index(b)].get());
                m_columnMerges->SetFusion(1, m_V + c, SpanOf(m_layout.ColumnGroup() - 1));
                if (!calculationLevel)
                    continue;
                for (int k = 0; k < m_layout.ColumnGroup(); ++k)
                    ColumnLabel(2, m_layout.ColumnOfModality(p, b, k), LabelOf(lines.cells[Index(k)]));
            }
        }
    }

    void FillRowHeaders() {
        const AdvancedTableLayout::Lines& lines = m_layout.GetLines();
        // A margin row's label spans the row-header levels.
        const auto margins = [&](const Lines& marginLines, bool before) {
            for (int i = 0; i < Count(marginLines.size()); ++i) {
                const int r = m_layout.RowOfMarginLine(before, i);
                RowLabel(0, r, LabelOf(marginLines[Index(i)]));
                m_columnMerges->SetFusion(m_H + r, 0, SpanOf(m_V - 1));
            }
        };
        margins(lines.rowsBefore, true);
        margins(lines.rowsAfter, false);
        for (int q = 0; q < Count(m_rows.size()); ++q)
            FillRowQuestionHeaders(q);
    }

    // With the calculations stacked in rows, a modality's label spans its sub-rows and the names
    // of the calculations stand on the last row-header level, one per sub-row; the labels of the
    // statistic and test lines reach across that level, as the margin rows' labels reach across
    // every level.
    void FillRowQuestionHeaders(int q) {
        const AdvancedTableLayout::Lines& lines = m_layout.GetLines();
        const ProfileQuestion& row = m_rows[Index(q)];
        const int first = m_layout.FirstRowOfQuestion(q);
        const int level = m_layout.RowModalityLevel();
        if (m_layout.QuestionLine(q) >= 0) {
            // The question's own line: its label across the row headers, its cells empty and one.
            RowLabel(0, first, Caption(row, true));
            m_columnMerges->SetFusion(m_H + first, 0, SpanOf(m_V - 1));
            MergeRight(first, 0, m_C - 1);
        } else {
            RowLabel(0, first, Caption(row, true));
            m_rowMerges->SetFusion(m_H + first, 0, SpanOf(m_layout.RowsOfQuestion(q) - 1));
        }
        const bool calculationLevel = m_layout.HasCalculationLevel() && m_layout.GetOptions().stackedInRows;
        for (int a = 0; a < row.Selected(); ++a) {
            const int r = m_layout.RowOfModality(q, a);
            RowLabel(level, r, row.labels[Index(a)].get());
            m_rowMerges->SetFusion(m_H + r, level, SpanOf(m_layout.RowGroup() - 1));
            if (!calculationLevel)
                continue;
            for (int k = 0; k < m_layout.RowGroup(); ++k)
                RowLabel(m_V - 1, m_layout.RowOfModality(q, a, k), LabelOf(lines.cells[Index(k)]));
        }
        const auto named = [&](const Lines& namedLines, auto rowOf) {
            for (int i = 0; i < Count(namedLines.size()); ++i) {
                const int r = rowOf(i);
                RowLabel(level, r, LabelOf(namedLines[Index(i)]));
                m_columnMerges->SetFusion(m_H + r, level, SpanOf(m_V - 1 - level));
            }
        };
        named(lines.statistics, [&](int s) { return m_layout.StatisticRow(q, s); });
        named(lines.tests, [&](int t) { return m_layout.TestRow(q, t); });
    }

    // Thin lines between the sub-columns (sub-rows) of each modality, across the data and the
    // header level that names the calculations.
    void DrawThinLines() {
        const bool calculationLevel = m_layout.HasCalculationLevel();
        const bool stacked = m_layout.GetOptions().stackedInRows;
        for (int p = 0; p < Count(m_columns.size()) && m_layout.ColumnGroup() > 1; ++p)
            for (int b = 0; b < m_layout.ColumnModalities(p); ++b)
                for (int k = 1; k < m_layout.ColumnGroup(); ++k) {
                    const int c = m_layout.ColumnOfModality(p, b, k);
                    for (int line = calculationLevel && !stacked ? m_H - 1 : m_H; line < m_H + m_R; ++line)
                        m_lineMarks->SetMarqueLigne(line, m_V + c, kThinLine);
                }
        for (int q = 0; q < Count(m_rows.size()) && m_layout.RowGroup() > 1; ++q)
            for (int a = 0; a < m_layout.RowModalities(q); ++a)
                for (int k = 1; k < m_layout.RowGroup(); ++k) {
                    const int r = m_layout.RowOfModality(q, a, k);
                    for (int column = calculationLevel && stacked ? m_V - 1 : m_V; column < m_V + m_C; ++column)
                        m_lineMarks->SetMarqueColonne(m_H + r, column, kThinLine);
                }
    }

    const AdvancedTableLayout& m_layout;
    const std::vector<ProfileQuestion>& m_rows;
    const std::vector<ProfileQuestion>& m_columns;
    AdvancedTableKernels& m_kernels;
    const CPresentationTableau& m_presentation;
    const int m_H;
    const int m_V;
    const int m_R;
    const int m_C;
    std::vector<double> m_cells;
    std::vector<std::uint16_t> m_markers;
    std::vector<std::string> m_texts; // text i + 1 of the table
    std::unique_ptr<CFusion> m_rowMerges;
    std::unique_ptr<CFusion> m_columnMerges;
    std::unique_ptr<CMatriceCreuse> m_lineMarks;
    CExecuteurTraitement::NiveauxLibelles m_rowLabels;
    CExecuteurTraitement::NiveauxLibelles m_columnLabels;
    std::vector<std::unique_ptr<CLigne>> m_ownedLabels;
    std::map<const CCalculEvolue*, const CLigne*> m_lineLabels;
    double m_base = 0.0;
    std::vector<std::string> m_errors;
    // Per pair of questions, cleared for each pair.
    std::map<Sample, PairCount> m_pairCounts;
    std::map<Sample, MeanCount> m_meanCounts;
    // For the whole table.
    std::map<std::tuple<bool, int, Sample>, FlatCount> m_flatCounts;
    std::map<std::pair<int, Sample>, QuestionStatistics> m_questionStatistics;
};

} // namespace

void CExecuteurTraitement::RemplacerTexte(std::string& text, std::string_view placeholder, std::string_view value) {
    if (placeholder.empty())
        return;
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, from)) {
        result.append(text, from, at - from);
        result.append(value);
        from = at + placeholder.size();
    }
    result.append(text, from, std::string::npos);
    text = std::move(result);
}

void CExecuteurTraitement::CalculerTableauxEvolues(std::unique_ptr<CTraitement> request) {
    if (!request)
        return;
    // A request that names what no longer resolves is never computed, not even in parts.
    if (request->EstInvalide()) {
        for (const Message& message : request->GetMessagesInvalidite())
            m_context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
        return;
    }
    if (DecouperProfils(request, CTraitement::kTableauxEvolues))
        return;
    CMoteurTableau engine(GetContexte());
    AdvancedTableKernels kernels(engine);
    CalculerTableauEvolue(std::move(request), kernels);
}

void CExecuteurTraitement::CalculerTableauEvolue(std::unique_ptr<CTraitement> request,
                                                AdvancedTableKernels& kernels) {
    if (!request)
        return;
    const CProfil* rowProfile = request->GetProfilAxe(CTraitement::kLignes);
    const CProfil* columnProfile = request->GetProfilAxe(CTraitement::kColonnes);
    if (rowProfile == nullptr || columnProfile == nullptr)
        return;
    const CStyle* style = request->GetStyle();
    if (style == nullptr || style->GetCount() == 0) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kStyleEvolueSansCalcul),
                                                 UserInterface::Icon::Warning);
        return;
    }
    CProfil rows(*rowProfile);
    CProfil columns(*columnProfile);
    rows.RemoveSeparators();
    columns.RemoveSeparators();
    const std::vector<ProfileQuestion> rowQuestions = MapProfile(kernels.Engine(), rows);
    const std::vector<ProfileQuestion> columnQuestions = MapProfile(kernels.Engine(), columns);

    const CStyle styleCopy(*style);
    const Sample requestSample{request->level, request->studyFieldId, request->weightingId};
    AdvancedTableLayout::Options options;
    options.stackedInRows = request->mergeOptions.Type == CTypeFusion::kBlocksInRows;
    options.emptyLinePerQuestion = request->mergeOptions.IsEmptyLinePerQuestion != 0;
    options.calculationLabels = request->mergeOptions.EstLibelleTraitement != 0;
    const AdvancedTableLayout layout(SelectedCounts(rowQuestions), SelectedCounts(columnQuestions),
                                     AdvancedTableLayout::FileStyle(styleCopy, requestSample), options);
    if (layout.Rows() == 0 || layout.Columns() == 0) {
        m_context.GetUserInterface().ShowMessage(Message(StringTable::kTableauEvolueVide),
                                                 UserInterface::Icon::Warning);
        return;
    }

    AdvancedTableFiller filler(layout, rowQuestions, columnQuestions, kernels, request->presentation);
    filler.Fill();
    std::unique_ptr<CTableau> table = filler.TakeTable();
    // The base is the largest count met, as it stands.
    FinirTableau(*table, std::move(request), filler.Base());
    AjouterTableau(std::move(table));
    for (const std::string& error : filler.Errors())
        SignalerErreur(error);
}
