// Flat, ranking, grouped, mixed and statistics tables computed end to end through the runner on a
// six-interview survey; every expected number is counted by hand from the table below.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Calcul.h"
#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "recodes/ModaliteGroupe.h"
#include "recodes/RecodageModalite.h"
#include "support/RecordingUserInterface.h"
#include "support/FixtureStudyTest.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Fusion.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

// CHOIX ranks up to three colours (the first answer is rank 1); NOTE is one closed answer whose
// modalities carry the values 1, 2 and 4; REVENU is a free number.
//
//   interview  CHOIX (ranks 1, 2, 3)   NOTE         REVENU
//   1          Rouge Vert Bleu         Bas (1)      10
//   2          Vert Rouge              Moyen (2)    20
//   3          Bleu                    Haut (4)     30
//   4          (not asked)             Moyen (2)    non-response
//   5          Vert Bleu Rouge         (not asked)  40
//   6          Rouge                   Haut (4)     (not asked)
constexpr const char* kColours = R"(
questionnaire "Couleurs" language=fr
language 1036 fr "Français"
question 1 CHOIX closed answers=3 ranking
  modality 1 fr "Rouge"
  modality 2 fr "Vert"
  modality 3 fr "Bleu"
question 2 NOTE closed
  modality 1 value=1 fr "Bas"
  modality 2 value=2 fr "Moyen"
  modality 3 value=4 fr "Haut"
question 3 REVENU numeric
records
Cle1,1;1,1;2,1;3,2;1,3;1
1,1,2,3,1,10
2,2,1,,2,20
3,3,,,3,30
4,,,,2,-999999.99
5,2,3,1,,40
6,1,,,3,
end
)";

constexpr double kMissing = CTableauBase::kValeurManquante;
constexpr double kTolerance = 1e-9;

using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;
using Calculations = std::vector<std::unique_ptr<CCalcul>>;

struct Calc {
    std::int32_t code;
    const char* label;
};

// A node of a grouping: the modality code it stands for, its caption and its group level.
struct Node {
    std::int32_t code;
    const char* caption;
    std::int16_t level;
};

class CalculsTrisTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kColours, "couleurs");
        if (HasFatalFailure())
            return;
        context.TotalType = 0;
        ui->shown.clear();
    }
    // Copies of the question's modalities at these indexes.
    static Modalities Chosen(const CQuestionEtendue& question, const std::vector<int>& indexes) {
        Modalities chosen;
        for (int i : indexes)
            chosen.push_back(std::make_unique<CModaliteEtendue>(*question.GetModaliteEtendue(i)));
        return chosen;
    }
    Modalities::value_type Total() const {
        return std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(0));
    }
    // A row entry that stands for a statistic line.
    Modalities::value_type Statistic(std::int32_t code, const std::string& label) {
        auto entry = std::make_unique<CModaliteEtendue>(&context);
        entry->code = code;
        entry->SetDefaultShortCaption(label);
        entry->calculationLine = true;
        return entry;
    }

    static Calculations Calcs(const std::vector<Calc>& calcs) {
        Calculations calculations;
        for (const Calc& c : calcs)
            calculations.push_back(std::make_unique<CCalcul>(c.code, c.label, true));
        return calculations;
    }

    // Rows kind 0 (the question and its lines) by no columns.
    std::unique_ptr<CTraitement> RowRequest(std::int16_t type, const std::string& question, const Modalities& rows,
                                            const std::vector<Calc>& calcs) {
        auto request = NewRequest(type, CTraitement::kAxeFermee);
        request->DefinirModalitesAxe(&Named(question), rows, CTraitement::kLignes);
        request->SetCalculsLignes(Calcs(calcs));
        return request;
    }

    // CHOIX read through a grouping of these nodes.
    std::unique_ptr<CTraitement> GroupedRequest(const std::vector<Node>& nodes, bool everyOccurrence,
                                                const std::vector<Calc>& calcs) {
        auto request = NewRequest(CTraitement::kTriRegroupement, CTraitement::kAxeRegroupement);
        request->DefinirRegroupementAxe(&Named("CHOIX"), CTraitement::kLignes);
        CRecodageModalite* grouping = request->GetRegroupementAxe(CTraitement::kLignes);
        grouping->ViderNoeuds();
        for (const Node& node : nodes)
            grouping->AjouterNoeud(std::make_unique<CModaliteGroupe>(&context, node.code, node.caption, node.level));
        grouping->SetEstCumule(everyOccurrence);
        request->SetCalculsLignes(Calcs(calcs));
        return request;
    }

    std::unique_ptr<CTraitement> StatisticsRequest(const std::vector<Calc>& calcs) {
        auto request = NewRequest(CTraitement::kStatistiques, CTraitement::kAxeNumerique);
        request->SetQuestionAxe(&Named("REVENU"), CTraitement::kLignes);
        request->SetCalculsLignes(Calcs(calcs));
        return request;
    }

    // Runs the request and answers its only table (null, with a test failure, when there is not
    // exactly one).
    CTableau* RunForOneTable(std::unique_ptr<CTraitement> request) {
        EXPECT_EQ(runner.Calculer(std::move(request)), 1);
        EXPECT_EQ(runner.GetNbTableaux(), 1) << (ui->ShownTexts().empty() ? "" : ui->ShownTexts().front());
        return runner.GetNbTableaux() == 1 ? runner.GetTableau(0) : nullptr;
    }

    CExecuteurTraitement runner{context};

