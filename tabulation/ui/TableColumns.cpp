#include "tabulation/ui/TableColumns.h"

#include <algorithm>
#include <cmath>

TableColumns::TableColumns(int headerColumns, int dataColumns, double headerWidth, double dataWidth,
                           int leftMargin, int cellMargin) {
    headerColumns = std::max(headerColumns, 0);
    dataColumns = std::max(dataColumns, 0);
    m_textAreas.reserve(static_cast<std::size_t>(headerColumns + dataColumns));
    int right = leftMargin;
    for (int column = 0; column < headerColumns + dataColumns; ++column) {
        const int left = right;
        const double width = column < headerColumns ? headerWidth : dataWidth;
        right = static_cast<int>(std::trunc(right + width));
        m_textAreas.push_back(ColumnEdges{left + cellMargin, right - cellMargin});
    }
    m_tableRight = right;
}

TableColumns TableColumns::Variable(int availableWidth, int headerColumns, int dataColumns, int leftMargin,
                                    int cellMargin) {
    const int units = std::max(dataColumns, 0) + 2 * std::max(headerColumns, 0);
    double unit = 0.0;
    if (units > 0)
        unit = std::max(0.0, static_cast<double>(availableWidth - 2 * leftMargin) / units);
    return TableColumns(headerColumns, dataColumns, 2 * unit, unit, leftMargin, cellMargin);
}

TableColumns TableColumns::Fixed(int headerColumns, int dataColumns, int leftMargin, int cellMargin) {
    return TableColumns(headerColumns, dataColumns, kFixedHeaderWidth, kFixedDataWidth, leftMargin,
                        cellMargin);
}
