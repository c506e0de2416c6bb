#include "app/Ligne.h"
#include "support/SettingsFixture.h"
#include "tabulation/Fusion.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/FakeFontMetrics.h"
#include "gui/tabulation/PrintedTable.h"
#include "gui/tabulation/RecordingPaintDevice.h"
#include "gui/tabulation/TablePainter.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// With the fake metrics every character of the default 10-point font is 10 units wide and every
// line 20 high.
constexpr int kLineHeight = 20;
constexpr int kLeftMargin = 40;
constexpr int kCellMargin = 3;

CTableau Sample(bool titleAbove) {
    CTableau table;
    table.RemplirExemple();
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEstTitreAuDessus(titleAbove);
    table.SetPresentation(presentation);
    return table;
}

// One header column of short labels and `columns` data columns labelled "Colonne" (70 units),
// holding zeros.
CTableau WideTable(std::int32_t rows, std::int32_t columns) {
    CTableau table(1, 1, rows, columns, CTableauBase::kMarqueParColonne);
    for (std::int32_t row = 0; row < rows; ++row) {
        const CLigne label("L" + std::to_string(row));
        table.SetLibelleLigne(0, row, &label);
    }
    for (std::int32_t column = 0; column < columns; ++column) {
        const CLigne label("Colonne");
        table.SetLibelleColonne(0, column, &label);
    }
    return table;
}

// `rows` rows labelled "L0", "L1"... under one header column, `columns` data columns labelled
// "Colonne" under a second header row, "Groupe" heading every `group`-th column (no heading row
// when `group` is 0). A row whose index is `tallEvery` - 1 modulo `tallEvery` gets a label of two
// lines: "Ln" and a word of 35 letters, too long together for a header column of 362 units.
CTableau PagedTable(std::int32_t rows, std::int32_t columns, std::int32_t group, std::int32_t tallEvery) {
    const std::int32_t headerRows = group > 0 ? 2 : 1;
    CTableau table(headerRows, 1, rows, columns, CTableauBase::kMarqueParColonne);
    for (std::int32_t row = 0; row < rows; ++row) {
        std::string text = "L" + std::to_string(row);
        if (tallEvery > 0 && row % tallEvery == tallEvery - 1)
            text += " " + std::string(35, 'x');
        const CLigne label(text);
        table.SetLibelleLigne(0, row, &label);
    }
    for (std::int32_t column = 0; column < columns; ++column) {
        if (group > 0 && column % group == 0) {
            const CLigne heading("Groupe");
            table.SetLibelleColonne(0, column, &heading);
        }
        const CLigne label("Colonne");
        table.SetLibelleColonne(headerRows - 1, column, &label);
    }
    return table;
}

// A hundred columns labelled "Colonne" under a heading of one word of 400 letters merged over the
// first fifty, above three rows.
CTableau LongHeadingTable() {
    CTableau table = PagedTable(3, 100, 0, 0);
    CTableau headed(2, 1, 3, 100, CTableauBase::kMarqueParColonne);
    for (std::int32_t row = 0; row < 3; ++row)
        headed.SetLibelleLigne(0, row, table.DisplayedRowLabel(0, row));
    const CLigne heading(std::string(400, 'x'));
    headed.SetLibelleColonne(0, 0, &heading);
    for (std::int32_t column = 0; column < 100; ++column)
        headed.SetLibelleColonne(1, column, table.DisplayedColumnLabel(0, column));
    auto merges = std::make_unique<CFusion>(2, 1, 3, 100);
    merges->SetFusion(0, 1, 49);
    headed.SetFusionColonnes(std::move(merges));
    return headed;
}

// What one printed page holds: its band's data columns and the data rows placed on it.
struct PageContent {
    std::int32_t firstColumn;
    std::int32_t lastColumn;
    std::int32_t firstRow;
    std::int32_t lastRow;

