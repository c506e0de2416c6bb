// A portfolio holding a dictionary and a segment inventory of an open question: saved, reopened,
// and computed again through the dispatcher from the requests they keep, even with the lexical
// cache files gone.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PortfolioTestSupport.h"
#include "app/StringTable.h"
#include "openanswers/EnregistrerOuvertes.h"
#include "portfolio/PortfolioArchive.h"
#include "portfolio/RecalculDossier.h"

namespace {

constexpr const char* kOpenSurvey = R"(
questionnaire "Avis" language=fr
language 1036 fr "Français"
question 1 AVIS open
  caption fr "Votre avis"
records
Cle1,1;1
1,"Très bon produit, livraison rapide."
2,"Bon produit mais livraison lente"
3,""
4,"livraison rapide, bon produit"
end
)";

class OpenAnswerPortfolioTest : public portfolio_test::PortfolioTest {
protected:
    void SetUp() override {
        PortfolioTest::SetUp();
        EnregistrerOuvertes();
    }
};

void ExpectSameTable(const CTableau& again, const CTableau& direct) {
    ASSERT_EQ(again.RowCount(), direct.RowCount());
    ASSERT_EQ(again.ColumnCount(), direct.ColumnCount());
    for (std::int32_t r = 0; r < direct.RowCount(); ++r) {
        EXPECT_EQ(again.GetLibelleLigne(0, r), direct.GetLibelleLigne(0, r)) << r;
        EXPECT_EQ(again.GetValeur(r, 0), direct.GetValeur(r, 0)) << r;
    }
    EXPECT_EQ(again.title, direct.title);
    EXPECT_EQ(again.base, direct.base);
}

TEST_F(OpenAnswerPortfolioTest, DictionaryAndSegmentsComputedAgainWhenReopened) {
    Open(kOpenSurvey);
    const std::unique_ptr<CTableau> dictionary =
        Compute("type dictionnaire\nlignes AVIS\nfrequence-minimum 2\ntri frequence\ntitre Dictionnaire\n");
    const std::unique_ptr<CTableau> segments = Compute("type segments\nlignes AVIS\ntri longueur\ntitre Segments\n");
    ASSERT_TRUE(dictionary && segments);
    // By hand: bon 3, livraison 3, produit 3, rapide 2; segments «bon produit» 3, «livraison
    // rapide» 2.
    ASSERT_EQ(dictionary->RowCount(), 4);
    EXPECT_EQ(dictionary->GetLibelleLigne(0, 3), "rapide");
    EXPECT_EQ(portfolio_test::Cell(*dictionary, "livraison", "Effectif"), 3);
    EXPECT_EQ(portfolio_test::Cell(*segments, "bon produit", "Effectif"), 3);
    EXPECT_EQ(portfolio_test::Cell(*segments, "livraison rapide", "Effectif"), 2);

    std::vector<std::unique_ptr<CElementDossier>> elements;
    elements.push_back(std::make_unique<CElementDossier>(*dictionary));
    elements.push_back(std::make_unique<CElementDossier>(*segments));
    Message error;
    ASSERT_TRUE(PortfolioArchive::Enregistrer(FilePath("ouvertes.dos"), portfolio_test::Pointers(elements), error))
        << StringTable::Format(error);
    std::filesystem::remove_all(context.DonnerRepertoireInversion());

    std::vector<std::unique_ptr<CElementDossier>> read;
    int version = 0;
    ASSERT_TRUE(PortfolioArchive::Charger(FilePath("ouvertes.dos"), read, version, error)) << StringTable::Format(error);
    ASSERT_EQ(read.size(), 2u);
    RecalculDossier recalcul(context);
    for (const auto& element : read)
        ASSERT_TRUE(recalcul.RecalculerElement(*element));
    EXPECT_TRUE(recalcul.AucunEchec());
    ExpectSameTable(*read[0]->GetTableau(), *dictionary);
    ExpectSameTable(*read[1]->GetTableau(), *segments);
    EXPECT_EQ(read[0]->GetTableau()->GetTraitement()->type, CTraitement::kOuvertesDictionnaire);
    EXPECT_EQ(read[1]->GetTableau()->GetTraitement()->type, CTraitement::kOuvertesSegments);
    // Computed again, not read from the file: the engine wrote its caches anew.
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(context.DonnerRepertoireInversion()) / "Sgm1"));
}

} // namespace
