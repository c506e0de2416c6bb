#include "gui/presentation/ChartLayout.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "presentation/ChartPatterns.h"

namespace {

constexpr double kMargin = 4.0;  // between the chart's edge and its regions
constexpr double kPad = 3.0;     // between a region's border and its content
constexpr double kGap = 6.0;     // between regions
constexpr double kSwatch = 10.0; // legend swatches
constexpr double kTickLength = 4.0;
constexpr double kGroupShare = 0.8; // of a category's slot taken by its bars
constexpr double kLargest = 1e300;
// The resolution the pixel measures of a chart are given at.
constexpr double kScreenDpi = 96.0;

double BorderWidth(const ChartModel& chart, ChartRegion region)
{
    return ChartPatterns::Border(chart.Region(region).border).width;
}

// `inner` cut to lie within `outer`: a window too small for the margins gets empty rectangles
// inside it, never rectangles beyond its edges.
QRectF Within(const QRectF& inner, const QRectF& outer)
{
    const double left = std::clamp(inner.left(), outer.left(), outer.right());
    const double top = std::clamp(inner.top(), outer.top(), outer.bottom());
    const double right = std::clamp(inner.right(), left, outer.right());
    const double bottom = std::clamp(inner.bottom(), top, outer.bottom());
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF Inset(const QRectF& rect, double by)
{
    return Within(rect.adjusted(by, by, -by, -by), rect);
}

QString Elided(const QFontMetricsF& metrics, const std::string& text, double width)
{
    return metrics.elidedText(QString::fromStdString(text), Qt::ElideRight, std::max(0.0, width));
}

double TextWidth(const QFontMetricsF& metrics, const std::string& text)
{
    // Long texts are measured up to what could ever be shown.
    return metrics.horizontalAdvance(QString::fromStdString(text.substr(0, 400)));
}

// A stack of text lines centred in a box of its own, at the top or at the bottom of `space`.
QRectF PlaceLines(const ChartModel& chart, ChartRegion region, const ChartFont& font,
                  const std::vector<std::string>& lines, QRectF& space, bool atTop, QPaintDevice* device,
                  std::vector<ChartLayout::Text>& out)
{
    if (lines.empty() || space.height() <= 0)
        return {};
    const QFontMetricsF metrics(ChartLayout::FontOf(font, device), device);
    const double inset = BorderWidth(chart, region) + kPad;
    const double room = std::max(0.0, space.width() - 2 * inset);
    double widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, TextWidth(metrics, line));
    const double lineHeight = metrics.height();
    // Never more than a third of the chart's height.
    const auto fitting = static_cast<std::size_t>(std::max(1.0, std::floor((space.height() / 3 - 2 * inset) / lineHeight)));
    const std::size_t shown = std::min(lines.size(), fitting);
    const double width = std::min(space.width(), std::min(widest, room) + 2 * inset);
    const double height = static_cast<double>(shown) * lineHeight + 2 * inset;
    const double top = atTop ? space.top() : space.bottom() - height;
    const QRectF box(space.center().x() - width / 2, top, width, height);
    for (std::size_t i = 0; i < shown; ++i) {
        const QRectF rect(box.left() + inset, box.top() + inset + static_cast<double>(i) * lineHeight,
                          width - 2 * inset, lineHeight);
        out.push_back({rect, Elided(metrics, lines[i], rect.width())});
    }
    if (atTop)
        space.setTop(std::min(space.bottom(), box.bottom() + kGap));
    else
        space.setBottom(std::max(space.top(), box.top() - kGap));
    return box;
}

std::vector<std::size_t> LegendSeries(const ChartModel& chart)
{
    std::vector<std::size_t> entries;
    if (chart.kind != ChartKind::Pie && chart.seriesLabels.empty())
        return entries;
    for (std::size_t serie = 0; serie < chart.series.size(); ++serie)
        entries.push_back(serie);
    return entries;
}

void PlaceLegend(const ChartModel& chart, QRectF& space, QPaintDevice* device, ChartLayout& layout)
{
    const std::vector<std::size_t> entries = LegendSeries(chart);
    if (!chart.legendShown || entries.empty() || space.width() <= 0)
        return;
    const QFontMetricsF metrics(ChartLayout::FontOf(chart.legendFont, device), device);
    const double inset = BorderWidth(chart, ChartRegion::Legend) + kPad;
    const double lineHeight = std::max(metrics.height(), kSwatch) + 2;
    double widest = metrics.horizontalAdvance(QStringLiteral("…"));
    for (const std::size_t serie : entries)
        widest = std::max(widest, TextWidth(metrics, chart.SeriesLabel(serie)));
    const double textWidth = std::min(widest, std::max(0.0, space.width() / 3 - 2 * inset - kSwatch - kPad));
    const double width = 2 * inset + kSwatch + kPad + textWidth;
    const auto fitting = static_cast<std::size_t>(std::max(0.0, std::floor((space.height() - 2 * inset) / lineHeight)));
    if (fitting == 0 || textWidth <= 0)
        return;
    std::size_t shown = entries.size();
    if (shown > fitting) {
        shown = fitting - 1;
        layout.legendCut = true;
    }
    const std::size_t rows = shown + (layout.legendCut ? 1 : 0);
    const double height = static_cast<double>(rows) * lineHeight + 2 * inset;
    layout.legend = QRectF(space.right() - width, space.center().y() - height / 2, width, height);
    for (std::size_t i = 0; i < rows; ++i) {
        const double top = layout.legend.top() + inset + static_cast<double>(i) * lineHeight;
        const QRectF textRect(layout.legend.left() + inset + kSwatch + kPad, top, textWidth, lineHeight);
        if (i == shown) {
            layout.legendMore = {textRect, QStringLiteral("…")};
            break;
        }
        const QRectF swatch(layout.legend.left() + inset, top + (lineHeight - kSwatch) / 2, kSwatch, kSwatch);
        layout.legendEntries.push_back(
            {entries[i], swatch, {textRect, Elided(metrics, chart.SeriesLabel(entries[i]), textWidth)}});
    }
    space.setRight(std::max(space.left(), layout.legend.left() - kGap));
}

void PlacePie(const ChartModel& chart, const QRectF& area, ChartLayout& layout)
{
    const double side = std::min(area.width(), area.height());
    layout.data = QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    // Divided before summing so that any number of values of any size keeps a finite total.
    const double share = 1.0 / static_cast<double>(std::max<std::size_t>(1, chart.series.size()));
    double total = 0;
    for (std::size_t serie = 0; serie < chart.series.size(); ++serie) {
        if (chart.series[serie].shown)
            total += std::max(0.0, chart.DrawnValue(serie, 0)) * share;
    }
    if (total <= 0)
        return;
    // A pie shows parts of a whole: a value that is zero or negative has no slice.
    double start = 90.0;
    for (std::size_t serie = 0; serie < chart.series.size(); ++serie) {
        const double value = chart.DrawnValue(serie, 0);
        if (!chart.series[serie].shown || value <= 0)
            continue;
        const double span = -360.0 * (value * share / total);
        layout.slices.push_back({serie, start, span});
        start += span;
    }
}

// The smallest and largest values the axes must hold, stacks summed.
std::pair<double, double> ValueRange(const ChartModel& chart)
{
    const std::size_t points = chart.PointCount();
    double smallest = 0;
    double largest = 0;
    const bool stacked = chart.kind == ChartKind::StackedBars || chart.kind == ChartKind::Area;
    for (std::size_t point = 0; point < points; ++point) {
        double above = 0;
        double below = 0;
        double running = 0;
        for (std::size_t serie = 0; serie < chart.series.size(); ++serie) {
            if (!chart.series[serie].shown)
                continue;
            const double value = chart.DrawnValue(serie, point);
            if (!stacked) {
                smallest = std::min(smallest, value);
                largest = std::max(largest, value);
                continue;
            }
            if (chart.kind == ChartKind::Area) {
                running = std::clamp(running + value, -kLargest, kLargest);
                smallest = std::min(smallest, running);
                largest = std::max(largest, running);
            } else if (value >= 0) {
                above = std::min(above + value, kLargest);
            } else {
                below = std::max(below + value, -kLargest);
            }
        }
        smallest = std::min(smallest, below);
        largest = std::max(largest, above);
    }
    return {smallest, largest};
}

QString TickText(double value, double step)
{
    if (std::fabs(value) < std::fabs(step) * 1e-9)
        value = 0;
    return QLocale().toString(value, 'g', 6);
}

class AxisPlacer {
public:
    AxisPlacer(const ChartModel& chart, ChartLayout& layout, QPaintDevice* device)
        : m_chart(chart), m_layout(layout), m_metrics(ChartLayout::FontOf(chart.axisFont, device), device)
    {
    }

