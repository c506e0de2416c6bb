#include "app/Ligne.h"
#include "support/SettingsFixture.h"
#include "tabulation/Tableau.h"
#include "gui/tabulation/FakeFontMetrics.h"
#include "gui/tabulation/TableLayout.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// With the fake metrics every character of the default 10-point font is 10 units wide and every
// line 20 high. The sample table (1 header column, 2 data columns) in a window 480 wide has a
// unit of (480 - 80) / 4 = 100: its header column's text runs from 43 to 237 (194 wide) and its
// data columns' from 243 to 337 and 343 to 437.
constexpr int kSampleWidth = 480;
constexpr int kLineHeight = 20;

TableLayoutOptions ScreenOptions(int width) {
    TableLayoutOptions options;
    options.availableWidth = width;
    return options;
}

const CCellule* RecordAt(const TableLayout& layout, std::int32_t row, std::int32_t column) {
    for (const CCellule& cell : layout.Cells())
        if (cell.row == row && cell.column == column)
            return &cell;
    return nullptr;
}

void SetTitleLines(CTableau& table, bool above, bool studyField) {
    CPresentationTableau presentation = table.GetPresentation();
    presentation.SetEstTitreAuDessus(above);
    presentation.SetEstTitreBase(true);
    presentation.SetEstTitreChamp(studyField);
    table.SetPresentation(presentation);
}

// A table with one label per header slot: row labels "Rk", column labels "Ck" (k the index), at
// every level.
CTableau LabelledTable(std::int32_t headerRows, std::int32_t headerColumns, std::int32_t rows,
                       std::int32_t columns) {
    CTableau table(headerRows, headerColumns, rows, columns, CTableauBase::kMarqueParColonne);
    for (std::int32_t level = 0; level < headerColumns; ++level)
        for (std::int32_t row = 0; row < rows; ++row) {
            const CLigne label("R" + std::to_string(row));
            table.SetLibelleLigne(level, row, &label);
        }
    for (std::int32_t level = 0; level < headerRows; ++level)
        for (std::int32_t column = 0; column < columns; ++column) {
            const CLigne label("C" + std::to_string(column));
            table.SetLibelleColonne(level, column, &label);
        }
    return table;
}

class TableLayoutTest : public SettingsFixture {
protected:
    TableLayout Layout(const CTableau& table, int width = kSampleWidth) const {
        return TableLayout::Compute(table, m_metrics, ScreenOptions(width));
    }
    CTableau Sample() const {
        CTableau table;
        table.RemplirExemple();
        return table;
    }

    FakeFontMetrics m_metrics;
};