private:
    static std::unique_ptr<CTraitement> NewRequest(std::int16_t type, std::int16_t rowKind) {
        auto request = std::make_unique<CTraitement>();
        request->type = type;
        request->title = "Requête";
        request->SetTypeAxe(CTraitement::kLignes, rowKind);
        request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeAucun);
        return request;
    }
};

void ExpectRow(const CTableau& table, int row, const std::vector<double>& expected) {
    ASSERT_EQ(table.ColumnCount(), static_cast<std::int32_t>(expected.size()));
    for (std::size_t j = 0; j < expected.size(); ++j)
        EXPECT_NEAR(table.GetValeur(row, static_cast<std::int32_t>(j)), expected[j], kTolerance)
            << "row " << row << ", column " << j;
}

void ExpectColumnLabels(const CTableau& table, const std::vector<std::string>& expected) {
    ASSERT_EQ(table.ColumnCount(), static_cast<std::int32_t>(expected.size()));
    for (std::size_t j = 0; j < expected.size(); ++j)
        EXPECT_EQ(table.GetLibelleColonne(0, static_cast<std::int32_t>(j)), expected[j]) << j;
}

// CHOIX answers: Rouge by interviews 1, 2, 5, 6; Vert by 1, 2, 5; Bleu by 1, 3, 5. Respondents 5
// (interview 4 was not asked), all interviews 6, answers of the kept modalities 10.
const std::vector<Calc> kFlatCalcs = {
    {0, "Effectifs"}, {1, "Pourcentage"}, {2, "Pourcentages cumulés"}, {4, "Taux d'importance"},
    {5, "Fréquence interviewé"}, {8, "Coefficient de pondération"}};

TEST_F(CalculsTrisTest, FlatTableShowsTheSelectedValuesOfEveryLineByHand) {
    const Modalities rows = [&] {
        Modalities r = Chosen(Named("CHOIX"), {0, 1, 2});
        r.push_back(Total());
        return r;
    }();
    CTableau* table = RunForOneTable(RowRequest(CTraitement::kTriSimple, "CHOIX", rows, kFlatCalcs));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->ColumnHeaderLevels(), 1);
    EXPECT_EQ(table->RowHeaderLevels(), 1);
    EXPECT_EQ(table->RowCount(), 4);
    EXPECT_EQ(table->MarkerMode(), CTableauBase::kMarqueParColonne);
    ExpectColumnLabels(*table, {"Effectifs", "Pourcentage", "Pourcentages cumulés", "Taux d'importance",
                                "Fréquence interviewé", "Coefficient de pondération"});
    EXPECT_EQ(table->GetLibelleLigne(0, 0), "Rouge");
    EXPECT_EQ(table->GetLibelleLigne(0, 2), "Bleu");
    EXPECT_EQ(table->GetLibelleLigne(0, 3), context.DonnerModaliteTotal(0)->GetShortCaption());
    const std::uint16_t markers[] = {0, 1, 1, 1, 1, 2};
    for (int j = 0; j < 6; ++j)
        EXPECT_EQ(table->GetMarque(0, j), markers[j]) << j;

    ExpectRow(*table, 0, {4, 80, 40, 40, 400.0 / 6, 1});
    ExpectRow(*table, 1, {3, 60, 70, 30, 50, 1});
    ExpectRow(*table, 2, {3, 60, 100, 30, 50, 1});
    // The Total line over the answers: their count, the sum of the percentages, no cumulative
    // percentage, 100 % of the answers, the respondents among all interviews, no mean weight.
    ExpectRow(*table, 3, {10, 200, kMissing, 100, 500.0 / 6, kMissing});
    EXPECT_EQ(table->base, 5);
    EXPECT_EQ(table->title, "Requête");
    ASSERT_NE(table->GetTraitement(), nullptr);
    EXPECT_EQ(table->GetTraitement()->type, CTraitement::kTriSimple);
}

