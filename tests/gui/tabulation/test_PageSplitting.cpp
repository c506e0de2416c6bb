#include "gui/tabulation/PageSplitting.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kPageHeight = 1000;

std::vector<int> Rows(std::size_t count, int height) {
    return std::vector<int>(count, height);
}

// Rows 100 high on pages 1000 high, no title block above: page 1 holds the rows from 50 to 950
// (nine rows: a bottom of exactly 950 still fits), the tenth starts page 2 at 1050, and twenty
// rows need two page breaks, so pages 1 to 3.
TEST(PageSplittingTest, RowsGoOnPagesBetweenTheMargins) {
    const PageSplit split = PageSplitting::Split(Rows(20, 100), 50, kPageHeight);
    ASSERT_EQ(split.rows.size(), 20u);
    EXPECT_EQ(split.rows[0], (RowSpan{50, 150}));
    EXPECT_EQ(split.rows[8], (RowSpan{850, 950}));
    EXPECT_EQ(split.rows[9], (RowSpan{1050, 1150}));
    EXPECT_EQ(split.rows[17], (RowSpan{1850, 1950}));
    EXPECT_EQ(split.rows[18], (RowSpan{2050, 2150}));
    EXPECT_EQ(split.rows[19], (RowSpan{2150, 2250}));
    EXPECT_EQ(split.pageBreaks, 2);
    EXPECT_EQ(split.LastPage(), 3);
}

// The page breaks and the page of some rows, case by case.
TEST(PageSplittingTest, PageBreaksByCase) {
    struct Case {
        const char* name;
        std::vector<int> heights;
        int tableTop;
        int pageBreaks;
        std::size_t row;
        RowSpan span;
    };
    const Case cases[] = {
        {"nine rows fill page 1", Rows(9, 100), 50, 0, 8, {850, 950}},
        {"a tenth row starts page 2", Rows(10, 100), 50, 1, 9, {1050, 1150}},
        {"a single row", Rows(1, 100), 50, 0, 0, {50, 150}},
        {"no row at all", {}, 50, 0, 0, {}},
        // A title block above pushes the table down: 250 + 7 x 100 = 950 still fits.
        {"below a title block", Rows(8, 100), 250, 1, 7, {1050, 1150}},
        // A first row taller than the page less 100 leaves page 1 to the title block; the row after
        // it then starts page 3.
        {"first row taller than the page less 100", {901}, 50, 1, 0, {1050, 1951}},
        {"the row after it", {901, 100}, 50, 2, 1, {2050, 2150}},
        {"first row as tall as the page less 100", {900, 100}, 50, 1, 1, {1050, 1150}},
        // Rows of no height (a header level without text) take no room.
        {"rows of no height", {0, 0, 100}, 50, 0, 2, {50, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PageSplit split = PageSplitting::Split(c.heights, c.tableTop, kPageHeight);
        EXPECT_EQ(split.pageBreaks, c.pageBreaks);
        EXPECT_EQ(split.LastPage(), c.pageBreaks + 1);
        ASSERT_EQ(split.rows.size(), c.heights.size());
        if (!c.heights.empty()) {
            EXPECT_EQ(split.rows[c.row], c.span);
        }
    }
}

// A row taller than a whole page is moved once, to page 2, and runs over the pages below it; the
// row after it starts on the first page below its end, never on top of it, and the pages it runs
// over are printed.
TEST(PageSplittingTest, ARowTallerThanAPageIsNeverPrintedOver) {
    const PageSplit split = PageSplitting::Split({100, 2000, 100}, 50, kPageHeight);
    ASSERT_EQ(split.rows.size(), 3u);
    EXPECT_EQ(split.rows[0], (RowSpan{50, 150}));
    EXPECT_EQ(split.rows[1], (RowSpan{1050, 3050}));
    // Page 4 runs from 3000 to 4000: the third row follows the tall row there.
    EXPECT_EQ(split.rows[2], (RowSpan{3050, 3150}));
    EXPECT_EQ(split.LastPage(), 4);

    // A first row moved to page 2 that fills it: the tall row then starts page 3 and ends on
    // page 5, where the last row follows it.
    const PageSplit moved = PageSplitting::Split({1000, 2000, 100}, 50, kPageHeight);
    EXPECT_EQ(moved.rows[0], (RowSpan{1050, 2050}));
    EXPECT_EQ(moved.rows[1], (RowSpan{2050, 4050}));
    EXPECT_EQ(moved.rows[2], (RowSpan{4050, 4150}));
    EXPECT_EQ(moved.LastPage(), 5);

    // Last of its table, its end is printed too.
    const PageSplit last = PageSplitting::Split({100, 2000}, 50, kPageHeight);
    EXPECT_EQ(last.rows[1], (RowSpan{1050, 3050}));
    EXPECT_EQ(last.LastPage(), 4);
}

} // namespace
