#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StatisticsRunSupport.h"

namespace {

using statistics_run_test::Fixture;
using statistics_run_test::RunResult;
using statistics_run_test::Line;
using statistics_run_test::StatisticsRun;

// The reference values of tests/fixtures/README-reference-data.md, to the digits printed.
TEST(StatisticsRun, CorrespondenceAnalysisOfACsvTable) {
    const RunResult run = StatisticsRun({"ca", Fixture("children.csv"), "--columns", "1-5", "--extra-columns", "6-8",
                                   "--rows", "1-14", "--axes", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Valeurs propres\n"), std::string::npos);
    const std::vector<double> first = Line(run.out, "Axe 1");
    ASSERT_EQ(first.size(), 3u);
    EXPECT_NEAR(first[0], 0.035401539, 1e-8);
    EXPECT_NEAR(first[1], 57.04286, 1e-4);
    const std::vector<double> comfort = Line(run.out, "comfort");
    ASSERT_EQ(comfort.size(), 2u);
    EXPECT_NEAR(std::fabs(comfort[1]), 0.703168, 1e-5);
    const std::vector<double> thirty = Line(run.out, "thirty");
    ASSERT_EQ(thirty.size(), 2u);
    EXPECT_NEAR(std::fabs(thirty[0]), 0.105413, 1e-5);
}

TEST(StatisticsRun, PrincipalComponentAnalysisOfACsvTable) {
    const RunResult run = StatisticsRun({"pca", Fixture("decathlon.csv"), "--columns", "1-10", "--axes", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NEAR(Line(run.out, "Axe 1").at(0), 3.271906, 1e-6);
    EXPECT_NEAR(std::fabs(Line(run.out, "100m").at(0)), 0.774720, 1e-5);
}

// 17 digits give back the doubles the engine computed; the default 9 rounds them.
TEST(StatisticsRun, DigitsPrinted) {
    const std::vector<std::string> pca = {"pca", Fixture("decathlon.csv"), "--columns", "1-10", "--axes", "1"};
    std::vector<std::string> exact = pca;
    exact.insert(exact.end(), {"--digits", "17"});
    const double rounded = Line(StatisticsRun(pca).out, "Axe 1").at(0);
    const double full = Line(StatisticsRun(exact).out, "Axe 1").at(0);
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", full);
    EXPECT_EQ(rounded, std::stod(text));
    EXPECT_NE(rounded, full);
    EXPECT_NEAR(full, 3.271906, 1e-6);
}

TEST(StatisticsRun, UsageAndDataErrors) {
    EXPECT_EQ(StatisticsRun({"lda", Fixture("children.csv")}).status, 2);
    EXPECT_EQ(StatisticsRun({"ca", Fixture("children.csv"), "--rows", "1-14"}).status, 2) << "no columns";
    EXPECT_EQ(StatisticsRun({"pca", Fixture("children.csv"), "--columns", "1-5", "--axes", "0"}).status, 2);
    for (const char* digits : {"0", "18", "beaucoup"})
        EXPECT_EQ(StatisticsRun({"pca", Fixture("children.csv"), "--columns", "1-5", "--digits", digits}).status, 2)
            << digits;
    // Illustrative rows over illustrative columns are NA in the file: taken as active, the CA
    // refuses them and names the cell.
    const RunResult refused = StatisticsRun({"ca", Fixture("children.csv"), "--columns", "1-8"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("ligne 15 et de la colonne 6"), std::string::npos) << refused.err;
}

} // namespace
