#include "app/Ligne.h"
#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "tabulation/ui/FakeFontMetrics.h"
#include "tabulation/ui/PrintedTable.h"

#include <gtest/gtest.h>
#include <string>

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

// Thirty data columns on a page 1000 wide would be 28 units each (29 less than "Colonne" and its
// margins need): the table is laid out on a page just wide enough for its words, 40 + 152 +
// 30 x 76 + 40 = 2512 units, and printed at 1000 / 2512 so that it fits the printable width. The
// page keeps its shape: 1400 high becomes 3516.
TEST_F(PrintedTableTest, ATableTooWideForItsWordsPrintsSmaller) {
    const PrintedTable printed = Print(WideTable(3, 30), 1000, 1400);
    EXPECT_EQ(printed.PageWidth(), 2512);
    EXPECT_EQ(printed.PageHeight(), 3516);
    EXPECT_DOUBLE_EQ(printed.Scale(), 1000.0 / 2512.0);
    const TableLayout& layout = printed.Layout();
    EXPECT_EQ(layout.TableRight() + kLeftMargin, printed.PageWidth());
    for (const CCellule& cell : layout.Cells()) {
        EXPECT_EQ(cell.text.find('\n'), std::string::npos) << cell.text;
    }
    ASSERT_EQ(layout.Columns().size(), 31u);
    EXPECT_EQ(layout.Columns().back().right - layout.Columns().back().left, 70);
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

} // namespace
