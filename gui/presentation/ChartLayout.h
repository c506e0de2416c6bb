#pragma once

#include <QFont>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <cstddef>
#include <vector>

#include "presentation/ChartModel.h"
#include "presentation/ChartScale.h"

class QPaintDevice;

// Where every part of a chart goes in a given rectangle, measured with the fonts of the device
// it will be painted on. The painter draws exactly this; tests read it to check what is drawn.
//
// Texts too long for their place are shortened with an ellipsis, labels of categories too close
// to each other are shown one in k, and a legend with more entries than it holds ends with "…":
// a chart of any size of table stays legible.
struct ChartLayout {
    struct Text {
        QRectF rect;
        QString text;
    };
    struct Bar {
        std::size_t serie = 0;
        QRectF rect;
    };
    struct Slice {
        std::size_t serie = 0;
        double startDegrees = 0.0; // counter-clockwise from three o'clock, as QPainter counts
        double spanDegrees = 0.0;  // negative: slices run clockwise from twelve o'clock
    };
    struct Polyline {
        std::size_t serie = 0;
        QPolygonF points;
    };
    struct LegendEntry {
        std::size_t serie = 0;
        QRectF swatch;
        Text label;
    };
    struct Tick {
        double position = 0.0; // x for a horizontal value axis, y for a vertical one
        Text label;
    };

    QRectF bounds;
    QRectF header;   // empty when the chart has no header
    QRectF footer;
    QRectF legend;   // empty when no legend is drawn
    QRectF plotArea; // the chart region
    QRectF data;     // inside the axes; for a pie, the pie's square
    std::vector<Text> headerLines;
    std::vector<Text> footerLines;
    std::vector<LegendEntry> legendEntries;
    bool legendCut = false; // legendMore holds "…" for the entries that had no room
    Text legendMore;

    // Axes (not for a pie).
    bool hasAxes = false;
    bool valuesHorizontal = false;
    ChartScale scale;
    double zeroPosition = 0.0;
    std::vector<Tick> valueTicks;
    std::vector<Text> categoryLabels;

    std::vector<Bar> bars;
    std::vector<Slice> slices;
    std::vector<Polyline> lines;        // line charts: one per series
    std::vector<QPolygonF> areaPolygons; // area charts: one per series, closed
    std::vector<std::size_t> areaSeries;

    // `bounds` in layout units (see DeviceUnit).
    static ChartLayout Compute(const ChartModel& chart, const QRectF& bounds, QPaintDevice* device);
    // The font at its size in points on `device`, in layout units.
    static QFont FontOf(const ChartFont& font, const QPaintDevice* device = nullptr);
    // Device pixels per layout unit. The margins, swatches, ticks and pens of a chart are sized
    // in pixels of a screen; on a device of a finer resolution (a printer) a layout unit covers as
    // many of its pixels as a screen pixel's size takes, so that a printed chart looks as it does
    // on screen instead of having squares and gaps a tenth of a millimetre wide.
    static double DeviceUnit(const QPaintDevice* device);
};