TEST_F(TableLayoutTest, SampleTableIsOneLinePerRowFromTheTopOfTheWindow) {
    CTableau table = Sample();
    SetTitleLines(table, false, false);
    const TableLayout layout = Layout(table);

    EXPECT_EQ(layout.RowTops(), (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_EQ(layout.ScrollWidth(), 440);
    EXPECT_EQ(layout.ScrollHeight(), 140);
    ASSERT_EQ(layout.Cells().size(), 12u);

    struct Expected {
        std::int32_t row, column;
        const char* text;
        std::int16_t alignment;
    };
    const Expected expected[] = {
        {0, 0, "Base : 500", 0}, {0, 1, "Colonne 1", 1}, {0, 2, "Colonne 2", 1},
        {1, 0, "Ligne 1", 0},    {1, 1, "100", 2},       {1, 2, "20.0 %", 2},
        {3, 0, "Ligne 3", 0},    {3, 1, "200", 2},       {3, 2, "40.0 %", 2},
    };
    for (const Expected& e : expected) {
        const CCellule* cell = RecordAt(layout, e.row, e.column);
        ASSERT_NE(cell, nullptr) << e.row << "," << e.column;
        EXPECT_EQ(cell->text, e.text) << e.row << "," << e.column;
        EXPECT_EQ(cell->alignment, e.alignment) << e.row << "," << e.column;
    }
    const CellRect data = layout.RectOf(*RecordAt(layout, 2, 2));
    EXPECT_EQ(data.left, 343);
    EXPECT_EQ(data.right, 437);
    EXPECT_EQ(data.top, 60);
    EXPECT_EQ(data.bottom, 80);
}

constexpr const char* kEAcute = "\xC3\xA9"; // two bytes in UTF-8

std::string Repeat(const char* text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

struct WrapCase {
    const char* name;
    std::string label;
    std::string laidOut;
    int rowHeight;
};

// The first row label of the sample, in a text area 194 wide (19 characters).
const std::vector<WrapCase> kWrapCases{
    // One word of 24 characters: broken before the 20th, the one that would overflow.
    {"LongWordIsBrokenWhereItOverflows", "Pourcentagesinterviewees", "Pourcentagesintervi\newees",
     2 * kLineHeight},
    // Short words are left to the word wrapping: "ab cd ef gh ij kl" (17) / "mn op qr st uv".
    {"ShortWordsAreOnlyWordWrapped", "ab cd ef gh ij kl mn op qr st uv", "ab cd ef gh ij kl mn op qr st uv",
     2 * kLineHeight},
    // A break never splits a character of two bytes.
    {"BreakKeepsMultibyteCharactersWhole", Repeat(kEAcute, 21),
     Repeat(kEAcute, 19) + "\n" + Repeat(kEAcute, 2), 2 * kLineHeight},
    {"FittingLabelIsKept", "Ligne un", "Ligne un", kLineHeight},
};

class TableLayoutWrapping : public SettingsFixture, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(TableLayoutWrapping, RowLabelIsWrappedAndItsRowGrows) {
    const WrapCase& c = GetParam();
    CTableau table;
    table.RemplirExemple();
    const CLigne label(c.label);
    table.SetLibelleLigne(0, 0, &label);
    const FakeFontMetrics metrics;
    const TableLayout layout = TableLayout::Compute(table, metrics, ScreenOptions(kSampleWidth));

    const CCellule* cell = RecordAt(layout, 1, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text, c.laidOut);
    EXPECT_EQ(layout.RowHeight(1), c.rowHeight);
    EXPECT_EQ(layout.RowTops()[2], 40 + c.rowHeight);
    EXPECT_EQ(layout.RowHeight(2), kLineHeight);
}

INSTANTIATE_TEST_SUITE_P(Cases, TableLayoutWrapping, ::testing::ValuesIn(kWrapCases),
                         [](const ::testing::TestParamInfo<WrapCase>& param) { return param.param.name; });

// A level-0 column label merged over the three data columns: one record of span 3 whose text is
// centred and wrapped to the three columns together (unit (680 - 80) / 5 = 120: data columns
// from 280 to 640, text from 283 to 637); the two cells to its right get no record.
TEST_F(TableLayoutTest, MergedHeaderLabelIsOneRecordOverItsColumns) {
    CTableau table = LabelledTable(2, 1, 1, 3);
    const CLigne group("Interviewesdelenquetegenerales"); // 30 characters: 300 wide
    table.SetLibelleColonne(0, 0, &group);
    auto merges = std::make_unique<CFusion>(2, 1, 1, 3);
    merges->SetFusion(0, 1, 2);
    table.SetFusionColonnes(std::move(merges));
    const TableLayout layout = Layout(table, 680);

    const CCellule* header = RecordAt(layout, 0, 1);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->span, 3);
    EXPECT_EQ(header->alignment, 1);
    EXPECT_EQ(header->text, "Interviewesdelenquetegenerales");
    const CellRect rect = layout.RectOf(*header);
    EXPECT_EQ(rect.left, 283);
    EXPECT_EQ(rect.right, 637);
    EXPECT_EQ(RecordAt(layout, 0, 2), nullptr);
    EXPECT_EQ(RecordAt(layout, 0, 3), nullptr);
    EXPECT_EQ(layout.RowHeight(0), kLineHeight);
    // The level below is not merged: one record per column.
    EXPECT_NE(RecordAt(layout, 1, 2), nullptr);
}

// The corner merged over 2 header rows: the title block stands in its first row, word-wrapped to
// the corner's 194 units ("Base : 500" / "Toutes les" / "interviews"), and that row grows to three
// lines; the corner's second row is a continuation record without text.
TEST_F(TableLayoutTest, TitleBlockInAMergedCornerGrowsItsFirstRow) {
    CTableau table = LabelledTable(2, 1, 1, 2);
    table.studyFieldCaption = "Toutes les interviews";
    table.base = 500;
    SetTitleLines(table, false, true);
    auto rowMerges = std::make_unique<CFusion>(2, 1, 1, 2);
    auto columnMerges = std::make_unique<CFusion>(2, 1, 1, 2);
    CFusion::FusionnerCoinEnTete(*rowMerges, *columnMerges, 2, 1);
    table.SetFusionLignes(std::move(rowMerges));
    table.SetFusionColonnes(std::move(columnMerges));
    const TableLayout layout = Layout(table);

    const CCellule* corner = RecordAt(layout, 0, 0);
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->text, "Base : 500\r\nToutes les interviews");
    EXPECT_EQ(corner->bottom, 0);
    EXPECT_EQ(layout.RowTops(), (std::vector<int>{20, 80, 100, 120}));
    const CCellule* below = RecordAt(layout, 1, 0);
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->firstOfBlock, 0);
    EXPECT_EQ(below->text, "");
    EXPECT_EQ(below->top, 0);
}

