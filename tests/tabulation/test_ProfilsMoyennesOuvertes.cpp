// Crossed mean profiles and open-question profiles on the ten interviews of
// ProfileTestSupport.h; every expected number and text is read by hand from its table.
#include "ProfileTestSupport.h"
#include "app/IdName.h"
#include "recodes/AppliquerChampEtude.h"
#include "tabulation/Fusion.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace profile_test;

const std::vector<Calc> kMeans = {{0, "Moyenne"}, {2, "Nbre de réponses"}, {10, "Significativité"}};

class ProfilsMoyennesOuvertesTest : public ProfileTest {
protected:
    std::unique_ptr<CTraitement> Means(const CProfil& rows, const CProfil& numerics,
                                       const std::vector<Calc>& calcs, bool total) {
        auto request =
            Request(CTraitement::kProfilsCroisesMoyenne, CTraitement::kAxeProfilFermees, rows,
                    CTraitement::kAxeProfilNumeriques, &numerics, calcs, CTypeFusion::kSeparateTables);
        request->SetTotalAxe(CTraitement::kLignes, total ? 1 : 0);
        return request;
    }

    std::unique_ptr<CTraitement> Open(const CProfil& questions) {
        return Request(CTraitement::kOuvertesProfils, CTraitement::kAxeProfilOuvertes, questions,
                       CTraitement::kAxeIndefini, nullptr, {}, 1);
    }

    // The texts of the table, row by row.
    static std::vector<std::vector<std::string>> Texts(const CTableau& table) {
        std::vector<std::vector<std::string>> texts;
        for (int i = 0; i < table.RowCount(); ++i) {
            texts.emplace_back();
            for (int j = 0; j < table.ColumnCount(); ++j)
                texts.back().push_back(table.GetTexte(static_cast<std::int32_t>(table.GetValeur(i, j))));
        }
        return texts;
    }
    static std::vector<std::string> RowLabels(const CTableau& table) {
        std::vector<std::string> labels;
        for (int i = 0; i < table.RowCount(); ++i)
            labels.push_back(table.GetLibelleLigne(0, i));
        return labels;
    }
};

// ---- Crossed mean profiles ----

// MONTANT within SEXE: men 10, 20, 30 (9 not asked); women 40, 50 and a non-response (6), 8 not
// asked. Within AGE: young 10, 50, 70; middle 20 (6 non-response, 9 not asked); senior 40.
// DUREE within SEXE: men 5, 15; women 25, 35, 45, 65. Within AGE: young 5, 35, 55; middle 15,
// 45; senior 25, 65. The Total row takes every value: MONTANT 10 ... 70 (six values), DUREE the
// seven values. The base is the largest number of units crossed: DUREE by AGE, 7.
TEST_F(ProfilsMoyennesOuvertesTest, MeansOfEachNumericQuestionWithinEachModalityAndTheTotalLast) {
    CRegistre::SetIsTotalBefore(true); // the Total row comes last all the same
    const std::vector<CTableau*> tables =
        RunQuietly(Means(Profile({{"SEXE", {1, 2}}, {"AGE", {1, 2, 3}}}),
                         Profile({{"MONTANT", {}}, {"DUREE", {}}}), kMeans, true));
    ASSERT_EQ(tables.size(), 3u);
    ExpectTable(*tables[0],
                {{20, 10}, {45, 42.5}, {130.0 / 3, 95.0 / 3}, {20, 30}, {40, 45}, {220.0 / 6, 35}}, "means");
    ExpectTable(*tables[1], {{3, 2}, {2, 4}, {3, 3}, {1, 2}, {1, 2}, {6, 7}}, "numbers of answers");
    EXPECT_EQ(tables[2]->GetValeur(5, 0), kMissing);
    EXPECT_EQ(tables[2]->GetValeur(5, 1), kMissing);
    EXPECT_EQ(tables[0]->title, "Profils (Moyenne)");
    const CTableau& table = *tables[0];
    EXPECT_EQ(table.base, 7);
    EXPECT_EQ(table.ColumnHeaderLevels(), 1);
    EXPECT_EQ(table.RowHeaderLevels(), 2);
    EXPECT_EQ(table.GetLibelleLigne(0, 0), Caption("SEXE"));
    EXPECT_EQ(table.GetLibelleLigne(1, 1), "Femme");
    EXPECT_EQ(table.GetLibelleLigne(0, 2), Caption("AGE"));
    EXPECT_EQ(table.GetLibelleLigne(0, 5), Total(0));
    EXPECT_EQ(table.GetLibelleColonne(0, 1), Caption("DUREE"));
    EXPECT_EQ(table.GetFusionLignes()->GetFusion(1 + 0, 0), 1);
    EXPECT_EQ(table.GetFusionLignes()->GetFusion(1 + 2, 0), 2);
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(1 + 5, 0),
              1); // the Total's label over both header columns
    EXPECT_EQ(tables[0]->GetMarque(0, 0), CTableauBase::kMarqueReel);
    EXPECT_EQ(tables[1]->GetMarque(0, 0), CTableauBase::kMarqueEffectif);
    EXPECT_EQ(tables[2]->GetMarque(0, 0), CTableauBase::kMarqueSignificativite);
}

