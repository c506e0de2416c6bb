// The chart presentation applied to a chart: its data from a table and its look.
#include "presentation/PresentationGraphique.h"

#include <algorithm>
#include <array>

#include "app/VecteurDouble.h"
#include "presentation/ChartDataSource.h"
#include "presentation/ChartModel.h"

namespace {

double ChartedValue(double value)
{
    return value == CVecteurDouble::kNoAnswer || value == CVecteurDouble::kNotAsked ? 0.0 : value;
}

struct TypeLook {
    ChartKind kind;
    bool inverted;
};

// By chart type 0..6.
constexpr std::array<TypeLook, 7> kTypeLooks = {{
    {ChartKind::Bars, false},        // "Barre verticale"
    {ChartKind::Bars, true},         // "Barre horizontale"
    {ChartKind::Line, false},        // "Ligne"
    {ChartKind::Pie, true},          // "Camembert"
    {ChartKind::StackedBars, false}, // "Barre cumulée verticale"
    {ChartKind::StackedBars, true},  // "Barre cumulée horizontale"
    {ChartKind::Area, false},        // "Aire"
}};

struct ZoneRegion {
    int zone;
    ChartRegion region;
};

constexpr std::array<ZoneRegion, 5> kZoneRegions = {{
    {5, ChartRegion::Background},
    {1, ChartRegion::Header},
    {4, ChartRegion::Footer},
    {3, ChartRegion::Legend},
    {2, ChartRegion::PlotArea},
}};

constexpr int kZoneTitre = 1;
constexpr int kZoneLegende = 3;
constexpr int kZonePied = 4;

} // namespace

void CPresentationGraphique::ConstruireDonnees(ChartModel& chart, const ChartDataSource& table) const
{
    const std::int32_t rows = std::max(0, table.RowCount());
    const std::int32_t columns = std::max(0, table.ColumnCount());
    const auto rowCount = static_cast<std::size_t>(rows);
    const auto columnCount = static_cast<std::size_t>(columns);
    std::vector<std::string> rowLabels;
    rowLabels.reserve(rowCount);
    for (std::int32_t row = 0; row < rows; ++row)
        rowLabels.push_back(table.DonnerLibelleLigne(row));

    if (columns == 1 && m_type == 3) {
        chart.CreerDonnees(rowCount, 1);
        for (std::int32_t row = 0; row < rows; ++row)
            chart.series[static_cast<std::size_t>(row)].y[0] = ChartedValue(table.GetValeur(row, 0));
        chart.pointLabels.clear();
        chart.seriesLabels = std::move(rowLabels);
        AppliquerSeries(chart, rowCount);
        return;
    }

    chart.CreerDonnees(columnCount, rowCount);
    for (std::int32_t column = 0; column < columns; ++column) {
        ChartSeries& serie = chart.series[static_cast<std::size_t>(column)];
        for (std::int32_t row = 0; row < rows; ++row)
            serie.y[static_cast<std::size_t>(row)] = ChartedValue(table.GetValeur(row, column));
    }
    chart.pointLabels = std::move(rowLabels);
    AppliquerSeries(chart, columnCount);
    chart.seriesLabels.clear();
    if (columns >= 2) {
        for (std::int32_t column = 0; column < columns; ++column)
            chart.seriesLabels.push_back(table.DonnerLibelleColonne(column));
    }
}

void CPresentationGraphique::Appliquer(ChartModel& chart, const std::string& title,
                                       const std::vector<std::string>& lines) const
{
    if (m_type >= 0 && static_cast<std::size_t>(m_type) < kTypeLooks.size()) {
        chart.kind = kTypeLooks[static_cast<std::size_t>(m_type)].kind;
        chart.inverted = kTypeLooks[static_cast<std::size_t>(m_type)].inverted;
    }
    for (const ZoneRegion& zoneRegion : kZoneRegions) {
        ChartRegionStyle& style = chart.Region(zoneRegion.region);
        style.backColor = GetBackColor(zoneRegion.zone);
        style.foreColor = GetForeColor(zoneRegion.zone);
        style.border = GetBorder(zoneRegion.zone);
    }
    chart.headerLines.clear();
    if (GetVisible(kZoneTitre))
        chart.headerLines.push_back(title);
    chart.footerLines.clear();
    if (GetVisible(kZonePied))
        chart.footerLines = lines;
    chart.legendShown = GetVisible(kZoneLegende);
    chart.headerFont = ChartFont{"Arial", 12.0, true};
    chart.footerFont = ChartFont{"Arial", 8.0, true};
    chart.legendFont = ChartFont{"Arial", 8.0, true};
    chart.axisFont = ChartFont{"Arial", 8.0, true};
}

void CPresentationGraphique::AppliquerSeries(ChartModel& chart, std::size_t seriesCount) const
{
    std::vector<CPresGraphSerie::Style> styles(seriesCount);
    for (std::size_t k = 0; k < seriesCount; ++k)
        m_series[k % kSeriesCount].DonnerStyle(styles[k]);
    chart.seriesStyles = std::move(styles);
}
