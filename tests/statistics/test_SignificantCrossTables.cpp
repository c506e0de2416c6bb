#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/IndependenceFixture.h"
#include "app/Calcul.h"
#include "app/ModaliteEtendue.h"
#include "statistics/SignificantCrossTables.h"
#include "support/FixtureStudyTest.h"
#include "support/WeightByQuestion.h"
#include "tabulation/ExecuteurTraitement.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {

using Modalities = std::vector<std::unique_ptr<CModaliteEtendue>>;

class SignificantCrossTablesTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        OpenFixture(independence_fixture::kSurvey, "significatifs");
        context.weightingCode = WeightByQuestion(context, Named("W"), 3);
    }

    Modalities All(const char* name) {
        Modalities modalities;
        Named(name).DonnerModalites(modalities, true);
        return modalities;
    }
    void Fill(CProfil& profile, std::initializer_list<const char*> names) {
        for (const char* name : names)
            profile.Add(&Named(name), All(name));
    }
    std::vector<std::string> Names(const SignificantCrossTables& scan) {
        std::vector<std::string> names;
        for (const auto& result : scan.GetResultats())
            names.push_back(result.nom);
        return names;
    }
};

// Threshold 100 keeps every pair with a test, sorted by the risk as a number (as text "21.173"
// would come before "3.206"); E has one non-empty modality and is never listed. Risks: R, see
// IndependenceFixture.h.
TEST_F(SignificantCrossTablesTest, EveryTestedPairIsListedSortedByItsNumericRisk) {
    SignificantCrossTables scan(context);
    Fill(scan.GetProfilLignes(), {"A", "C", "E"});
    Fill(scan.GetProfilColonnes(), {"B", "D"});
    scan.seuil = 100;
    ASSERT_TRUE(scan.Recalculer());
    const std::vector<std::string> expected = {"Question A x Question D", "Question C x Question B",
                                               "Question C x Question D", "Question A x Question B"};
    EXPECT_EQ(Names(scan), expected);
    const double risks[] = {3.206469, 21.17291, 50.08443, 53.94064};
    for (std::size_t i = 0; i < scan.GetResultats().size() && i < 4; ++i)
        EXPECT_NEAR(scan.GetResultats()[i].risque, risks[i], 1e-4) << i;
    EXPECT_EQ(scan.TexteCellule(0, SignificantCrossTables::kProbabilite), "3.206");
    EXPECT_EQ(scan.TexteCellule(1, SignificantCrossTables::kNom), "Question C x Question B");

    scan.Trier(SignificantCrossTables::kNom);
    EXPECT_EQ(Names(scan).front(), "Question A x Question B");
    scan.Trier(SignificantCrossTables::kProbabilite);
    EXPECT_EQ(Names(scan), expected);
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(SignificantCrossTablesTest, ThresholdsKeepThePairsAtMostThatRisk) {
    struct Case {
        const char* what;
        int threshold;
        const char* weight;
        std::vector<std::string> names;
    } cases[] = {
        {"10 %", 10, "W", {"Question A x Question D"}},
        {"0 % and no risk of 0", 0, "W", {}},
        // Chi-squares of 3111 (4 df) and 3105 (2 df): the risk is 0.
        {"0 % and risks of 0", 0, "WK", {"Question A x Question B", "Question C x Question B"}},
    };
    for (const Case& c : cases) {
        context.weightingCode = WeightByQuestion(context, Named(c.weight), c.weight[1] == 'K' ? 4 : 3);
        SignificantCrossTables scan(context);
        Fill(scan.GetProfilLignes(), {"A", "C", "E"});
        Fill(scan.GetProfilColonnes(), c.weight[1] == 'K' ? std::initializer_list<const char*>{"B"}
                                                           : std::initializer_list<const char*>{"B", "D"});
        scan.seuil = c.threshold;
        ASSERT_TRUE(scan.Recalculer()) << c.what;
        EXPECT_EQ(Names(scan), c.names) << c.what;
    }
}

// A listed table is the cross table the request dialogs make of the pair: the question's
// modalities and the Total on each side, the context's cross calculations of counts, row profiles
// and significance, the same weighting.
TEST_F(SignificantCrossTablesTest, AListedTableIsTheCrossTableOfThePair) {
    SignificantCrossTables scan(context);
    Fill(scan.GetProfilLignes(), {"A"});
    Fill(scan.GetProfilColonnes(), {"D"});
    ASSERT_TRUE(scan.Recalculer());
    ASSERT_EQ(scan.GetResultats().size(), 1u);
    const CTableau& listed = *scan.GetResultats()[0].tableau;

    auto request = std::make_unique<CTraitement>();
    request->type = CTraitement::kTriCroise;
    request->weightingId = context.weightingCode;
    Modalities rows = All("A");
    rows.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(0)));
    Modalities columns = All("D");
    columns.push_back(std::make_unique<CModaliteEtendue>(*context.DonnerModaliteTotal(1)));
    request->DefinirModalitesAxe(&Named("A"), rows, CTraitement::kLignes);
    request->DefinirModalitesAxe(&Named("D"), columns, CTraitement::kColonnes);
    request->SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
    request->SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
    std::vector<std::unique_ptr<CCalcul>> calculations;
    for (const auto& [code, label] : {std::pair{0, "Effectifs"}, {1, "Profil ligne"}, {4, "Significativité"}})
        calculations.push_back(std::make_unique<CCalcul>(code, label, code != 4));
    request->SetCalculsLignes(calculations);
    CExecuteurTraitement runner(context);
    runner.Executer(std::move(request));
    ASSERT_EQ(runner.GetNbTableaux(), 1);
    const CTableau& direct = *runner.GetTableau(0);
    ASSERT_EQ(listed.RowCount(), direct.RowCount());
    ASSERT_EQ(listed.ColumnCount(), direct.ColumnCount());
    for (int i = 0; i < direct.RowCount(); ++i)
        for (int j = 0; j < direct.ColumnCount(); ++j)
            EXPECT_EQ(listed.GetValeur(i, j), direct.GetValeur(i, j)) << i << ", " << j;
    // Interviews 1, 2 and 7 answered A1 and D1, weighing 1.0 + 2.0 + 1.0 (by hand), in the first cell.
    EXPECT_DOUBLE_EQ(listed.GetValeur(0, 0), 4.0);
}

// Annuler at the third pair keeps the two pairs already tested.
TEST_F(SignificantCrossTablesTest, CancellingKeepsTheTablesFoundSoFar) {
    SignificantCrossTables scan(context);
    Fill(scan.GetProfilLignes(), {"A", "C"});
    Fill(scan.GetProfilColonnes(), {"B", "D"});
    scan.seuil = 100;
    ui->cancelAtStep = 2;
    ASSERT_TRUE(scan.Recalculer());
    EXPECT_EQ(ui->progressSteps, 4);
    EXPECT_EQ(Names(scan), (std::vector<std::string>{"Question A x Question D", "Question A x Question B"}));
}

TEST_F(SignificantCrossTablesTest, BothSidesNeedAQuestion) {
    SignificantCrossTables scan(context);
    EXPECT_FALSE(scan.Recalculer());
    Fill(scan.GetProfilLignes(), {"A"});
    scan.GetProfilColonnes().AddSeparator();
    EXPECT_FALSE(scan.Recalculer());
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_EQ(ui->shown[0].message.id, 63424);
    EXPECT_EQ(ui->shown[1].message.id, 63425);
    EXPECT_TRUE(scan.GetResultats().empty());
}

} // namespace
