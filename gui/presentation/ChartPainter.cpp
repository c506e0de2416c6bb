#include "gui/presentation/ChartPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>

#include "presentation/ChartPatterns.h"
#include "gui/presentation/ChartLayout.h"

namespace {

constexpr std::size_t kWordLinePattern = 0;
constexpr std::size_t kWordFillPattern = 1;
constexpr std::size_t kWordColor = 2;
constexpr std::size_t kWordPointStyle = 4;
constexpr std::size_t kWordSymbolColor = 5;
constexpr double kSymbolSize = 7.0;
constexpr double kLineWidth = 2.0;

struct FillStyle {
    ChartFill fill;
    Qt::BrushStyle style;
};

constexpr std::array<FillStyle, 11> kFillStyles = {{
    {ChartFill::None, Qt::NoBrush},
    {ChartFill::Solid, Qt::SolidPattern},
    {ChartFill::Dense25, Qt::Dense5Pattern},
    {ChartFill::Dense50, Qt::Dense4Pattern},
    {ChartFill::Dense75, Qt::Dense3Pattern},
    {ChartFill::Horizontal, Qt::HorPattern},
    {ChartFill::Vertical, Qt::VerPattern},
    {ChartFill::Diagonal45, Qt::BDiagPattern},
    {ChartFill::Diagonal135, Qt::FDiagPattern},
    {ChartFill::DiagonalCross, Qt::DiagCrossPattern},
    {ChartFill::Cross, Qt::CrossPattern},
}};

Qt::BrushStyle BrushStyleOf(ChartFill fill)
{
    for (const FillStyle& entry : kFillStyles) {
        if (entry.fill == fill)
            return entry.style;
    }
    return Qt::SolidPattern;
}

QColor Darker(const QColor& color) { return color.darker(160); }
QColor Lighter(const QColor& color) { return color.lighter(160); }

// Two-tone edge `width` pixels wide: `topLeft` on the top and left sides, `bottomRight` on the
// others.
void DrawEdge(QPainter& painter, const QRectF& rect, const QColor& topLeft, const QColor& bottomRight, double width,
              Qt::PenStyle style)
{
    for (int i = 0; i < static_cast<int>(width); ++i) {
        const QRectF r = rect.adjusted(i + 0.5, i + 0.5, -i - 0.5, -i - 0.5);
        if (r.width() <= 0 || r.height() <= 0)
            return;
        QPen pen(topLeft, 1.0, style);
        painter.setPen(pen);
        painter.drawLine(r.bottomLeft(), r.topLeft());
        painter.drawLine(r.topLeft(), r.topRight());
        pen.setColor(bottomRight);
        painter.setPen(pen);
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.drawLine(r.bottomRight(), r.bottomLeft());
    }
}

void DrawBorder(QPainter& painter, const QRectF& rect, const ChartRegionStyle& style)
{
    const ChartBorder border = ChartPatterns::Border(style.border);
    const QColor back = ChartPainter::ColorOf(style.backColor);
    const QColor fore = ChartPainter::ColorOf(style.foreColor);
    const QColor dark = Darker(back);
    const QColor light = Lighter(back) == back ? QColor(Qt::white) : Lighter(back);
    switch (border.edge) {
    case ChartEdge::None:
        return;
    case ChartEdge::Plain:
        DrawEdge(painter, rect, fore, fore, 1, Qt::SolidLine);
        return;
    case ChartEdge::Sunken:
        DrawEdge(painter, rect, dark, light, border.width, Qt::SolidLine);
        return;
    case ChartEdge::Raised:
        DrawEdge(painter, rect, light, dark, border.width, Qt::SolidLine);
        return;
    case ChartEdge::DottedSunken:
        DrawEdge(painter, rect, dark, light, border.width, Qt::DotLine);
        return;
    case ChartEdge::DottedRaised:
        DrawEdge(painter, rect, light, dark, border.width, Qt::DotLine);
        return;
    case ChartEdge::FrameSunken:
        DrawEdge(painter, rect, dark, light, border.width / 2, Qt::SolidLine);
        DrawEdge(painter, rect.adjusted(border.width / 2, border.width / 2, -border.width / 2, -border.width / 2), light,
                 dark, border.width / 2, Qt::SolidLine);
        return;
    case ChartEdge::FrameRaised:
        DrawEdge(painter, rect, light, dark, border.width / 2, Qt::SolidLine);
        DrawEdge(painter, rect.adjusted(border.width / 2, border.width / 2, -border.width / 2, -border.width / 2), dark,
                 light, border.width / 2, Qt::SolidLine);
        return;
    case ChartEdge::Bevel:
        DrawEdge(painter, rect, light, dark, border.width, Qt::SolidLine);
        return;
    case ChartEdge::Shadow:
        DrawEdge(painter, rect.adjusted(0, 0, -(border.width - 1), -(border.width - 1)), fore, fore, 1, Qt::SolidLine);
        painter.fillRect(QRectF(rect.left() + border.width, rect.bottom() - border.width + 1, rect.width() - border.width,
                                border.width - 1),
                         dark);
        painter.fillRect(QRectF(rect.right() - border.width + 1, rect.top() + border.width, border.width - 1,
                                rect.height() - border.width),
                         dark);
        return;
    }
}

void DrawTexts(QPainter& painter, const std::vector<ChartLayout::Text>& texts, Qt::Alignment alignment)
{
    for (const ChartLayout::Text& text : texts)
        painter.drawText(text.rect, alignment | Qt::TextSingleLine, text.text);
}

void DrawAxes(QPainter& painter, const ChartLayout& layout, const ChartModel& chart)
{
    const ChartRegionStyle& area = chart.Region(ChartRegion::PlotArea);
    painter.setFont(ChartLayout::FontOf(chart.axisFont, painter.device()));
    painter.setPen(QPen(ChartPainter::ColorOf(area.foreColor), 1.0));
    const QRectF& data = layout.data;
    for (const ChartLayout::Tick& tick : layout.valueTicks) {
        if (layout.valuesHorizontal)
            painter.drawLine(QPointF(tick.position, data.bottom()), QPointF(tick.position, data.bottom() + 4));
        else
            painter.drawLine(QPointF(data.left() - 4, tick.position), QPointF(data.left(), tick.position));
        painter.drawText(tick.label.rect, (layout.valuesHorizontal ? Qt::AlignHCenter : Qt::AlignRight) |
                                              Qt::AlignVCenter | Qt::TextSingleLine,
                         tick.label.text);
    }
    DrawTexts(painter, layout.categoryLabels,
              (layout.valuesHorizontal ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
    painter.drawLine(data.bottomLeft(), data.topLeft());
    painter.drawLine(data.bottomLeft(), data.bottomRight());
    // The zero line, when zero is inside the range.
    if (layout.valuesHorizontal && layout.zeroPosition > data.left() + 0.5)
        painter.drawLine(QPointF(layout.zeroPosition, data.top()), QPointF(layout.zeroPosition, data.bottom()));
    else if (!layout.valuesHorizontal && layout.zeroPosition < data.bottom() - 0.5)
        painter.drawLine(QPointF(data.left(), layout.zeroPosition), QPointF(data.right(), layout.zeroPosition));
}

// A bar narrower than a pixel (hundreds of bars side by side) is drawn one pixel wide, so that
// the values still show.
QRectF Visible(const QRectF& bar, bool valuesHorizontal)
{
    if (valuesHorizontal && bar.height() < 1)
        return QRectF(bar.left(), bar.center().y() - 0.5, bar.width(), 1);
    if (!valuesHorizontal && bar.width() < 1)
        return QRectF(bar.center().x() - 0.5, bar.top(), 1, bar.height());
    return bar;
}

void DrawData(QPainter& painter, const ChartLayout& layout, const ChartModel& chart)
{
    const QColor outline = ChartPainter::ColorOf(chart.Region(ChartRegion::PlotArea).foreColor);
    for (const ChartLayout::Bar& bar : layout.bars) {
        const bool thin = bar.rect.width() < 3 || bar.rect.height() < 3;
        painter.setPen(thin ? QPen(Qt::NoPen) : QPen(outline, 1.0));
        painter.setBrush(ChartPainter::SeriesBrush(chart, bar.serie));
        painter.drawRect(Visible(bar.rect, layout.valuesHorizontal));
    }
    for (const ChartLayout::Slice& slice : layout.slices) {
        painter.setPen(QPen(outline, 1.0));
        painter.setBrush(ChartPainter::SeriesBrush(chart, slice.serie));
        painter.drawPie(layout.data, static_cast<int>(std::lround(slice.startDegrees * 16)),
                        static_cast<int>(std::lround(slice.spanDegrees * 16)));
    }
    for (std::size_t i = 0; i < layout.areaPolygons.size(); ++i) {
        const std::size_t serie = layout.areaSeries[i];
        painter.setPen(ChartPainter::SeriesPen(chart, serie, 1.0));
        painter.setBrush(ChartPainter::SeriesBrush(chart, serie));
        painter.drawPolygon(layout.areaPolygons[i]);
    }
    painter.setBrush(Qt::NoBrush);
    for (const ChartLayout::Polyline& line : layout.lines) {
        painter.setPen(ChartPainter::SeriesPen(chart, line.serie, kLineWidth));
        painter.drawPolyline(line.points);
        for (const QPointF& point : line.points)
            ChartPainter::DrawSymbol(painter, chart, line.serie, point, kSymbolSize);
    }
}

void DrawLegend(QPainter& painter, const ChartLayout& layout, const ChartModel& chart)
{
    if (layout.legend.isEmpty())
        return;
    const ChartRegionStyle& style = chart.Region(ChartRegion::Legend);
    ChartPainter::DrawRegion(painter, layout.legend, style);
    painter.setFont(ChartLayout::FontOf(chart.legendFont, painter.device()));
    for (const ChartLayout::LegendEntry& entry : layout.legendEntries) {
        if (chart.kind == ChartKind::Line) {
            painter.setPen(ChartPainter::SeriesPen(chart, entry.serie, kLineWidth));
            painter.drawLine(QPointF(entry.swatch.left(), entry.swatch.center().y()),
                             QPointF(entry.swatch.right(), entry.swatch.center().y()));
            ChartPainter::DrawSymbol(painter, chart, entry.serie, entry.swatch.center(), kSymbolSize);
        } else {
            painter.setPen(QPen(ChartPainter::ColorOf(style.foreColor), 1.0));
            painter.setBrush(ChartPainter::SeriesBrush(chart, entry.serie));
            painter.drawRect(entry.swatch);
        }
        painter.setPen(ChartPainter::ColorOf(style.foreColor));
        painter.drawText(entry.label.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, entry.label.text);
    }
    if (layout.legendCut)
        painter.drawText(layout.legendMore.rect, Qt::AlignLeft | Qt::AlignVCenter, layout.legendMore.text);
}

void DrawLines(QPainter& painter, const QRectF& box, const std::vector<ChartLayout::Text>& lines,
               const ChartRegionStyle& style, const ChartFont& font)
{
    if (box.isEmpty())
        return;
    ChartPainter::DrawRegion(painter, box, style);
    painter.setFont(ChartLayout::FontOf(font, painter.device()));
    painter.setPen(ChartPainter::ColorOf(style.foreColor));
    DrawTexts(painter, lines, Qt::AlignHCenter | Qt::AlignVCenter);
}

} // namespace

QColor ChartPainter::ColorOf(std::uint32_t colorref)
{
    return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                  static_cast<int>((colorref >> 16) & 0xFF));
}

QBrush ChartPainter::SeriesBrush(const ChartModel& chart, std::size_t serie)
{
    const CPresGraphSerie::Style style = chart.StyleOf(serie);
    const ChartFill fill = ChartPatterns::Fill(style[kWordFillPattern]);
    return QBrush(ColorOf(static_cast<std::uint32_t>(style[kWordColor])), BrushStyleOf(fill));
}

QPen ChartPainter::SeriesPen(const ChartModel& chart, std::size_t serie, double width)
{
    const CPresGraphSerie::Style style = chart.StyleOf(serie);
    const ChartLinePattern pattern = ChartPatterns::Line(style[kWordLinePattern]);
    if (!pattern.drawn)
        return QPen(Qt::NoPen);
    QPen pen(ColorOf(static_cast<std::uint32_t>(style[kWordColor])), width);
    pen.setCapStyle(Qt::FlatCap);
    if (!pattern.dashes.empty())
        pen.setDashPattern(QList<qreal>(pattern.dashes.begin(), pattern.dashes.end()));
    return pen;
}

void ChartPainter::DrawSymbol(QPainter& painter, const ChartModel& chart, std::size_t serie, const QPointF& centre,
                              double size)
{
    const CPresGraphSerie::Style style = chart.StyleOf(serie);
    const ChartPoint point = ChartPatterns::Point(style[kWordPointStyle]);
    const QColor color = ColorOf(static_cast<std::uint32_t>(style[kWordSymbolColor]));
    const double r = size / 2;
    const double x = centre.x();
    const double y = centre.y();
    painter.save();
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(color);
    switch (point) {
    case ChartPoint::None:
        break;
    case ChartPoint::Dot:
        painter.drawEllipse(centre, r / 2, r / 2);
        break;
    case ChartPoint::Box:
        painter.drawRect(QRectF(x - r, y - r, size, size));
        break;
    case ChartPoint::Triangle:
        painter.drawPolygon(QPolygonF({QPointF(x, y - r), QPointF(x - r, y + r), QPointF(x + r, y + r)}));
        break;
    case ChartPoint::Diamond:
        painter.drawPolygon(QPolygonF({QPointF(x, y - r), QPointF(x + r, y), QPointF(x, y + r), QPointF(x - r, y)}));
        break;
    case ChartPoint::Star:
        painter.drawLine(QPointF(x - r, y), QPointF(x + r, y));
        painter.drawLine(QPointF(x, y - r), QPointF(x, y + r));
        painter.drawLine(QPointF(x - r * 0.7, y - r * 0.7), QPointF(x + r * 0.7, y + r * 0.7));
        painter.drawLine(QPointF(x - r * 0.7, y + r * 0.7), QPointF(x + r * 0.7, y - r * 0.7));
        break;
    case ChartPoint::VerticalLine:
        painter.drawLine(QPointF(x, y - r), QPointF(x, y + r));
        break;
    case ChartPoint::HorizontalLine:
        painter.drawLine(QPointF(x - r, y), QPointF(x + r, y));
        break;
    case ChartPoint::Cross:
        painter.drawLine(QPointF(x - r, y - r), QPointF(x + r, y + r));
        painter.drawLine(QPointF(x - r, y + r), QPointF(x + r, y - r));
        break;
    case ChartPoint::Circle:
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, r, r);
        break;
    case ChartPoint::Square:
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(x - r, y - r, size, size));
        break;
    }
    painter.restore();
}

