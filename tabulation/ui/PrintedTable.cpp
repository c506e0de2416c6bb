#include "tabulation/ui/PrintedTable.h"

#include <algorithm>
#include <utility>

namespace {

TableLayoutOptions PageOptions(int pageWidth, int pageHeight, int leftMargin, int cellMargin) {
    TableLayoutOptions options;
    options.cellSizeMode = CellSizeMode::kVariable;
    options.keepWordsWhole = true;
    options.availableWidth = pageWidth;
    options.tableTopGap = PrintedTable::kTableTopGap;
    options.cellMargin = cellMargin;
    options.leftMargin = leftMargin;
    options.titleRight = pageWidth;
    options.titleBottom = pageHeight;
    return options;
}

} // namespace

PrintedTable::PrintedTable(TableLayout layout, double scale, int pageWidth, int pageHeight)
    : m_layout(std::move(layout)), m_scale(scale), m_pageWidth(pageWidth), m_pageHeight(pageHeight) {
    m_pageBreaks = m_layout.PlaceOnPages(m_pageHeight);
}

PrintedTable PrintedTable::Compute(const CTableauBase& table, const FontMetricsSource& metrics, int pageWidth,
                                   int pageHeight, int leftMargin, int cellMargin) {
    TableLayout onPage =
        TableLayout::Compute(table, metrics, PageOptions(pageWidth, pageHeight, leftMargin, cellMargin));
    // The table keeps a margin as wide as the left one at its right.
    const int neededWidth = onPage.TableRight() + leftMargin;
    if (neededWidth <= pageWidth || pageWidth <= 0)
        return PrintedTable(std::move(onPage), 1.0, pageWidth, pageHeight);
    const double scale = static_cast<double>(pageWidth) / neededWidth;
    // The page's height in the units of the wider page, so that the pages keep their shape.
    const auto widerPageHeight =
        static_cast<int>(static_cast<long long>(pageHeight) * neededWidth / pageWidth);
    TableLayout onWiderPage = TableLayout::Compute(
        table, metrics, PageOptions(neededWidth, widerPageHeight, leftMargin, cellMargin));
    return PrintedTable(std::move(onWiderPage), scale, neededWidth, widerPageHeight);
}