TEST_F(ProfilsMoyennesOuvertesTest, MeanProfilesSplitIntoMeanTablesPerPair) {
    auto request = Means(Profile({{"SEXE", {1, 2}}, {"AGE", {1, 2, 3}}}),
                         Profile({{"MONTANT", {}}, {"DUREE", {}}}), {{0, "Moyenne"}}, true);
    request->mergeOptions.EstTableauParLigne = 1;
    request->mergeOptions.EstTableauParColonne = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 4u);
    const std::vector<std::pair<const char*, const char*>> order = {
        {"SEXE", "MONTANT"}, {"AGE", "MONTANT"}, {"SEXE", "DUREE"}, {"AGE", "DUREE"}};
    for (std::size_t t = 0; t < order.size(); ++t) {
        EXPECT_EQ(tables[t]->title, Caption(order[t].first) + " x " + Caption(order[t].second));
        EXPECT_EQ(tables[t]->GetTraitement()->type, CTraitement::kTableauMoyenne);
    }
    // A mean table's Total is over the units that answered the row question: 10 ... 50.
    ExpectTable(*tables[0], {{20}, {45}, {30}}, "Sexe x Montant");
}

TEST_F(ProfilsMoyennesOuvertesTest, AMeanProfileOfAQuestionThatCannotBeReadMakesNoTable) {
    const std::vector<CTableau*> tables =
        Run(Means(Profile({{"SEXE", {1, 2}}, {"LIEN", {1, 2}}}), Profile({{"MONTANT", {}}}), kMeans, true));
    EXPECT_TRUE(tables.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
}

TEST_F(ProfilsMoyennesOuvertesTest, AMeanProfileNamingAClosedQuestionAsNumericIsRefused) {
    const std::vector<CTableau*> tables =
        Run(Means(Profile({{"SEXE", {1, 2}}}), Profile({{"AGE", {}}}), kMeans, false));
    EXPECT_TRUE(tables.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message, Message(StringTable::kProfilQuestionNonNumerique, {"AGE"}));
}

// ---- Open-question profiles ----

// Interviews that wrote something: 1 (Bien), 2 (Trop cher), 4 (Rapide, Merci), 6 (Lent) and 8
// (Parfait).
TEST_F(ProfilsMoyennesOuvertesTest, OneRowPerInterviewThatWroteAnAnswer) {
    const std::vector<CTableau*> tables = RunQuietly(Open(Profile({{"AVIS", {}}, {"REMARQUE", {}}})));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    EXPECT_EQ(RowLabels(table),
              (std::vector<std::string>{"Intvw 1", "Intvw 2", "Intvw 4", "Intvw 6", "Intvw 8"}));
    EXPECT_EQ(Texts(table),
              (std::vector<std::vector<std::string>>{
                  {"Bien", ""}, {"", "Trop cher"}, {"Rapide", "Merci"}, {"Lent", ""}, {"Parfait", ""}}));
    EXPECT_EQ(table.GetValeur(1, 0), 0); // the empty text
    EXPECT_EQ(table.GetTexte(0), "");
    EXPECT_EQ(table.GetMarque(0, 0), CTableauBase::kMarqueTexte);
    EXPECT_EQ(table.GetMarque(0, 1), CTableauBase::kMarqueTexte);
    EXPECT_EQ(table.GetLibelleColonne(0, 0), Caption("AVIS"));
    EXPECT_EQ(table.GetLibelleColonne(0, 1), Caption("REMARQUE"));
    EXPECT_EQ(table.base, 5);
    EXPECT_EQ(table.title, "Profils");
    EXPECT_EQ(table.DonnerTexteCellule(1 + 2, 1 + 1), "Merci");
}

TEST_F(ProfilsMoyennesOuvertesTest, InterviewsThatWeighNothingHaveNoRow) {
    ASSERT_EQ(CreerChampsEtudeParModalite(Named("SEXE"), context), 2);
    std::vector<std::unique_ptr<CIdName>> fields;
    ASSERT_TRUE(context.DonnerListeChampsEtude(fields));
    std::int32_t men = -1;
    for (const auto& field : fields)
        if (field->name == "Homme")
            men = field->id;
    ASSERT_NE(men, -1);
    ui->shown.clear();
    auto request = Open(Profile({{"AVIS", {}}, {"REMARQUE", {}}}));
    request->studyFieldId = men;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(RowLabels(*tables[0]), (std::vector<std::string>{"Intvw 1", "Intvw 2"}));
    EXPECT_EQ(tables[0]->base, 2);
}

TEST_F(ProfilsMoyennesOuvertesTest, TablesPerLineAreTitledAfterTheRequestAndTheirQuestion) {
    auto request = Open(Profile({{"AVIS", {}}, {nullptr, {}}, {"REMARQUE", {}}}));
    request->title = "Verbatims";
    request->mergeOptions.EstTableauParLigne = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->title, "Verbatims - " + Caption("AVIS"));
    EXPECT_EQ(tables[1]->title, "Verbatims - " + Caption("REMARQUE"));
    EXPECT_EQ(RowLabels(*tables[0]), (std::vector<std::string>{"Intvw 1", "Intvw 4", "Intvw 6", "Intvw 8"}));
    EXPECT_EQ(RowLabels(*tables[1]), (std::vector<std::string>{"Intvw 2", "Intvw 4"}));
    EXPECT_EQ(tables[1]->ColumnCount(), 1);
}

TEST_F(ProfilsMoyennesOuvertesTest, SeparatorsGiveOneTablePerGroup) {
    const std::vector<CTableau*> tables =
        RunQuietly(Open(Profile({{"AVIS", {}}, {nullptr, {}}, {"REMARQUE", {}}})));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->title, "Profils");
    EXPECT_EQ(tables[1]->GetLibelleColonne(0, 0), Caption("REMARQUE"));
    EXPECT_EQ(tables[1]->base, 2);
}

TEST_F(ProfilsMoyennesOuvertesTest, AnOpenQuestionThatCannotBeReadMakesNoTable) {
    const std::vector<CTableau*> tables = Run(Open(Profile({{"AVIS", {}}, {"PRENOM", {}}})));
    EXPECT_TRUE(tables.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_FALSE(ui->ShownTexts()[0].empty());
}

} // namespace
