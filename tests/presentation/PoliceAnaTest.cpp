#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Registre.h"
#include "presentation/PoliceAna.h"
#include "tests/support/SettingsFixture.h"

namespace {

TEST(PoliceAna, ANewFontHoldsTheBuiltInDefaults)
{
    const CPoliceAna police;
    EXPECT_EQ(police.GetNom(), "Times New Roman");
    EXPECT_EQ(police.GetTaille(), 10.0);
    EXPECT_FALSE(police.GetGras());
    EXPECT_FALSE(police.GetItalique());
    EXPECT_FALSE(police.GetSouligne());
    EXPECT_FALSE(police.GetOmbre());
    EXPECT_EQ(police.GetCouleur(), 0u);
}

TEST(PoliceAna, FontsAreEqualOnlyWhenEveryAttributeIs)
{
    const std::vector<std::pair<const char*, std::function<void(CPoliceAna&)>>> changes{
        {"face case", [](CPoliceAna& p) { p.SetNom("times new roman"); }},
        {"size", [](CPoliceAna& p) { p.SetTaille(10.000001); }},
        {"bold", [](CPoliceAna& p) { p.SetGras(true); }},
        {"italic", [](CPoliceAna& p) { p.SetItalique(true); }},
        {"underline", [](CPoliceAna& p) { p.SetSouligne(true); }},
        {"shadow", [](CPoliceAna& p) { p.SetOmbre(true); }},
        {"colour", [](CPoliceAna& p) { p.SetCouleur(0x0000FF); }},
    };
    const CPoliceAna reference;
    for (const auto& [name, change] : changes) {
        CPoliceAna autre;
        change(autre);
        EXPECT_FALSE(autre == reference) << name;
        EXPECT_TRUE(autre != reference) << name;
        CPoliceAna copie = autre;
        EXPECT_EQ(copie, autre) << name;
    }
}

class PoliceRegistreTest : public SettingsFixture {};

TEST_F(PoliceRegistreTest, EachKeyOfAFontFallsBackOnItsOwnDefault)
{
    Store().WriteString("Question", "Nom", "Arial");
    Store().WriteInteger("Question", "Gras", 1);
    Store().WriteInteger("Question", "Italique", 2); // not a flag
    Store().WriteInteger("Question", "Couleur", 0x123456);
    Store().WriteString("Question", "Taille", "-3");

    CPoliceAna police;
    police.SetItalique(true);
    CRegistre::ReadPolice("Question", police);
    EXPECT_EQ(police.GetNom(), "Arial");
    EXPECT_TRUE(police.GetGras());
    EXPECT_FALSE(police.GetItalique());
    EXPECT_FALSE(police.GetSouligne());
    EXPECT_EQ(police.GetCouleur(), 0x123456u);
    EXPECT_EQ(police.GetTaille(), 10.0);
}

TEST_F(PoliceRegistreTest, AStoredSizeIsTakenOnlyWhenItIsAPositiveNumber)
{
    const std::vector<std::pair<const char*, double>> cases{
        {"-3", 10.0}, {"0", 10.0}, {"abc", 10.0}, {"", 10.0}, {"12.5", 12.5}, {"8", 8.0}, {"0.5", 0.5}, {"9,5", 9.5},
    };
    for (const auto& [stored, expected] : cases) {
        Store().WriteString("Cellule", "Taille", stored);
        CPoliceAna police;
        CRegistre::ReadPolice("Cellule", police);
        EXPECT_EQ(police.GetTaille(), expected) << "\"" << stored << "\"";
    }
}

TEST_F(PoliceRegistreTest, AWrittenFontReadsBackEqual)
{
    CPoliceAna police;
    police.SetNom("Courier New");
    police.SetTaille(11.5);
    police.SetGras(true);
    police.SetItalique(true);
    police.SetSouligne(true);
    police.SetOmbre(true);
    police.SetCouleur(0xFFFFFFFF);

    CRegistre::WritePolice("Ligne", police);
    EXPECT_EQ(Store().ReadString("Ligne", "Taille"), "11.5");

    CPoliceAna relue;
    CRegistre::ReadPolice("Ligne", relue);
    EXPECT_EQ(relue, police);
}

} // namespace
