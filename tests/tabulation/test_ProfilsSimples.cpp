// Simple profiles, statistical profiles and comparisons of modalities, and the profiles that
// cannot be computed, on the ten interviews of ProfileTestSupport.h; every expected number is
// counted by hand from its table.
#include "ProfileTestSupport.h"
#include "app/ChampEtude.h"
#include "app/StringTable.h"
#include "tabulation/Fusion.h"
#include "tabulation/MatriceCreuse.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace profile_test;

const std::vector<Calc> kFlat = {{0, "Effectifs"}, {1, "Pourcentage"}};

class ProfilsSimplesTest : public ProfileTest {
protected:
    std::unique_ptr<CTraitement> Simple(const CProfil& rows, bool total) {
        auto request = Request(CTraitement::kProfilsSimples, CTraitement::kAxeProfilFermees, rows,
                               CTraitement::kAxeAucun, nullptr, kFlat, 1);
        request->SetTotalAxe(CTraitement::kLignes, total ? 1 : 0);
        return request;
    }

    std::unique_ptr<CTraitement> Comparison(const CProfil& rows, std::int16_t layout) {
        auto request = Request(CTraitement::kComparaisonModalites, CTraitement::kAxeProfilFermees, rows,
                               CTraitement::kAxeAucun, nullptr, kFlat, layout);
        request->SetCalculsColonnes(Calculations({{0, "Moyenne"}}));
        return request;
    }

    // A study field given by a formula: the kernels cannot weigh its units.
    std::int32_t UnweighableField() {
        CChampEtude formula;
        formula.id = 44;
        formula.name = "Jeunes";
        formula.complexCondition = true;
        formula.complexConditionText = "MONTANT < 30";
        context.MettreAJourChampEtude(formula);
        return formula.id;
    }
};

// ---- Simple profiles ----

// SEXE: 8 answered (not 7 and 10), 4 men (1, 2, 3, 9) and 4 women. ACHAT: 8 answered (not 3 and
// 9): bread 4 (1, 4, 6, 7), milk 4 (1, 2, 5, 10), eggs 3 (4, 5, 8). The Total sums the counts and
// the percentages (TotalType 0).
TEST_F(ProfilsSimplesTest, QuestionsStackUnderTheirCaptionWithTheirTotal) {
    auto request = Simple(Profile({{"SEXE", {1, 2}}, {"ACHAT", {1, 2, 3}}}), true);
    request->mergeOptions.IsEmptyLinePerQuestion = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    const double m = kMissing;
    ExpectTable(
        table, {{m, m}, {4, 50}, {4, 50}, {8, 100}, {m, m}, {m, m}, {4, 50}, {4, 50}, {3, 37.5}, {11, 137.5}},
        "flat values");
    EXPECT_EQ(table.base, 8);
    EXPECT_EQ(table.title, "Profils");
    EXPECT_EQ(table.GetLibelleLigne(0, 0), Caption("SEXE"));
    EXPECT_EQ(table.GetLigneEnTete(0, 0)->heading, 1);
    EXPECT_EQ(table.GetLibelleLigne(0, 1), "Homme");
    EXPECT_EQ(table.GetLigneEnTete(0, 1)->heading, 0);
    EXPECT_EQ(table.GetLibelleLigne(0, 3), Total(0));
    EXPECT_EQ(table.GetLibelleLigne(0, 4), "");
    EXPECT_EQ(table.GetLibelleLigne(0, 5), Caption("ACHAT"));
    EXPECT_EQ(table.GetLibelleColonne(0, 1), "Pourcentage");
    EXPECT_EQ(table.GetMarque(1, 0), CTableauBase::kMarqueEffectif);
    EXPECT_EQ(table.GetMarque(1, 1), CTableauBase::kMarquePourcentage);
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(1 + 0, 1), 1); // caption lines span both columns
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(1 + 5, 1), 1);
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(1 + 1, 1), 0);
}

