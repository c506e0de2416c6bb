#include "presentation/ChartSample.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "presentation/ChartModel.h"
#include "presentation/PresentationGraphique.h"

namespace {

constexpr std::size_t kSeries = 3;
constexpr std::size_t kPoints = 3;
constexpr std::array<std::array<double, kPoints>, kSeries> kValues = {{{20, 50, 30}, {25, 40, 35}, {17, 42, 28}}};

std::string Numbered(const char* format, std::size_t number)
{
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<int>(number));
    return text;
}

} // namespace

void ChartSample::Remplir(ChartModel& chart, const CPresentationGraphique& presentation)
{
    chart.CreerDonnees(kSeries, kPoints);
    chart.pointLabels.clear();
    chart.seriesLabels.clear();
    for (std::size_t serie = 0; serie < kSeries; ++serie) {
        for (std::size_t point = 0; point < kPoints; ++point) {
            chart.series[serie].x[point] = static_cast<double>(point + 1);
            chart.series[serie].y[point] = kValues[serie][point];
        }
        chart.seriesLabels.push_back(Numbered("Column %d", serie + 1));
    }
    for (std::size_t point = 0; point < kPoints; ++point)
        chart.pointLabels.push_back(Numbered("Line %d", point + 1));
    Appliquer(chart, presentation);
}

void ChartSample::Appliquer(ChartModel& chart, const CPresentationGraphique& presentation)
{
    char base[32];
    std::snprintf(base, sizeof base, "Base : %g", 150.0);
    presentation.Appliquer(chart, "Titre", {base});
    presentation.AppliquerSeries(chart, kSeries);
}
