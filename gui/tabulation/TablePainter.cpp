#include "gui/tabulation/TablePainter.h"

#include "presentation/PresentationTableau.h"
#include "tabulation/TableauBase.h"
#include "gui/tabulation/QtFonts.h"
#include "gui/tabulation/TableLayout.h"

#include <QPainter>
#include <QRect>
#include <vector>

namespace {

Qt::Alignment HorizontalAlignment(std::int16_t alignment) {
    switch (alignment) {
    case CTableauBase::kZoneEnTeteColonne:
        return Qt::AlignHCenter;
    case CTableauBase::kZoneDonnees:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

constexpr int kTextFlags = Qt::AlignTop | Qt::TextWordWrap;

QRect ToQRect(const CellRect& rect, int pageOffset) {
    return QRect(QPoint(rect.left, rect.top - pageOffset),
                 QPoint(rect.right - 1, rect.bottom - pageOffset - 1));
}

} // namespace

TablePainter::TablePainter(const TableLayout& layout, const CPresentationTableau& presentation)
    : m_layout(layout), m_pens{
                            MakePen(presentation.GetThinBorderSize(), presentation.GetThinBorderType()),
                            MakePen(presentation.GetNormalBorderSize(), presentation.GetNormalBorderType()),
                            MakePen(presentation.GetThickBorderSize(), presentation.GetThickBorderType())} {}

QPen TablePainter::MakePen(std::uint16_t size, std::uint16_t type) {
    Qt::PenStyle style = Qt::NoPen;
    switch (type) {
    case CPresentationTableau::kSolidLine:
        style = Qt::SolidLine;
        break;
    case CPresentationTableau::kDashedLine:
        style = Qt::DashLine;
        break;
    case CPresentationTableau::kDottedLine:
        style = Qt::DotLine;
        break;
    default:
        break;
    }
    // Square ends close the corners where a cell's lines meet.
    return QPen(QBrush(Qt::black), size, style, Qt::SquareCap, Qt::MiterJoin);
}

QPen TablePainter::PenOfKind(std::int32_t kind) const {
    switch (kind) {
    case CTableauBase::kTraitFin:
        return m_pens[0];
    case CTableauBase::kTraitEpais:
        return m_pens[2];
    default:
        return m_pens[1];
    }
}

void TablePainter::Paint(QPainter& painter, const QRect& area, int pageOffset) const {
    PaintTitle(painter, pageOffset);
    PaintCells(painter, area, pageOffset);
}

void TablePainter::PaintTitle(QPainter& painter, int pageOffset) const {
    if (!m_layout.HasTitleAbove())
        return;
    painter.save();
    painter.setFont(QtFonts::CreerFont(m_layout.TitleFont(), painter.device()));
    painter.setPen(QtFonts::TextColour(m_layout.TitleFont()));
    painter.drawText(ToQRect(m_layout.TitleRect(), pageOffset), Qt::AlignLeft | kTextFlags,
                     QtFonts::ToDisplayText(m_layout.TitleText()));
    painter.restore();
}

void TablePainter::PaintCells(QPainter& painter, const QRect& area, int pageOffset) const {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    std::vector<QFont> drawingFonts;
    drawingFonts.reserve(m_layout.Fonts().size());
    for (const CPoliceAna& font : m_layout.Fonts())
        drawingFonts.push_back(QtFonts::CreerFont(font, painter.device()));
    // The records above the area are not looked at: a printout's last page costs no more than its
    // first.
    const std::vector<CCellule>& cells = m_layout.Cells();
    for (std::size_t index = m_layout.FirstCellFrom(area.top()); index < cells.size(); ++index) {
        const CCellule& cell = cells[index];
        const CellRect rect = m_layout.RectOf(cell);
        const bool meets = rect.left <= area.right() && rect.right >= area.left() &&
                           rect.top <= area.bottom() && rect.bottom >= area.top();
        if (!meets) {
            if (rect.top > area.bottom())
                break;
            continue;
        }
        const bool knownFont =
            cell.fontIndex >= 0 && static_cast<std::size_t>(cell.fontIndex) < drawingFonts.size();
        PaintCell(painter, cell,
                  knownFont ? drawingFonts[static_cast<std::size_t>(cell.fontIndex)]
                            : QtFonts::CreerFont(m_layout.FontOf(cell), painter.device()),
                  pageOffset);
    }
    painter.restore();
}

void TablePainter::PaintCell(QPainter& painter, const CCellule& cell, const QFont& drawingFont,
                             int pageOffset) const {
    const CellRect rect = m_layout.RectOf(cell);
    const CPoliceAna& font = m_layout.FontOf(cell);
    const int margin = m_layout.Options().cellMargin;
    const int outerLeft = rect.left - margin;
    const int outerRight = rect.right + margin;
    const int top = rect.top - pageOffset;
    const int bottom = rect.bottom - pageOffset;

    if (font.GetOmbre()) {
        const QRect fill(QPoint(outerLeft, top - 1), QPoint(outerRight, bottom));
        painter.fillRect(fill, QColor(QRgb{kShadowGrey}));
    }
    if (!cell.text.empty()) {
        painter.setFont(drawingFont);
        painter.setPen(QtFonts::TextColour(font));
        painter.drawText(ToQRect(rect, pageOffset), HorizontalAlignment(cell.alignment) | kTextFlags,
                         QtFonts::ToDisplayText(cell.text));
    }
    const auto line = [&](std::int32_t kind, int x1, int y1, int x2, int y2) {
        if (kind == CTableauBase::kTraitAucun)
            return;
        painter.setPen(PenOfKind(kind));
        painter.drawLine(x1, y1, x2, y2);
    };
    line(cell.left, outerLeft, top, outerLeft, bottom);
    line(cell.right, outerRight, top, outerRight, bottom);
    line(cell.top, outerLeft, top, outerRight, top);
    line(cell.bottom, outerLeft, bottom, outerRight, bottom);
}
