#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/statrun/StatisticsCommand.h"

namespace {

struct RunResult {
    int status = 0;
    std::string out;
    std::string err;
};

RunResult StatisticsRun(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult run;
    run.status = statrun::Run(arguments, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string Fixture(const char* name) { return std::string(MORVANE_SOURCE_DIR) + "/tests/fixtures/" + name; }

// The line of a label, its fields after the label.
std::vector<double> Line(const std::string& text, const std::string& label) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(label + "\t", 0) != 0)
            continue;
        std::vector<double> values;
        std::istringstream fields(line.substr(label.size() + 1));
        std::string field;
        while (std::getline(fields, field, '\t'))
            values.push_back(std::stod(field));
        return values;
    }
    return {};
}

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

// The classification of the reference's nine rows (tests/fixtures/README-reference-data.md):
// R's merges and levels, to the 9 digits printed, and the three groups they leave.
TEST(StatisticsRun, ClassificationOfACsvTable) {
    const RunResult run = StatisticsRun({"hac", Fixture("classification-reference.csv"), "--columns", "1-2", "--groups", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Fusion 1\ta\tb\t99.9355"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Fusion 5\tc\td\t96.2241"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Fusion 7\tc\tg\t59.4342"), std::string::npos) << run.out;
    const double groupOf[] = {1, 1, 2, 2, 1, 2, 3, 3, 3};
    const char* const rows[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Line(run.out, rows[i]), std::vector<double>{groupOf[i]}) << rows[i];
}

// The typology with the stability runs finds R's partition of the reference rows; too many groups
// give the start message.
TEST(StatisticsRun, TypologyOfACsvTable) {
    const RunResult run = StatisticsRun(
        {"kmeans", Fixture("typology-reference.csv"), "--columns", "1-3", "--groups", "3", "--stability", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<double> total = Line(run.out, "Total");
    ASSERT_EQ(total.size(), 4u) << run.out;
    EXPECT_EQ(total[0], 12);
    EXPECT_NEAR(total[3], 99.4078048221, 1e-7);
    EXPECT_EQ(Line(run.out, "r1")[0], Line(run.out, "r4")[0]);
    EXPECT_NE(Line(run.out, "r4")[0], Line(run.out, "r5")[0]);
    const RunResult tooMany =
        StatisticsRun({"kmeans", Fixture("typology-reference.csv"), "--columns", "1-3", "--groups", "13"});
    EXPECT_EQ(tooMany.status, 1);
    EXPECT_NE(tooMany.err.find("Impossible de sélectionner les individus de départ"), std::string::npos);
    for (const char* groups : {"0", "trois"})
        EXPECT_EQ(StatisticsRun({"kmeans", Fixture("typology-reference.csv"), "--columns", "1-3", "--groups", groups}).status, 2)
            << groups;
    EXPECT_EQ(StatisticsRun({"kmeans", Fixture("typology-reference.csv"), "--columns", "1-3"}).status, 2) << "no groups";
}

} // namespace
