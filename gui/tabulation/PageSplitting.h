#pragma once

#include <vector>

// Where one displayed row of a printed table stands: a printout lays its pages one under the
// other in one tall band, page p (from 1) covering the heights from (p - 1) x page height to
// p x page height.
struct RowSpan {
    int top = 0;
    int bottom = 0;

    bool operator==(const RowSpan&) const = default;
};

// The rows of a table placed on pages, and the number of page breaks they need.
struct PageSplit {
    std::vector<RowSpan> rows;
    int pageBreaks = 0;

    // The pages to print: 1 to this.
    int LastPage() const { return pageBreaks + 1; }
};

// How the rows of a printed table go onto pages. Rows follow one another from the table's top; a
// row whose bottom would come nearer than the margin to its page's bottom starts the next page,
// the margin below that page's top. A row is never cut between two pages.
//
// A row taller than a page less both margins cannot fit anywhere: it is moved once, to the top of
// the next page, and runs over the pages below it. The row after it starts on the first page below
// its end rather than over it, and those pages are counted, so that the whole of such a row is
// printed and nothing is printed on top of it.
namespace PageSplitting {

// Space kept free at the top and at the bottom of every page.
constexpr int kPageMargin = 50;

// `rowHeights` in order from the first header row; `tableTop` is the first row's top on page 1.
// A page height not above twice the margin leaves every row where it falls, without breaks.
PageSplit Split(const std::vector<int>& rowHeights, int tableTop, int pageHeight);

} // namespace PageSplitting
