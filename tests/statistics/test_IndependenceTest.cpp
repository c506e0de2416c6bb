#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ModaliteEtendue.h"
#include "statistics/IndependenceTest.h"
#include "support/FixtureStudyTest.h"
#include "support/WeightByQuestion.h"
#include "support/IndependenceFixture.h"

namespace {

class IndependenceTestTest : public FixtureStudyTest {
protected:
    void SetUp() override { OpenFixture(independence_fixture::kSurvey, "independance"); }

    void Weighted() { context.weightingCode = WeightByQuestion(context, Named("W"), 3); }

    // Position of the modality of the code among those in use on the side.
    static int Position(const IndependenceTest& test, int side, int code) {
        const auto& modalities = test.GetModalites(side);
        for (std::size_t i = 0; i < modalities.size(); ++i)
            if (modalities[i]->code == code)
                return static_cast<int>(i);
        ADD_FAILURE() << "no modality " << code;
        return 0;
    }
    static double Cell(const IndependenceTest& test, int tab, int row, int column) {
        return test.GetPlan(tab)[static_cast<std::size_t>(row * test.GetColonnes() + column)];
    }
};

TEST_F(IndependenceTestTest, WeightedFixtureGivesTheReferenceChiSquareVerdictAndContributions) {
    Weighted();
    IndependenceTest test(context, Named("A"), Named("B"));
    ASSERT_TRUE(test.Calculer()) << test.GetErreur();
    // PSPP and R: chi-square 3.111111111, df 4, p 0.5394064 (the risk shown, one decimal).
    EXPECT_EQ(test.GetTexteKhiDeux(), "3.11111");
    EXPECT_NEAR(test.GetCroisement().khiDeux, 3.111111111, 1e-8);
    EXPECT_EQ(test.GetDegresLibertes(), 4u);
    EXPECT_NEAR(test.GetCroisement().Risque(), 53.94064, 1e-4);
    EXPECT_EQ(test.GetVerdict(), "En refusant l'hypothèse, vous avez 53.9 % de chances de vous tromper.");
    EXPECT_EQ(test.GetCouleur(), IndependenceTest::kNoir);

    // The reference's signed contributions (%), rows A1..A3 by columns B1..B3, to 1e-6.
    const double expected[3][3] = {{2.142857, -3.214286, 1.071429},
                                   {-5.357143, 22.321429, -24.107143},
                                   {1.071429, -14.464286, 26.250000}};
    const int total = -4;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            EXPECT_NEAR(Cell(test, IndependenceTest::kContribution, Position(test, 0, a + 1), Position(test, 1, b + 1)),
                        expected[a][b], 1e-6)
                << a + 1 << " x " << b + 1;
    // The Total cells sum the absolute contributions of their column and row (from the table
    // above by hand); Total x Total is 100.
    EXPECT_NEAR(Cell(test, IndependenceTest::kContribution, Position(test, 0, total), Position(test, 1, 1)),
                2.142857 + 5.357143 + 1.071429, 1e-5);
    EXPECT_NEAR(Cell(test, IndependenceTest::kContribution, Position(test, 0, 2), Position(test, 1, total)),
                5.357143 + 22.321429 + 24.107143, 1e-5);
    EXPECT_EQ(Cell(test, IndependenceTest::kContribution, Position(test, 0, total), Position(test, 1, total)), 100.0);
    // The counts plane is the weighted crossing: A1 x B1 weighs 1.0 + 1.0, the total 12.
    EXPECT_DOUBLE_EQ(Cell(test, IndependenceTest::kEffectif, Position(test, 0, 1), Position(test, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(Cell(test, IndependenceTest::kEffectif, Position(test, 0, total), Position(test, 1, total)),
                     12.0);
    // Expected count of A1 x B1: 5.0 x 4.0 / 12 (margins by hand).
    EXPECT_NEAR(Cell(test, IndependenceTest::kEffectifIndependance, Position(test, 0, 1), Position(test, 1, 1)),
                5.0 * 4.0 / 12.0, 1e-12);
    EXPECT_EQ(IndependenceTest::DonnerMarqueur(IndependenceTest::kContribution), 1);
    EXPECT_EQ(IndependenceTest::DonnerMarqueur(IndependenceTest::kEffectifIndependance), 0);
}

// The verdict's colour follows the chi-square's distribution function p: green up to 0.1, red
// above 0.9. Independent counts 2 3 / 2 3 give chi-square 0 (by hand), so p 0 and a risk of
// 100 %; A by itself weighted (12 on the diagonal of 3 modalities) gives chi-square 12 x 2 = 24
// on 4 df, p = 1 - 8.0e-5 (R: pchisq(24, 4)).
TEST_F(IndependenceTestTest, VerdictColourOfIndependentAndStronglyDependentTables) {
    IndependenceTest independent(context, Named("C"), Named("D"));
    ASSERT_TRUE(independent.Calculer());
    EXPECT_EQ(independent.GetTexteKhiDeux(), "0");
    EXPECT_EQ(independent.GetDegresLibertes(), 1u);
    EXPECT_EQ(independent.GetVerdict(), "En refusant l'hypothèse, vous avez 100.0 % de chances de vous tromper.");
    EXPECT_EQ(independent.GetCouleur(), IndependenceTest::kVert);

    Weighted();
    IndependenceTest dependent(context, Named("A"), Named("A"));
    ASSERT_TRUE(dependent.Calculer());
    EXPECT_NEAR(dependent.GetCroisement().khiDeux, 24.0, 1e-9);
    EXPECT_EQ(dependent.GetVerdict(), "En refusant l'hypothèse, vous avez 0.0 % de chances de vous tromper.");
    EXPECT_EQ(dependent.GetCouleur(), IndependenceTest::kRouge);
}

TEST_F(IndependenceTestTest, DeselectingAModalityLowersTheDegreesOfFreedom) {
    Weighted();
    IndependenceTest test(context, Named("A"), Named("B"));
    IndependenceTest::Modalites rows;
    for (const auto& modality : test.GetModalites(IndependenceTest::kLignes))
        if (modality->code != 3)
            rows.push_back(std::make_unique<CModaliteEtendue>(*modality));
    test.SetModalites(IndependenceTest::kLignes, std::move(rows));
    ASSERT_TRUE(test.Calculer());
    // Rows A1, A2 by B1..B3: (2 - 1) x (3 - 1).
    EXPECT_EQ(test.GetDegresLibertes(), 2u);
    EXPECT_EQ(test.GetLignes(), static_cast<int>(test.GetModalites(IndependenceTest::kLignes).size()));
}

// E is always 1: a side with one non-empty modality has no test; the chi-square is shown, df 0,
// and the verdict says why, in black.
TEST_F(IndependenceTestTest, ASideWithOneNonEmptyModalityHasNoTest) {
    IndependenceTest test(context, Named("E"), Named("B"));
    ASSERT_TRUE(test.Calculer());
    EXPECT_EQ(test.GetTexteKhiDeux(), "0");
    EXPECT_EQ(test.GetDegresLibertes(), 0u);
    EXPECT_EQ(test.GetVerdict(),
              "Test impossible : il faut au moins deux modalités non vides en ligne et en colonne.");
    EXPECT_EQ(test.GetCouleur(), IndependenceTest::kNoir);
    EXPECT_EQ(test.GetCroisement().Risque(), -999999.99);
}

} // namespace
