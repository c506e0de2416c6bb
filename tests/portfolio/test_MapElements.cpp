#include "portfolio/ElementDossier.h"
#include "portfolio/EnregistrerClassesDossier.h"
#include "portfolio/PortfolioArchive.h"
#include "statistics/Dendogramme.h"
#include "statistics/Mapping.h"
#include "statistics/MappingSource.h"
#include "support/SettingsFixture.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// An analysis's side of a map: labels, and the coordinates of axis 1 that colour its points.
class AnalysisSource : public CMappingSource {
public:
    std::vector<std::string> rows{"Paris", "Lyon", "Nantes"};
    std::vector<std::string> columns{"Oui", "Non"};
    std::string DonnerLibelleLigne(std::int32_t i) const override {
        return rows.at(static_cast<std::size_t>(i));
    }
    std::string DonnerLibelleColonne(std::int32_t i) const override {
        return columns.at(static_cast<std::size_t>(i));
    }
    std::vector<double> DonnerCoordonnees(int set, int axe) const override {
        if (set == 0 && axe == 0)
            return {-10.0, 0.0, 10.0};
        return {};
    }
};

class MapElementTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        EnregistrerClassesDossier();
    }
};

// The portfolio's copy of a map needs nothing of the analysis once made: the analysis's
// coordinates and source may go. Colouring by a question, which belongs to the survey, is not
// kept.
TEST_F(MapElementTest, TheElementKeepsAMapThatOutlivesItsAnalysis) {
    auto source = std::make_unique<AnalysisSource>();
    auto rows = std::make_unique<std::vector<double>>(std::vector<double>{-10.0, 1.0, 0.0, 2.0, 10.0, 3.0});
    auto columns = std::make_unique<std::vector<double>>(std::vector<double>{0.5, -0.5, -0.5, 0.5});
    CMapping analysis(2, 0, 1, source.get());
    analysis.nom = "Mapping Axe 1 x 2";
    analysis.coordonneesLignes = rows->data();
    analysis.coordonneesColonnes = columns->data();
    analysis.nombreLignes = 3;
    analysis.nombreColonnes = 2;
    analysis.proprietaire = source.get();
    analysis.brushing[0].mode = CParamBrushing::kCoordonnees;
    analysis.sizing[1].mode = CParamBrushing::kQuestion;

    CElementDossier element(analysis);
    source.reset();
    rows.reset();
    columns.reset();

    EXPECT_EQ(element.type, CElementDossier::kMapping);
    EXPECT_EQ(element.name, "Mapping Axe 1 x 2");
    CMapping* map = element.GetMapping();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->proprietaire, nullptr);
    ASSERT_EQ(map->DonnerNombrePoints(0), 3);
    ASSERT_EQ(map->DonnerNombrePoints(1), 2);
    double x = 0.0;
    double y = 0.0;
    map->DonnerPoint(0, 2, x, y);
    EXPECT_EQ(x, 10.0);
    EXPECT_EQ(y, 3.0);
    map->DonnerPoint(1, 1, x, y);
    EXPECT_EQ(x, -0.5);
    EXPECT_EQ(y, 0.5);
    EXPECT_EQ(map->DonnerLibelle(0, 1), "Lyon");
    EXPECT_EQ(map->DonnerLibelle(1, 0), "Oui");
    // -10, 0, 10: mean 0, s = 8.16; ±10 lie within two deviations: 10 mixes grey and red by
    // 10 / 16.33 = 0.612, red 127 + 128·0.612 = 205, green and blue 127 - 127·0.612 = 49.
    EXPECT_EQ(map->CalculerCouleurs(0), (std::vector<std::uint32_t>{0xCD3131, 0x7F7F7F, 0x3131CD}));
    EXPECT_EQ(map->sizing[1].mode, CParamBrushing::kAucun);
    EXPECT_EQ(map->sizing[1].question, nullptr);
}

// A map keeps only its node in a stream: its type, depth and name, and no table.
TEST_F(MapElementTest, AMapComesBackFromAStreamAsItsName) {
    AnalysisSource source;
    std::vector<double> rows{1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
    CMapping analysis(2, 0, 1, &source);
    analysis.nom = "Mapping Axe 1 x 2";
    analysis.coordonneesLignes = rows.data();
    analysis.nombreLignes = 3;
    CElementDossier element(analysis);
    element.depth = 1;
    const std::vector<std::uint8_t> stream = PortfolioArchive::EcrirePressePapiers({&element});
    std::vector<std::unique_ptr<CElementDossier>> read;
    ASSERT_TRUE(PortfolioArchive::LirePressePapiers(stream, read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->type, CElementDossier::kMapping);
    EXPECT_EQ(read[0]->name, "Mapping Axe 1 x 2");
    EXPECT_EQ(read[0]->GetMapping(), nullptr);
    EXPECT_EQ(read[0]->GetTableau(), nullptr);
}

// A dendrogram element owns its tree and is named after its title; in a stream it keeps its
// node only, like a map.
TEST_F(MapElementTest, ADendrogramComesBackFromAStreamAsItsName) {
    auto dendogramme = std::make_unique<CDendogramme>();
    dendogramme->titre = "Dendrogramme";
    dendogramme->AjouterNoeudArbre(std::make_unique<CClassificationGroupe>());
    CDendogramme* tree = dendogramme.get();
    CElementDossier element(std::move(dendogramme));
    EXPECT_EQ(element.type, CElementDossier::kDendogramme);
    EXPECT_EQ(element.name, "Dendrogramme");
    EXPECT_EQ(element.GetDendogramme(), tree);
    EXPECT_FALSE(element.EstTableau());
    const std::vector<std::uint8_t> stream = PortfolioArchive::EcrirePressePapiers({&element});
    std::vector<std::unique_ptr<CElementDossier>> read;
    ASSERT_TRUE(PortfolioArchive::LirePressePapiers(stream, read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->type, CElementDossier::kDendogramme);
    EXPECT_EQ(read[0]->name, "Dendrogramme");
    EXPECT_EQ(read[0]->GetDendogramme(), nullptr);
    EXPECT_EQ(read[0]->GetTableau(), nullptr);
}

} // namespace