TEST_F(ProfilsSimplesTest, TheTotalOfEachQuestionComesFirstWhenTotalsStandBefore) {
    CRegistre::SetIsTotalBefore(true);
    const std::vector<CTableau*> tables =
        RunQuietly(Simple(Profile({{"SEXE", {1, 2}}, {"ACHAT", {1, 2, 3}}}), true));
    ASSERT_EQ(tables.size(), 1u);
    const double m = kMissing;
    ExpectTable(*tables[0],
                {{m, m}, {8, 100}, {4, 50}, {4, 50}, {m, m}, {11, 137.5}, {4, 50}, {4, 50}, {3, 37.5}},
                "flat values");
    EXPECT_EQ(tables[0]->GetLibelleLigne(0, 5), Total(0));
}

TEST_F(ProfilsSimplesTest, TablesPerLineGiveOneFlatTablePerQuestion) {
    auto request = Simple(Profile({{"SEXE", {1, 2}}, {nullptr, {}}, {"ACHAT", {3}}}), true);
    request->mergeOptions.EstTableauParLigne = 1;
    const std::vector<CTableau*> tables = RunQuietly(std::move(request));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0]->title, Caption("SEXE"));
    EXPECT_EQ(tables[0]->GetTraitement()->type, CTraitement::kTriSimple);
    ExpectTable(*tables[0], {{4, 50}, {4, 50}, {8, 100}}, "SEXE");
    // Only eggs are kept: the 3 units that bought eggs are all the respondents.
    EXPECT_EQ(tables[1]->title, Caption("ACHAT"));
    ExpectTable(*tables[1], {{3, 100}, {3, 100}}, "ACHAT");
}

TEST_F(ProfilsSimplesTest, ASeparatorBetweenTwoGroupsGivesTwoTables) {
    const std::vector<CTableau*> tables =
        RunQuietly(Simple(Profile({{"SEXE", {1, 2}}, {nullptr, {}}, {"ACHAT", {1, 2, 3}}}), false));
    ASSERT_EQ(tables.size(), 2u);
    const double m = kMissing;
    ExpectTable(*tables[0], {{m, m}, {4, 50}, {4, 50}}, "SEXE");
    ExpectTable(*tables[1], {{m, m}, {4, 50}, {4, 50}, {3, 37.5}}, "ACHAT");
}

TEST_F(ProfilsSimplesTest, AModalityChosenTwiceShowsTheSameNumbersTwice) {
    const std::vector<CTableau*> tables = RunQuietly(Simple(Profile({{"SEXE", {2, 1, 2}}}), true));
    ASSERT_EQ(tables.size(), 1u);
    const double m = kMissing;
    ExpectTable(*tables[0], {{m, m}, {4, 50}, {4, 50}, {4, 50}, {8, 100}}, "flat values");
}

TEST_F(ProfilsSimplesTest, AProfileOfFiveHundredQuestionsMakesOneTallTable) {
    const std::vector<CTableau*> tables =
        RunQuietly(Simple(Profile(std::vector<Line>(500, Line{"ACHAT", {1, 3}})), false));
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0]->RowCount(), 1500);
    EXPECT_EQ(tables[0]->GetValeur(1497, 0), kMissing);
    EXPECT_EQ(tables[0]->GetValeur(1499, 0), 3);
    EXPECT_EQ(tables[0]->GetValeur(1499, 1), 50); // 3 of the 6 units that bought bread or eggs
}

// ---- Statistical profiles ----

// MONTANT: 10, 20, 30, 40, 50, 70 and one non-response (6): mean 220 / 6, 7 units in all.
// DUREE: 5, 15, ..., 65 (seven values): mean 35.
TEST_F(ProfilsSimplesTest, StatisticalProfilesGiveOneLinePerNumericQuestion) {
    const std::vector<Calc> calcs = {
        {0, "Moyenne"}, {2, "Nbre de réponses"}, {3, "Nbre de 'Non-réponses'"}, {5, "Minimum"}};
    const std::vector<CTableau*> tables = RunQuietly(
        Request(CTraitement::kProfilsStatistiques, CTraitement::kAxeProfilNumeriques,
                Profile({{"MONTANT", {}}, {"DUREE", {}}}), CTraitement::kAxeAucun, nullptr, calcs, 1));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    ExpectTable(table, {{220.0 / 6, 6, 1, 10}, {35, 7, 0, 5}}, "statistics");
    EXPECT_EQ(table.base, 7);
    EXPECT_EQ(table.GetLibelleLigne(0, 1), Caption("DUREE"));
    EXPECT_EQ(table.GetLibelleColonne(0, 1), "Nbre de réponses");
    EXPECT_EQ(table.GetMarque(0, 0), CTableauBase::kMarqueReel);
    EXPECT_EQ(table.GetMarque(0, 1), CTableauBase::kMarqueEffectif);
    EXPECT_EQ(table.GetMarque(0, 2), CTableauBase::kMarqueEffectif);
}