    void Place(const QRectF& area)
    {
        m_area = area;
        m_layout.hasAxes = true;
        m_layout.valuesHorizontal = m_chart.inverted;
        const auto [smallest, largest] = ValueRange(m_chart);
        const double lineHeight = m_metrics.height();
        const double valueLength = m_chart.inverted ? area.width() : area.height();
        const double spacing = m_chart.inverted ? 6 * m_metrics.averageCharWidth() + 20 : 2.5 * lineHeight;
        const int intervals = static_cast<int>(std::clamp(std::floor(valueLength / spacing), 1.0, 10.0));
        m_layout.scale = ChartScale::Compute(smallest, largest, intervals);

        std::vector<QString> tickTexts;
        double widestTick = 0;
        for (int i = 0; i < m_layout.scale.TickCount(); ++i) {
            tickTexts.push_back(TickText(m_layout.scale.Tick(i), m_layout.scale.step));
            widestTick = std::max(widestTick, m_metrics.horizontalAdvance(tickTexts.back()));
        }
        const std::size_t points = m_chart.PointCount();
        if (m_chart.inverted) {
            double widestCategory = 0;
            for (std::size_t point = 0; point < points && point < 1000; ++point)
                widestCategory = std::max(widestCategory, TextWidth(m_metrics, m_chart.PointLabel(point)));
            const double labels = std::min(widestCategory, area.width() / 3) + kTickLength + kPad;
            m_layout.data = Within(QRectF(area.left() + labels, area.top() + kPad, area.width() - labels - widestTick / 2,
                                          area.height() - lineHeight - kTickLength - kPad),
                                   area);
        } else {
            const double labels = widestTick + kTickLength + kPad;
            m_layout.data = Within(QRectF(area.left() + labels, area.top() + lineHeight / 2, area.width() - labels - kPad,
                                          area.height() - lineHeight / 2 - lineHeight - kTickLength),
                                   area);
        }
        m_layout.zeroPosition = ValuePosition(0.0);
        PlaceValueTicks(tickTexts);
        PlaceCategoryLabels(points);
    }

