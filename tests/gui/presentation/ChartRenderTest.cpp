#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "presentation/ChartModel.h"
#include "presentation/ChartSample.h"
#include "presentation/PresentationGraphique.h"
#include "gui/presentation/Chart2D.h"
#include "gui/presentation/ChartLayout.h"
#include "gui/presentation/ChartPainter.h"
#include "tests/support/SettingsFixture.h"

namespace {

const QSize kSize(600, 400);

class ChartRenderTest : public SettingsFixture {
protected:
    ChartModel Sample(std::int16_t type)
    {
        CPresentationGraphique presentation;
        presentation.SetType(type);
        ChartModel chart;
        ChartSample::Remplir(chart, presentation);
        return chart;
    }

    static QImage Render(const ChartModel& chart, QSize size = kSize)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        ChartPainter::Paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), chart);
        return image;
    }

    static ChartLayout Layout(const ChartModel& chart, QSize size = kSize)
    {
        QImage image(size, QImage::Format_RGB32);
        return ChartLayout::Compute(chart, QRectF(QPointF(0, 0), QSizeF(size)), &image);
    }

    static QColor SeriesColour(const ChartModel& chart, std::size_t serie)
    {
        return ChartPainter::ColorOf(static_cast<std::uint32_t>(chart.StyleOf(serie)[2]));
    }

    static int CountPixels(const QImage& image, const QColor& colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour ? 1 : 0;
        return count;
    }
};

// Finite and within the bounds, flat rectangles (a bar of 0) included.
bool Inside(const QRectF& bounds, const QRectF& rect)
{
    const bool finite = std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
                        std::isfinite(rect.height());
    return finite && rect.left() >= bounds.left() - 1 && rect.right() <= bounds.right() + 1 &&
           rect.top() >= bounds.top() - 1 && rect.bottom() <= bounds.bottom() + 1;
}

// A page that keeps the texts drawn on it, at a printer's resolution: what a printed chart
// says can be read back whole, not guessed from pixels.
class TextPaintEngine : public QPaintEngine {
public:
    TextPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice* /*device*/) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& /*state*/) override {}
    void drawPixmap(const QRectF& /*r*/, const QPixmap& /*pm*/, const QRectF& /*sr*/) override {}
    void drawPath(const QPainterPath& /*path*/) override {}
    void drawPolygon(const QPointF* /*points*/, int /*count*/, PolygonDrawMode /*mode*/) override {}
    void drawRects(const QRectF* /*rects*/, int /*count*/) override {}
    void drawLines(const QLineF* /*lines*/, int /*count*/) override {}
    void drawEllipse(const QRectF& /*rect*/) override {}
    void drawTextItem(const QPointF& /*p*/, const QTextItem& item) override { texts.push_back(item.text()); }
    Type type() const override { return QPaintEngine::User; }

    std::vector<QString> texts;
};

class TextPage : public QPaintDevice {
public:
    TextPage(QSize dots, int dpi) : m_dots(dots), m_dpi(dpi) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const std::vector<QString>& Texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_dots.width();
        case PdmHeight: return m_dots.height();
        case PdmWidthMM: return static_cast<int>(m_dots.width() * 25.4 / m_dpi);
        case PdmHeightMM: return static_cast<int>(m_dots.height() * 25.4 / m_dpi);
        case PdmNumColors: return std::numeric_limits<int>::max();
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return m_dpi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSize m_dots;
    int m_dpi;
    mutable TextPaintEngine m_engine;
};

TEST_F(ChartRenderTest, TheSevenTypesOnTheSampleDataDrawDifferentNonBlankPictures)
{
    std::vector<QImage> images;
    for (std::int16_t type = 0; type <= 6; ++type) {
        const ChartModel chart = Sample(type);
        const QImage image = Render(chart);
        // Every series' colour shows (a pie's three slices, three series elsewhere).
        for (std::size_t serie = 0; serie < 3; ++serie)
            EXPECT_GT(CountPixels(image, SeriesColour(chart, serie)), 200) << "type " << type << " series " << serie;
        images.push_back(image);
    }
    for (std::size_t a = 0; a < images.size(); ++a)
        for (std::size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a], images[b]) << a << " and " << b;
}