TEST_F(ProfilsSimplesTest, StatisticalProfilesSplitAtSeparators) {
    const std::vector<CTableau*> tables =
        RunQuietly(Request(CTraitement::kProfilsStatistiques, CTraitement::kAxeProfilNumeriques,
                           Profile({{"MONTANT", {}}, {nullptr, {}}, {"DUREE", {}}}), CTraitement::kAxeAucun,
                           nullptr, {{0, "Moyenne"}}, 1));
    ASSERT_EQ(tables.size(), 2u);
    ExpectTable(*tables[1], {{35}}, "DUREE");
}

// ---- Comparison of modalities ----

// NOTE1: 8 answered: Mauvais 2 (3, 7), Moyen 3 (2, 6, 10), Bon 3 (1, 4, 8); mean 17 / 8.
// NOTE2: 7 answered: Mauvais 2 (5, 7), Moyen 3 (1, 2, 8), Bon 2 (3, 6); mean 2.
TEST_F(ProfilsSimplesTest, ComparisonByLinesGivesEachQuestionALinePerCalculation) {
    const std::vector<CTableau*> tables = RunQuietly(
        Comparison(Profile({{"NOTE1", {1, 2, 3}}, {"NOTE2", {1, 2, 3}}}), CTypeFusion::kBlocksInRows));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    const double m = kMissing;
    const double seventh = 100.0 / 7;
    ExpectTable(
        table,
        {{2, 3, 3, 17.0 / 8}, {25, 37.5, 37.5, m}, {2, 3, 2, 2}, {2 * seventh, 3 * seventh, 2 * seventh, m}},
        "values");
    EXPECT_EQ(table.base, 8);
    EXPECT_EQ(table.MarkerMode(), CTableauBase::kMarqueParCellule);
    EXPECT_EQ(table.GetMarque(0, 0), CTableauBase::kMarqueEffectif);
    EXPECT_EQ(table.GetMarque(1, 2), CTableauBase::kMarquePourcentage);
    EXPECT_EQ(table.GetMarque(0, 3), CTableauBase::kMarqueReel);
    EXPECT_EQ(table.ColumnHeaderLevels(), 1);
    ASSERT_EQ(table.RowHeaderLevels(), 2);
    EXPECT_EQ(table.GetLibelleLigne(0, 0), Caption("NOTE1"));
    EXPECT_EQ(table.GetLibelleLigne(1, 1), "Pourcentage");
    EXPECT_EQ(table.GetLibelleLigne(0, 2), Caption("NOTE2"));
    EXPECT_EQ(table.GetLibelleColonne(0, 0), "Mauvais");
    EXPECT_EQ(table.GetLibelleColonne(0, 3), "Moyenne");
    const CFusion& rows = *table.GetFusionLignes();
    EXPECT_EQ(rows.GetFusion(1 + 0, 0), 1); // each caption over its two lines
    EXPECT_EQ(rows.GetFusion(1 + 2, 0), 1);
    EXPECT_EQ(rows.GetFusion(1 + 0, 2 + 3), 1); // each mean over the two lines of its question
    EXPECT_EQ(rows.GetFusion(1 + 2, 2 + 3), 1);
    // Thin lines between the lines of a question, over the modality columns; normal between questions.
    const CMatriceCreuse& lines = *table.GetBordures();
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(lines.GetMarqueColonne(1 + 1, 2 + k), 1) << k;
        EXPECT_EQ(lines.GetMarqueColonne(1 + 3, 2 + k), 1) << k;
        EXPECT_EQ(lines.GetMarqueColonne(1 + 2, 2 + k), 2) << k;
    }
}