    double ValuePosition(double value) const
    {
        const ChartScale& scale = m_layout.scale;
        // Halves, so that the widest scales never overflow.
        const double fraction = (value / 2 - scale.low / 2) / (scale.high / 2 - scale.low / 2);
        if (m_chart.inverted)
            return m_layout.data.left() + fraction * m_layout.data.width();
        return m_layout.data.bottom() - fraction * m_layout.data.height();
    }

    double Slot() const
    {
        const std::size_t points = std::max<std::size_t>(1, m_chart.PointCount());
        const double length = m_chart.inverted ? m_layout.data.height() : m_layout.data.width();
        return length / static_cast<double>(points);
    }

    // The start of a category's slot along the category axis.
    double SlotStart(std::size_t point) const
    {
        const double offset = static_cast<double>(point) * Slot();
        return m_chart.inverted ? m_layout.data.top() + offset : m_layout.data.left() + offset;
    }

    double SlotCentre(std::size_t point) const { return SlotStart(point) + Slot() / 2; }

    // A rectangle from `from` to `to` along the value axis, over [start, start + width) along the
    // category axis.
    QRectF Span(double start, double width, double from, double to) const
    {
        const double a = ValuePosition(from);
        const double b = ValuePosition(to);
        if (m_chart.inverted)
            return QRectF(std::min(a, b), start, std::fabs(b - a), width);
        return QRectF(start, std::min(a, b), width, std::fabs(b - a));
    }

