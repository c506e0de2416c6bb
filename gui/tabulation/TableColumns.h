#pragma once

#include <cstdint>
#include <vector>

// The horizontal extent of one displayed column's text: the column's edges brought in by the
// cell margin. Lines and fills of the column's cells stand on the edges themselves.
struct ColumnEdges {
    int left = 0;
    int right = 0;
};

// How the columns of a table share the width: in variable mode each header column takes two units
// and each data column one, the units filling the width less a left margin on both sides; in
// fixed mode the header columns are 160 and the data columns 80 wide whatever the width.
enum class CellSizeMode : std::int32_t { kVariable = 0, kFixed = 1 };

// The column positions of a table layout: header columns first, then data columns, edge to edge
// from the left margin. Each right edge is the previous one plus the column's width truncated to a
// whole unit, so that the rounding of a fractional width accumulates along the row rather than
// widening every column.
class TableColumns {
public:
    static constexpr int kFixedHeaderWidth = 160;
    static constexpr int kFixedDataWidth = 80;

    // Shares `availableWidth` less twice the left margin. A width too small for the margins
    // gives columns of no width rather than columns running backwards. The unit is never less
    // than `minimumUnit`: the table is then wider than the available width.
    static TableColumns Variable(int availableWidth, int headerColumns, int dataColumns, int leftMargin,
                                 int cellMargin, double minimumUnit = 0.0);
    static TableColumns Fixed(int headerColumns, int dataColumns, int leftMargin, int cellMargin);

    // The smallest unit of the variable mode at which `headerColumns` header columns and
    // `dataColumns` data columns side by side are at least `width` wide, the truncation of each
    // column's width counted. 0 for no column or no width.
    static double UnitForWidth(int width, int headerColumns, int dataColumns);

    // One entry per displayed column, header columns first.
    const std::vector<ColumnEdges>& TextAreas() const { return m_textAreas; }
    // The right edge of the last column (the left margin when there is no column).
    int TableRight() const { return m_tableRight; }

private:
    TableColumns(int headerColumns, int dataColumns, double headerWidth, double dataWidth, int leftMargin,
                 int cellMargin);

    std::vector<ColumnEdges> m_textAreas;
    int m_tableRight = 0;
};