TEST_F(ProfilsSimplesTest, ComparisonByColumnsGivesEachModalityAColumnPerCalculation) {
    const std::vector<CTableau*> tables = RunQuietly(
        Comparison(Profile({{"NOTE1", {1, 2, 3}}, {"NOTE2", {1, 2, 3}}}), CTypeFusion::kBlocksInColumns));
    ASSERT_EQ(tables.size(), 1u);
    const CTableau& table = *tables[0];
    const double seventh = 100.0 / 7;
    ExpectTable(table,
                {{2, 25, 3, 37.5, 3, 37.5, 17.0 / 8}, {2, 2 * seventh, 3, 3 * seventh, 2, 2 * seventh, 2}},
                "values");
    ASSERT_EQ(table.ColumnHeaderLevels(), 2);
    EXPECT_EQ(table.RowHeaderLevels(), 1);
    EXPECT_EQ(table.GetLibelleColonne(0, 2), "Moyen");
    EXPECT_EQ(table.GetLibelleColonne(1, 3), "Pourcentage");
    EXPECT_EQ(table.GetLibelleColonne(0, 6), "Moyenne");
    EXPECT_EQ(table.GetLibelleLigne(0, 1), Caption("NOTE2"));
    EXPECT_EQ(table.GetFusionColonnes()->GetFusion(0, 1 + 2), 1); // "Moyen" over its two columns
    EXPECT_EQ(table.GetFusionLignes()->GetFusion(0, 1 + 6), 1);   // "Moyenne" down both header lines
    const CMatriceCreuse& lines = *table.GetBordures();
    EXPECT_EQ(lines.GetMarqueLigne(2 + 0, 1 + 1), 1);
    EXPECT_EQ(lines.GetMarqueLigne(2 + 1, 1 + 5), 1);
    EXPECT_EQ(lines.GetMarqueLigne(2 + 0, 1 + 2), 2);
}

TEST_F(ProfilsSimplesTest, AQuestionOfFewerModalitiesLeavesTheOthersEmpty) {
    const std::vector<CTableau*> tables = RunQuietly(
        Comparison(Profile({{"NOTE1", {1, 2, 3}}, {"SEXE", {1, 2}}}), CTypeFusion::kBlocksInColumns));
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0]->GetValeur(1, 0), 4);
    EXPECT_EQ(tables[0]->GetValeur(1, 4), kMissing);
    EXPECT_EQ(tables[0]->GetValeur(1, 5), kMissing);
}

TEST_F(ProfilsSimplesTest, UnitsThatCannotBeWeighedStopTheProfileWithOneMessage) {
    const std::int32_t field = UnweighableField();
    std::vector<std::unique_ptr<CTraitement>> requests;
    requests.push_back(Comparison(Profile({{"NOTE1", {1, 2, 3}}, {"NOTE2", {1, 2, 3}}}), 1));
    requests.push_back(Simple(Profile({{"SEXE", {1, 2}}}), true));
    requests.push_back(Request(CTraitement::kProfilsStatistiques, CTraitement::kAxeProfilNumeriques,
                               Profile({{"MONTANT", {}}}), CTraitement::kAxeAucun, nullptr, {{0, "Moyenne"}},
                               1));
    for (auto& request : requests) {
        SCOPED_TRACE(request->type);
        request->studyFieldId = field;
        ui->shown.clear();
        EXPECT_TRUE(Run(std::move(request)).empty());
        const std::vector<std::string> texts = ui->ShownTexts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_NE(texts[0].find("'Jeunes'"), std::string::npos) << texts[0];
    }
}

// ---- Profiles that cannot be computed ----

