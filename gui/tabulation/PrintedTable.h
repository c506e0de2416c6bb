#pragma once

#include "gui/tabulation/TableLayout.h"

#include <cstdint>
#include <vector>

class CTableauBase;
class FontMetricsSource;

// A result table laid out for a printer's pages: the columns share the page's printable width
// (header columns two units, data columns one, whatever the window's cell-size mode), the table
// starts 50 units down (below the title block, which spans the printable width), and the rows go
// onto pages without ever being cut (PageSplitting).
//
// A page too narrow for the words and numbers of the table's columns would have them broken in
// the middle. The table is then laid out on a wider page, just wide enough for its whole words,
// and printed smaller so that that page fits the printable width. It is never printed smaller
// than kLegibleScale: a table that would need more is cut into bands of columns, each printed on
// pages of its own at a legible size with the row-header columns repeated, the bands one after
// the other (all the pages of the first band, then those of the second...). A band ends with a
// group of columns (the columns under one heading) where it can. A table that fits is one band,
// laid out on the page as it is, at scale 1.
//
// The widths the bands need are read from the whole words of the table's records (WholeWordWidths)
// before any band is laid out, so that each band is laid out once.
//
// Everything in a band is in that band's layout units; one layout unit prints as its scale in
// device units.
class PrintedTable {
public:
    // Space above the table, below the title block when it stands above.
    static constexpr int kTableTopGap = 50;
    // The smallest scale a table prints at: a 10-point text stays 7 points or more.
    static constexpr double kLegibleScale = 0.7;

    // The table's data columns from `firstColumn` on, `columnCount` of them, with the header
    // columns, laid out for pages of their own.
    struct Band {
        TableLayout layout;
        // Device units per layout unit: 1, or less (never below kLegibleScale but for a band of
        // one data column that is wider still).
        double scale = 1.0;
        // The printable area in layout units.
        int pageWidth = 0;
        int pageHeight = 0;
        // The band's first page in the printout (from 1) and how many it takes.
        int firstPage = 1;
        int pageCount = 1;
        std::int32_t firstColumn = 0;
        std::int32_t columnCount = 0;
    };

    // `pageWidth` and `pageHeight`: the printable area, in the units `metrics` measures in.
    static PrintedTable Compute(const CTableauBase& table, const FontMetricsSource& metrics, int pageWidth,
                                int pageHeight, int leftMargin, int cellMargin);

    const std::vector<Band>& Bands() const { return m_bands; }
    // The band printed on page `page` (from 1); the last band for a page beyond the last.
    const Band& BandOfPage(int page) const;

    // The first band: the whole table when it prints at a legible size.
    const TableLayout& Layout() const { return m_bands.front().layout; }
    double Scale() const { return m_bands.front().scale; }
    int PageWidth() const { return m_bands.front().pageWidth; }
    int PageHeight() const { return m_bands.front().pageHeight; }

    int PageBreaks() const { return LastPage() - 1; }
    // The pages to print: 1 to this.
    int LastPage() const { return m_bands.back().firstPage + m_bands.back().pageCount - 1; }
    // The top of page `page` (from 1) in the band of pages of its band of columns.
    int PageOffset(int page) const;

private:
    explicit PrintedTable(std::vector<Band> bands) : m_bands(std::move(bands)) {}

    std::vector<Band> m_bands;
};