TEST_F(CalculsTrisTest, FlatTotalLineOverAllInterviewsWhenTheOptionAsksForIt) {
    context.TotalType = 1;
    Modalities rows = Chosen(Named("CHOIX"), {0, 1, 2});
    rows.push_back(Total());
    CTableau* table = RunForOneTable(RowRequest(CTraitement::kTriSimple, "CHOIX", rows, {{0, "Effectifs"},
                                                                                         {1, "Pourcentage"}}));
    ASSERT_NE(table, nullptr);
    ExpectRow(*table, 3, {6, 100});
}

TEST_F(CalculsTrisTest, FlatTableWithoutCalculationHasNoColumn) {
    CTableau* table = RunForOneTable(RowRequest(CTraitement::kTriSimple, "CHOIX", Chosen(Named("CHOIX"), {0, 1}), {}));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->ColumnCount(), 0);
    EXPECT_EQ(table->RowCount(), 2);
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "Vert");
}

TEST_F(CalculsTrisTest, RankingOfThreePositionsGivesRankTotalAndMeanColumns) {
    // Rank 1 / 2 / 3: Rouge by 1 and 6 / 2 / 5; Vert by 2 and 5 / 1 / nobody; Bleu by 3 / 5 / 1.
    Modalities rows = Chosen(Named("CHOIX"), {0, 1, 2});
    rows.push_back(Total());
    CTableau* table = RunForOneTable(RowRequest(CTraitement::kTriClassement, "CHOIX", rows, {}));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RowCount(), 4);
    ExpectColumnLabels(*table, {"1", "2", "3", "Total", "Moyenne"});
    const std::uint16_t markers[] = {0, 0, 0, 0, 2};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(table->GetMarque(0, j), markers[j]) << j;
    ExpectRow(*table, 0, {2, 1, 1, 4, (2 * 1 + 1 * 2 + 1 * 3) / 4.0});
    ExpectRow(*table, 1, {2, 1, 0, 3, (2 * 1 + 1 * 2) / 3.0});
    ExpectRow(*table, 2, {1, 1, 1, 3, 2});
    ExpectRow(*table, 3, {5, 3, 2, 10, kMissing});
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "Vert");
    EXPECT_EQ(table->base, 5);
}

// Node A ("Chaud") over Rouge and Vert, a level below it.
const std::vector<Node> kWarm = {{0, "Chaud", 0}, {1, "Rouge", 1}, {2, "Vert", 1}};

TEST_F(CalculsTrisTest, GroupedFlatTableShowsEachNodeAtItsLevelWithItsMerges) {
    // Level 0: Chaud is given by interviews 1, 2, 5, 6 (4 respondents of 6 interviews; interview 3
    // gave only Bleu, in no group). Level 1: Rouge 4, Vert 3, 7 answers.
    CTableau* table = RunForOneTable(
        GroupedRequest(kWarm, false, {{0, "Effectifs"}, {1, "Pourcentage"}, {4, "Taux d'importance"}}));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->ColumnHeaderLevels(), 1);
    EXPECT_EQ(table->RowHeaderLevels(), 2);
    EXPECT_EQ(table->RowCount(), 3);
    ExpectColumnLabels(*table, {"Effectifs", "Pourcentage", "Taux d'importance"});
    EXPECT_EQ(table->GetMarque(0, 0), 0);
    EXPECT_EQ(table->GetMarque(0, 2), 1);

    EXPECT_EQ(table->GetLibelleLigne(0, 0), "Chaud");
    EXPECT_EQ(table->GetLibelleLigne(1, 0), "");
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "");
    EXPECT_EQ(table->GetLibelleLigne(1, 1), "Rouge");
    EXPECT_EQ(table->GetLibelleLigne(1, 2), "Vert");
    const CFusion* down = table->GetFusionLignes();
    const CFusion* across = table->GetFusionColonnes();
    ASSERT_NE(down, nullptr);
    ASSERT_NE(across, nullptr);
    EXPECT_EQ(down->GetFusion(1, 0), 2);   // Chaud covers the lines of Rouge and Vert
    EXPECT_EQ(across->GetFusion(1, 0), 1); // and reaches the right edge of the header
    EXPECT_EQ(down->GetFusion(2, 1), 0);
    EXPECT_EQ(across->GetFusion(2, 1), 0);
    EXPECT_EQ(across->GetFusion(0, 0), 1); // the header corner

    ExpectRow(*table, 0, {4, 100, 100});
    // Level 1 is measured against the 4 respondents and the 7 answers of the level.
    ExpectRow(*table, 1, {4, 100, 400.0 / 7});
    ExpectRow(*table, 2, {3, 75, 300.0 / 7});
    EXPECT_EQ(table->base, 4);
}

