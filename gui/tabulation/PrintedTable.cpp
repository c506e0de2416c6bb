#include "gui/tabulation/PrintedTable.h"

#include "export/TablePieces.h"
#include "gui/tabulation/TableColumns.h"
#include "gui/tabulation/WholeWordWidths.h"
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

// Device units per layout unit of a table whose columns need `neededWidth`: 1 when it fits the
// page, else what brings it down to the page's width.
double ScaleFor(int neededWidth, const Page& page) {
    return neededWidth > page.width && page.width > 0 ? static_cast<double>(page.width) / neededWidth : 1.0;
}

// The width that the header columns and `dataColumns` data columns take on the page, with a
// margin as wide as the left one at their right: the columns share the page's width, none
// narrower than `unit`, the room their whole words need (WholeWordWidths).
int WidthOfColumns(double unit, std::int32_t headerColumns, std::int32_t dataColumns, const Page& page) {
    const TableColumns columns = TableColumns::Variable(page.width, headerColumns, dataColumns,
                                                        page.leftMargin, page.cellMargin, unit);
    return columns.TableRight() + page.leftMargin;
}

// The table laid out once: on the page, or, when its whole words need more than the page's width
// (`neededWidth`, as WidthOfColumns gives it for the table), on a page just wide enough for
// them, printed smaller. The rows are placed on the band's pages.
PrintedTable::Band Fit(const CTableauBase& table, const FontMetricsSource& metrics, const Page& page,
                       int neededWidth) {
    int width = page.width;
    int height = page.height;
    if (neededWidth > page.width && page.width > 0) {
        // The page's height in the units of the wider page, so that the pages keep their shape.
        width = neededWidth;
        height = static_cast<int>(static_cast<long long>(page.height) * neededWidth / page.width);
    }
    PrintedTable::Band band{TableLayout::Compute(table, metrics, PageOptions(width, height, page)),
                            ScaleFor(neededWidth, page), width, height};
    band.pageCount = band.layout.PlaceOnPages(band.pageHeight) + 1;
    band.columnCount = table.DonnerNbColonnes();
    return band;
}

// The room of the bands of columns from data column `first`, read from the records of the first
// columns from it: a band's records are theirs, cut after its last column (WholeWordWidths). Only
// as many columns are read as the bands asked about need: a wider band is first judged on the
// columns read, whose room alone may make it print too small, and more are read when it does not.
class BandRoom {
public:
    BandRoom(const CTableauBase& table, const FontMetricsSource& metrics, const Page& page,
             std::int32_t first)
        : m_table(table), m_metrics(metrics), m_page(page), m_first(first),
          m_headerColumns(table.DonnerNbColonnesEnTete()), m_available(table.DonnerNbColonnes() - first) {
        Read(std::min(m_available, kColumnsReadFirst));
    }

    std::int32_t Available() const { return m_available; }

    // The width a band of `count` data columns takes on the page.
    int NeededWidth(std::int32_t count) {
        if (count > m_read)
            Read(std::min(m_available, std::max(count, 2 * m_read)));
        return WidthOfColumns(m_widths->Unit(m_headerColumns, m_headerColumns + count, m_page.cellMargin),
                              m_headerColumns, count, m_page);
    }

    // Whether a band of `count` data columns prints at kLegibleScale or more.
    bool Legible(std::int32_t count) {
        if (count > m_read) {
            const double least = m_widths->LeastUnit(m_headerColumns, m_headerColumns + count,
                                                     m_page.cellMargin, m_headerColumns + m_read);
            if (ScaleFor(WidthOfColumns(least, m_headerColumns, count, m_page), m_page) <
                PrintedTable::kLegibleScale)
                return false;
        }
        return ScaleFor(NeededWidth(count), m_page) >= PrintedTable::kLegibleScale;
    }

private:
    // A band is seldom wider: most tables read their columns once per band.
    static constexpr std::int32_t kColumnsReadFirst = 32;

    void Read(std::int32_t columns) {
        const std::unique_ptr<CTableau> piece =
            TablePieces::Build(m_table, TablePieces::Piece{0, m_table.DonnerNbLignes(), m_first, columns});
        m_widths = std::make_unique<WholeWordWidths>(TableLayout::WordWidths(*piece, m_metrics));
        m_read = columns;
    }

    const CTableauBase& m_table;
    const FontMetricsSource& m_metrics;
    const Page m_page;
    const std::int32_t m_first;
    const std::int32_t m_headerColumns;
    const std::int32_t m_available;
    std::int32_t m_read = 0;
    std::unique_ptr<WholeWordWidths> m_widths;
};

// The most data columns of the room's whose band is not printed smaller than kLegibleScale, one
// at the least.
std::int32_t MostLegibleColumns(BandRoom& room) {
    std::int32_t low = 1;
    std::int32_t high = room.Available();
    while (low < high) {
        const std::int32_t middle = low + (high - low + 1) / 2;
        if (room.Legible(middle))
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
// columns where it can; only the band chosen is laid out.
PrintedTable::Band WidestLegibleBand(const CTableauBase& table, const FontMetricsSource& metrics,
                                     const Page& page, std::int32_t first) {
    BandRoom room(table, metrics, page, first);
    const std::int32_t count = EndBeforeCutGroup(table, first, MostLegibleColumns(room));
    const std::unique_ptr<CTableau> piece =
        TablePieces::Build(table, TablePieces::Piece{0, table.DonnerNbLignes(), first, count});
    PrintedTable::Band band = Fit(*piece, metrics, page, room.NeededWidth(count));
    band.firstColumn = first;
    band.columnCount = count;
    return band;
}

} // namespace

PrintedTable PrintedTable::Compute(const CTableauBase& table, const FontMetricsSource& metrics, int pageWidth,
                                   int pageHeight, int leftMargin, int cellMargin) {
    const Page page{pageWidth, pageHeight, leftMargin, cellMargin};
    std::vector<Band> bands;
    const std::int32_t headerColumns = table.DonnerNbColonnesEnTete();
    const std::int32_t dataColumns = table.DonnerNbColonnes();
    const double unit =
        TableLayout::WordWidths(table, metrics).Unit(headerColumns, headerColumns + dataColumns, cellMargin);
    const int neededWidth = WidthOfColumns(unit, headerColumns, dataColumns, page);
    if (ScaleFor(neededWidth, page) >= kLegibleScale || table.DonnerNbColonnes() <= 1) {
        bands.push_back(Fit(table, metrics, page, neededWidth));
        return PrintedTable(std::move(bands));
    }

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
