#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StatisticsRunSupport.h"
#include "ToolsTestSupport.h"
#include "tools/statrun/StatisticsCommand.h"

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

// What is not a table of numbers is refused with the place of the fault, never analysed as zeros
// or as the digits in front of a word.
TEST(StatisticsRun, TablesThatAreNotTablesOfNumbersAreRefusedWithTheirLineAndColumn) {
    tools_test::TempFolder folder;
    const std::string decathlon = tools_test::ReadBytes(Fixture("decathlon.csv"));
    const std::string header = decathlon.substr(0, decathlon.find('\n') + 1);
    const std::size_t secondLine = decathlon.find('\n', header.size()) + 1;
    const std::string firstRow = decathlon.substr(header.size(), secondLine - header.size());
    std::string missingField = decathlon;
    missingField.erase(missingField.find(",7.4,"), 4); // CLAY (line 3) loses his long jump
    std::string letters = decathlon;
    letters.replace(letters.find(",14.83,"), 7, ",12abc,"); // SEBRLE's shot put (line 2)
    const struct {
        const char* name;
        std::string content; // the file's bytes; the folder itself when empty
        std::vector<std::string> options;
        std::string named;
    } cases[] = {
        {"a folder", "", {"--columns", "1-10"}, ": not a regular file"},
        {"an empty file", "\n", {"--columns", "1-10"}, ": empty file"},
        {"a header alone", header, {"--columns", "1-10"}, ": no row after the line of column names"},
        {"one row", header + firstRow, {"--columns", "1-10"}, "at least two active rows"},
        {"one active row", decathlon, {"--columns", "1-10", "--rows", "1-1"}, "at least two active rows"},
        {"a missing field", missingField, {"--columns", "1-10"}, ":3: 13 fields where the first line has 14"},
        {"a number followed by letters", letters, {"--columns", "1-10"},
         ":2: column 3 (Shot.put): \"12abc\" is not a number"},
        {"a text column analysed", decathlon, {"--columns", "1-10", "--extra-columns", "13-13"},
         ":2: column 13 (Competition): \"Decastar\" is not a number"},
        {"a quote left open", header + "\"SEBRLE,11.04\n", {"--columns", "1-10"}, ":2: a quote is not closed"},
    };
    int file = 0;
    for (const auto& c : cases) {
        std::string path = folder.path().string();
        if (!c.content.empty()) {
            path = folder.Sub(std::to_string(file++) + ".csv");
            tools_test::WriteText(path, c.content == "\n" ? std::string() : c.content);
        }
        std::vector<std::string> arguments = {"pca", path};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const RunResult run = StatisticsRun(arguments);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_TRUE(run.out.empty()) << c.name << ": " << run.out;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << c.name << ": " << run.err;
    }
    // The same table with its missing cell written as NA or left empty reads as a missing value,
    // which the analysis then names (it is not a number of the table).
    std::string empty = decathlon;
    empty.replace(empty.find(",7.4,"), 5, ",,");
    tools_test::WriteText(folder.Sub("empty-cell.csv"), empty);
    const RunResult missing = StatisticsRun({"pca", folder.Sub("empty-cell.csv"), "--columns", "1-10"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.find("not a number"), std::string::npos) << missing.err;
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