TEST_F(ChartRenderTest, VerticalBarsStandFromZeroInProportionToTheirValues)
{
    const ChartModel chart = Sample(0);
    const ChartLayout layout = Layout(chart);
    ASSERT_EQ(layout.bars.size(), 9u);
    // Point by point, series by series: 20 25 17 | 50 40 42 | 30 35 28.
    const double values[] = {20, 25, 17, 50, 40, 42, 30, 35, 28};
    const double unit = layout.bars[3].rect.height() / 50.0;
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_NEAR(layout.bars[i].rect.height(), values[i] * unit, 0.01) << i;
        EXPECT_NEAR(layout.bars[i].rect.bottom(), layout.zeroPosition, 0.01) << i;
        EXPECT_EQ(layout.bars[i].serie, i % 3);
    }
    // Left to right, inside the axes.
    for (std::size_t i = 1; i < 9; ++i)
        EXPECT_GT(layout.bars[i].rect.left(), layout.bars[i - 1].rect.left());
    EXPECT_TRUE(layout.data.contains(layout.bars[0].rect.center()));
    // The middle of each bar is painted in its series' colour.
    const QImage image = Render(chart);
    for (const ChartLayout::Bar& bar : layout.bars)
        EXPECT_EQ(image.pixelColor(bar.rect.center().toPoint()), SeriesColour(chart, bar.serie));
}

TEST_F(ChartRenderTest, HorizontalAndStackedBarsRunAndPileAsTheirTypeSays)
{
    const ChartLayout across = Layout(Sample(1));
    ASSERT_EQ(across.bars.size(), 9u);
    EXPECT_TRUE(across.valuesHorizontal);
    const double unit = across.bars[3].rect.width() / 50.0;
    EXPECT_NEAR(across.bars[0].rect.width(), 20 * unit, 0.01);
    EXPECT_NEAR(across.bars[0].rect.left(), across.zeroPosition, 0.01);

    const ChartLayout stacked = Layout(Sample(4));
    ASSERT_EQ(stacked.bars.size(), 9u);
    // The middle stack: 50 + 40 + 42 = 132, each part on top of the one before.
    const double stackUnit = stacked.bars[3].rect.height() / 50.0;
    EXPECT_NEAR(stacked.bars[4].rect.bottom(), stacked.bars[3].rect.top(), 0.01);
    EXPECT_NEAR(stacked.bars[5].rect.bottom(), stacked.bars[4].rect.top(), 0.01);
    EXPECT_NEAR(stacked.zeroPosition - stacked.bars[5].rect.top(), 132 * stackUnit, 0.01);
    EXPECT_GE(stacked.scale.high, 132);
}

TEST_F(ChartRenderTest, ThePieHasOneSlicePerPositiveValueSizedByItsShare)
{
    ChartModel chart = Sample(3);
    ChartLayout layout = Layout(chart);
    // Sample pie: the first points 20, 25, 17 of 62.
    ASSERT_EQ(layout.slices.size(), 3u);
    EXPECT_NEAR(layout.slices[0].spanDegrees, -360.0 * 20 / 62, 1e-9);
    EXPECT_NEAR(layout.slices[0].startDegrees, 90.0, 1e-9);
    EXPECT_NEAR(layout.slices[1].startDegrees, 90.0 - 360.0 * 20 / 62, 1e-9);
    EXPECT_NEAR(layout.data.width(), layout.data.height(), 1e-9);

    // Negative and zero values have no slice: 1, -4, 0, 2, 1 gives quarters and a half.
    chart.CreerDonnees(5, 1);
    const double values[] = {1, -4, 0, 2, 1};
    for (std::size_t i = 0; i < 5; ++i)
        chart.series[i].y[0] = values[i];
    chart.seriesLabels = {"a", "b", "c", "d", "e"};
    layout = Layout(chart);
    ASSERT_EQ(layout.slices.size(), 3u);
    EXPECT_EQ(layout.slices[1].serie, 3u);
    EXPECT_NEAR(layout.slices[0].spanDegrees, -90, 1e-9);
    EXPECT_NEAR(layout.slices[1].spanDegrees, -180, 1e-9);
    EXPECT_NEAR(layout.slices[2].spanDegrees, -90, 1e-9);
    // The legend still names every row.
    EXPECT_EQ(layout.legendEntries.size(), 5u);

    // Nothing positive: an empty pie, no division by zero.
    for (ChartSeries& serie : chart.series)
        serie.y[0] = -1;
    EXPECT_TRUE(Layout(chart).slices.empty());
}

