#include "gui/tabulation/PrintedTable.h"

#include "export/TablePieces.h"
#include "tabulation/Tableau.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

struct Page {
    int width = 0;
    int height = 0;
    int leftMargin = 0;
    int cellMargin = 0;
};

TableLayoutOptions PageOptions(int pageWidth, int pageHeight, const Page& page) {
    TableLayoutOptions options;
    options.cellSizeMode = CellSizeMode::kVariable;
    options.keepWordsWhole = true;
    options.availableWidth = pageWidth;
    options.tableTopGap = PrintedTable::kTableTopGap;
    options.cellMargin = page.cellMargin;
    options.leftMargin = page.leftMargin;
    options.titleRight = pageWidth;
    options.titleBottom = pageHeight;
    return options;
}

// The table on the page, or, when its whole words need more than the page's width, on a page
// just wide enough for them, printed smaller. The rows are placed on the band's pages.
PrintedTable::Band Fit(const CTableauBase& table, const FontMetricsSource& metrics, const Page& page) {
    TableLayout onPage = TableLayout::Compute(table, metrics, PageOptions(page.width, page.height, page));
    // The table keeps a margin as wide as the left one at its right.
    const int neededWidth = onPage.TableRight() + page.leftMargin;
    PrintedTable::Band band{std::move(onPage), 1.0, page.width, page.height};
    if (neededWidth > page.width && page.width > 0) {
        // The page's height in the units of the wider page, so that the pages keep their shape.
        const auto widerPageHeight =
            static_cast<int>(static_cast<long long>(page.height) * neededWidth / page.width);
        band = PrintedTable::Band{
            TableLayout::Compute(table, metrics, PageOptions(neededWidth, widerPageHeight, page)),
            static_cast<double>(page.width) / neededWidth, neededWidth, widerPageHeight};
    }
    band.pageCount = band.layout.PlaceOnPages(band.pageHeight) + 1;
    band.columnCount = table.DonnerNbColonnes();
    return band;
}

// The band of `count` data columns from `first`: every row, the header columns repeated.
PrintedTable::Band FitColumns(const CTableauBase& table, const FontMetricsSource& metrics, const Page& page,
                              std::int32_t first, std::int32_t count) {
    const std::unique_ptr<CTableau> piece =
        TablePieces::Build(table, TablePieces::Piece{0, table.DonnerNbLignes(), first, count});
    PrintedTable::Band band = Fit(*piece, metrics, page);
    band.firstColumn = first;
    band.columnCount = count;
    return band;
}

// The most data columns from `first` whose band is not printed smaller than kLegibleScale, one at
// the least.
std::int32_t MostLegibleColumns(const CTableauBase& table, const FontMetricsSource& metrics, const Page& page,
                                std::int32_t first) {
    std::int32_t low = 1;
    std::int32_t high = table.DonnerNbColonnes() - first;
    while (low < high) {
        const std::int32_t middle = low + (high - low + 1) / 2;
        if (FitColumns(table, metrics, page, first, middle).scale >= PrintedTable::kLegibleScale)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// A band that stops inside a group of columns (under a heading over several columns) ends before
// the group's first column instead, when the band holds another group before it; the outermost
// headings are searched first, as the pieces of a word-processor document are cut.
std::int32_t EndBeforeCutGroup(const CTableauBase& table, std::int32_t first, std::int32_t count) {
    if (first + count >= table.DonnerNbColonnes())
        return count;
    for (std::int32_t level = 0; level < table.DonnerNbLignesEnTete(); ++level) {
        if (!table.GetLibelleColonneAffiche(level, first + count).empty())
            return count;
        for (std::int32_t column = first + count - 1; column > first; --column)
            if (!table.GetLibelleColonneAffiche(level, column).empty())
                return column - first;
    }
    return count;
}

// The widest band from data column `first` that prints at a legible size, ending with a group of
// columns where it can.
PrintedTable::Band WidestLegibleBand(const CTableauBase& table, const FontMetricsSource& metrics,
                                     const Page& page, std::int32_t first) {
    const std::int32_t count =
        EndBeforeCutGroup(table, first, MostLegibleColumns(table, metrics, page, first));
    return FitColumns(table, metrics, page, first, count);
}

} // namespace

PrintedTable PrintedTable::Compute(const CTableauBase& table, const FontMetricsSource& metrics, int pageWidth,
                                   int pageHeight, int leftMargin, int cellMargin) {
    const Page page{pageWidth, pageHeight, leftMargin, cellMargin};
    std::vector<Band> bands;
    bands.push_back(Fit(table, metrics, page));
    if (bands.front().scale >= kLegibleScale || table.DonnerNbColonnes() <= 1)
        return PrintedTable(std::move(bands));

    bands.clear();
    int nextPage = 1;
    for (std::int32_t first = 0; first < table.DonnerNbColonnes();) {
        Band band = WidestLegibleBand(table, metrics, page, first);
        band.firstPage = nextPage;
        nextPage += band.pageCount;
        first += band.columnCount;
        bands.push_back(std::move(band));
    }
    return PrintedTable(std::move(bands));
}

const PrintedTable::Band& PrintedTable::BandOfPage(int page) const {
    for (const Band& band : m_bands)
        if (page < band.firstPage + band.pageCount)
            return band;
    return m_bands.back();
}

int PrintedTable::PageOffset(int page) const {
    const Band& band = BandOfPage(page);
    return (page - band.firstPage) * band.pageHeight;
}
