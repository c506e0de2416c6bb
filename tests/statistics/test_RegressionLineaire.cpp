#include <vector>

#include <gtest/gtest.h>

#include "app/StringTable.h"
#include "statistics/RegressionLineaire.h"
#include "tabulation/FonctionsStatistiques.h"

namespace {

// Ten interviews, two explanatory variables. Expected values: R 4.2.2,
//   summary(lm(y ~ x1 + x2))$coefficients, fitted(m), predict(m, data.frame(x1 = 11, x2 = 6.5)).
// Probabilities are R's Pr(>|t|) × 100.
const std::vector<double> kY = {12.1, 14.3, 15.2, 17.8, 19.4, 21.0, 22.9, 25.1, 26.3, 29.0};
const std::vector<double> kX = {1, 3.2, 2, 2.9, 3, 4.1, 4, 3.8, 5, 5.0, 6, 4.4, 7, 6.1, 8, 5.3, 9, 6.8, 10, 7.0};

double Cell(const std::vector<double>& table, int i, int j) { return table[static_cast<std::size_t>(i * 3 + j)]; }

TEST(RegressionLineaire, CoefficientsStandardErrorsAndProbabilitiesOfR) {
    CRegressionLineaire solver;
    solver.Initialiser(10, 0, 2, kY.data(), kX.data());
    ResultatsRegression r;
    int code = 0;
    ASSERT_TRUE(solver.Calculer(r, code));
    const double expected[3][3] = {{10.919358041796563, 0.614119040763237, 4.39103462918203e-07 * 100},
                                   {1.962425816880268, 0.112332202214097, 4.95570570375809e-07 * 100},
                                   {-0.288621406304122, 0.236552793964158, 2.61927109338745e-01 * 100}};
    for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(Cell(r.coefficients, j, 0), expected[j][0], 1e-10) << j;
        EXPECT_NEAR(Cell(r.coefficients, j, 1), expected[j][1], 1e-10) << j;
        EXPECT_NEAR(Cell(r.coefficients, j, 2), expected[j][2], 1e-8 * expected[j][2]) << j;
    }
    const double fitted[] = {11.9581953585036, 14.0072075972751, 15.6232877265905, 17.6722999653620,
                             19.2883800946773, 21.4239787553400, 22.8957481815033, 25.0890711234269,
                             26.6185648308509, 28.5232663664704};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Cell(r.parInterview, i, 0), kY[static_cast<std::size_t>(i)]);
        EXPECT_NEAR(Cell(r.parInterview, i, 1), fitted[i], 1e-10) << i;
        EXPECT_NEAR(Cell(r.parInterview, i, 2), (fitted[i] - kY[static_cast<std::size_t>(i)]) / kY[static_cast<std::size_t>(i)] * 100, 1e-8);
    }
}

// A slope known almost exactly: its probability, far below 1e-16, keeps its digits instead of
// showing 0. Reference: R 4.2.2, x <- 1:30; y <- 3 * x + 0.001 * ((7 * x) %% 5 - 2);
// summary(lm(y ~ x))$coefficients: t = 97482.504728257438, Pr(>|t|) = 5.5558387915557121e-121 for
// the slope, 0.70777015258701792 for the intercept.
TEST(RegressionLineaire, AProbabilityFarBelowTheRoundingOfOneKeepsItsDigits) {
    std::vector<double> y;
    std::vector<double> x;
    for (int i = 1; i <= 30; ++i) {
        x.push_back(i);
        y.push_back(3.0 * i + 0.001 * ((7 * i) % 5 - 2));
    }
    CRegressionLineaire solver;
    solver.Initialiser(30, 0, 1, y.data(), x.data());
    ResultatsRegression r;
    int code = 0;
    ASSERT_TRUE(solver.Calculer(r, code));
    // A t of 97,000 on 28 degrees of freedom: a relative error e of t moves p by about 28 e.
    EXPECT_NEAR(Cell(r.coefficients, 1, 2) / (5.5558387915557121e-121 * 100), 1.0, 1e-6);
    EXPECT_NEAR(Cell(r.coefficients, 0, 2), 0.70777015258701792 * 100, 1e-6);
}

