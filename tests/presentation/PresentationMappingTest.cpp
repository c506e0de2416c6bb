#include <cstdint>

#include <gtest/gtest.h>

#include "app/Registre.h"
#include "presentation/PresentationMapping.h"
#include "presentation/PresentationMappingLigne.h"
#include "tests/support/SettingsFixture.h"

namespace {

class PresentationMappingTest : public SettingsFixture {};

TEST(PresentationMappingLigne, ANewPointSetHoldsItsOwnDefaults)
{
    const CPresentationMappingLigne points;
    EXPECT_EQ(points.GetLabelFont(), CPoliceAna());
    EXPECT_EQ(points.GetTypeSymbole(), 1);
    EXPECT_EQ(points.GetTailleSymbole(), 4);
    EXPECT_EQ(points.GetCouleur(), 0u);
    EXPECT_TRUE(points.GetEstLibelleVisible());
}

TEST_F(PresentationMappingTest, ANewMapWithNothingSavedHoldsTheBuiltInDefaults)
{
    const CPresentationMapping mapping;
    EXPECT_EQ(mapping.GetLegendFont(), CPoliceAna());
    EXPECT_TRUE(mapping.GetEstCadre());
    EXPECT_TRUE(mapping.GetEstAxe());
    EXPECT_TRUE(mapping.GetEstCoordonnee());
    EXPECT_FALSE(mapping.GetEstGrille());
    EXPECT_EQ(mapping.GetCouleurFond(), 0xFFFFFFu);
    EXPECT_EQ(mapping.GetCouleurAvant(), 0u);

    const CPresentationMappingLigne& lignes = mapping.GetPointSet(CPresentationMapping::kRowPoints);
    EXPECT_EQ(lignes.GetLabelFont(), CPoliceAna());
    EXPECT_EQ(lignes.GetTypeSymbole(), 1);
    EXPECT_EQ(lignes.GetTailleSymbole(), 8);
    EXPECT_EQ(lignes.GetCouleur(), 0x7F0000u);
    EXPECT_FALSE(lignes.GetEstLibelleVisible());

    const CPresentationMappingLigne& colonnes = mapping.GetPointSet(CPresentationMapping::kColumnPoints);
    EXPECT_EQ(colonnes.GetTypeSymbole(), 2);
    EXPECT_EQ(colonnes.GetTailleSymbole(), 8);
    EXPECT_EQ(colonnes.GetCouleur(), 0x00007Fu);
    EXPECT_TRUE(colonnes.GetEstLibelleVisible());
}

TEST_F(PresentationMappingTest, EachKeyOutsideItsRangeFallsBackOnItsOwnDefault)
{
    Store().WriteInteger("MappingLigne", "TailleSymbole", 1);
    Store().WriteInteger("MappingColonne", "TailleSymbole", 31);
    Store().WriteInteger("MappingLigne", "TypeSymbole", 9);
    Store().WriteInteger("MappingColonne", "TypeSymbole", -1);
    Store().WriteInteger("MappingLigne", "EstLibelleVisible", 2);
    Store().WriteInteger("MappingColonne", "Couleur", 0x12345678); // colours have no bounds
    Store().WriteInteger("Mapping", "EstGrille", 1);
    Store().WriteInteger("Mapping", "EstCadre", 3);
    Store().WriteInteger("Mapping", "CouleurFond", -1);
    Store().WriteString("MappingColonnePolice", "Taille", "0");
    Store().WriteString("MappingLignePolice", "Nom", "Arial");

    const CPresentationMapping mapping;
    const CPresentationMappingLigne& lignes = mapping.GetPointSet(CPresentationMapping::kRowPoints);
    const CPresentationMappingLigne& colonnes = mapping.GetPointSet(CPresentationMapping::kColumnPoints);
    EXPECT_EQ(lignes.GetTailleSymbole(), 8);
    EXPECT_EQ(colonnes.GetTailleSymbole(), 8);
    EXPECT_EQ(lignes.GetTypeSymbole(), 1);
    EXPECT_EQ(colonnes.GetTypeSymbole(), 2);
    EXPECT_FALSE(lignes.GetEstLibelleVisible());
    EXPECT_EQ(colonnes.GetCouleur(), 0x12345678u);
    EXPECT_TRUE(mapping.GetEstGrille());
    EXPECT_TRUE(mapping.GetEstCadre());
    EXPECT_EQ(mapping.GetCouleurFond(), 0xFFFFFFFFu);
    EXPECT_EQ(colonnes.GetLabelFont().GetTaille(), 10.0);
    EXPECT_EQ(lignes.GetLabelFont().GetNom(), "Arial");
    EXPECT_EQ(colonnes.GetLabelFont().GetNom(), "Times New Roman");
}

TEST_F(PresentationMappingTest, SymbolSizesAtTheirBoundsAreKept)
{
    Store().WriteInteger("MappingLigne", "TailleSymbole", 2);
    Store().WriteInteger("MappingColonne", "TailleSymbole", 30);
    Store().WriteInteger("MappingLigne", "TypeSymbole", 0);
    Store().WriteInteger("MappingColonne", "TypeSymbole", 8);
    const CPresentationMapping mapping;
    EXPECT_EQ(mapping.GetPointSet(CPresentationMapping::kRowPoints).GetTailleSymbole(), 2);
    EXPECT_EQ(mapping.GetPointSet(CPresentationMapping::kColumnPoints).GetTailleSymbole(), 30);
    EXPECT_EQ(mapping.GetPointSet(CPresentationMapping::kRowPoints).GetTypeSymbole(), 0);
    EXPECT_EQ(mapping.GetPointSet(CPresentationMapping::kColumnPoints).GetTypeSymbole(), 8);
}

CPresentationMappingLigne PointSet(std::int16_t symbole, std::int32_t taille, std::uint32_t couleur, bool libelle,
                                   const char* police)
{
    CPresentationMappingLigne points;
    CPoliceAna font;
    font.SetNom(police);
    font.SetTaille(7.5);
    points.SetLabelFont(font);
    points.SetTypeSymbole(symbole);
    points.SetTailleSymbole(taille);
    points.SetCouleur(couleur);
    points.SetEstLibelleVisible(libelle);
    return points;
}

TEST_F(PresentationMappingTest, AWrittenMapIsTheNextNewMap)
{
    CPresentationMapping ecrit;
    CPoliceAna legende;
    legende.SetGras(true);
    legende.SetCouleur(0x00FF00);
    ecrit.SetLegendFont(legende);
    ecrit.SetEstCadre(false);
    ecrit.SetEstAxe(false);
    ecrit.SetEstCoordonnee(false);
    ecrit.SetEstGrille(true);
    ecrit.SetCouleurFond(0x202020);
    ecrit.SetCouleurAvant(0x303030);
    ecrit.SetPointSet(CPresentationMapping::kRowPoints, PointSet(5, 12, 0x0000AA, true, "Arial"));
    ecrit.SetPointSet(CPresentationMapping::kColumnPoints, PointSet(7, 20, 0xAA0000, false, "Verdana"));
    ASSERT_FALSE(ecrit == CPresentationMapping());

    CRegistre::WritePresentationMapping(ecrit);
    EXPECT_EQ(Store().ReadString("MappingLignePolice", "Nom"), "Arial");
    EXPECT_EQ(Store().ReadString("MappingLegende", "Gras"), "1");
    const CPresentationMapping relu;
    EXPECT_EQ(relu, ecrit);

    CPresentationMapping affecte;
    affecte = ecrit;
    EXPECT_EQ(affecte, ecrit);
}

} // namespace
