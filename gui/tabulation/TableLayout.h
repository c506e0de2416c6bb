#pragma once

#include "presentation/PoliceAna.h"
#include "tabulation/Cellule.h"
#include "gui/tabulation/PageSplitting.h"
#include "gui/tabulation/TableColumns.h"
#include "gui/tabulation/WholeWordWidths.h"

#include <cstdint>
#include <string>
#include <vector>

class CTableauBase;
class FontMetricsSource;

// Where a layout places the table on its device.
struct TableLayoutOptions {
    // Columns sharing the available width, or of fixed widths (the printer always shares).
    CellSizeMode cellSizeMode = CellSizeMode::kVariable;
    // With shared widths, no column narrower than its cells' whole words need (see
    // TableLayout::WholeWordsUnit): the table then outgrows a narrow window and scrolls. The
    // screen asks for it; a layout that must keep within its width (a page) leaves it off, and
    // words longer than their column are then broken as in fixed mode.
    bool keepWordsWhole = false;
    // The client width on screen, the page width on a printer, in device units.
    int availableWidth = 0;
    // Space above the table, below the title block when it stands above the table: 20 on screen,
    // 50 on a printer.
    int tableTopGap = 20;
    // The text's inset within its column, and the x of the first column's left edge.
    int cellMargin = 3;
    int leftMargin = 40;
    // The right and bottom edges of the title block standing above the table: a screen gives it
    // room enough for any title, a printed page gives it the page's printable width and height.
    int titleRight = 5000;
    int titleBottom = 5000;
};

// The rectangle of a cell record in layout coordinates: its text area (the columns it covers,
// brought in by the cell margin) between the top and the bottom of its row.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A result table laid out for one device: the column positions, the cell records with their
// wrapped texts, the height of every displayed row and the title block.
//
// The records are those of the table's own walk of its displayed grid (one per block, a
// continuation record for each further row of a vertically merged block), in row-major order.
// Each record that starts a block gets its text, wrapped to its columns; its measured height is a
// candidate for its row's height. Continuation records keep an empty text and take no part in
// the height. Nothing is added above or below a text.
//
// When the columns share the width and the options ask to keep words whole, no column is made
// narrower than the widest word or number of its cells needs, measured with the cell's own font
// (WholeWordWidths), so that the word wrapping of the drawing never has to break one; the table
// is then wider than the available width.
//
// The title block either stands in the top-left cell or above the table, from (left margin, 20)
// to the options' title edges; the table then starts that much lower.
//
// The rows follow one another from the table's top; a printout moves them onto its pages
// (PlaceOnPages), after which the rectangles of the records are those of the rows on the pages.
class TableLayout {
public:
    static constexpr int kTitleTop = 20;
    // Space kept under the last row in the scroll height.
    static constexpr int kSpaceBelowTable = 40;

    // Lays the table out. The measures come from `metrics`, in the units of the device.
    static TableLayout Compute(const CTableauBase& table, const FontMetricsSource& metrics,
                               const TableLayoutOptions& options);

    // The room the whole words of the table's records need, measured as a layout of the table
    // measures them, without laying it out.
    static WholeWordWidths WordWidths(const CTableauBase& table, const FontMetricsSource& metrics);

    const TableLayoutOptions& Options() const { return m_options; }
    // Header columns first, then data columns.
    const std::vector<ColumnEdges>& Columns() const { return m_columns; }
    // The top of each displayed row (header rows first), then the bottom of the last row, the rows
    // following one another from the table's top.
    const std::vector<int>& RowTops() const { return m_rowTops; }
    int RowHeight(std::int32_t row) const;
    // Each displayed row where it is drawn: as RowTops places it, or on its page.
    const std::vector<RowSpan>& Rows() const { return m_rows; }
    // Moves the rows onto pages `pageHeight` high (PageSplitting) and answers the page breaks.
    int PlaceOnPages(int pageHeight);
    // The records, row-major, and the distinct fonts they point into.
    const std::vector<CCellule>& Cells() const { return m_cells; }
    const std::vector<CPoliceAna>& Fonts() const { return m_fonts; }
    // The first record that can meet an area whose top is `top`: the first of the first row that
    // does not end above it (the number of records when every row does). The rows only go down,
    // so a drawing of one page or one screen need not look at the records above it.
    std::size_t FirstCellFrom(int top) const;
    const CPoliceAna& FontOf(const CCellule& cell) const;
    // From the left of the record's first column's text to the right of its last column's text.
    ColumnEdges TextAreaOf(const CCellule& cell) const;
    CellRect RectOf(const CCellule& cell) const;

    // The title block drawn above the table; empty when it stands in the top-left cell.
    bool HasTitleAbove() const { return m_titleAbove; }
    const std::string& TitleText() const { return m_titleText; }
    // The top-left cell's font, which the title block takes wherever it stands.
    const CPoliceAna& TitleFont() const { return m_titleFont; }
    CellRect TitleRect() const;

    int TableTop() const { return m_rowTops.front(); }
    int TableBottom() const { return m_rowTops.back(); }
    int TableRight() const { return m_tableRight; }
    // The extent to scroll over: to the table's right edge and a little below its last row.
    int ScrollWidth() const { return m_tableRight; }
    int ScrollHeight() const { return TableBottom() + kSpaceBelowTable; }

private:
    TableLayout() = default;

    void PlaceTitle(const CTableauBase& table, const FontMetricsSource& metrics);
    // The records of the table's displayed grid and their fonts; each record that starts a block
    // gets the text of its cell, unwrapped.
    void TakeCells(const CTableauBase& table);
    // The widest whole word of each record's text with its font.
    WholeWordWidths MeasureWholeWords(const FontMetricsSource& metrics) const;
    void PlaceColumns(const CTableauBase& table, const FontMetricsSource& metrics);
    // Wraps each record's text to its columns and answers the height of every displayed row.
    std::vector<int> FillCells(std::int32_t rowCount, const FontMetricsSource& metrics);
    void PlaceRows(const std::vector<int>& rowHeights);

    TableLayoutOptions m_options;
    std::vector<ColumnEdges> m_columns;
    int m_tableRight = 0;
    std::vector<int> m_rowTops;
    std::vector<RowSpan> m_rows;
    std::vector<CCellule> m_cells;
    // The index of the first record of each displayed row, then the number of records.
    std::vector<std::size_t> m_rowFirstCells;
    std::vector<CPoliceAna> m_fonts;
    bool m_titleAbove = false;
    std::string m_titleText;
    CPoliceAna m_titleFont;
    int m_titleHeight = 0;
};