// Illustrative rows are fitted but change nothing; a missing target shows as missing with its
// fitted value; a target of 0 has no relative gap.
TEST(RegressionLineaire, IllustrativeRowsMissingAndZeroTargets) {
    std::vector<double> y = kY;
    std::vector<double> x = kX;
    y.insert(y.end(), {-999999.99, 0.0, -888888.88});
    x.insert(x.end(), {11, 6.5, 11, 6.5, 11, 6.5});
    CRegressionLineaire solver;
    solver.Initialiser(10, 3, 2, y.data(), x.data());
    ResultatsRegression r;
    int code = 0;
    ASSERT_TRUE(solver.Calculer(r, code));
    EXPECT_NEAR(Cell(r.coefficients, 1, 0), 1.962425816880268, 1e-10);
    for (int i = 10; i < 13; ++i)
        EXPECT_NEAR(Cell(r.parInterview, i, 1), 30.6300028865027, 1e-10) << "R's predict()";
    EXPECT_EQ(Cell(r.parInterview, 10, 0), kValeurManquante);
    EXPECT_EQ(Cell(r.parInterview, 10, 2), kValeurManquante);
    EXPECT_EQ(Cell(r.parInterview, 11, 0), 0.0);
    EXPECT_EQ(Cell(r.parInterview, 11, 2), kValeurManquante);
    EXPECT_EQ(Cell(r.parInterview, 12, 0), kValeurManquante);
    EXPECT_EQ(Cell(r.parInterview, 12, 2), kValeurManquante);
}

TEST(RegressionLineaire, CollinearQuestionsGiveTheMatrixMessage) {
    struct Case {
        const char* name;
        std::vector<double> x;
    } cases[] = {
        {"identical columns", {1, 1, 2, 2, 3, 3, 4, 4, 5, 5}},
        {"proportional up to rounding", {0.1, 0.3, 0.2, 0.6, 0.3, 0.9, 0.4, 1.2, 0.5, 1.5}},
    };
    const std::vector<double> y = {1, 3, 2, 5, 4};
    for (const Case& c : cases) {
        CRegressionLineaire solver;
        solver.Initialiser(5, 0, 2, y.data(), c.x.data());
        ResultatsRegression r;
        int code = -1;
        EXPECT_FALSE(solver.Calculer(r, code)) << c.name;
        EXPECT_EQ(code, CRegressionLineaire::kMatriceNonInversible);
        EXPECT_EQ(CRegressionLineaire::MessageErreur(code).id, 63406);
        EXPECT_TRUE(r.coefficients.empty());
    }
    EXPECT_EQ(CRegressionLineaire::MessageErreur(0).id, 63212);
    EXPECT_EQ(CRegressionLineaire::MessageErreur(7).id, 63405);
}

// As many active interviews as coefficients: an exact fit with no degree of freedom, so the
// deviations and probabilities have no value.
TEST(RegressionLineaire, NoDegreeOfFreedomLeavesDeviationsMissing) {
    const std::vector<double> y = {1, 2, 4};
    const std::vector<double> x = {0, 0, 1, 0, 0, 1};
    CRegressionLineaire solver;
    solver.Initialiser(3, 0, 2, y.data(), x.data());
    ResultatsRegression r;
    int code = 0;
    ASSERT_TRUE(solver.Calculer(r, code));
    EXPECT_NEAR(Cell(r.coefficients, 0, 0), 1.0, 1e-12);
    EXPECT_NEAR(Cell(r.coefficients, 1, 0), 1.0, 1e-12);
    EXPECT_NEAR(Cell(r.coefficients, 2, 0), 3.0, 1e-12);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(Cell(r.coefficients, j, 1), kValeurManquante);
        EXPECT_EQ(Cell(r.coefficients, j, 2), kValeurManquante);
    }
}

} // namespace