TEST_F(ChartRenderTest, TheLegendIsDrawnInItsZoneOnlyWhenTheZoneIsVisible)
{
    CPresentationGraphique presentation;
    presentation.SetBackColor(3, 0x00FF00); // pure green: in no other zone nor series
    ChartModel chart;
    ChartSample::Remplir(chart, presentation);
    ChartLayout layout = Layout(chart);
    ASSERT_FALSE(layout.legend.isEmpty());
    ASSERT_EQ(layout.legendEntries.size(), 3u);
    EXPECT_EQ(layout.legendEntries[2].label.text, QStringLiteral("Colonne 3"));
    EXPECT_GT(layout.legend.left(), layout.plotArea.right());
    QImage image = Render(chart);
    const QPoint inside = (layout.legend.topRight() + QPointF(-3, 3)).toPoint();
    EXPECT_EQ(image.pixelColor(inside), QColor(0, 255, 0));

    presentation.SetVisible(3, false);
    ChartSample::Appliquer(chart, presentation);
    layout = Layout(chart);
    EXPECT_TRUE(layout.legend.isEmpty());
    EXPECT_EQ(CountPixels(Render(chart), QColor(0, 255, 0)), 0);
}

TEST_F(ChartRenderTest, TitleAndFooterBoxesHoldTheirLinesAtTopAndBottom)
{
    const ChartModel chart = Sample(0);
    const ChartLayout layout = Layout(chart);
    ASSERT_EQ(layout.headerLines.size(), 1u);
    EXPECT_EQ(layout.headerLines[0].text, QStringLiteral("Titre"));
    ASSERT_EQ(layout.footerLines.size(), 1u);
    EXPECT_EQ(layout.footerLines[0].text, QStringLiteral("Base : 150"));
    EXPECT_LT(layout.header.bottom(), layout.plotArea.top());
    EXPECT_GT(layout.footer.top(), layout.plotArea.bottom());
    EXPECT_TRUE(layout.header.contains(layout.headerLines[0].rect));
}

TEST_F(ChartRenderTest, LinesAndAreasFollowTheValuesAreasStacked)
{
    const ChartLayout lines = Layout(Sample(2));
    ASSERT_EQ(lines.lines.size(), 3u);
    ASSERT_EQ(lines.lines[0].points.size(), 3);
    // Series 1: 20, 50, 30; the higher the value, the smaller its y.
    EXPECT_LT(lines.lines[0].points[1].y(), lines.lines[0].points[2].y());
    EXPECT_LT(lines.lines[0].points[2].y(), lines.lines[0].points[0].y());

    const ChartLayout areas = Layout(Sample(6));
    ASSERT_EQ(areas.areaPolygons.size(), 3u);
    // The top of the last area at the middle point stands for 50 + 40 + 42 = 132.
    const double unitHeight = areas.data.height() / (areas.scale.high - areas.scale.low);
    EXPECT_NEAR(areas.zeroPosition - areas.areaPolygons[2][1].y(), 132 * unitHeight, 0.01);
}

struct BadTable {
    const char* name;
    std::size_t series;
    std::size_t points;
    double value;
    std::size_t labelLength;
};

