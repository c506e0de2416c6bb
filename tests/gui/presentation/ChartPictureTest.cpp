#include <QImage>
#include <QPdfWriter>
#include <QPainter>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "export/ChartPictures.h"
#include "export/FichierRtf.h"
#include "gui/presentation/GraphView.h"
#include "gui/presentation/GraphiqueHorsEcran.h"
#include "gui/presentation/QtChartPictures.h"
#include "tabulation/Tableau.h"
#include "tests/support/SettingsFixture.h"

namespace {

// A 2 x 2 table of counts titled "Sexe x Région".
std::unique_ptr<CTableau> SmallTable()
{
    auto table = std::make_unique<CTableau>();
    table->Dimensionner(1, 1, 2, 2, CTableauBase::kMarqueParColonne);
    table->SetValeur(0, 0, 10);
    table->SetValeur(0, 1, 20);
    table->SetValeur(1, 0, CTableauBase::kValeurManquante);
    table->SetValeur(1, 1, 5);
    table->title = "Sexe x Région";
    return table;
}

class ChartPictureTest : public SettingsFixture {};

TEST_F(ChartPictureTest, TheOffScreenChartShowsTheTableWithItsTitleBlock)
{
    const std::unique_ptr<CTableau> table = SmallTable();
    table->base = 35;
    CGraphiqueHorsEcran chart;
    chart.SetTableau(*table);
    EXPECT_EQ(chart.Model().headerLines, std::vector<std::string>{"Sexe x Région"});
    ASSERT_EQ(chart.Model().series.size(), 2u);
    EXPECT_EQ(chart.Model().series[0].y, (std::vector<double>{10, 0}));
    EXPECT_FALSE(chart.Model().footerLines.empty());
    EXPECT_EQ(chart.Model().footerLines.front(), "Base : 35");

    const std::vector<std::uint8_t> png = chart.DonnerPng(2);
    QImage image;
    ASSERT_TRUE(image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    EXPECT_EQ(image.size(), QSize(1264, 840));
}

TEST_F(ChartPictureTest, TheRtfPictureOfAChartStatesASizeOfItsOwnAspect)
{
    // MORVANE_CHART_RTF keeps the document there, for an office suite to open (make office-check).
    const char* kept = std::getenv("MORVANE_CHART_RTF");
    const char* folder = std::getenv("TEST_TMPDIR");
    const std::filesystem::path path = kept != nullptr ? std::filesystem::path(kept)
                                                       : std::filesystem::path(folder != nullptr ? folder : "/tmp") /
                                                             "chart-picture.rtf";
    const std::unique_ptr<CTableau> table = SmallTable();
    {
        CFichierRtf without(path.string());
        ASSERT_TRUE(without.Ouvrir());
        without.EcrireEntete(true);
        EXPECT_FALSE(without.EcrireGraphique(*table)) << "nothing can draw it";
        ASSERT_TRUE(without.EcrireFin());
    }
    QtChartPictures pictures;
    ChartPictures::Install(&pictures);
    CFichierRtf rtf(path.string());
    ASSERT_TRUE(rtf.Ouvrir());
    rtf.EcrireEntete(true);
    const bool written = rtf.EcrireGraphique(*table);
    ChartPictures::Install(nullptr);
    ASSERT_TRUE(written);
    ASSERT_TRUE(rtf.EcrireFin());

    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    // 158 x 105 mm is 8957 x 5953 twips (1 mm = 56.69 twips); the 1264 x 840 pixels it holds have
    // the same proportions within a pixel.
    const std::string header = "\\picw1264\\pich840\\picwgoal8957\\pichgoal5953\\pngblip";
    EXPECT_NE(text.str().find(header), std::string::npos);
    EXPECT_NEAR(8957.0 / 5953.0, 1264.0 / 840.0, 1.0 / 840.0);
    if (kept == nullptr)
        std::filesystem::remove(path);
}

TEST(GraphView, APrintedChartIsAsLargeAsThePageHoldsAndCentred)
{
    struct Case {
        QSizeF view;
        QRectF page;
        QRectF expected; // by hand
    };
    const Case cases[] = {
        // Wide window, portrait page: the page's width, centred down the page.
        {{600, 300}, {0, 0, 1000, 1400}, {0, 450, 1000, 500}},
        // Tall window: the page's height, centred across.
        {{300, 600}, {0, 0, 1000, 1400}, {150, 0, 700, 1400}},
        // Same proportions: the whole page.
        {{500, 700}, {0, 0, 1000, 1400}, {0, 0, 1000, 1400}},
        // A window without size prints on the whole page, no division by zero.
        {{0, 0}, {0, 0, 1000, 1400}, {0, 0, 1000, 1400}},
    };
    for (const Case& c : cases) {
        const QRectF got = CGraphView::RectangleImpression(c.view, c.page);
        EXPECT_NEAR(got.x(), c.expected.x(), 1e-9);
        EXPECT_NEAR(got.y(), c.expected.y(), 1e-9);
        EXPECT_NEAR(got.width(), c.expected.width(), 1e-9);
        EXPECT_NEAR(got.height(), c.expected.height(), 1e-9);
    }
}

} // namespace
