#include "tabulation/AdvancedTableLayout.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <utility>

#include "tabulation/CalculEvolue.h"
#include "tabulation/Style.h"

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

int Count(std::size_t size) { return static_cast<int>(size); }

int At(const std::vector<int>& values, int i) {
    return i >= 0 && Index(i) < values.size() ? values[Index(i)] : 0;
}

AdvancedTableLayout::Line Resolve(const CCalculEvolue& calculation, const AdvancedTableLayout::Sample& request) {
    AdvancedTableLayout::Line line;
    line.calculation = &calculation;
    line.kind = calculation.code;
    line.sample.studyField = calculation.studyFieldId != -1 ? calculation.studyFieldId : request.studyField;
    line.sample.weighting = calculation.weightingId != -1 ? calculation.weightingId : request.weighting;
    line.sample.level = calculation.levelIndex != 0 ? calculation.levelIndex : request.level;
    return line;
}

} // namespace

AdvancedTableLayout::Lines AdvancedTableLayout::FileStyle(const CStyle& style, const Sample& request) {
    Lines lines;
    bool crossingMet = false;
    for (int i = 0; i < style.GetCount(); ++i) {
        const CCalculEvolue* calculation = style.GetAt(i);
        if (calculation == nullptr)
            continue;
        const Line line = Resolve(*calculation, request);
        switch (calculation->type) {
        case CCalculEvolue::kCrossing:
            lines.cells.push_back(line);
            crossingMet = true;
            break;
        case CCalculEvolue::kTotal:
            if (calculation->position == CCalculEvolue::kRowsOnly ||
                calculation->position == CCalculEvolue::kRowsAndColumns)
                (crossingMet ? lines.columnsAfter : lines.columnsBefore).push_back(line);
            if (calculation->position == CCalculEvolue::kColumnsOnly ||
                calculation->position == CCalculEvolue::kRowsAndColumns)
                (crossingMet ? lines.rowsAfter : lines.rowsBefore).push_back(line);
            break;
        case CCalculEvolue::kStatisticsSubTotal:
            if (calculation->position == CCalculEvolue::kColumnsOnly ||
                calculation->position == CCalculEvolue::kRowsAndColumns)
                lines.statistics.push_back(line);
            break;
        case CCalculEvolue::kTestLine:
            lines.tests.push_back(line);
            break;
        default:
            break;
        }
    }
    return lines;
}

AdvancedTableLayout::AdvancedTableLayout(std::vector<int> rowModalities, std::vector<int> columnModalities,
                                         Lines lines, const Options& options)
    : m_rowModalities(std::move(rowModalities)), m_columnModalities(std::move(columnModalities)),
      m_lines(std::move(lines)), m_options(options) {
    for (int& n : m_rowModalities)
        n = std::max(n, 0);
    for (int& n : m_columnModalities)
        n = std::max(n, 0);
    const int nC = std::accumulate(m_columnModalities.begin(), m_columnModalities.end(), 0);
    m_crossing = nC > 0;
    if (!m_crossing) {
        m_lines.cells.clear();
        m_lines.rowsBefore.clear();
        m_lines.rowsAfter.clear();
        m_lines.statistics.clear();
        m_lines.tests.clear();
    }
    if (m_lines.cells.empty())
        m_lines.cells.push_back(Line{});
    const int cells = Count(m_lines.cells.size());
    m_rowGroup = m_crossing && m_options.stackedInRows ? cells : 1;
    m_columnGroup = m_crossing && !m_options.stackedInRows ? cells : 1;
    m_calculationLevel = m_options.calculationLabels && m_crossing;

    m_columnHeaderLevels = 2 + (m_calculationLevel && !m_options.stackedInRows ? 1 : 0);
    m_rowHeaderLevels = (m_options.emptyLinePerQuestion ? 1 : 2) + (m_calculationLevel && m_options.stackedInRows ? 1 : 0);

    // Rows.
    const int perQuestion = (m_options.emptyLinePerQuestion ? 1 : 0) +
                            Count(m_lines.statistics.size()) + Count(m_lines.tests.size());
    int row = Count(m_lines.rowsBefore.size());
    for (int q = 0; q < RowQuestions(); ++q) {
        m_firstRows.push_back(row);
        row += perQuestion + m_rowGroup * m_rowModalities[Index(q)];
    }
    m_rows = row + Count(m_lines.rowsAfter.size());

    // Columns.
    int column = Count(m_lines.columnsBefore.size());
    for (int p = 0; p < ColumnQuestions(); ++p) {
        m_firstColumns.push_back(column);
        if (m_crossing)
            column += m_columnGroup * m_columnModalities[Index(p)];
    }
    m_columns = column + Count(m_lines.columnsAfter.size());
}

int AdvancedTableLayout::RowModalities(int q) const { return At(m_rowModalities, q); }

int AdvancedTableLayout::ColumnModalities(int p) const { return m_crossing ? At(m_columnModalities, p) : 0; }

int AdvancedTableLayout::RowOfMarginLine(bool before, int i) const {
    return before ? i : m_rows - Count(m_lines.rowsAfter.size()) + i;
}

int AdvancedTableLayout::FirstRowOfQuestion(int q) const { return At(m_firstRows, q); }

int AdvancedTableLayout::RowsOfQuestion(int q) const {
    const int next = q + 1 < RowQuestions() ? FirstRowOfQuestion(q + 1) : m_rows - Count(m_lines.rowsAfter.size());
    return next - FirstRowOfQuestion(q);
}

int AdvancedTableLayout::QuestionLine(int q) const {
    return m_options.emptyLinePerQuestion ? FirstRowOfQuestion(q) : -1;
}

int AdvancedTableLayout::RowOfModality(int q, int a, int k) const {
    return FirstRowOfQuestion(q) + (m_options.emptyLinePerQuestion ? 1 : 0) + a * m_rowGroup +
           (m_rowGroup > 1 ? k : 0);
}

int AdvancedTableLayout::StatisticRow(int q, int s) const {
    return RowOfModality(q, RowModalities(q)) + s;
}

int AdvancedTableLayout::TestRow(int q, int t) const {
    return StatisticRow(q, Count(m_lines.statistics.size())) + t;
}

int AdvancedTableLayout::ColumnOfMarginLine(bool before, int j) const {
    return before ? j : m_columns - Count(m_lines.columnsAfter.size()) + j;
}

int AdvancedTableLayout::FirstColumnOfQuestion(int p) const { return At(m_firstColumns, p); }

int AdvancedTableLayout::ColumnsOfQuestion(int p) const { return m_columnGroup * ColumnModalities(p); }

int AdvancedTableLayout::ColumnOfModality(int p, int b, int k) const {
    return FirstColumnOfQuestion(p) + b * m_columnGroup + (m_columnGroup > 1 ? k : 0);
}
