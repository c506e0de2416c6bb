#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Registre.h"
#include "presentation/PresGraphSerie.h"
#include "presentation/PresentationGraphique.h"
#include "tests/support/SettingsFixture.h"

namespace {

class PresentationGraphiqueTest : public SettingsFixture {};

TEST(PresGraphSerie, ANewSeriesStyleAndItsNineWords)
{
    CPresGraphSerie serie;
    serie.SetColor(0x112233);
    serie.SetSymbolColor(0x445566);
    serie.SetPointStyle(5);
    CPresGraphSerie::Style style{};
    serie.DonnerStyle(style);
    EXPECT_EQ(style, (CPresGraphSerie::Style{2, 2, 0x112233, 2, 5, 0x445566, 3, 0, 0}));

    const CPresGraphSerie neuve;
    EXPECT_EQ(neuve.GetLinePattern(), 2);
    EXPECT_EQ(neuve.GetFillPattern(), 2);
    EXPECT_EQ(neuve.GetPointStyle(), 2);
    EXPECT_EQ(neuve.GetColor(), 0u);
    EXPECT_EQ(neuve.GetSymbolColor(), 0u);
}

// Series k takes default-palette entry 4, 1, 15, 2, 18, 16, 13, 3, 14, 6 as both colours.
constexpr std::uint32_t kSeriesColours[10]{0x800000, 0x000080, 0x00FFFF, 0x008000, 0xFFFF00,
                                           0xFF0000, 0x0000FF, 0x008080, 0x00FF00, 0x808000};

TEST_F(PresentationGraphiqueTest, ANewChartWithNothingSavedHoldsTheBuiltInDefaults)
{
    const CPresentationGraphique graphique;
    EXPECT_EQ(graphique.GetType(), 0);
    const std::uint32_t back[5]{0xCCBBAA, 0xDDCCBB, 0xCCBBAA, 0xCCBBAA, 0xCCBBAA};
    const std::int16_t border[5]{5, 3, 0, 3, 0};
    for (int zone = 1; zone <= 5; ++zone) {
        EXPECT_TRUE(graphique.GetVisible(zone)) << zone;
        EXPECT_EQ(graphique.GetBackColor(zone), back[zone - 1]) << zone;
        EXPECT_EQ(graphique.GetForeColor(zone), 0u) << zone;
        EXPECT_EQ(graphique.GetBorder(zone), border[zone - 1]) << zone;
    }
    for (int k = 0; k < 10; ++k) {
        const CPresGraphSerie& serie = graphique.GetSerie(k);
        EXPECT_EQ(serie.GetColor(), kSeriesColours[k]) << k;
        EXPECT_EQ(serie.GetSymbolColor(), kSeriesColours[k]) << k;
        EXPECT_EQ(serie.GetLinePattern(), 2) << k;
        EXPECT_EQ(serie.GetFillPattern(), 2) << k;
        EXPECT_EQ(serie.GetPointStyle(), 2) << k;
    }
}

TEST_F(PresentationGraphiqueTest, EachKeyOutsideItsRangeFallsBackOnItsOwnDefault)
{
    Store().WriteInteger("Graphique", "Type", 7);
    Store().WriteInteger("Graphique", "Visible2", 2);
    Store().WriteInteger("Graphique", "Visible3", 0);
    Store().WriteInteger("Graphique", "BackColor2", 0x1000000);
    Store().WriteInteger("Graphique", "BackColor4", 0x010203);
    Store().WriteInteger("Graphique", "ForeColor1", -1);
    Store().WriteInteger("Graphique", "Border1", 10);
    Store().WriteInteger("Graphique", "Border5", 9);
    Store().WriteInteger("Style0", "LinePattern", 0);
    Store().WriteInteger("Style0", "FillPattern", 11);
    Store().WriteInteger("Style0", "PointStyle", 12);
    Store().WriteInteger("Style1", "LinePattern", 8);
    Store().WriteInteger("Style1", "Color", 0x1000000);
    Store().WriteInteger("Style1", "SymbolColor", 0xFFFFFF);

    const CPresentationGraphique graphique;
    EXPECT_EQ(graphique.GetType(), 0);
    EXPECT_TRUE(graphique.GetVisible(2));
    EXPECT_FALSE(graphique.GetVisible(3));
    EXPECT_EQ(graphique.GetBackColor(2), 0xDDCCBBu);
    EXPECT_EQ(graphique.GetBackColor(4), 0x010203u);
    EXPECT_EQ(graphique.GetForeColor(1), 0u);
    EXPECT_EQ(graphique.GetBorder(1), 5);
    EXPECT_EQ(graphique.GetBorder(5), 9);
    EXPECT_EQ(graphique.GetSerie(0).GetLinePattern(), 2);
    EXPECT_EQ(graphique.GetSerie(0).GetFillPattern(), 11);
    EXPECT_EQ(graphique.GetSerie(0).GetPointStyle(), 2);
    EXPECT_EQ(graphique.GetSerie(1).GetLinePattern(), 2);
    EXPECT_EQ(graphique.GetSerie(1).GetColor(), kSeriesColours[1]);
    EXPECT_EQ(graphique.GetSerie(1).GetSymbolColor(), 0xFFFFFFu);
}

TEST_F(PresentationGraphiqueTest, ASeriesReadOnItsOwnTakesTheGivenColourAsDefault)
{
    Store().WriteInteger("Style7", "PointStyle", 11);
    CPresGraphSerie serie;
    CRegistre::ReadPresGraphSerie(7, 0x0A0B0C, serie);
    EXPECT_EQ(serie.GetPointStyle(), 11);
    EXPECT_EQ(serie.GetColor(), 0x0A0B0Cu);
    EXPECT_EQ(serie.GetSymbolColor(), 0x0A0B0Cu);
}

TEST_F(PresentationGraphiqueTest, ZoneNumbersOutsideOneToFiveAreIgnored)
{
    CPresentationGraphique graphique;
    const CPresentationGraphique avant = graphique;
    for (int zone : {0, 6, -1}) {
        graphique.SetVisible(zone, false);
        graphique.SetBackColor(zone, 1);
        graphique.SetForeColor(zone, 1);
        graphique.SetBorder(zone, 1);
        EXPECT_FALSE(graphique.GetVisible(zone));
        EXPECT_EQ(graphique.GetBackColor(zone), 0u);
        EXPECT_EQ(graphique.GetForeColor(zone), 0u);
        EXPECT_EQ(graphique.GetBorder(zone), 0);
    }
    graphique.SetSerie(10, CPresGraphSerie());
    EXPECT_EQ(graphique, avant);
}

TEST_F(PresentationGraphiqueTest, AWrittenChartIsTheNextNewChart)
{
    CPresentationGraphique ecrit;
    ecrit.SetType(6);
    for (int zone = 1; zone <= 5; ++zone) {
        ecrit.SetVisible(zone, zone % 2 == 0);
        ecrit.SetBackColor(zone, 0x010101u * static_cast<std::uint32_t>(zone));
        ecrit.SetForeColor(zone, 0x100000u + static_cast<std::uint32_t>(zone));
        ecrit.SetBorder(zone, static_cast<std::int16_t>(zone + 4));
    }
    for (int k = 0; k < 10; ++k) {
        CPresGraphSerie serie;
        serie.SetLinePattern(1 + k % 7);
        serie.SetFillPattern(11 - k);
        serie.SetPointStyle(1 + k);
        serie.SetColor(0x000100u * static_cast<std::uint32_t>(k + 1));
        serie.SetSymbolColor(0x010000u * static_cast<std::uint32_t>(k + 1));
        ecrit.SetSerie(k, serie);
    }
    ASSERT_FALSE(ecrit == CPresentationGraphique());

    CRegistre::WritePresentationGraphique(ecrit);
    const CPresentationGraphique relu;
    EXPECT_EQ(relu, ecrit);
    EXPECT_EQ(relu.GetBorder(3), 7);
    EXPECT_EQ(relu.GetSerie(9).GetFillPattern(), 2);

    CPresentationGraphique affecte;
    affecte = ecrit;
    EXPECT_EQ(affecte, ecrit);
}

} // namespace