TEST_F(ProfilsSimplesTest, AProfileNamingWhatTheSurveyLacksIsRefusedWithAMessageNamingIt) {
    CQuestionEtendue stranger(&context); // a question of no survey
    stranger.name = "ETRANGERE";
    stranger.type = 1;
    struct Case {
        const char* what;
        std::function<CProfil()> profile;
        std::int16_t type;
        Message expected;
    };
    const auto withCode = [this](std::int32_t code) {
        Modalities modalities = Pick("SEXE", {1});
        modalities[0]->code = code;
        CProfil profile;
        profile.Add(&Named("SEXE"), modalities);
        return profile;
    };
    const std::vector<Case> cases = {
        {"a modality the question lacks", [&] { return withCode(9); }, CTraitement::kProfilsSimples,
         Message(StringTable::kProfilModaliteAbsente, {"9", "SEXE"})},
        {"a question of no survey",
         [&] {
             CProfil profile = Profile({{"SEXE", {1}}});
             profile.Add(&stranger, Pick("SEXE", {1}));
             return profile;
         },
         CTraitement::kComparaisonModalites, Message(StringTable::kProfilQuestionAbsente, {"2"})},
        {"a numeric question among closed ones",
         [&] {
             return Profile({{"MONTANT", {}}});
         },
         CTraitement::kProfilsSimples, Message(StringTable::kProfilQuestionNonFermee, {"MONTANT"})},
        {"a closed question without modality",
         [&] {
             return Profile({{"SEXE", {}}});
         },
         CTraitement::kProfilsCroises, Message(StringTable::kProfilSansModalite, {"SEXE"})},
        {"separators only",
         [] {
             CProfil profile;
             profile.AddSeparator();
             profile.AddSeparator();
             return profile;
         },
         CTraitement::kProfilsCroises, Message(StringTable::kProfilSansQuestion)},
        {"no line at all", [] { return CProfil(); }, CTraitement::kProfilsSimples,
         Message(StringTable::kProfilSansQuestion)},
    };
    const CProfil columns = Profile({{"ACHAT", {1}}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui->shown.clear();
        const CProfil rows = c.profile();
        const bool crossed = c.type == CTraitement::kProfilsCroises;
        auto request = Request(c.type, CTraitement::kAxeProfilFermees, rows,
                               crossed ? CTraitement::kAxeProfilFermees : CTraitement::kAxeAucun,
                               crossed ? &columns : nullptr, kFlat, 1);
        EXPECT_TRUE(Run(std::move(request)).empty());
        ASSERT_EQ(ui->shown.size(), 1u);
        EXPECT_EQ(ui->shown[0].message, c.expected);
    }
}

TEST_F(ProfilsSimplesTest, EveryFaultIsNamedInOneMessage) {
    const CProfil rows = Profile({{"SEXE", {1}}, {"MONTANT", {}}});
    const CProfil columns = Profile({{"AVIS", {}}});
    const std::vector<CTableau*> tables =
        Run(Request(CTraitement::kProfilsCroises, CTraitement::kAxeProfilFermees, rows,
                    CTraitement::kAxeProfilFermees, &columns, kFlat, 1));
    EXPECT_TRUE(tables.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    const std::string text = ui->ShownTexts()[0];
    EXPECT_EQ(text, StringTable::Format(Message(StringTable::kProfilQuestionNonFermee, {"MONTANT"})) + "\n" +
                        StringTable::Format(Message(StringTable::kProfilQuestionNonFermee, {"AVIS"})));
}

TEST_F(ProfilsSimplesTest, NumericAndOpenProfilesTakeOnlyTheirKindOfQuestion) {
    const std::vector<Calc> calcs = {{0, "Moyenne"}};
    std::vector<CTableau*> tables =
        Run(Request(CTraitement::kProfilsStatistiques, CTraitement::kAxeProfilNumeriques,
                    Profile({{"MONTANT", {}}, {"SEXE", {}}}), CTraitement::kAxeAucun, nullptr, calcs, 1));
    EXPECT_TRUE(tables.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message, Message(StringTable::kProfilQuestionNonNumerique, {"SEXE"}));
    ui->shown.clear();
    tables = Run(Request(CTraitement::kOuvertesProfils, CTraitement::kAxeProfilOuvertes,
                         Profile({{"DUREE", {}}}), CTraitement::kAxeIndefini, nullptr, {}, 1));
    EXPECT_TRUE(tables.empty());
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message, Message(StringTable::kProfilQuestionNonOuverte, {"DUREE"}));
}

} // namespace
