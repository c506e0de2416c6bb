#include "presentation/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Beyond this the sum of a few hundred values could overflow a double.
constexpr double kLargestDrawnValue = 1e300;

} // namespace

void ChartModel::CreerDonnees(std::size_t seriesCount, std::size_t pointCount)
{
    std::vector<ChartSeries> data(seriesCount);
    for (ChartSeries& serie : data) {
        serie.x.resize(pointCount);
        for (std::size_t point = 0; point < pointCount; ++point)
            serie.x[point] = static_cast<double>(point);
        serie.y.assign(pointCount, 0.0);
    }
    series = std::move(data);
}

std::size_t ChartModel::PointCount() const
{
    std::size_t count = 0;
    for (const ChartSeries& serie : series)
        count = std::max(count, serie.y.size());
    return count;
}

double ChartModel::DrawnValue(std::size_t serie, std::size_t point) const
{
    if (serie >= series.size() || point >= series[serie].y.size())
        return 0.0;
    const double value = series[serie].y[point];
    if (!std::isfinite(value))
        return 0.0;
    return std::clamp(value, -kLargestDrawnValue, kLargestDrawnValue);
}

CPresGraphSerie::Style ChartModel::StyleOf(std::size_t serie) const
{
    if (seriesStyles.empty()) {
        CPresGraphSerie::Style style{};
        CPresGraphSerie{}.DonnerStyle(style);
        return style;
    }
    return seriesStyles[serie % seriesStyles.size()];
}

std::string ChartModel::SeriesLabel(std::size_t serie) const
{
    return serie < seriesLabels.size() ? seriesLabels[serie] : std::string();
}

std::string ChartModel::PointLabel(std::size_t point) const
{
    if (!pointLabels.empty())
        return point < pointLabels.size() ? pointLabels[point] : std::string();
    double x = static_cast<double>(point);
    for (const ChartSeries& serie : series) {
        if (point < serie.x.size()) {
            x = serie.x[point];
            break;
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "%g", x);
    return text;
}
