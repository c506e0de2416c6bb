#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "presentation/ChartDataSource.h"
#include "presentation/ChartModel.h"
#include "presentation/ChartPatterns.h"
#include "presentation/ChartScale.h"
#include "presentation/PresentationGraphique.h"
#include "tests/support/SettingsFixture.h"

namespace {

// A table given by its cells, row-major, labelled "L1"... and "C1"...
class GridSource : public ChartDataSource {
public:
    GridSource(std::int32_t rows, std::int32_t columns, std::vector<double> cells)
        : m_rows(rows), m_columns(columns), m_cells(std::move(cells))
    {
    }
    std::int32_t RowCount() const override { return m_rows; }
    std::int32_t ColumnCount() const override { return m_columns; }
    double GetValeur(std::int32_t row, std::int32_t column) const override
    {
        return m_cells[static_cast<std::size_t>(row * m_columns + column)];
    }
    std::string DonnerLibelleLigne(std::int32_t row) const override { return "L" + std::to_string(row + 1); }
    std::string DonnerLibelleColonne(std::int32_t column) const override { return "C" + std::to_string(column + 1); }

private:
    std::int32_t m_rows;
    std::int32_t m_columns;
    std::vector<double> m_cells;
};

class ChartDataTest : public SettingsFixture {};

std::vector<double> Values(const ChartSeries& serie) { return serie.y; }

TEST_F(ChartDataTest, OneColumnAsAPieGivesOneSliceSeriesPerRowNamedByTheRows)
{
    CPresentationGraphique presentation;
    presentation.SetType(3);
    const GridSource table(3, 1, {5, 7, 9});
    ChartModel chart;
    presentation.ConstruireDonnees(chart, table);
    ASSERT_EQ(chart.series.size(), 3u);
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_EQ(Values(chart.series[row]), std::vector<double>{5.0 + 2.0 * static_cast<double>(row)});
    EXPECT_EQ(chart.seriesLabels, (std::vector<std::string>{"L1", "L2", "L3"}));
    EXPECT_TRUE(chart.pointLabels.empty());
    EXPECT_EQ(chart.seriesStyles.size(), 3u);
}

TEST_F(ChartDataTest, OneColumnOfAnotherTypeIsOneUnnamedSeriesOfAPointPerRow)
{
    for (const std::int16_t type : {0, 1, 2, 4, 5, 6}) {
        CPresentationGraphique presentation;
        presentation.SetType(type);
        const GridSource table(3, 1, {5, 7, 9});
        ChartModel chart;
        chart.seriesLabels = {"left over"};
        presentation.ConstruireDonnees(chart, table);
        ASSERT_EQ(chart.series.size(), 1u) << type;
        EXPECT_EQ(Values(chart.series[0]), (std::vector<double>{5, 7, 9})) << type;
        EXPECT_EQ(chart.pointLabels, (std::vector<std::string>{"L1", "L2", "L3"})) << type;
        EXPECT_TRUE(chart.seriesLabels.empty()) << type;
    }
}

TEST_F(ChartDataTest, ColumnsBecomeSeriesNamedByTheColumnsAndBothMissingValuesChartAsZero)
{
    CPresentationGraphique presentation;
    const GridSource table(2, 3, {1, -999999.99, 3, -888888.88, 5, 6});
    ChartModel chart;
    presentation.ConstruireDonnees(chart, table);
    ASSERT_EQ(chart.series.size(), 3u);
    EXPECT_EQ(Values(chart.series[0]), (std::vector<double>{1, 0}));
    EXPECT_EQ(Values(chart.series[1]), (std::vector<double>{0, 5}));
    EXPECT_EQ(Values(chart.series[2]), (std::vector<double>{3, 6}));
    EXPECT_EQ(chart.series[1].x, (std::vector<double>{0, 1}));
    EXPECT_EQ(chart.seriesLabels, (std::vector<std::string>{"C1", "C2", "C3"}));
    EXPECT_EQ(chart.pointLabels, (std::vector<std::string>{"L1", "L2"}));
}

TEST_F(ChartDataTest, AnEmptyTableGivesAnEmptyChart)
{
    CPresentationGraphique presentation;
    for (const auto& [rows, columns] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
        const GridSource table(rows, columns, std::vector<double>(static_cast<std::size_t>(rows * columns)));
        ChartModel chart;
        presentation.ConstruireDonnees(chart, table);
        EXPECT_EQ(chart.PointCount(), 0u) << rows << "x" << columns;
    }
}

TEST_F(ChartDataTest, MoreThanTenSeriesRepeatTheStylesFromTheFirst)
{
    CPresentationGraphique presentation;
    CPresGraphSerie first = presentation.GetSerie(0);
    first.SetFillPattern(9);
    presentation.SetSerie(0, first);
    const GridSource table(1, 12, std::vector<double>(12, 1.0));
    ChartModel chart;
    presentation.ConstruireDonnees(chart, table);
    ASSERT_EQ(chart.seriesStyles.size(), 12u);
    EXPECT_EQ(chart.StyleOf(10), chart.StyleOf(0));
    EXPECT_EQ(chart.StyleOf(10)[1], 9);
    EXPECT_EQ(chart.StyleOf(11), chart.StyleOf(1));
    EXPECT_NE(chart.StyleOf(1), chart.StyleOf(0));
}

TEST_F(ChartDataTest, TheTypeSetsKindAndOrientationAndTheZonesTheirLook)
{
    struct Case {
        std::int16_t type;
        ChartKind kind;
        bool inverted;
    };
    const Case cases[] = {
        {0, ChartKind::Bars, false},        {1, ChartKind::Bars, true}, {2, ChartKind::Line, false},
        {3, ChartKind::Pie, true},          {4, ChartKind::StackedBars, false},
        {5, ChartKind::StackedBars, true},  {6, ChartKind::Area, false},
    };
    for (const Case& c : cases) {
        CPresentationGraphique presentation;
        presentation.SetType(c.type);
        ChartModel chart;
        presentation.Appliquer(chart, "T", {"a", "b"});
        EXPECT_EQ(chart.kind, c.kind) << c.type;
        EXPECT_EQ(chart.inverted, c.inverted) << c.type;
    }

    CPresentationGraphique presentation;
    presentation.SetType(2);
    ChartModel chart;
    presentation.Appliquer(chart, "T", {});
    presentation.SetType(9); // an unknown type leaves kind and orientation as they were
    presentation.SetBackColor(3, 0x123456);
    presentation.SetForeColor(2, 0x654321);
    presentation.SetBorder(5, 9);
    presentation.Appliquer(chart, "T", {});
    EXPECT_EQ(chart.kind, ChartKind::Line);
    EXPECT_EQ(chart.Region(ChartRegion::Legend).backColor, 0x123456u);
    EXPECT_EQ(chart.Region(ChartRegion::PlotArea).foreColor, 0x654321u);
    EXPECT_EQ(chart.Region(ChartRegion::Background).border, 9);
    EXPECT_EQ(chart.headerFont, (ChartFont{"Arial", 12.0, true}));
}

TEST_F(ChartDataTest, TitleFooterAndLegendFollowTheVisibilityOfTheirZones)
{
    CPresentationGraphique presentation;
    ChartModel chart;
    presentation.Appliquer(chart, "Titre", {"Base : 150", "Champ"});
    EXPECT_EQ(chart.headerLines, std::vector<std::string>{"Titre"});
    EXPECT_EQ(chart.footerLines, (std::vector<std::string>{"Base : 150", "Champ"}));
    EXPECT_TRUE(chart.legendShown);

    presentation.SetVisible(1, false);
    presentation.SetVisible(3, false);
    presentation.SetVisible(4, false);
    presentation.Appliquer(chart, "Titre", {"Base : 150"});
    EXPECT_TRUE(chart.headerLines.empty());
    EXPECT_TRUE(chart.footerLines.empty());
    EXPECT_FALSE(chart.legendShown);
}

TEST(ChartModel, DrawnValuesAreFiniteAndPointsWithoutLabelsShowTheirX)
{
    ChartModel chart;
    chart.CreerDonnees(1, 4);
    chart.series[0].y = {NAN, INFINITY, -1e308, 2.5};
    chart.series[0].x = {1, 2, 3, 4.5};
    EXPECT_EQ(chart.DrawnValue(0, 0), 0.0);
    EXPECT_EQ(chart.DrawnValue(0, 1), 0.0);
    EXPECT_EQ(chart.DrawnValue(0, 2), -1e300);
    EXPECT_EQ(chart.DrawnValue(0, 3), 2.5);
    EXPECT_EQ(chart.DrawnValue(3, 0), 0.0);
    EXPECT_EQ(chart.PointLabel(3), "4.5");
    chart.pointLabels = {"a"};
    EXPECT_EQ(chart.PointLabel(0), "a");
    EXPECT_EQ(chart.PointLabel(2), "");
}

TEST(ChartScale, RangesHoldZeroAndTheValuesWithARoundStep)
{
    struct Case {
        double smallest, largest;
        int intervals;
        double low, high, step; // by hand: the 1-2-5 step at or above span / intervals
    };
    const Case cases[] = {
        {0, 50, 5, 0, 50, 10},       // 50 / 5 = 10
        {17, 50, 5, 0, 50, 10},      // zero always shown
        {0, 62, 5, 0, 80, 20},       // 62 / 5 = 12.4 -> 20; 62 rounds up to 80
        {-30, 45, 5, -40, 60, 20},   // 75 / 5 = 15 -> 20
        {0, 0, 5, 0, 1, 0.2},        // nothing to show: 0..1
        {-3, -1, 2, -4, 0, 2},       // 3 / 2 = 1.5 -> 2
        {0, 3000, 3, 0, 3000, 1000},
    };
    for (const Case& c : cases) {
        const ChartScale scale = ChartScale::Compute(c.smallest, c.largest, c.intervals);
        EXPECT_DOUBLE_EQ(scale.step, c.step) << c.smallest << ".." << c.largest;
        EXPECT_LE(scale.low, std::min(0.0, c.smallest));
        EXPECT_GE(scale.high, std::max(0.0, c.largest));
        EXPECT_NEAR(scale.low, c.low, 1e-12) << c.smallest << ".." << c.largest;
        EXPECT_NEAR(scale.high, c.high, 1e-12) << c.smallest << ".." << c.largest;
    }
}

TEST(ChartScale, HugeAndBrokenRangesStayFiniteAndBounded)
{
    const double inputs[][2] = {{-1e300, 1e300}, {0, 1e300}, {NAN, INFINITY}, {-INFINITY, 5}, {1e-300, 2e-300}};
    for (const auto& input : inputs) {
        const ChartScale scale = ChartScale::Compute(input[0], input[1], 10);
        EXPECT_TRUE(std::isfinite(scale.low) && std::isfinite(scale.high) && std::isfinite(scale.step));
        EXPECT_GT(scale.high, scale.low);
        EXPECT_GT(scale.step, 0.0);
        EXPECT_GE(scale.TickCount(), 2);
        EXPECT_LE(scale.TickCount(), 12);
        EXPECT_LE(scale.Tick(scale.TickCount() - 1), scale.high);
    }
}

TEST(ChartPatterns, CodesOutsideTheirListsDrawAsTheDefaults)
{
    EXPECT_FALSE(ChartPatterns::Line(1).drawn);
    EXPECT_TRUE(ChartPatterns::Line(2).dashes.empty());
    EXPECT_FALSE(ChartPatterns::Line(4).dashes.empty());
    EXPECT_TRUE(ChartPatterns::Line(0).drawn && ChartPatterns::Line(0).dashes.empty());
    EXPECT_EQ(ChartPatterns::Fill(1), ChartFill::None);
    EXPECT_EQ(ChartPatterns::Fill(11), ChartFill::Cross);
    EXPECT_EQ(ChartPatterns::Fill(12), ChartFill::Solid);
    EXPECT_EQ(ChartPatterns::Point(6), ChartPoint::Star);
    EXPECT_EQ(ChartPatterns::Point(-4), ChartPoint::Dot);
    EXPECT_EQ(ChartPatterns::Border(0).width, 0);
    EXPECT_EQ(ChartPatterns::Border(9).edge, ChartEdge::Shadow);
    EXPECT_EQ(ChartPatterns::Border(10).edge, ChartEdge::None);
}

} // namespace