    bool operator==(const PageContent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PageContent& page) {
    return out << "columns " << page.firstColumn << "-" << page.lastColumn << ", rows " << page.firstRow
               << "-" << page.lastRow;
}

class PrintedTableTest : public SettingsFixture {
protected:
    PrintedTable Print(const CTableau& table, int pageWidth, int pageHeight) const {
        return PrintedTable::Compute(table, m_metrics, pageWidth, pageHeight, kLeftMargin, kCellMargin);
    }

    FakeFontMetrics m_metrics;
};

// A table that fits its page is laid out on it as it is: the columns share the page width less the
// margins (1 header column of 2 units and 2 data columns: u = (1000 - 80) / 4 = 230), the table
// starts 50 down, and it prints at scale 1.
TEST_F(PrintedTableTest, ATableThatFitsSharesThePageWidth) {
    const PrintedTable printed = Print(Sample(false), 1000, 1000);
    EXPECT_DOUBLE_EQ(printed.Scale(), 1.0);
    EXPECT_EQ(printed.PageWidth(), 1000);
    EXPECT_EQ(printed.PageHeight(), 1000);
    const TableLayout& layout = printed.Layout();
    ASSERT_EQ(layout.Columns().size(), 3u);
    EXPECT_EQ(layout.Columns()[0].left, 43);
    EXPECT_EQ(layout.Columns()[0].right, 497);
    EXPECT_EQ(layout.Columns()[2].right, 957);
    EXPECT_EQ(layout.TableRight(), 960);
    EXPECT_EQ(layout.TableTop(), 50);
    ASSERT_EQ(layout.Rows().size(), 4u);
    EXPECT_EQ(layout.Rows()[3], (RowSpan{50 + 3 * kLineHeight, 50 + 4 * kLineHeight}));
    EXPECT_EQ(printed.PageBreaks(), 0);
    EXPECT_EQ(printed.LastPage(), 1);
}

// The title block above the table spans the printable width, not 5000 units: on a page 9000
// wide a 6000-unit study-field line stays one line (under the base line), where 5000 units would
// have wrapped it; the columns beyond 5000 units are laid out on the page too.
TEST_F(PrintedTableTest, TheTitleBlockSpansThePrintableWidth) {
    CTableau table = Sample(true);
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEstTitreChamp(true);
    table.SetPresentation(presentation);
    std::string field;
    for (int word = 0; word < 100; ++word)
        field += "champ ";
    table.studyFieldCaption = field.substr(0, field.size() - 1);

    const PrintedTable printed = Print(table, 9000, 12000);
    const TableLayout& layout = printed.Layout();
    ASSERT_TRUE(layout.HasTitleAbove());
    EXPECT_EQ(layout.TitleRect().right, 9000);
    EXPECT_EQ(layout.TableTop(), 50 + 2 * kLineHeight);
    EXPECT_EQ(layout.TableRight(), 8960);
    EXPECT_GT(layout.Columns().back().left, 5000);
}

// Twelve data columns on a page 1000 wide would be 54 units each (less than "Colonne" and its
// margins need, 76): the table is laid out on a page just wide enough for its words, 40 + 152 +
// 12 x 76 + 40 = 1144 units, and printed at 1000 / 1144 (above the legible floor of 0.7) so that
// it fits the printable width. The page keeps its shape: 1400 high becomes 1601.
TEST_F(PrintedTableTest, ATableTooWideForItsWordsPrintsSmaller) {
    const PrintedTable printed = Print(WideTable(3, 12), 1000, 1400);
    ASSERT_EQ(printed.Bands().size(), 1u);
    EXPECT_EQ(printed.PageWidth(), 1144);
    EXPECT_EQ(printed.PageHeight(), 1601);
    EXPECT_DOUBLE_EQ(printed.Scale(), 1000.0 / 1144.0);
    const TableLayout& layout = printed.Layout();
    EXPECT_EQ(layout.TableRight() + kLeftMargin, printed.PageWidth());
    for (const CCellule& cell : layout.Cells()) {
        EXPECT_EQ(cell.text.find('\n'), std::string::npos) << cell.text;
    }
    ASSERT_EQ(layout.Columns().size(), 13u);
    EXPECT_EQ(layout.Columns().back().right - layout.Columns().back().left, 70);
}

// Thirty such columns would print at 1000 / 2512, a 10-point text shrunk to 4 points. Never
// smaller than 0.7: fifteen columns take 40 + 152 + 15 x 76 + 40 = 1372 units (scale 0.729),
// sixteen 1448 (0.691). The table prints as two bands of fifteen columns, each on a page of its
// own (1400 x 1372 / 1000 = 1920 high), each beside the row headings.
TEST_F(PrintedTableTest, ATableTooWideToPrintLegiblyIsPrintedInBandsOfColumns) {
    const PrintedTable printed = Print(WideTable(3, 30), 1000, 1400);
    ASSERT_EQ(printed.Bands().size(), 2u);
    EXPECT_EQ(printed.LastPage(), 2);
    EXPECT_EQ(printed.PageBreaks(), 1);
    for (std::size_t index = 0; index < 2; ++index) {
        SCOPED_TRACE(index);
        const PrintedTable::Band& band = printed.Bands()[index];
        EXPECT_EQ(band.firstColumn, static_cast<std::int32_t>(15 * index));
        EXPECT_EQ(band.columnCount, 15);
        EXPECT_EQ(band.firstPage, static_cast<int>(index) + 1);
        EXPECT_EQ(band.pageCount, 1);
        EXPECT_EQ(band.pageWidth, 1372);
        EXPECT_EQ(band.pageHeight, 1920);
        EXPECT_DOUBLE_EQ(band.scale, 1000.0 / 1372.0);
        EXPECT_EQ(&printed.BandOfPage(static_cast<int>(index) + 1), &band);
        EXPECT_EQ(printed.PageOffset(static_cast<int>(index) + 1), 0);
        ASSERT_EQ(band.layout.Columns().size(), 16u);
        std::vector<std::string> headings;
        for (const CCellule& cell : band.layout.Cells())
            if (cell.column == 0 && cell.row > 0)
                headings.push_back(cell.text);
        EXPECT_EQ(headings, (std::vector<std::string>{"L0", "L1", "L2"}));
    }
}

// Columns under headings of four ("Groupe" over each fourth column): a band of fifteen would stop
// inside the fourth group, so it ends before it, after twelve columns; the third band takes the
// six left, which fit the page at full size.
TEST_F(PrintedTableTest, ABandEndsWithAGroupOfColumnsWhereItCan) {
    CTableau table(2, 1, 3, 30, CTableauBase::kMarqueParColonne);
    for (std::int32_t row = 0; row < 3; ++row) {
        const CLigne label("L" + std::to_string(row));
        table.SetLibelleLigne(0, row, &label);
    }
    for (std::int32_t column = 0; column < 30; ++column) {
        if (column % 4 == 0) {
            const CLigne group("Groupe");
            table.SetLibelleColonne(0, column, &group);
        }
        const CLigne label("Colonne");
        table.SetLibelleColonne(1, column, &label);
    }
    const PrintedTable printed = Print(table, 1000, 1400);
    std::vector<std::pair<std::int32_t, std::int32_t>> bands;
    for (const PrintedTable::Band& band : printed.Bands())
        bands.emplace_back(band.firstColumn, band.columnCount);
    EXPECT_EQ(bands, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 12}, {12, 12}, {24, 6}}));
    EXPECT_DOUBLE_EQ(printed.Bands()[0].scale, 1000.0 / 1144.0);
    EXPECT_DOUBLE_EQ(printed.Bands()[2].scale, 1.0);
}