TEST_F(CalculsTrisTest, GroupedFlatTableCountsAUnitOnceOrPerAnswerAsTheGroupingSays) {
    // Interviews 1, 2 and 5 gave both Rouge and Vert, interview 6 Rouge only.
    struct Case {
        bool everyOccurrence;
        double warm;
    };
    for (const Case& c : {Case{false, 4}, Case{true, 7}}) {
        SCOPED_TRACE(c.everyOccurrence);
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(GroupedRequest(kWarm, c.everyOccurrence, {{0, "Effectifs"}})), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), 1);
        const CTableau& table = *fresh.GetTableau(0);
        EXPECT_EQ(table.GetValeur(0, 0), c.warm);
        EXPECT_EQ(table.GetValeur(1, 0), 4);
        EXPECT_EQ(table.GetValeur(2, 0), 3);
        EXPECT_EQ(table.base, 4); // respondents count once either way
    }
}

TEST_F(CalculsTrisTest, GroupingOfTopLevelNodesOnlyIsAFlatTableOfTheGroups) {
    CTableau* table = RunForOneTable(GroupedRequest({{1, "Rouge", 0}, {3, "Bleu", 0}}, false,
                                                    {{0, "Effectifs"}, {1, "Pourcentage"}}));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RowHeaderLevels(), 1);
    EXPECT_EQ(table->RowCount(), 2);
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "Bleu");
    // Respondents: every interview but 4 gave Rouge or Bleu.
    ExpectRow(*table, 0, {4, 80});
    ExpectRow(*table, 1, {3, 60});
    EXPECT_EQ(table->base, 5);
}

TEST_F(CalculsTrisTest, StatisticsTableListsTheCalculationsInTheirOrder) {
    // REVENU keeps 10, 20, 30, 40; interview 4 is a non-response, interview 6 was not asked.
    // Mean 25, variance (225 + 25 + 25 + 225) / 4 = 125, median the 2nd of 4 values, Gini
    // (-3 x 10 - 20 + 30 + 3 x 40) / (4 x 3 x 25) = 1/3.
    CTableau* table = RunForOneTable(StatisticsRequest({{13, "Indice de Gini"},
                                                        {2, "Nbre de réponses"},
                                                        {0, "Moyenne"},
                                                        {3, "Nbre de 'Non-réponses'"},
                                                        {9, "Variance"},
                                                        {10, "Médiane"},
                                                        {4, "Somme"}}));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RowCount(), 7);
    EXPECT_EQ(table->ColumnCount(), 1);
    EXPECT_EQ(table->MarkerMode(), CTableauBase::kMarqueParLigne);
    ExpectColumnLabels(*table, {" "});
    const std::vector<std::string> labels = {"Indice de Gini", "Nbre de réponses", "Moyenne",
                                             "Nbre de 'Non-réponses'", "Variance", "Médiane", "Somme"};
    const std::vector<double> values = {1.0 / 3, 4, 25, 1, 125, 20, 100};
    const std::vector<std::uint16_t> markers = {2, 0, 2, 0, 2, 2, 2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(table->GetLibelleLigne(0, i), labels[i]);
        EXPECT_NEAR(table->GetValeur(i, 0), values[i], kTolerance) << labels[i];
        EXPECT_EQ(table->GetMarque(i, 0), markers[i]) << labels[i];
    }
    EXPECT_EQ(table->base, 5); // the kept values and the non-response
}

