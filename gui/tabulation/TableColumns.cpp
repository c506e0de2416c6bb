#include "gui/tabulation/TableColumns.h"

#include <algorithm>
#include <cmath>

namespace {

// The unit that shares the available width less the two margins.
double SharedUnit(int availableWidth, int headerColumns, int dataColumns, int leftMargin) {
    const int units = std::max(dataColumns, 0) + 2 * std::max(headerColumns, 0);
    if (units <= 0)
        return 0.0;
    return std::max(0.0, static_cast<double>(availableWidth - 2 * leftMargin) / units);
}

// Each column placed from a whole right edge is as wide as its width truncated: floor(2u) for a
// header column, floor(u) for a data column.
int WidthAtUnit(double unit, int headerColumns, int dataColumns) {
    return std::max(headerColumns, 0) * static_cast<int>(std::trunc(2 * unit)) +
           std::max(dataColumns, 0) * static_cast<int>(std::trunc(unit));
}

} // namespace

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
                                    int cellMargin, double minimumUnit) {
    const double unit =
        std::max(SharedUnit(availableWidth, headerColumns, dataColumns, leftMargin), minimumUnit);
    return TableColumns(headerColumns, dataColumns, 2 * unit, unit, leftMargin, cellMargin);
}

// The joint width only steps up where u or 2u reaches a whole number, that is at multiples of
// one half: the unit that shares the width exactly is tried first, then each next half until the
// truncated columns are wide enough.
double TableColumns::UnitForWidth(int width, int headerColumns, int dataColumns) {
    const int units = std::max(dataColumns, 0) + 2 * std::max(headerColumns, 0);
    if (units <= 0 || width <= 0)
        return 0.0;
    double unit = static_cast<double>(width) / units;
    while (WidthAtUnit(unit, headerColumns, dataColumns) < width)
        unit = (std::floor(2 * unit) + 1) / 2;
    return unit;
}

TableColumns TableColumns::Fixed(int headerColumns, int dataColumns, int leftMargin, int cellMargin) {
    return TableColumns(headerColumns, dataColumns, kFixedHeaderWidth, kFixedDataWidth, leftMargin,
                        cellMargin);
}