// Whatever the number of columns, no band prints below the floor (but a band of a single column
// wider still), the bands follow one another over every column once, each repeating the header
// column, and their pages follow one another.
TEST_F(PrintedTableTest, NoBandPrintsBelowTheLegibleFloor) {
    for (const std::int32_t columns : {1, 2, 11, 15, 16, 29, 31, 47, 60}) {
        for (const int pageWidth : {300, 1000, 2500}) {
            SCOPED_TRACE(std::to_string(columns) + " columns on " + std::to_string(pageWidth));
            const PrintedTable printed = Print(WideTable(12, columns), pageWidth, 400);
            std::int32_t nextColumn = 0;
            int nextPage = 1;
            for (const PrintedTable::Band& band : printed.Bands()) {
                EXPECT_EQ(band.firstColumn, nextColumn);
                EXPECT_EQ(band.firstPage, nextPage);
                EXPECT_GE(band.columnCount, 1);
                if (band.columnCount > 1) {
                    EXPECT_GE(band.scale, PrintedTable::kLegibleScale);
                }
                EXPECT_LE(band.layout.TableRight() * band.scale, pageWidth);
                EXPECT_EQ(band.layout.Columns().size(), static_cast<std::size_t>(band.columnCount) + 1);
                EXPECT_EQ(band.pageCount, (band.layout.Rows().back().bottom - 1) / band.pageHeight + 1);
                bool headingShown = false;
                for (const CCellule& cell : band.layout.Cells())
                    headingShown = headingShown || (cell.column == 0 && cell.text == "L11");
                EXPECT_TRUE(headingShown);
                nextColumn += band.columnCount;
                nextPage += band.pageCount;
            }
            EXPECT_EQ(nextColumn, columns);
            EXPECT_EQ(printed.LastPage(), nextPage - 1);
        }
    }
}