    QPointF PointAt(double along, double value) const
    {
        return m_chart.inverted ? QPointF(ValuePosition(value), along) : QPointF(along, ValuePosition(value));
    }

private:
    void PlaceValueTicks(const std::vector<QString>& texts)
    {
        const double lineHeight = m_metrics.height();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const double position = ValuePosition(m_layout.scale.Tick(static_cast<int>(i)));
            const double width = m_metrics.horizontalAdvance(texts[i]) + 2;
            QRectF rect;
            if (m_chart.inverted)
                rect = QRectF(position - width / 2, m_layout.data.bottom() + kTickLength, width, lineHeight);
            else
                rect = QRectF(m_layout.data.left() - kTickLength - kPad - width, position - lineHeight / 2, width, lineHeight);
            m_layout.valueTicks.push_back({position, {rect, texts[i]}});
        }
    }

    void PlaceCategoryLabels(std::size_t points)
    {
        if (points == 0)
            return;
        const double slot = Slot();
        const double lineHeight = m_metrics.height();
        // Room a label needs: a line's height across, or some four characters along.
        const double needed = m_chart.inverted ? lineHeight : 4 * m_metrics.averageCharWidth() + 4;
        const std::size_t every =
            slot >= needed ? 1 : static_cast<std::size_t>(std::min(1e9, std::ceil(needed / std::max(slot, 1e-9))));
        for (std::size_t point = 0; point < points; point += every) {
            QRectF rect;
            if (m_chart.inverted) {
                const double room = std::max(0.0, m_layout.data.left() - m_area.left() - kTickLength - kPad);
                rect = QRectF(m_layout.data.left() - kTickLength - room, SlotCentre(point) - lineHeight / 2, room, lineHeight);
            } else {
                const double width = slot * static_cast<double>(every) - 2;
                rect = QRectF(SlotCentre(point) - width / 2, m_layout.data.bottom() + kTickLength, width, lineHeight);
            }
            m_layout.categoryLabels.push_back({rect, Elided(m_metrics, m_chart.PointLabel(point), rect.width())});
        }
    }

    const ChartModel& m_chart;
    ChartLayout& m_layout;
    QFontMetricsF m_metrics;
    QRectF m_area;
};

void PlaceBars(const ChartModel& chart, const AxisPlacer& axes, ChartLayout& layout)
{
    const std::size_t points = chart.PointCount();
    std::vector<std::size_t> shown;
    for (std::size_t serie = 0; serie < chart.series.size(); ++serie) {
        if (chart.series[serie].shown)
            shown.push_back(serie);
    }
    if (shown.empty())
        return;
    const double slot = axes.Slot();
    const double group = slot * kGroupShare;
    const bool stacked = chart.kind == ChartKind::StackedBars;
    const double width = stacked ? group : group / static_cast<double>(shown.size());
    for (std::size_t point = 0; point < points; ++point) {
        const double groupStart = axes.SlotStart(point) + (slot - group) / 2;
        double above = 0;
        double below = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const double value = chart.DrawnValue(shown[i], point);
            if (!stacked) {
                layout.bars.push_back({shown[i], axes.Span(groupStart + static_cast<double>(i) * width, width, 0.0, value)});
                continue;
            }
            double& base = value >= 0 ? above : below;
            const double top = std::clamp(base + value, -kLargest, kLargest);
            layout.bars.push_back({shown[i], axes.Span(groupStart, width, base, top)});
            base = top;
        }
    }
}

