#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "presentation/PresGraphSerie.h"

// How a chart draws its series.
enum class ChartKind : std::int32_t { Line = 1, Bars = 2, Pie = 3, StackedBars = 4, Area = 5 };

// The five regions a chart is made of; each has its colours and border.
enum class ChartRegion : std::int32_t { Background = 0, Header = 1, Footer = 2, Legend = 3, PlotArea = 4 };

struct ChartRegionStyle {
    std::uint32_t backColor = 0xFFFFFF; // 0x00BBGGRR
    std::uint32_t foreColor = 0;
    std::int32_t border = 0;            // 0..9, the border types of the chart presentation
    bool operator==(const ChartRegionStyle&) const = default;
};

struct ChartFont {
    std::string family = "Arial";
    double pointSize = 8.0;
    bool bold = true;
    bool operator==(const ChartFont&) const = default;
};

// One series: a y value per point, the x value it stands at (shown as the point's label when
// the chart has no point labels), and whether it is drawn.
struct ChartSeries {
    std::vector<double> x;
    std::vector<double> y;
    bool shown = true;
    bool operator==(const ChartSeries&) const = default;
};

// Everything a chart shows, without any drawing: the painter reads it, the chart presentation
// fills it (data from a table, look from the presentation). A plain value: copying a chart is
// copying its model.
struct ChartModel {
    static constexpr std::size_t kRegionCount = 5;

    ChartKind kind = ChartKind::Bars;
    // Bars run horizontally (categories down the left side); a pie ignores it.
    bool inverted = false;
    bool legendShown = true;

    std::vector<ChartSeries> series;
    // One per point of the series; empty: the points are labelled by their x values.
    std::vector<std::string> pointLabels;
    // One per series; empty: the series have no names and the legend has nothing to show
    // (except for a pie, whose slices are named by their series).
    std::vector<std::string> seriesLabels;
    std::vector<std::string> headerLines;
    std::vector<std::string> footerLines;

    // Series k is drawn with style k modulo the number of styles; none: the default style.
    std::vector<CPresGraphSerie::Style> seriesStyles;

    std::array<ChartRegionStyle, kRegionCount> regions{};
    ChartFont headerFont{"Arial", 12.0, true};
    ChartFont footerFont{};
    ChartFont legendFont{};
    ChartFont axisFont{};

    ChartRegionStyle& Region(ChartRegion region) { return regions[static_cast<std::size_t>(region)]; }
    const ChartRegionStyle& Region(ChartRegion region) const
    {
        return regions[static_cast<std::size_t>(region)];
    }

    // Replaces the data by `seriesCount` shown series of `pointCount` points, all at 0 (x = the
    // point's index).
    void CreerDonnees(std::size_t seriesCount, std::size_t pointCount);
    // The number of points of the longest series.
    std::size_t PointCount() const;
    // The value drawn for a point: 0 where the series has no such point or the value is not a
    // number, and never beyond +-1e300, so that sums and scales of any data stay finite.
    double DrawnValue(std::size_t serie, std::size_t point) const;
    // The style of series k (the default style when none is set).
    CPresGraphSerie::Style StyleOf(std::size_t serie) const;
    // The legend's name of series k; empty when there is none.
    std::string SeriesLabel(std::size_t serie) const;
    // The name of point k on the category axis: its label, else its x value ("%g").
    std::string PointLabel(std::size_t point) const;

    bool operator==(const ChartModel&) const = default;
};