TEST_F(ChartRenderTest, AwkwardTablesDrawWithoutFaultAndStayInsideTheChart)
{
    const BadTable tables[] = {
        {"one cell", 1, 1, 7, 3},
        {"500 rows", 3, 500, 5, 8},
        {"200 columns", 200, 3, 5, 8},
        {"all missing", 4, 4, 0, 3},
        {"huge", 2, 3, 1e300, 3},
        {"negative", 3, 3, -12, 3},
        {"long labels", 3, 3, 10, 2000},
    };
    for (const BadTable& table : tables) {
        for (std::int16_t type = 0; type <= 6; ++type) {
            CPresentationGraphique presentation;
            presentation.SetType(type);
            ChartModel chart;
            chart.CreerDonnees(table.series, table.points);
            for (ChartSeries& serie : chart.series)
                for (double& y : serie.y)
                    y = table.value;
            for (std::size_t p = 0; p < table.points; ++p)
                chart.pointLabels.push_back(std::string(table.labelLength, static_cast<char>('a' + p % 26)));
            for (std::size_t s = 0; s < table.series; ++s)
                chart.seriesLabels.push_back(std::string(table.labelLength, 'S'));
            presentation.Appliquer(chart, std::string(table.labelLength, 'T'), {std::string(table.labelLength, 'B')});
            presentation.AppliquerSeries(chart, table.series);

            const ChartLayout layout = Layout(chart);
            const QRectF bounds(QPointF(0, 0), QSizeF(kSize));
            const std::string what = std::string(table.name) + " type " + std::to_string(type);
            for (const ChartLayout::Bar& bar : layout.bars)
                ASSERT_TRUE(Inside(bounds, bar.rect)) << what;
            for (const ChartLayout::Text& label : layout.categoryLabels)
                ASSERT_TRUE(Inside(bounds, label.rect)) << what;
            for (const ChartLayout::LegendEntry& entry : layout.legendEntries)
                ASSERT_TRUE(Inside(bounds, entry.label.rect)) << what;
            EXPECT_TRUE(bounds.contains(layout.header) || layout.header.isEmpty()) << what;
            EXPECT_LE(layout.categoryLabels.size(), 100u) << what;
            EXPECT_FALSE(Render(chart).isNull()) << what;
        }
    }
}

TEST_F(ChartRenderTest, ATinyWindowDrawsWhatFitsWithoutFault)
{
    for (const QSize size : {QSize(1, 1), QSize(3, 3), QSize(40, 30), QSize(400, 12)}) {
        for (std::int16_t type = 0; type <= 6; ++type) {
            const ChartModel chart = Sample(type);
            const ChartLayout layout = Layout(chart, size);
            const QRectF bounds(QPointF(0, 0), QSizeF(size));
            for (const ChartLayout::Bar& bar : layout.bars)
                ASSERT_TRUE(Inside(bounds, bar.rect)) << size.width() << "x" << size.height() << " type " << type;
            EXPECT_GE(layout.data.width(), 0.0);
            EXPECT_GE(layout.data.height(), 0.0);
            EXPECT_FALSE(Render(chart, size).isNull());
        }
    }
}