// Above the table the title block is measured 4960 wide from (40, 20): two lines, so the table
// starts at 20 + 40; the corner is then empty and one line high.
TEST_F(TableLayoutTest, TitleBlockAboveMovesTheTableDown) {
    CTableau table = Sample();
    SetTitleLines(table, true, true);
    const TableLayout layout = Layout(table);

    EXPECT_TRUE(layout.HasTitleAbove());
    EXPECT_EQ(layout.TitleText(), "Base : 500\r\nToutes les interviews");
    EXPECT_EQ(layout.TitleFont(), table.DonnerPoliceCellule(0, 0));
    const CellRect title = layout.TitleRect();
    EXPECT_EQ(title.left, 40);
    EXPECT_EQ(title.top, 20);
    EXPECT_EQ(layout.TableTop(), 60);
    EXPECT_EQ(RecordAt(layout, 0, 0)->text, "");
    EXPECT_EQ(layout.RowTops(), (std::vector<int>{60, 80, 100, 120, 140}));
    EXPECT_EQ(layout.ScrollHeight(), 180);
}

TEST_F(TableLayoutTest, TitleBlockInTheCornerLeavesTheTableAtTheTop) {
    CTableau table = Sample();
    SetTitleLines(table, false, false);
    const TableLayout layout = Layout(table);
    EXPECT_FALSE(layout.HasTitleAbove());
    EXPECT_EQ(layout.TitleText(), "");
    EXPECT_EQ(layout.TableTop(), 20);
}

// A row label merged with the row below shows its text in its first row only: that row takes the
// text's height, the second row keeps the height of its own cells, and the block's bottom line is
// under the second row.
TEST_F(TableLayoutTest, VerticallyMergedBlockGrowsOnlyItsFirstRow) {
    CTableau table = LabelledTable(1, 1, 2, 2);
    const CLigne label("un deux trois quatre cinq six sept huit neuf dix onze douze");
    table.SetLibelleLigne(0, 0, &label);
    auto merges = std::make_unique<CFusion>(1, 1, 2, 2);
    merges->SetFusion(1, 0, 1);
    table.SetFusionLignes(std::move(merges));
    const TableLayout layout = Layout(table);

    // 59 characters in 194: "un deux trois quatre" is 20 (too wide), so lines of at most 19:
    // "un deux trois" / "quatre cinq six" / "sept huit neuf dix" / "onze douze".
    EXPECT_EQ(layout.RowHeight(1), 4 * kLineHeight);
    EXPECT_EQ(layout.RowHeight(2), kLineHeight);
    const CCellule* first = RecordAt(layout, 1, 0);
    const CCellule* second = RecordAt(layout, 2, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->bottom, 0);
    EXPECT_EQ(second->firstOfBlock, 0);
    EXPECT_EQ(second->top, 0);
    EXPECT_EQ(second->bottom, 3);
    EXPECT_EQ(second->text, "");
}

// Fixed sizes ignore the window: 40 + 160 + 2 x 80.
TEST_F(TableLayoutTest, FixedCellSizesIgnoreTheWindowWidth) {
    TableLayoutOptions options = ScreenOptions(2000);
    options.cellSizeMode = CellSizeMode::kFixed;
    const TableLayout layout = TableLayout::Compute(Sample(), m_metrics, options);
    EXPECT_EQ(layout.ScrollWidth(), 360);
    EXPECT_EQ(layout.RectOf(*RecordAt(layout, 1, 2)).right, 357);
}

// ---- Words kept whole ------------------------------------------------------------------------

struct WholeWordsCase {
    const char* name;
    CellSizeMode mode;
    bool keepWordsWhole;
    int width;
    std::string rowLabel;
    std::vector<int> rightEdges; // of every column, the header column first
    std::string rowLabelLaidOut;
};

