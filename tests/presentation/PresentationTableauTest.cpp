#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "app/Registre.h"
#include "presentation/PresentationTableau.h"
#include "tests/support/SettingsFixture.h"

namespace {

class PresentationTableauTest : public SettingsFixture {};

struct WordCase {
    const char* key;
    std::function<std::uint16_t(const CPresentationTableau&)> get;
    int defaut;
    int maximum;
};

// The words of section "Tableau" with their defaults and upper bounds (every lower bound is 0).
const std::vector<WordCase>& Words()
{
    static const std::vector<WordCase> words{
        {"Orientation", &CPresentationTableau::GetOrientation, 0, 1},
        {"TypePage", &CPresentationTableau::GetTypePage, 0, 1},
        {"Effectif", &CPresentationTableau::GetEffectif, 0, 4},
        {"Pourcentage", &CPresentationTableau::GetPourcentage, 1, 4},
        {"Reel", &CPresentationTableau::GetReel, 1, 4},
        {"ThinBorderSize", &CPresentationTableau::GetThinBorderSize, 1, 4},
        {"ThinBorderType", &CPresentationTableau::GetThinBorderType, 3, 3},
        {"NormalBorderSize", &CPresentationTableau::GetNormalBorderSize, 1, 4},
        {"NormalBorderType", &CPresentationTableau::GetNormalBorderType, 1, 3},
        {"ThickBorderSize", &CPresentationTableau::GetThickBorderSize, 2, 4},
        {"ThickBorderType", &CPresentationTableau::GetThickBorderType, 1, 3},
    };
    return words;
}

struct FlagCase {
    const char* key;
    std::function<bool(const CPresentationTableau&)> get;
    bool defaut;
};

const std::vector<FlagCase>& Flags()
{
    static const std::vector<FlagCase> flags{
        {"EstPourcent", &CPresentationTableau::GetEstPourcent, true},
        {"EstTitreAuDessus", &CPresentationTableau::GetEstTitreAuDessus, false},
        {"EstTitreBase", &CPresentationTableau::GetEstTitreBase, true},
        {"EstTitreChamp", &CPresentationTableau::GetEstTitreChamp, false},
        {"EstTitreRedressement", &CPresentationTableau::GetEstTitreRedressement, false},
        {"EstTitreLevel", &CPresentationTableau::GetEstTitreLevel, false},
    };
    return flags;
}

void ExpectBuiltInDefaults(const CPresentationTableau& presentation)
{
    for (const WordCase& word : Words())
        EXPECT_EQ(word.get(presentation), word.defaut) << word.key;
    for (const FlagCase& flag : Flags())
        EXPECT_EQ(flag.get(presentation), flag.defaut) << flag.key;
    const CPoliceAna police;
    EXPECT_EQ(presentation.GetQuestion(), police);
    EXPECT_EQ(presentation.GetLigne(), police);
    EXPECT_EQ(presentation.GetColonne(), police);
    EXPECT_EQ(presentation.GetCellule(), police);
    for (int i = 0; i < CPresentationTableau::kReservedValueCount; ++i)
        EXPECT_EQ(presentation.GetReservedValue(i), 0);
}

TEST_F(PresentationTableauTest, ANewPresentationWithNothingSavedHoldsTheBuiltInDefaults)
{
    ExpectBuiltInDefaults(CPresentationTableau());
}

TEST(PresentationTableauWithoutStore, ANewPresentationHoldsTheBuiltInDefaults)
{
    auto previous = CRegistre::InstallStore(nullptr);
    ExpectBuiltInDefaults(CPresentationTableau());
    CRegistre::InstallStore(std::move(previous));
}

TEST_F(PresentationTableauTest, EachWordOutsideItsRangeFallsBackOnItsOwnDefault)
{
    // Every word stored one above its maximum, except one stored at its bound.
    for (const WordCase& word : Words())
        Store().WriteInteger("Tableau", word.key, word.maximum + 1);
    // The dialog offers up to 4 digits, and a presentation saved with 4 must read back as 4.
    Store().WriteInteger("Tableau", "Effectif", 4);
    Store().WriteInteger("Tableau", "ThinBorderType", 7);

    const CPresentationTableau presentation;
    for (const WordCase& word : Words()) {
        const int expected = std::string(word.key) == "Effectif" ? 4 : word.defaut;
        EXPECT_EQ(word.get(presentation), expected) << word.key;
    }
    EXPECT_EQ(presentation.GetThinBorderType(), 3);
}

TEST_F(PresentationTableauTest, EachFlagThatIsNotZeroOrOneFallsBackOnItsOwnDefault)
{
    for (const FlagCase& flag : Flags())
        Store().WriteInteger("Tableau", flag.key, 2);
    Store().WriteInteger("Tableau", "EstTitreBase", 0);

    const CPresentationTableau presentation;
    for (const FlagCase& flag : Flags()) {
        const bool expected = std::string(flag.key) == "EstTitreBase" ? false : flag.defaut;
        EXPECT_EQ(flag.get(presentation), expected) << flag.key;
    }
}

TEST_F(PresentationTableauTest, TheFourFontsComeFromTheirOwnSections)
{
    Store().WriteString("Question", "Nom", "Arial");
    Store().WriteString("Ligne", "Taille", "9");
    Store().WriteInteger("Colonne", "Gras", 1);
    Store().WriteInteger("Cellule", "Couleur", 0xFF);

    const CPresentationTableau presentation;
    EXPECT_EQ(presentation.GetQuestion().GetNom(), "Arial");
    EXPECT_EQ(presentation.GetLigne().GetNom(), "Times New Roman");
    EXPECT_EQ(presentation.GetLigne().GetTaille(), 9.0);
    EXPECT_TRUE(presentation.GetColonne().GetGras());
    EXPECT_FALSE(presentation.GetCellule().GetGras());
    EXPECT_EQ(presentation.GetCellule().GetCouleur(), 0xFFu);
}

CPresentationTableau EveryFieldChanged()
{
    CPresentationTableau presentation;
    CPoliceAna question;
    question.SetNom("Arial");
    question.SetGras(true);
    CPoliceAna ligne;
    ligne.SetTaille(8.5);
    ligne.SetItalique(true);
    CPoliceAna colonne;
    colonne.SetSouligne(true);
    colonne.SetCouleur(0x0000FF);
    CPoliceAna cellule;
    cellule.SetOmbre(true);
    cellule.SetNom("Verdana");
    presentation.SetQuestion(question);
    presentation.SetLigne(ligne);
    presentation.SetColonne(colonne);
    presentation.SetCellule(cellule);
    presentation.SetOrientation(1);
    presentation.SetTypePage(1);
    presentation.SetEffectif(2);
    presentation.SetPourcentage(3);
    presentation.SetReel(0);
    presentation.SetThinBorderSize(0);
    presentation.SetThinBorderType(2);
    presentation.SetNormalBorderSize(3);
    presentation.SetNormalBorderType(0);
    presentation.SetThickBorderSize(4);
    presentation.SetThickBorderType(3);
    presentation.SetEstPourcent(false);
    presentation.SetEstTitreAuDessus(true);
    presentation.SetEstTitreBase(false);
    presentation.SetEstTitreChamp(true);
    presentation.SetEstTitreRedressement(true);
    presentation.SetEstTitreLevel(true);
    return presentation;
}

TEST_F(PresentationTableauTest, AWrittenPresentationIsTheNextNewPresentation)
{
    const CPresentationTableau ecrite = EveryFieldChanged();
    ASSERT_FALSE(ecrite == CPresentationTableau());
    for (const WordCase& word : Words())
        ASSERT_NE(word.get(ecrite), word.defaut) << word.key << " must differ from its default to be tested";
    for (const FlagCase& flag : Flags())
        ASSERT_NE(flag.get(ecrite), flag.defaut) << flag.key << " must differ from its default to be tested";

    CRegistre::WritePresentationTableau(ecrite);
    EXPECT_EQ(CPresentationTableau(), ecrite);
}

TEST_F(PresentationTableauTest, CopiesCarryEveryFieldAndTheReservedValues)
{
    CPresentationTableau source = EveryFieldChanged();
    source.SetReservedValue(0, 7);
    source.SetReservedValue(2, -9);
    source.SetReservedValue(3, 5); // there is no fourth: ignored

    const CPresentationTableau copie(source);
    EXPECT_EQ(copie, source);
    EXPECT_EQ(copie.GetReservedValue(0), 7);
    EXPECT_EQ(copie.GetReservedValue(1), 0);
    EXPECT_EQ(copie.GetReservedValue(2), -9);
    EXPECT_EQ(copie.GetReservedValue(3), 0);

    CPresentationTableau affectee;
    affectee = source;
    EXPECT_EQ(affectee, source);
    affectee.SetReservedValue(1, 1);
    EXPECT_NE(affectee, source);
}

} // namespace
