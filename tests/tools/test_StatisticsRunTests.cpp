#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StatisticsRunSupport.h"
#include "ToolsTestSupport.h"
#include "support/IndependenceFixture.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace {

using statistics_run_test::Line;
using statistics_run_test::RunResult;
using statistics_run_test::StatisticsRun;

class StatisticsRunTests : public ::testing::Test {
protected:
    std::string Write(const char* name, const std::string& text) {
        const std::string path = folder.Sub(name);
        tools_test::WriteText(path, text);
        return path;
    }
    tools_test::TempFolder folder;
};

// The regression fixture of ../shared/data/wave-3-references.md (PSPP REGRESSION, R lm); row 11
// has no target and is fitted as an illustrative row.
TEST_F(StatisticsRunTests, RegressionOfACsvTable) {
    const std::string csv = Write("rlm.csv", "row,x1,x2,y\n1,2,3,1.5\n2,3,1,2.5\n3,5,4,3.0\n4,4,6,4.5\n5,6,5,4.0\n"
                                             "6,8,7,6.5\n7,7,9,5.0\n8,9,8,7.5\n9,10,12,8.0\n10,12,10,9.5\n"
                                             "11,11,6.5,NA\n");
    const RunResult run = StatisticsRun({"regression", csv, "--target", "3", "--columns", "1-2", "--digits", "17"});
    ASSERT_EQ(run.status, 0) << run.err;
    const struct {
        const char* row;
        double b, se, sig;
    } expected[] = {{"Constante", -0.0446126447, 0.5364307103, 93.6048058},
                    {"x1", 0.6921193232, 0.1506042006, 0.2497102},
                    {"x2", 0.1040961710, 0.1429918016, 49.0250302}};
    for (const auto& e : expected) {
        const std::vector<double> line = Line(run.out, e.row);
        ASSERT_EQ(line.size(), 3u) << e.row;
        EXPECT_NEAR(line[0], e.b, 1e-8) << e.row;
        EXPECT_NEAR(line[1], e.se, 1e-8) << e.row;
        EXPECT_NEAR(line[2], e.sig, 1e-6) << e.row;
    }
    const std::vector<double> first = Line(run.out, "1", "Résultats par interview");
    ASSERT_EQ(first.size(), 3u);
    EXPECT_NEAR(first[1], 1.651915, 1e-6);
    EXPECT_NEAR(first[2], 10.12763, 1e-5);
    // Fitted from the reference coefficients by hand; observed and gap empty.
    const std::vector<double> eleventh = Line(run.out, "11", "Résultats par interview");
    ASSERT_EQ(eleventh.size(), 3u);
    EXPECT_TRUE(std::isnan(eleventh[0]));
    EXPECT_NEAR(eleventh[1], -0.0446126447 + 0.6921193232 * 11 + 0.1040961710 * 6.5, 1e-8);
    EXPECT_TRUE(std::isnan(eleventh[2]));
}

// The weighted counts of the chi-square fixture (xtabs(w ~ a + b) of the reference data): PSPP and
// R give 3.111111111, df 4, p 0.5394064, so ProbaKhiDeux 0.460593553; the reference's contributions.
TEST_F(StatisticsRunTests, ChiSquareOfACsvTableOfCounts) {
    const std::string csv = Write("chi2.csv", "a,b1,b2,b3\na1,2,2,1\na2,1,3.5,0\na3,1,0.5,1\n");
    const RunResult run = StatisticsRun({"chi2", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NEAR(Line(run.out, "Valeur du Khi 2").at(0), 3.111111111, 1e-8);
    EXPECT_EQ(Line(run.out, "Degrés de liberté").at(0), 4.0);
    EXPECT_NEAR(Line(run.out, "Probabilité").at(0), 0.460593553, 1e-8);
    EXPECT_NEAR(Line(run.out, "Risque (%)").at(0), 53.94064, 1e-4);
    EXPECT_NE(run.out.find("En refusant l'hypothèse, vous avez 53.9 % de chances de vous tromper.\n"),
              std::string::npos);
    const std::vector<double> a2 = Line(run.out, "a2", "Contribution au Khi 2");
    ASSERT_EQ(a2.size(), 4u);
    EXPECT_NEAR(a2[0], -5.357143, 1e-6);
    EXPECT_NEAR(a2[1], 22.321429, 1e-6);
    EXPECT_NEAR(a2[2], -24.107143, 1e-6);
    EXPECT_NEAR(a2[3], 5.357143 + 22.321429 + 24.107143, 1e-5);
}

// C by D of the independence fixture: counts 2 3 / 2 3, chi-square 0 on 1 df (by hand); E is
// always 1: no test.
TEST_F(StatisticsRunTests, ChiSquareOfTwoQuestions) {
    const std::string qes = folder.Sub("independance.qes");
    qesbuild::FixtureDescription fixture =
        qesbuild::DescriptionParser::Parse(independence_fixture::kSurvey, "independance.txt", folder.path());
    qesbuild::WriteFixture(fixture, qes);
    const RunResult independent = StatisticsRun({"chi2", qes, "--rows", "C", "--columns", "D"});
    ASSERT_EQ(independent.status, 0) << independent.err;
    EXPECT_EQ(Line(independent.out, "Valeur du Khi 2").at(0), 0.0);
    EXPECT_EQ(Line(independent.out, "Degrés de liberté").at(0), 1.0);
    EXPECT_EQ(Line(independent.out, "C1", "Effectif").at(0), 2.0);

    const RunResult none = StatisticsRun({"chi2", qes, "--rows", "E", "--columns", "B"});
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(Line(none.out, "Degrés de liberté").at(0), 0.0);
    EXPECT_NE(none.out.find("Test impossible"), std::string::npos);

    EXPECT_EQ(StatisticsRun({"chi2", qes, "--rows", "W", "--columns", "B"}).status, 1);
    EXPECT_EQ(StatisticsRun({"chi2", qes, "--rows", "A"}).status, 2);
    EXPECT_EQ(StatisticsRun({"regression", qes, "--target", "W"}).status, 2);
}

} // namespace
