#include "gui/tabulation/PageSplitting.h"

#include <algorithm>

namespace PageSplitting {
namespace {

// The page holding the height y, counted from 0.
int PageIndexOf(int y, int pageHeight) {
    return y <= 0 ? 0 : (y - 1) / pageHeight;
}

} // namespace

PageSplit Split(const std::vector<int>& rowHeights, int tableTop, int pageHeight) {
    PageSplit split;
    split.rows.reserve(rowHeights.size());
    int pageTop = 0;
    int previousBottom = tableTop;
    const bool paged = pageHeight > 2 * kPageMargin;
    for (std::size_t row = 0; row < rowHeights.size(); ++row) {
        const int height = std::max(rowHeights[row], 0);
        RowSpan span{previousBottom, previousBottom + height};
        if (paged && span.bottom - pageTop > pageHeight - kPageMargin) {
            do {
                pageTop += pageHeight;
                ++split.pageBreaks;
                // Past the pages that a row taller than a page ran over.
            } while (row > 0 && pageTop + kPageMargin < previousBottom);
            span = RowSpan{pageTop + kPageMargin, pageTop + kPageMargin + height};
        }
        split.rows.push_back(span);
        previousBottom = span.bottom;
    }
    // The pages that the last row runs over, when it is taller than a page.
    if (paged && !split.rows.empty())
        split.pageBreaks = std::max(split.pageBreaks, PageIndexOf(split.rows.back().bottom, pageHeight));
    return split;
}

} // namespace PageSplitting
