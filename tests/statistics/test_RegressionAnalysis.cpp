#include <gtest/gtest.h>

#include "statistics/RegressionAnalysis.h"
#include "support/FixtureStudyTest.h"
#include "support/RegressionFixture.h"

namespace {

using regression_fixture::kCoefficients;

class RegressionAnalysisTest : public FixtureStudyTest {
protected:
    void SetUp() override { OpenFixture(regression_fixture::kSurvey, "regression"); }

    RegressionAnalysis Analysis(std::initializer_list<const char*> explanatory) {
        RegressionAnalysis analysis(context);
        analysis.cible = &Named("Y");
        for (const char* name : explanatory)
            analysis.explicativesActives.Add(&Named(name));
        return analysis;
    }
    static double Cell(const std::vector<double>& table, int row, int column) {
        return table[static_cast<std::size_t>(row * 3 + column)];
    }
};

TEST_F(RegressionAnalysisTest, FixtureGivesTheReferenceCoefficientsAndFittedValues) {
    RegressionAnalysis analysis = Analysis({"X1", "X2"});
    ASSERT_TRUE(analysis.Recalculer());
    const ResultatsRegression& r = analysis.GetResultats();
    ASSERT_EQ(r.coefficients.size(), 9u);
    for (int j = 0; j < 3; ++j)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(Cell(r.coefficients, j, c), kCoefficients[j][c], 1e-8 * (c == 2 ? 100 : 1)) << j << ", " << c;
    // Row 1: fitted 1.651915, relative gap 10.12763 % (the reference, to its digits).
    EXPECT_EQ(Cell(r.parInterview, 0, 0), 1.5);
    EXPECT_NEAR(Cell(r.parInterview, 0, 1), 1.651915, 1e-6);
    EXPECT_NEAR(Cell(r.parInterview, 0, 2), 10.12763, 1e-5);
    EXPECT_TRUE(ui->shown.empty());

    EXPECT_EQ(analysis.DonnerLigne(RegressionAnalysis::kLignesCoefficients, 0, 0).label, "Constante");
    EXPECT_EQ(analysis.DonnerLigne(RegressionAnalysis::kLignesCoefficients, 0, 2).label, "Seconde");
    EXPECT_EQ(analysis.DonnerLigne(RegressionAnalysis::kColonnesCoefficients, 0, 2).label, "Probabilité");
    EXPECT_EQ(analysis.DonnerLigne(RegressionAnalysis::kColonnesInterviews, 0, 1).label, "Théorique");
}

// Interview 11 has no target: it leaves the active rows and is fitted among the illustrative
// ones, observed and gap missing. Its fitted value from the reference coefficients, by hand:
// -0.0446126447 + 0.6921193232 x 11 + 0.1040961710 x 6.5.
TEST_F(RegressionAnalysisTest, AMissingTargetMakesAnIllustrativeRowWithItsFittedValue) {
    RegressionAnalysis analysis = Analysis({"X1", "X2"});
    ASSERT_TRUE(analysis.Recalculer());
    EXPECT_EQ(analysis.GetNombreActives(), 10);
    EXPECT_EQ(analysis.GetNombreIllustratives(), 1);
    ASSERT_EQ(analysis.GetInterviewsLignes().size(), 11u);
    EXPECT_EQ(analysis.GetInterviewsLignes().back(), 10);
    const std::vector<double>& rows = analysis.GetResultats().parInterview;
    EXPECT_EQ(Cell(rows, 10, 0), -999999.99);
    EXPECT_NEAR(Cell(rows, 10, 1), -0.0446126447 + 0.6921193232 * 11 + 0.1040961710 * 6.5, 1e-8);
    EXPECT_EQ(Cell(rows, 10, 2), -999999.99);
}

TEST_F(RegressionAnalysisTest, RefusalsAndSolverFailuresShowTheirMessageAndLeaveNoResult) {
    struct Case {
        const char* what;
        bool target;
        std::vector<const char*> explanatory;
        int message;
    } cases[] = {
        {"no target", false, {"X1", "X2"}, 63161},
        {"one explanatory question", true, {"X1"}, 63317},
        {"identical explanatory questions", true, {"X1", "X1BIS"}, 63406},
    };
    for (const Case& c : cases) {
        ui->shown.clear();
        RegressionAnalysis analysis(context);
        analysis.cible = c.target ? &Named("Y") : nullptr;
        for (const char* name : c.explanatory)
            analysis.explicativesActives.Add(&Named(name));
        EXPECT_FALSE(analysis.Recalculer()) << c.what;
        ASSERT_EQ(ui->shown.size(), 1u) << c.what;
        EXPECT_EQ(ui->shown[0].message.id, c.message) << c.what;
        EXPECT_FALSE(analysis.ExisteResultat()) << c.what;
    }
}

} // namespace