// A chart printed at 600 dpi (a sheet of 15.9 x 10.6 cm) looks as on a screen of 96 dpi, only finer:
// the legend's squares are as large on paper as a screen's 10 pixels (2.6 mm, so 62 dots at 600
// dpi) and filled with their series' colour, for a pie and for bars, and the category labels that
// stand whole on screen stand whole on paper.
TEST_F(ChartRenderTest, APrintedChartKeepsItsLegendSquaresAndItsLabels)
{
    constexpr int kDpi = 600;
    constexpr double kDotsPerMetre = kDpi / 0.0254;
    QImage sheet(kSize * 6.25, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(static_cast<int>(std::lround(kDotsPerMetre)));
    sheet.setDotsPerMeterY(static_cast<int>(std::lround(kDotsPerMetre)));
    const double unit = ChartLayout::DeviceUnit(&sheet);
    ASSERT_DOUBLE_EQ(unit, kDpi / 96.0);
    for (const std::int16_t type : {std::int16_t{3}, std::int16_t{0}}) {
        SCOPED_TRACE(type == 3 ? "pie" : "bars");
        const ChartModel chart = Sample(type);
        sheet.fill(Qt::white);
        {
            QPainter painter(&sheet);
            ChartPainter::Paint(painter, QRectF(QPointF(0, 0), QSizeF(sheet.size())), chart);
        }
        const QRectF inUnits(QPointF(0, 0), QSizeF(sheet.size()) / unit);
        const ChartLayout layout = ChartLayout::Compute(chart, inUnits, &sheet);
        ASSERT_EQ(layout.legendEntries.size(), 3u);
        for (const ChartLayout::LegendEntry& entry : layout.legendEntries) {
            const QRect square(QRectF(entry.swatch.topLeft() * unit, entry.swatch.size() * unit).toRect());
            EXPECT_GE(square.width(), 60);
            const QImage inside = sheet.copy(square.adjusted(4, 4, -4, -4));
            EXPECT_GT(CountPixels(inside, SeriesColour(chart, entry.serie)), inside.width() * inside.height() / 2)
                << "serie " << entry.serie;
        }
        const ChartLayout onScreen = Layout(chart);
        ASSERT_EQ(layout.categoryLabels.size(), onScreen.categoryLabels.size());
        for (std::size_t at = 0; at < layout.categoryLabels.size(); ++at)
            EXPECT_EQ(layout.categoryLabels[at].text, onScreen.categoryLabels[at].text);
    }
}

// A window is wider in screen pixels than a portrait page's width (an A4 sheet is about 730 screen
// pixels between margins): the printed chart is the window's layout scaled down, so the category
// labels the window shows whole are printed whole, not cut to the page's own width.
TEST_F(ChartRenderTest, APrintedChartShowsTheLabelsOfItsWindowWhole)
{
    ChartModel chart = Sample(0);
    const std::vector<std::string> labels = {"Très satisfait", "Plutôt satisfait", "Ni satisfait ni insatisfait",
                                             "Plutôt insatisfait", "Pas du tout satisfait", "Non réponse",
                                             "Non interrogé"};
    chart.CreerDonnees(1, labels.size());
    chart.pointLabels = labels;
    const QSizeF window(1190, 610);
    constexpr int kDpi = 600;
    const QSize page(4600, 6600);
    const QRectF printed(0, 0, page.width(), page.width() * window.height() / window.width());

    TextPage asSeen(page, kDpi);
    {
        QPainter painter(&asSeen);
        ChartPainter::PaintAsSeen(painter, printed, window, chart);
    }
    for (const std::string& label : labels)
        EXPECT_NE(std::find(asSeen.Texts().begin(), asSeen.Texts().end(), QString::fromStdString(label)),
                  asSeen.Texts().end())
            << label;

    // The page's own width in screen pixels is too narrow for them: this is the cut that printing
    // the chart at the page's size would give.
    TextPage atPageSize(page, kDpi);
    {
        QPainter painter(&atPageSize);
        ChartPainter::Paint(painter, printed, chart);
    }
    EXPECT_TRUE(std::any_of(atPageSize.Texts().begin(), atPageSize.Texts().end(),
                            [](const QString& text) { return text.endsWith(QStringLiteral("…")); }));
}

TEST_F(ChartRenderTest, ALegendTooLongForTheChartEndsWithAnEllipsis)
{
    ChartModel chart = Sample(0);
    chart.CreerDonnees(200, 2);
    chart.seriesLabels.assign(200, "Modalité");
    CPresentationGraphique presentation;
    presentation.AppliquerSeries(chart, 200);
    const ChartLayout layout = Layout(chart);
    EXPECT_TRUE(layout.legendCut);
    EXPECT_EQ(layout.legendMore.text, QStringLiteral("…"));
    EXPECT_LT(layout.legendEntries.size(), 200u);
    EXPECT_LE(layout.legend.bottom(), kSize.height());
}

TEST_F(ChartRenderTest, TheWidgetDrawsItsModelAndGivesItsImage)
{
    CChart2D widget;
    widget.resize(kSize);
    widget.SetModel(Sample(3));
    const QImage image = widget.DonnerImage(kSize);
    EXPECT_EQ(image, Render(widget.Model()));
    QImage grabbed(kSize, QImage::Format_RGB32);
    widget.render(&grabbed);
    EXPECT_EQ(grabbed, image);
}

} // namespace
