#pragma once

#include <cstdint>
#include <vector>

#include "tabulation/AdvancedTableKernels.h"

class CCalculEvolue;
class CStyle;

// Where everything of an advanced table stands: the calculation lines of its style filed by what
// they compute, and the rows and columns of every block.
//
// Columns, left to right: the leading column lines (margins over the rows), then one block per
// column question (a group of sub-columns per selected modality, one per cell calculation, unless
// the calculations are stacked in rows), then the trailing column lines.
//
// Rows, top to bottom: the leading row lines (margins over the columns), then one block per row
// question, then the trailing row lines. A row question's block holds, in this order, its own line
// (with one empty line per question), its modality rows (a group of sub-rows per modality, one per
// cell calculation, when they are stacked in rows), its statistic lines and its test lines, each
// in the order of the style.
//
// Margin lines stand outside the question blocks whatever the profiles hold: a Total pseudo-
// modality chosen in a profile is one more modality of its question's block, where the margin
// lines show the values of a flat table's Total line and the cells those of a cross table's Total.
//
// When the column profile selects no modality the table shows only the row modalities and the
// column lines: the cell calculations, the row lines, the statistic and the test lines have no
// place.
class AdvancedTableLayout {
public:
    using Sample = AdvancedTableKernels::Sample;

    // A calculation line as the table uses it: the sample it is computed on, the request's where
    // the line leaves it open. The cell list of a style without crossing holds one line without
    // calculation, which computes nothing.
    struct Line {
        const CCalculEvolue* calculation = nullptr;
        Sample sample;
        std::int32_t kind = 0;
    };
    struct Lines {
        std::vector<Line> cells;
        std::vector<Line> columnsBefore; // margins in columns met before the first crossing
        std::vector<Line> columnsAfter;
        std::vector<Line> rowsBefore; // margins in rows met before the first crossing
        std::vector<Line> rowsAfter;
        std::vector<Line> statistics;
        std::vector<Line> tests;
    };

    // The style's lines, in its order, filed: crossings into the cells; totals in columns
    // (position 0), in rows (1) or both (2), leading or trailing as they come before or after the
    // first crossing of the style; statistics sub-totals placed on rows (positions 1 and 2); test
    // lines. Lines of any other type or position have no place. Each line takes the request's
    // study field, weighting and level where its own are -1, -1 and 0.
    static Lines FileStyle(const CStyle& style, const Sample& request);

    struct Options {
        bool stackedInRows = false;        // merge Type 2: cell calculations in sub-rows
        bool emptyLinePerQuestion = false; // each row question has a line of its own
        bool calculationLabels = false;    // a header level names the cell calculations
    };

    // The numbers of selected modalities of each question of the row and the column profile
    // (separators removed). The lines are kept, the cell list completed with its empty entry.
    AdvancedTableLayout(std::vector<int> rowModalities, std::vector<int> columnModalities, Lines lines,
                        const Options& options);

    const Lines& GetLines() const { return m_lines; }
    const Options& GetOptions() const { return m_options; }

    int ColumnHeaderLevels() const { return m_columnHeaderLevels; }
    int RowHeaderLevels() const { return m_rowHeaderLevels; }
    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }

    // Whether the column profile selects a modality: otherwise only the row modalities and the
    // column lines are shown.
    bool HasCrossing() const { return m_crossing; }
    // Whether a header level names the cell calculations (in rows when they are stacked in rows).
    bool HasCalculationLevel() const { return m_calculationLevel; }
    int RowQuestions() const { return static_cast<int>(m_rowModalities.size()); }
    int ColumnQuestions() const { return static_cast<int>(m_columnModalities.size()); }
    int RowModalities(int q) const;
    int ColumnModalities(int p) const;
    // How many sub-rows (sub-columns) each modality's group holds.
    int RowGroup() const { return m_rowGroup; }
    int ColumnGroup() const { return m_columnGroup; }

    // ---- Rows ----
    int RowOfMarginLine(bool before, int i) const;
    int FirstRowOfQuestion(int q) const;
    int RowsOfQuestion(int q) const;
    // The question's own line; -1 without empty line per question.
    int QuestionLine(int q) const;
    // Sub-row k of modality a of row question q (k counts only when calculations are stacked in rows).
    int RowOfModality(int q, int a, int k = 0) const;
    int StatisticRow(int q, int s) const;
    int TestRow(int q, int t) const;

    // ---- Columns ----
    int ColumnOfMarginLine(bool before, int j) const;
    int FirstColumnOfQuestion(int p) const;
    int ColumnsOfQuestion(int p) const;
    // Sub-column k of modality b of column question p (k counts only when calculations are side by side).
    int ColumnOfModality(int p, int b, int k = 0) const;

    // ---- Header levels ----
    // Row-header level of the modality labels, and of the statistic and test line labels.
    int RowModalityLevel() const { return m_options.emptyLinePerQuestion ? 0 : 1; }

private:
    std::vector<int> m_rowModalities;
    std::vector<int> m_columnModalities;
    Lines m_lines;
    Options m_options;
    bool m_crossing = false;
    bool m_calculationLevel = false;
    int m_rowGroup = 1;
    int m_columnGroup = 1;
    int m_columnHeaderLevels = 0;
    int m_rowHeaderLevels = 0;
    int m_rows = 0;
    int m_columns = 0;
    std::vector<int> m_firstRows;    // first row of each row question's block
    std::vector<int> m_firstColumns; // first column of each column question's block
};