// Rows go onto pages: 1 header row and 60 data rows 20 high on pages 1000 high put 45 rows on
// page 1 (50 to 950) and the other 16 on page 2, from 1050.
TEST_F(PrintedTableTest, RowsGoOntoPages) {
    const PrintedTable printed = Print(WideTable(60, 2), 1000, 1000);
    EXPECT_DOUBLE_EQ(printed.Scale(), 1.0);
    const TableLayout& layout = printed.Layout();
    ASSERT_EQ(layout.Rows().size(), 61u);
    EXPECT_EQ(layout.Rows()[44], (RowSpan{930, 950}));
    EXPECT_EQ(layout.Rows()[45], (RowSpan{1050, 1070}));
    EXPECT_EQ(layout.Rows()[60], (RowSpan{1350, 1370}));
    EXPECT_EQ(printed.PageBreaks(), 1);
    EXPECT_EQ(printed.LastPage(), 2);
    EXPECT_EQ(printed.PageOffset(2), 1000);
    // A record's rectangle is its row's on its page.
    for (const CCellule& cell : layout.Cells())
        if (cell.row == 45) {
            EXPECT_EQ(layout.RectOf(cell).top, 1050);
        }
}

// The pages of two printouts, worked by hand from the page rules (rows never cut, 50 units kept
// free at the top and bottom of a page, bands of columns no smaller than 0.7, ending with a group).
//
// Forty columns under headings of four, 100 rows 20 high, on pages 1000 x 1400: a band of
// fifteen columns would cut the fourth group, so the bands hold 12, 12, 12 and 4 columns. A band
// of 12 prints at 1000 / 1144 on pages 1601 high: its two header rows stand from 50 to 90 and
// the data rows below until a bottom of 1551, 73 rows; the other 27 go to its second page. The
// band of 4 fits the page at full size: 63 rows above 1350, then 37.
//
// One band of three columns, 120 rows of which every fifth is two lines (40) high, on pages
// 1000 x 1000: under the header row (50 to 70), blocks of five rows take 120; page 1 holds
// seven blocks and two rows (to 950, which still fits), rows 0 to 36. Page 2 starts with row 37
// at 1050 and takes it to row 73 (the tall row 74 would end at 1970, past 1950); page 3 rows 74
// to 110 (row 110 ends at 2950 exactly); page 4 the last nine.
//
// A hundred columns of "Colonne" (76 units with the margins) on pages 4000 wide: a band prints at
// 0.7 or more up to 4000 / 0.7 = 5714 units, 40 + 152 + 76 n + 40, n = 72; the 28 columns left fit
// the page. Under the heading of 4000 units over the first fifty columns, those need 81 units
// each (4006 over fifty columns, by whole halves), and so do all the columns of a band that holds
// the heading whole: 40 + 162 + 81 n + 40 <= 5714 gives 67 columns (a band of fewer than fifty
// would need more room still for the heading cut with it); the 33 columns left fit the page.
//
// Drawn page by page as a printout draws them, each page shows the labels of its rows and no
// other, the header rows on the first page of each band only.
TEST_F(PrintedTableTest, ThePagesOfAPrintout) {
    struct Case {
        const char* name;
        CTableau table;
        int pageWidth;
        int pageHeight;
        std::vector<PageContent> pages;
    };
    const std::vector<Case> cases{
        {"forty grouped columns",
         PagedTable(100, 40, 4, 0),
         1000,
         1400,
         {{0, 11, 0, 72},
          {0, 11, 73, 99},
          {12, 23, 0, 72},
          {12, 23, 73, 99},
          {24, 35, 0, 72},
          {24, 35, 73, 99},
          {36, 39, 0, 62},
          {36, 39, 63, 99}}},
        {"rows of two heights",
         PagedTable(120, 3, 0, 5),
         1000,
         1000,
         {{0, 2, 0, 36}, {0, 2, 37, 73}, {0, 2, 74, 110}, {0, 2, 111, 119}}},
        {"a hundred columns", PagedTable(3, 100, 0, 0), 4000, 1400, {{0, 71, 0, 2}, {72, 99, 0, 2}}},
        {"a long heading over fifty columns",
         LongHeadingTable(),
         4000,
         1400,
         {{0, 66, 0, 2}, {67, 99, 0, 2}}},
    };
    static const QRegularExpression kRowLabel(QStringLiteral("^L(\\d+)"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PrintedTable printed = Print(c.table, c.pageWidth, c.pageHeight);
        ASSERT_EQ(printed.LastPage(), static_cast<int>(c.pages.size()));
        const std::int32_t headerRows = c.table.DonnerNbLignesEnTete();
        const QImage model(c.pageWidth, c.pageHeight, QImage::Format_RGB32);
        for (int page = 1; page <= printed.LastPage(); ++page) {
            SCOPED_TRACE("page " + std::to_string(page));
            const PrintedTable::Band& band = printed.BandOfPage(page);
            const int offset = printed.PageOffset(page);
            std::set<std::int32_t> placed;
            bool headerPlaced = false;
            for (std::size_t row = 0; row < band.layout.Rows().size(); ++row) {
                const RowSpan span = band.layout.Rows()[row];
                if (span.top < offset || span.top >= offset + band.pageHeight)
                    continue;
                if (static_cast<std::int32_t>(row) < headerRows)
                    headerPlaced = true;
                else
                    placed.insert(static_cast<std::int32_t>(row) - headerRows);
            }
            ASSERT_FALSE(placed.empty());
            const PageContent expected = c.pages[static_cast<std::size_t>(page - 1)];
            EXPECT_EQ((PageContent{band.firstColumn, band.firstColumn + band.columnCount - 1, *placed.begin(),
                                   *placed.rbegin()}),
                      expected);
            EXPECT_EQ(static_cast<std::int32_t>(placed.size()), expected.lastRow - expected.firstRow + 1);
            EXPECT_EQ(headerPlaced, page == band.firstPage);

            RecordingPaintDevice device(model);
            QPainter painter(&device);
            TablePainter(band.layout, c.table.GetPresentation())
                .PaintCells(painter, QRect(0, offset, band.pageWidth, band.pageHeight), offset);
            painter.end();
            std::set<std::int32_t> drawn;
            for (const RecordingPaintDevice::DrawnText& text : device.texts) {
                const QRegularExpressionMatch label = kRowLabel.match(text.text);
                if (label.hasMatch())
                    drawn.insert(label.captured(1).toInt());
            }
            EXPECT_EQ(drawn, placed);
        }
    }
}

} // namespace