void PlaceLines(const ChartModel& chart, const AxisPlacer& axes, ChartLayout& layout)
{
    const std::size_t points = chart.PointCount();
    for (std::size_t serie = 0; serie < chart.series.size(); ++serie) {
        if (!chart.series[serie].shown)
            continue;
        ChartLayout::Polyline line{serie, {}};
        for (std::size_t point = 0; point < points; ++point)
            line.points << axes.PointAt(axes.SlotCentre(point), chart.DrawnValue(serie, point));
        layout.lines.push_back(std::move(line));
    }
}

void PlaceAreas(const ChartModel& chart, const AxisPlacer& axes, ChartLayout& layout)
{
    const std::size_t points = chart.PointCount();
    if (points == 0)
        return;
    // Along the category axis: the slots' centres; a single point spans its bar's width.
    std::vector<double> along;
    std::vector<std::size_t> pointOf;
    for (std::size_t point = 0; point < points; ++point) {
        if (points == 1) {
            along = {axes.SlotCentre(0) - axes.Slot() * kGroupShare / 2, axes.SlotCentre(0) + axes.Slot() * kGroupShare / 2};
            pointOf = {0, 0};
            break;
        }
        along.push_back(axes.SlotCentre(point));
        pointOf.push_back(point);
    }
    std::vector<double> below(points, 0.0);
    for (std::size_t serie = 0; serie < chart.series.size(); ++serie) {
        if (!chart.series[serie].shown)
            continue;
        std::vector<double> above(points);
        for (std::size_t point = 0; point < points; ++point)
            above[point] = std::clamp(below[point] + chart.DrawnValue(serie, point), -kLargest, kLargest);
        QPolygonF polygon;
        for (std::size_t i = 0; i < along.size(); ++i)
            polygon << axes.PointAt(along[i], above[pointOf[i]]);
        for (std::size_t i = along.size(); i-- > 0;)
            polygon << axes.PointAt(along[i], below[pointOf[i]]);
        layout.areaPolygons.push_back(polygon);
        layout.areaSeries.push_back(serie);
        below = std::move(above);
    }
}

} // namespace

double ChartLayout::DeviceUnit(const QPaintDevice* device)
{
    if (device == nullptr || device->logicalDpiY() <= 0)
        return 1.0;
    return std::max(1.0, device->logicalDpiY() / kScreenDpi);
}

QFont ChartLayout::FontOf(const ChartFont& font, const QPaintDevice* device)
{
    QFont qfont(QString::fromStdString(font.family));
    // The painter draws in layout units, scaled up by DeviceUnit: the font is made that much
    // smaller so that it keeps its size in points.
    qfont.setPointSizeF((font.pointSize > 0 ? font.pointSize : 8.0) / DeviceUnit(device));
    qfont.setBold(font.bold);
    return qfont;
}

ChartLayout ChartLayout::Compute(const ChartModel& chart, const QRectF& bounds, QPaintDevice* device)
{
    ChartLayout layout;
    layout.bounds = bounds;
    QRectF space = Inset(bounds, BorderWidth(chart, ChartRegion::Background) + kMargin);
    layout.header = PlaceLines(chart, ChartRegion::Header, chart.headerFont, chart.headerLines, space, true, device,
                               layout.headerLines);
    layout.footer = PlaceLines(chart, ChartRegion::Footer, chart.footerFont, chart.footerLines, space, false, device,
                               layout.footerLines);
    PlaceLegend(chart, space, device, layout);
    layout.plotArea = space;
    const QRectF inside = Inset(space, BorderWidth(chart, ChartRegion::PlotArea) + kPad);
    if (chart.kind == ChartKind::Pie) {
        PlacePie(chart, inside, layout);
        return layout;
    }
    AxisPlacer axes(chart, layout, device);
    axes.Place(inside);
    if (chart.kind == ChartKind::Line)
        PlaceLines(chart, axes, layout);
    else if (chart.kind == ChartKind::Area)
        PlaceAreas(chart, axes, layout);
    else
        PlaceBars(chart, axes, layout);
    return layout;
}
