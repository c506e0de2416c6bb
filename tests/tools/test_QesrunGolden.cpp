// qesrun on the demo questionnaire, run in-process through its command: the tables it prints for
// the requests of tests/golden/qesrun-*.req are compared with tests/golden/qesrun-*.tsv, and its
// refusals with the exit codes and messages docs/request-format.md gives.
//
// The demo is the one `qesbuild demo DIR` writes (same seed, same number of interviews), so a
// golden file can be checked by hand with `build/bin/qesrun build/demo/demo.qes REQUEST`. When a
// change of the tables is meant, rerun with MORVANE_UPDATE_GOLDEN=1 in the environment: the golden
// files are then rewritten instead of compared; read the difference before committing it.
#include "ToolsTestSupport.h"
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TextFile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using qesrun::Command;
using tools_test::TempFolder;

const std::filesystem::path kGoldenFolder = std::filesystem::path(MORVANE_SOURCE_DIR) / "tests" / "golden";

bool UpdatingGoldenFiles() {
    const char* update = std::getenv("MORVANE_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The demo questionnaire, written once for every test of the suite.
class QesrunDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<TempFolder>();
        qesbuild::DemoSurvey::Write(folder->path());
    }
    static void TearDownTestSuite() { folder.reset(); }

    static std::string Demo() { return folder->Sub("demo.qes"); }

    static Outcome Qesrun(const std::vector<std::string>& arguments) {
        std::ostringstream out;
        std::ostringstream err;
        Outcome run;
        run.exitCode = Command::Run(arguments, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // A request text written into the suite's folder.
    static std::string RequestFile(const std::string& name, const std::string& text) {
        const std::string path = folder->Sub(name);
        tools_test::WriteText(path, text);
        return path;
    }

    static std::unique_ptr<TempFolder> folder;
};

std::unique_ptr<TempFolder> QesrunDemo::folder;

// ---- Golden tables ---------------------------------------------------------------------------

// Each case is a pair of files: tests/golden/qesrun-NAME.req, the request, and qesrun-NAME.tsv,
// what qesrun prints for it.
class QesrunGolden : public QesrunDemo, public ::testing::WithParamInterface<const char*> {};

TEST_P(QesrunGolden, PrintedTablesMatchTheGoldenFile) {
    const std::string name = std::string("qesrun-") + GetParam();
    const std::filesystem::path request = kGoldenFolder / (name + ".req");
    const std::filesystem::path golden = kGoldenFolder / (name + ".tsv");
    ASSERT_TRUE(std::filesystem::exists(request)) << request;

    const Outcome run = Qesrun({Demo(), request.string()});
    ASSERT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;
    EXPECT_EQ(run.err, "");
    if (UpdatingGoldenFiles()) {
        tools_test::WriteText(golden, run.out);
        GTEST_SKIP() << "golden file rewritten: " << golden;
    }
    const std::string expected = tools_test::ReadBytes(golden);
    ASSERT_FALSE(expected.empty()) << "missing " << golden << " (run with MORVANE_UPDATE_GOLDEN=1)";
    EXPECT_EQ(run.out, expected);
}

INSTANTIATE_TEST_SUITE_P(DemoRequests, QesrunGolden,
                         ::testing::Values("flat", "cross", "cross-values", "statistics-age", "statistics-revenu",
                                           "mean", "profiles-simple", "profiles-statistical", "profiles-comparison",
                                           "profiles-crossed", "profiles-mean", "profiles-open", "advanced",
                                           "open-dictionary", "open-segments", "open-by-category"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             std::string name = param.param;
                             std::erase(name, '-');
                             return name;
                         });

// ---- Crossed profiles and cross tables ------------------------------------------------------

// The printed grid of a single table: one vector of cells per line.
std::vector<std::vector<std::string>> Grid(const std::string& printed) {
    std::vector<std::vector<std::string>> grid;
    std::istringstream lines(printed);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            cells.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        cells.push_back(line.substr(start));
        grid.push_back(std::move(cells));
    }
    return grid;
}

// Every block of a crossed profile holds, plane by plane, the numbers of the cross table of its
// two questions on the same modalities: counts, row and column profiles, total frequencies,
// significance marks.
TEST_F(QesrunDemo, CrossedProfileBlocksAreTheCrossTablesOfTheirQuestions) {
    struct Side {
        const char* question;
        std::vector<const char*> codes;
    };
    const std::vector<Side> rows = {{"SATISF", {"1", "2", "3", "4", "5"}}, {"TRANCHE", {"5", "1", "3"}}, {"REGION", {"2", "4"}}};
    const std::vector<Side> columns = {{"SEXE", {"1", "2"}}, {"CSP", {"3", "5", "6", "8"}}};
    const std::size_t planes = 5;
    const auto profileSide = [](const std::vector<Side>& sides) {
        std::string text;
        for (const Side& side : sides) {
            text += std::string(" ") + side.question;
            for (std::size_t i = 0; i < side.codes.size(); ++i)
                text += (i == 0 ? ":" : ",") + std::string(side.codes[i]);
        }
        return text;
    };
    const auto crossSide = [](const Side& side) {
        std::string text = side.question;
        for (const char* code : side.codes)
            text += std::string(" ") + code;
        return text;
    };
    const Outcome profile = Qesrun({Demo(), RequestFile("profile.req", "type profils-croises\nlignes" + profileSide(rows) +
                                                                          "\ncolonnes" + profileSide(columns) +
                                                                          "\ncalculs 0 1 2 3 4\n")});
    ASSERT_EQ(profile.exitCode, Command::kTablesPrinted) << profile.err;
    const auto profileGrid = Grid(profile.out);
    std::size_t rowCount = 0;
    for (const Side& side : rows)
        rowCount += side.codes.size();
    ASSERT_GE(profileGrid.size(), rowCount);
    const std::size_t firstProfileLine = profileGrid.size() - rowCount;

    std::size_t line = firstProfileLine;
    for (const Side& rowSide : rows) {
        std::size_t column = 2; // after the question and modality headers
        for (const Side& columnSide : columns) {
            SCOPED_TRACE(std::string(rowSide.question) + " x " + columnSide.question);
            const Outcome cross = Qesrun({Demo(), RequestFile("cross.req", "type tri-croise\nlignes " + crossSide(rowSide) +
                                                                                "\ncolonnes " + crossSide(columnSide) +
                                                                                "\ncalculs 0 1 2 3 4\n")});
            ASSERT_EQ(cross.exitCode, Command::kTablesPrinted) << cross.err;
            const auto crossGrid = Grid(cross.out);
            ASSERT_GE(crossGrid.size(), rowSide.codes.size());
            const std::size_t firstCrossLine = crossGrid.size() - rowSide.codes.size();
            for (std::size_t a = 0; a < rowSide.codes.size(); ++a) {
                const auto& crossCells = crossGrid[firstCrossLine + a];
                const auto& profileCells = profileGrid[line + a];
                EXPECT_EQ(profileCells[1], crossCells[0]);
                const std::size_t width = columnSide.codes.size() * planes;
                ASSERT_GE(crossCells.size(), 1 + width);
                ASSERT_GE(profileCells.size(), column + width);
                for (std::size_t k = 0; k < width; ++k)
                    EXPECT_EQ(profileCells[column + k], crossCells[1 + k])
                        << "modality " << rowSide.codes[a] << ", cell " << k;
            }
            column += columnSide.codes.size() * planes;
        }
        line += rowSide.codes.size();
    }
}

// ---- Refusals --------------------------------------------------------------------------------

// What a refused request text must give: the exit code and the end of the one error line, after
// "qesrun: FILE".
struct Refusal {
    const char* text;
    int exitCode;
    const char* error;
};

// SATISF x REGION is far from independence: its p-value is about 4e-20, which 1 minus the lower
// tail rounds to 0. Reference: R 4.2.2, chisq.test of the 5 x 5 counts the table prints
// (X-squared 130.89118761959475, df 16), pchisq(130.89118761959475, 16, lower.tail = FALSE) =
// 4.3086752833824885e-20, shown with the table's one decimal of real values.
TEST_F(QesrunDemo, TheTestLineKeepsTheDigitsOfAVerySmallProbability) {
    const Outcome run = Qesrun({Demo(), RequestFile("pe.req", "type tableau-evolue\n"
                                                                "lignes SATISF:1,2,3,4,5\n"
                                                                "colonnes REGION:1,2,3,4,5\n"
                                                                "style cellule 0\n"
                                                                "style test k=??K?? d=??D?? p=??P?? pe=??PE??\n")});
    ASSERT_EQ(run.exitCode, Command::kTablesPrinted) << run.err;
    EXPECT_NE(run.out.find("k=130.9 d=16 p=0.0 pe=4.3e-20"), std::string::npos) << run.out;
}

TEST_F(QesrunDemo, RefusedRequestsPrintNoTableAndNameTheLine) {
    const std::vector<Refusal> cases = {
        {"type tri-simple\nlignes SATISF 9\n", Command::kRefused, ":2: question 'SATISF' has no modality 9"},
        {"# flat\ntype tri-simple\nlignes AGE\n", Command::kRefused, ":3: question 'AGE' is not closed"},
        {"type statistiques\nlignes REVENU\ncalculs 0 14\n", Command::kRefused,
         ":3: calculation '14' is not offered for statistiques"},
        {"type moyenne\nlignes SATISF\ncolonnes REGION\n", Command::kRefused,
         ":3: question 'REGION' is not numeric"},
        {"type tri-croise\nlignes SATISF\n", Command::kRefused, ": the type tri-croise needs 'colonnes'"},
        {"type tri-simple\nlignes SATISF\nchamp Inconnu\n", Command::kRefused, ":3: unknown study field 'Inconnu'"},
    };
    for (const Refusal& refusal : cases) {
        SCOPED_TRACE(refusal.text);
        const std::string request = RequestFile("refused.req", refusal.text);
        const Outcome run = Qesrun({Demo(), request});
        EXPECT_EQ(run.exitCode, refusal.exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("qesrun: " + request, 0), 0u) << run.err;
        EXPECT_NE(run.err.find(refusal.error), std::string::npos) << run.err;
        EXPECT_EQ(run.err.back(), '\n');
    }
}

TEST_F(QesrunDemo, CommandLineAndFilesThatCannotBeReadAreRefused) {
    const std::string request = RequestFile("plain.req", "type tri-simple\nlignes SATISF\n");
    const std::string missing = folder->Sub("missing.req");
    // A request one byte over the limit: valid lines, then blanks (written sparse, at no cost).
    const std::string oversized = RequestFile("oversized.req", "type tri-simple\nlignes SATISF\n");
    std::filesystem::resize_file(oversized, qesrun::TextFile::kLargestRequest + 1);
    const std::string pipe = folder->Sub("pipe.req");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{}, Command::kRefused, "usage: qesrun"},
        {{Demo()}, Command::kRefused, "usage: qesrun"},
        {{Demo(), request, request}, Command::kRefused, "usage: qesrun"},
        {{Demo(), request, "--verbose"}, Command::kRefused, "usage: qesrun"},
        {{Demo(), missing}, Command::kRefused, "qesrun: cannot read "},
        // A folder opens as a file and fails only when read: still a request that cannot be read.
        {{Demo(), folder->Sub("")},
         Command::kRefused,
         "qesrun: cannot read " + folder->Sub("") + ": it is a folder\n"},
        {{Demo(), "--archive", folder->Sub("")}, Command::kRefused, "the request cannot be read"},
        // A device or a pipe may never end, and a file beyond the limit holds no request: all
        // refused before a byte is read, the archive as the text.
        {{Demo(), "/dev/zero"}, Command::kRefused, "qesrun: cannot read /dev/zero: it is not a regular file\n"},
        {{Demo(), "--archive", "/dev/zero"}, Command::kRefused, "the request cannot be read: it is not a regular file"},
        {{Demo(), pipe}, Command::kRefused, ": it is not a regular file\n"},
        {{Demo(), "--archive", pipe}, Command::kRefused, "the request cannot be read: it is not a regular file"},
        {{Demo(), oversized}, Command::kRefused, ": it is larger than 4194304 bytes, more than any request\n"},
        {{Demo(), "--archive", oversized}, Command::kRefused, "it is larger than 4194304 bytes"},
        {{folder->Sub("nowhere.qes"), request}, Command::kNoTable, "n'existe pas."},
        {{folder->Sub(""), request}, Command::kNoTable, "n'est pas un fichier."},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(testing::Message() << refused.arguments.size() << " arguments, " << refused.error);
        const Outcome run = Qesrun(refused.arguments);
        EXPECT_EQ(run.exitCode, refused.exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
        EXPECT_NE(run.err.find(refused.error), std::string::npos) << run.err;
    }
}

// The same request twice in one process prints the same text: a run keeps nothing of the last.
TEST_F(QesrunDemo, ARunLeavesNothingBehindForTheNext) {
    const std::string request = RequestFile("twice.req", "type tri-croise\nlignes SATISF total\ncolonnes SEXE\n");
    const Outcome first = Qesrun({Demo(), request});
    const Outcome second = Qesrun({Demo(), request});
    ASSERT_EQ(first.exitCode, Command::kTablesPrinted) << first.err;
    EXPECT_FALSE(first.out.empty());
    EXPECT_EQ(second.exitCode, Command::kTablesPrinted);
    EXPECT_EQ(second.out, first.out);
}

} // namespace