// One header column and four data columns; the first data column shows 100 as a percentage,
// "100.0 %" (7 characters, 70 wide: a number is measured with its sign), the others show "0".
// The corner's widest word is "Base :" (60, in a header column of two units) and the column
// labels are "C0" to "C3". A text area is its column less 3 on each side, so a word of n
// characters needs 10n + 6 of a data column, or half that in units in a header column.
const std::vector<WholeWordsCase> kWholeWordsCases{
    // Every word fits the shared unit 800 / 6: the positions are the shared ones.
    {"WideWindowKeepsTheSharedPositions", CellSizeMode::kVariable, true, 880, "Ligne",
     {306, 439, 572, 705, 838}, "Ligne"},
    // (300 - 80) / 6 = 36.7 is less than the 76 of "100.0 %": u = 76, the table ends at 496.
    {"NarrowWindowTakesTheWidestNumberWithItsSign", CellSizeMode::kVariable, true, 300, "Ligne",
     {192, 268, 344, 420, 496}, "Ligne"},
    // A 21-character label needs 216 of the header column, that is u = 108.
    {"HeaderColumnNeedIsHalvedIntoUnits", CellSizeMode::kVariable, true, 300, "Interviewesdelenquete",
     {256, 364, 472, 580, 688}, "Interviewesdelenquete"},
    // Left to share the window, the same label is broken in a text area 67 wide (6 characters).
    {"SharedWidthAloneBreaksLongWords", CellSizeMode::kVariable, false, 300, "Interviewesdelenquete",
     {113, 149, 185, 221, 257}, "Interv\niewesd\nelenqu\nete"},
    // Fixed sizes stay 160 and 80: a 30-character label is broken in its 154 (15 characters).
    {"FixedSizeStillBreaksAWordLongerThanItsColumn", CellSizeMode::kFixed, true, 300,
     "Interviewesdelenquetegenerales", {200, 280, 360, 440, 520}, "Interviewesdele\nnquetegenerales"},
};

class TableLayoutWholeWords : public SettingsFixture, public ::testing::WithParamInterface<WholeWordsCase> {};

TEST_P(TableLayoutWholeWords, ColumnsAreNeverNarrowerThanTheirWords) {
    const WholeWordsCase& c = GetParam();
    CTableau table = LabelledTable(1, 1, 1, 4);
    const CLigne label(c.rowLabel);
    table.SetLibelleLigne(0, 0, &label);
    table.SetMarque(0, CTableauBase::kMarquePourcentage);
    table.SetValeur(0, 0, 100.0);
    TableLayoutOptions options = ScreenOptions(c.width);
    options.cellSizeMode = c.mode;
    options.keepWordsWhole = c.keepWordsWhole;
    const FakeFontMetrics metrics;
    const TableLayout layout = TableLayout::Compute(table, metrics, options);

    ASSERT_EQ(layout.Columns().size(), c.rightEdges.size());
    for (std::size_t i = 0; i < c.rightEdges.size(); ++i)
        EXPECT_EQ(layout.Columns()[i].right, c.rightEdges[i] - 3) << "column " << i;
    EXPECT_EQ(layout.ScrollWidth(), c.rightEdges.back());
    ASSERT_NE(RecordAt(layout, 1, 0), nullptr);
    EXPECT_EQ(RecordAt(layout, 1, 0)->text, c.rowLabelLaidOut);
    if (c.keepWordsWhole) {
        ASSERT_NE(RecordAt(layout, 1, 1), nullptr);
        EXPECT_EQ(RecordAt(layout, 1, 1)->text, "100.0 %");
        EXPECT_EQ(layout.RowHeight(1), c.mode == CellSizeMode::kFixed ? 2 * kLineHeight : kLineHeight);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TableLayoutWholeWords, ::testing::ValuesIn(kWholeWordsCases),
                         [](const ::testing::TestParamInfo<WholeWordsCase>& param) {
                             return param.param.name;
                         });

// A word of a label merged over the three data columns is shared by them: 30 characters need
// 306, so u = 102 and the columns end at 40 + 204, then every 102.
TEST_F(TableLayoutTest, MergedLabelSharesItsNeedAmongItsColumns) {
    CTableau table = LabelledTable(2, 1, 1, 3);
    const CLigne group("Interviewesdelenquetegenerales");
    table.SetLibelleColonne(0, 0, &group);
    auto merges = std::make_unique<CFusion>(2, 1, 1, 3);
    merges->SetFusion(0, 1, 2);
    table.SetFusionColonnes(std::move(merges));
    TableLayoutOptions options = ScreenOptions(300);
    options.keepWordsWhole = true;
    const TableLayout layout = TableLayout::Compute(table, m_metrics, options);

    EXPECT_EQ(layout.ScrollWidth(), 550);
    const CCellule* header = RecordAt(layout, 0, 1);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text, "Interviewesdelenquetegenerales");
    const CellRect rect = layout.RectOf(*header);
    EXPECT_EQ(rect.right - rect.left, 300);
}

// A table without any cell still has a table top and a bottom, and no record.
TEST_F(TableLayoutTest, EmptyTableHasNoRecordAndNoHeight) {
    const CTableau table;
    const TableLayout layout = Layout(table);
    EXPECT_TRUE(layout.Cells().empty());
    EXPECT_EQ(layout.RowTops(), (std::vector<int>{20}));
    EXPECT_EQ(layout.ScrollWidth(), 40);
    EXPECT_EQ(layout.ScrollHeight(), 60);
}

} // namespace
