#pragma once

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QRectF>
#include <cstdint>

#include "presentation/ChartModel.h"

class QPainter;
struct ChartLayout;

// Draws a chart model into any painter: a window, a printer, an image for the clipboard or an
// RTF picture. The same model in the same rectangle on the same kind of device always gives
// the same drawing.
class ChartPainter {
public:
    static void Paint(QPainter& painter, const QRectF& bounds, const ChartModel& chart);
    // The chart laid out as in a window of `seenIn` screen pixels, then scaled to fill `bounds`: a
    // printed chart keeps the proportions of its window and the labels the window shows whole,
    // however small the page is in screen pixels.
    static void PaintAsSeen(QPainter& painter, const QRectF& bounds, const QSizeF& seenIn, const ChartModel& chart);
    static void Paint(QPainter& painter, const ChartLayout& layout, const ChartModel& chart);

    static QColor ColorOf(std::uint32_t colorref);
    // The brush of a series' bars, slices and areas, the pen of its lines.
    static QBrush SeriesBrush(const ChartModel& chart, std::size_t serie);
    static QPen SeriesPen(const ChartModel& chart, std::size_t serie, double width);
    // A point symbol of a series centred on `centre`.
    static void DrawSymbol(QPainter& painter, const ChartModel& chart, std::size_t serie, const QPointF& centre,
                           double size);
    // A region's background and border.
    static void DrawRegion(QPainter& painter, const QRectF& rect, const ChartRegionStyle& style);
};
