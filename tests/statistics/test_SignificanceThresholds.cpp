#include <optional>

#include <gtest/gtest.h>

#include "support/IndependenceFixture.h"
#include "app/Registre.h"
#include "statistics/IndependenceCrossing.h"
#include "statistics/SignificanceThresholds.h"
#include "support/FixtureStudyTest.h"
#include "support/WeightByQuestion.h"
#include "tabulation/CrossPlanes.h"
#include "tabulation/MoteurTableau.h"
#include "tabulation/Profil.h"

namespace {

// Quantiles of R: qnorm(1 - d / 200) for d = 10, 5, 1. The program's inverse is a bisection
// good to 1e-5.
constexpr double kZ10 = 1.6448536270;
constexpr double kZ5 = 1.9599639845;
constexpr double kZ1 = 2.5758293035;

class SignificanceThresholdsTest : public FixtureStudyTest {};

TEST_F(SignificanceThresholdsTest, RisksAndQuantilesConvertBothWays) {
    struct Case {
        double risk;
        double z;
    } cases[] = {{10, kZ10}, {5, kZ5}, {1, kZ1}};
    for (const Case& c : cases) {
        EXPECT_NEAR(SignificanceThresholds::QuantileDeRisque(c.risk), c.z, 2e-5) << c.risk;
        // Shown rounded to two decimals of the one-sided risk, then doubled: the risk again.
        EXPECT_NEAR(SignificanceThresholds::RisqueDeQuantile(c.z), c.risk, 1e-12) << c.risk;
    }
    EXPECT_NEAR(SignificanceThresholds::RisqueDeQuantile(1.96), 5.0, 1e-12);
}

TEST_F(SignificanceThresholdsTest, DecreasingRisksGoIntoTheContextAndTheSettings) {
    SignificanceThresholds entered;
    entered.type = 1;
    entered.haut = 10;
    entered.moyen = 5;
    entered.bas = 1;
    entered.intervalle = 5;
    ASSERT_EQ(entered.Appliquer(context), std::nullopt);
    EXPECT_EQ(context.SignificanceType, 1);
    EXPECT_NEAR(context.SignificanceThreshold1, kZ10, 2e-5);
    EXPECT_NEAR(context.SignificanceThreshold2, kZ5, 2e-5);
    EXPECT_NEAR(context.SignificanceThreshold3, kZ1, 2e-5);
    EXPECT_NEAR(context.ConfidenceIntervalThreshold, kZ5, 2e-5);
    // The settings keep "%g" texts: six significant digits.
    EXPECT_EQ(CRegistre::GetSignificanceType(), 1);
    EXPECT_NEAR(CRegistre::GetSignificanceThreshold1(), kZ10, 1e-5);
    EXPECT_NEAR(CRegistre::GetSignificanceThreshold3(), kZ1, 1e-5);
    EXPECT_NEAR(CRegistre::GetConfidenceIntervalThreshold(), kZ5, 1e-5);

    // The next start of the program, and every run of qesrun (Command::OpenStudy), read them.
    CContexteEtude next;
    next.ReadStartupOptions();
    EXPECT_EQ(next.SignificanceType, 1);
    EXPECT_NEAR(next.SignificanceThreshold2, kZ5, 1e-5);

    const SignificanceThresholds reopened = SignificanceThresholds::DuContexte(context);
    EXPECT_EQ(reopened.type, 1);
    EXPECT_NEAR(reopened.haut, 10.0, 1e-12);
    EXPECT_NEAR(reopened.moyen, 5.0, 1e-12);
    EXPECT_NEAR(reopened.bas, 1.0, 1e-12);

    SignificanceThresholds equal = entered;
    equal.haut = equal.moyen = equal.bas = 5;
    EXPECT_EQ(equal.Appliquer(context), std::nullopt);
}

TEST_F(SignificanceThresholdsTest, RefusedRisksChangeNeitherTheContextNorTheSettings) {
    struct Case {
        double haut, moyen, bas;
        int message;
    } cases[] = {{5, 10, 1, 63455}, {10, 1, 5, 63455}, {120, 5, 1, 64700}, {10, 5, -1, 64700}};
    for (const Case& c : cases) {
        SignificanceThresholds entered;
        entered.haut = c.haut;
        entered.moyen = c.moyen;
        entered.bas = c.bas;
        const std::optional<Message> refused = entered.Appliquer(context);
        ASSERT_TRUE(refused.has_value()) << c.haut << " " << c.moyen << " " << c.bas;
        EXPECT_EQ(refused->id, c.message);
        EXPECT_EQ(context.SignificanceThreshold1, 1.645);
        EXPECT_EQ(context.SignificanceThreshold2, 1.96);
        EXPECT_EQ(CRegistre::GetStore()->ReadString("Options", "SignificanceThreshold1"), std::nullopt);
    }
}

// The marks of a cross table follow the context's thresholds at its next computation. A2 x B3 of
// the weighted fixture (nobody, expected 4.5 x 2 / 12 = 0.75) tests, by cells, at
// z = -0.0625 / sqrt(0.0625 x 0.9375 / 12) = -0.894 (by hand): no mark under 1.645; with risks
// of 100 % every quantile is 0 and every cell is marked 3 times with the sign of O - E (the signs
// of the reference's contributions).
TEST_F(SignificanceThresholdsTest, ACrossTableIsMarkedWithTheNewThresholds) {
    OpenFixture(independence_fixture::kSurvey, "seuils");
    context.weightingCode = WeightByQuestion(context, Named("W"), 3);
    context.EffectifSignificativite = 0;
    context.SignificanceType = 0;
    const auto marks = [&] {
        CProfil rows;
        CProfil columns;
        std::vector<std::unique_ptr<CModaliteEtendue>> a;
        std::vector<std::unique_ptr<CModaliteEtendue>> b;
        for (int i = 0; i < 3; ++i) {
            a.push_back(std::make_unique<CModaliteEtendue>(*Named("A").GetModaliteEtendue(i)));
            b.push_back(std::make_unique<CModaliteEtendue>(*Named("B").GetModaliteEtendue(i)));
        }
        rows.Add(&Named("A"), a);
        columns.Add(&Named("B"), b);
        CMoteurTableau engine(context);
        IndependenceCrossing crossing;
        std::string error;
        EXPECT_TRUE(IndependenceCrossing::Croiser(engine, rows, 0, columns, 0, 0, -1, context.weightingCode, crossing,
                                                  error))
            << error;
        return crossing.Plan(CrossPlanes::kMark);
    };
    EXPECT_EQ(marks()[1 * 3 + 2], 0.0);
    SignificanceThresholds loose = SignificanceThresholds::DuContexte(context);
    loose.haut = loose.moyen = loose.bas = 100;
    ASSERT_EQ(loose.Appliquer(context), std::nullopt);
    const double signs[9] = {1, -1, 1, -1, 1, -1, 1, -1, 1};
    const std::vector<double> after = marks();
    for (int cell = 0; cell < 9; ++cell)
        EXPECT_EQ(after[static_cast<std::size_t>(cell)], 3 * signs[cell]) << cell;
}

} // namespace
