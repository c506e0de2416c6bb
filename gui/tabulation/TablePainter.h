#pragma once

#include <QFont>
#include <QPen>
#include <array>
#include <cstdint>

struct CCellule;
class CPresentationTableau;
class QPainter;
class QRect;
class TableLayout;

// Draws a laid-out table: the title block above it when it stands there, then the cell records
// that meet the area to draw. Each record gets, in this order, the grey fill of a shadowed font
// (reaching the cell's lines), its text with its font, colour and alignment, broken between words,
// and the lines of its four edges drawn with the presentation's thin, normal or thick style.
//
// Layout coordinates are drawn as they are, less the page offset (0 on screen, the top of the
// page in the tall band of pages of a printout). The walk starts at the first row that reaches
// into the area and stops at the first record that lies wholly below it, so a long table costs
// only its visible band.
class TablePainter {
public:
    // RGB 192, 192, 192.
    static constexpr std::uint32_t kShadowGrey = 0xC0C0C0;

    // Both must outlive the painter.
    TablePainter(const TableLayout& layout, const CPresentationTableau& presentation);

    // Pens of the line kinds: 1 thin, 2 normal, 3 thick; any other non-zero kind the normal pen. A
    // black pen as wide as the style's size word; its type 1 solid, 2 dashed, 3 dotted, anything
    // else no line.
    QPen PenOfKind(std::int32_t kind) const;

    // Draws the title block above the table (when the layout puts it there) and the records that
    // meet `area`, given in layout coordinates.
    void Paint(QPainter& painter, const QRect& area, int pageOffset = 0) const;
    void PaintTitle(QPainter& painter, int pageOffset = 0) const;
    void PaintCells(QPainter& painter, const QRect& area, int pageOffset = 0) const;

private:
    static QPen MakePen(std::uint16_t size, std::uint16_t type);
    void PaintCell(QPainter& painter, const CCellule& cell, const QFont& drawingFont, int pageOffset) const;

    const TableLayout& m_layout;
    std::array<QPen, 3> m_pens; // thin, normal, thick
};