void ChartPainter::DrawRegion(QPainter& painter, const QRectF& rect, const ChartRegionStyle& style)
{
    painter.fillRect(rect, ColorOf(style.backColor));
    DrawBorder(painter, rect, style);
}

void ChartPainter::Paint(QPainter& painter, const QRectF& bounds, const ChartModel& chart)
{
    PaintAsSeen(painter, bounds, bounds.size() / ChartLayout::DeviceUnit(painter.device()), chart);
}

void ChartPainter::PaintAsSeen(QPainter& painter, const QRectF& bounds, const QSizeF& seenIn, const ChartModel& chart)
{
    if (seenIn.isEmpty() || bounds.isEmpty())
        return;
    // The fonts are measured on the device at their screen size, so one scale maps both the
    // layout and its texts; the bounds keep the window's proportions, so either side gives it.
    const double unit = std::min(bounds.width() / seenIn.width(), bounds.height() / seenIn.height());
    painter.save();
    painter.translate(bounds.topLeft());
    painter.scale(unit, unit);
    Paint(painter, ChartLayout::Compute(chart, QRectF(QPointF(0, 0), seenIn), painter.device()), chart);
    painter.restore();
}

void ChartPainter::Paint(QPainter& painter, const ChartLayout& layout, const ChartModel& chart)
{
    painter.save();
    painter.setClipRect(layout.bounds);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawRegion(painter, layout.bounds, chart.Region(ChartRegion::Background));
    DrawLines(painter, layout.header, layout.headerLines, chart.Region(ChartRegion::Header), chart.headerFont);
    DrawLines(painter, layout.footer, layout.footerLines, chart.Region(ChartRegion::Footer), chart.footerFont);
    DrawRegion(painter, layout.plotArea, chart.Region(ChartRegion::PlotArea));
    if (layout.hasAxes) {
        painter.save();
        painter.setClipRect(layout.data.adjusted(-1, -1, 1, 1));
        DrawData(painter, layout, chart);
        painter.restore();
        DrawAxes(painter, layout, chart);
    } else {
        DrawData(painter, layout, chart);
    }
    DrawLegend(painter, layout, chart);
    painter.restore();
}
