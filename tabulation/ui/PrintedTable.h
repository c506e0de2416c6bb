#pragma once

#include "tabulation/ui/TableLayout.h"

class CTableauBase;
class FontMetricsSource;

// A result table laid out for a printer's pages: the columns share the page's printable width
// (header columns two units, data columns one, whatever the window's cell-size mode), the table
// starts 50 units down (below the title block, which spans the printable width), and the rows go
// onto pages without ever being cut (PageSplitting).
//
// A page too narrow for the words and numbers of the table's columns would have them broken in
// the middle. The table is then laid out on a wider page, just wide enough for its whole words,
// and printed smaller so that that page fits the printable width: every column still prints and
// every number is read whole, in a smaller type. A table that fits is laid out on the page as it
// is, at scale 1.
//
// Everything here is in layout units; one layout unit prints as Scale() device units.
class PrintedTable {
public:
    // Space above the table, below the title block when it stands above.
    static constexpr int kTableTopGap = 50;

    // `pageWidth` and `pageHeight`: the printable area, in the units `metrics` measures in.
    static PrintedTable Compute(const CTableauBase& table, const FontMetricsSource& metrics, int pageWidth,
                                int pageHeight, int leftMargin, int cellMargin);

    const TableLayout& Layout() const { return m_layout; }
    // Device units per layout unit: 1, or less when the table is printed smaller.
    double Scale() const { return m_scale; }
    // The printable area in layout units.
    int PageWidth() const { return m_pageWidth; }
    int PageHeight() const { return m_pageHeight; }
    int PageBreaks() const { return m_pageBreaks; }
    // The pages to print: 1 to this.
    int LastPage() const { return m_pageBreaks + 1; }
    // The top of page `page` (from 1) in the band of pages.
    int PageOffset(int page) const { return (page - 1) * m_pageHeight; }

private:
    PrintedTable(TableLayout layout, double scale, int pageWidth, int pageHeight);

    TableLayout m_layout;
    double m_scale = 1.0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    int m_pageBreaks = 0;
};