TEST_F(CalculsTrisTest, MixedTableShowsStatisticLinesAcrossTheirRow) {
    // NOTE: Bas by interview 1, Moyen by 2 and 4, Haut by 3 and 6; 5 respondents. The values
    // 1, 2, 4, 2, 4 have mean 2.6 and variance (2.56 + 0.36 + 1.96 + 0.36 + 1.96) / 5 = 1.44.
    // The deviation line comes first and shares the code of Bas: it takes nothing from Bas.
    CQuestionEtendue& note = Named("NOTE");
    Modalities rows;
    rows.push_back(Statistic(1, "Ecart-type"));
    for (auto& modality : Chosen(note, {0, 1, 2}))
        rows.push_back(std::move(modality));
    rows.push_back(Statistic(0, "Moyenne"));
    rows.push_back(Statistic(2, "Nbre de réponses"));
    CTableau* table = RunForOneTable(
        RowRequest(CTraitement::kTraitementMixte, "NOTE", rows, {{0, "Effectifs"}, {1, "Pourcentage"}}));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RowCount(), 6);
    EXPECT_EQ(table->MarkerMode(), CTableauBase::kMarqueParCellule);
    ExpectColumnLabels(*table, {"Effectifs", "Pourcentage"});
    EXPECT_EQ(table->GetLibelleLigne(0, 0), "Ecart-type");
    EXPECT_EQ(table->GetLibelleLigne(0, 1), "Bas");

    ExpectRow(*table, 1, {1, 20});
    ExpectRow(*table, 2, {2, 40});
    ExpectRow(*table, 3, {2, 40});
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(table->GetMarque(i, 0), 0);
        EXPECT_EQ(table->GetMarque(i, 1), 1);
    }
    struct StatisticLine {
        int row;
        double value;
        std::uint16_t marker;
    };
    const CFusion* across = table->GetFusionColonnes();
    ASSERT_NE(across, nullptr);
    for (const StatisticLine& s : {StatisticLine{0, 1.2, 2}, StatisticLine{4, 2.6, 2}, StatisticLine{5, 5, 0}}) {
        SCOPED_TRACE(s.row);
        EXPECT_NEAR(table->GetValeur(s.row, 0), s.value, kTolerance);
        EXPECT_EQ(table->GetMarque(s.row, 0), s.marker);
        EXPECT_EQ(table->GetValeur(s.row, 1), kMissing);
        EXPECT_EQ(across->GetFusion(1 + s.row, 1), 1);
    }
    EXPECT_EQ(across->GetFusion(2, 1), 0);
    EXPECT_EQ(table->base, 5);
}

TEST_F(CalculsTrisTest, ALineGivenTwiceShowsTheValuesOfItsFirstOccurrenceAndCountsOnce) {
    // Lines Vert, Rouge, Vert, Total, Total. Kept modalities Rouge and Vert: respondents 1, 2, 5
    // and 6 (4); Vert by 1, 2, 5 (3), Rouge by 1, 2, 5, 6 (4); 7 answers of 6 interviews. The
    // repeats add nothing to the Total line nor to the cumulative percentages.
    CQuestionEtendue& choice = Named("CHOIX");
    const auto repeated = [&] {
        Modalities rows = Chosen(choice, {1, 0, 1});
        rows.push_back(Total());
        rows.push_back(Total());
        return rows;
    };
    {
        SCOPED_TRACE("flat table");
        CTableau* table =
            RunForOneTable(RowRequest(CTraitement::kTriSimple, "CHOIX", repeated(), kFlatCalcs));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->RowCount(), 5);
        const std::vector<double> green = {3, 75, 300.0 / 7, 300.0 / 7, 50, 1};
        const std::vector<double> total = {7, 175, kMissing, 100, 400.0 / 6, kMissing};
        ExpectRow(*table, 0, green);
        ExpectRow(*table, 1, {4, 100, 100, 400.0 / 7, 400.0 / 6, 1});
        ExpectRow(*table, 2, green);
        ExpectRow(*table, 3, total);
        ExpectRow(*table, 4, total);
        EXPECT_EQ(table->GetLibelleLigne(0, 2), "Vert");
        EXPECT_EQ(table->base, 4);
    }
    {
        SCOPED_TRACE("ranking table");
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(RowRequest(CTraitement::kTriClassement, "CHOIX", repeated(), {})), 1);
        ASSERT_EQ(fresh.GetNbTableaux(), 1);
        const CTableau& table = *fresh.GetTableau(0);
        ASSERT_EQ(table.RowCount(), 5);
        const std::vector<double> green = {2, 1, 0, 3, 4.0 / 3};
        ExpectRow(table, 0, green);
        ExpectRow(table, 1, {2, 1, 1, 4, 1.75});
        ExpectRow(table, 2, green);
        ExpectRow(table, 3, {4, 2, 1, 7, kMissing});
        ExpectRow(table, 4, {4, 2, 1, 7, kMissing});
    }
    {
        SCOPED_TRACE("mixed table");
        // NOTE lines Moyen, the mean, Moyen, Bas, Total, Total: Moyen by 2 and 4, Bas by 1; 3
        // respondents. The mean of every value given (1, 2, 4, 2, 4) is 2.6.
        CQuestionEtendue& note = Named("NOTE");
        Modalities rows = Chosen(note, {1});
        rows.push_back(Statistic(0, "Moyenne"));
        for (auto& modality : Chosen(note, {1, 0}))
            rows.push_back(std::move(modality));
        rows.push_back(Total());
        rows.push_back(Total());
        CExecuteurTraitement fresh(context);
        ASSERT_EQ(fresh.Calculer(RowRequest(CTraitement::kTraitementMixte, "NOTE", rows,
                                            {{0, "Effectifs"}, {1, "Pourcentage"}})),
                  1);
        ASSERT_EQ(fresh.GetNbTableaux(), 1);
        const CTableau& table = *fresh.GetTableau(0);
        ASSERT_EQ(table.RowCount(), 6);
        ExpectRow(table, 0, {2, 200.0 / 3});
        ExpectRow(table, 1, {2.6, kMissing});
        ExpectRow(table, 2, {2, 200.0 / 3});
        ExpectRow(table, 3, {1, 100.0 / 3});
        ExpectRow(table, 4, {3, 100});
        ExpectRow(table, 5, {3, 100});
    }
}

TEST_F(CalculsTrisTest, AKernelFailureShowsItsTextAndAddsNoTable) {
    // A study field given by a formula cannot be applied by the counting kernels, and weighting 77
    // does not exist.
    CChampEtude formula;
    formula.id = 44;
    formula.name = "Jeunes";
    formula.complexCondition = true;
    formula.complexConditionText = "REVENU < 30";
    context.MettreAJourChampEtude(formula);
    struct Failure {
        std::int32_t studyField;
        std::int32_t weighting;
        const char* named; // what the message names, "" when it is not checked
    };
    for (const Failure& failure : {Failure{44, -1, "'Jeunes'"}, Failure{-1, 77, ""}}) {
        std::vector<std::unique_ptr<CTraitement>> requests;
        requests.push_back(
            RowRequest(CTraitement::kTriSimple, "CHOIX", Chosen(Named("CHOIX"), {0}), {{0, "Effectifs"}}));
        requests.push_back(RowRequest(CTraitement::kTriClassement, "CHOIX", Chosen(Named("CHOIX"), {0}), {}));
        requests.push_back(GroupedRequest(kWarm, false, {{0, "Effectifs"}}));
        requests.push_back(
            RowRequest(CTraitement::kTraitementMixte, "NOTE", Chosen(Named("NOTE"), {0}), {{0, "Effectifs"}}));
        requests.push_back(StatisticsRequest({{0, "Moyenne"}}));
        for (auto& request : requests) {
            SCOPED_TRACE(testing::Message() << "type " << request->type << ", field " << failure.studyField);
            request->studyFieldId = failure.studyField;
            request->weightingId = failure.weighting;
            ui->shown.clear();
            EXPECT_EQ(runner.Calculer(std::move(request)), 1);
            EXPECT_EQ(runner.GetNbTableaux(), 0);
            const std::vector<std::string> texts = ui->ShownTexts();
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_FALSE(texts[0].empty());
            EXPECT_NE(texts[0].find(failure.named), std::string::npos) << texts[0];
        }
    }
}

} // namespace
