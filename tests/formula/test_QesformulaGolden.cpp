// qesformula on the fixture questionnaire of tests/formula/fixture, run in-process through its
// command: what it prints for the formulas of tests/golden/qesformula-fixture.frm is compared
// with tests/golden/qesformula-fixture.txt (whose values were checked against the fixture's CSV
// files, as tests/golden/qesformula-fixture.md says), and its refusals with the exit codes and
// messages docs/formula-language.md gives.
//
// When a change of the results is meant, rerun with MORVANE_UPDATE_GOLDEN=1 in the environment:
// the golden file is then rewritten instead of compared; check the difference before committing.
#include "FormulaTestSupport.h"
#include "app/QuestionNiveau.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesformula/Command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using qesformula::Command;

const std::filesystem::path kSourceFolder = MORVANE_SOURCE_DIR;
const std::filesystem::path kFixtureFolder = kSourceFolder / "tests" / "formula" / "fixture";
const std::filesystem::path kGoldenFolder = kSourceFolder / "tests" / "golden";

bool UpdatingGoldenFiles() {
    const char* update = std::getenv("MORVANE_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The fixture questionnaire, written once for every test of the suite.
class Qesformula : public SettingsFixture {
protected:
    static void SetUpTestSuite() {
        folder = std::filesystem::temp_directory_path() / ("morvane-formula-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
            ReadText(kFixtureFolder / "formules.txt"), "formules.txt", kFixtureFolder);
        qesbuild::WriteFixture(fixture, Questionnaire());
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder); }

    static std::string Questionnaire() { return (folder / "formules.qes").string(); }

    static Outcome Run(const std::vector<std::string>& arguments) {
        std::ostringstream out;
        std::ostringstream err;
        Outcome run;
        run.exitCode = Command::Run(arguments, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    static std::filesystem::path folder;
};

std::filesystem::path Qesformula::folder;

// The arguments of each formula line: the formula, then the options after tabs.
std::vector<std::vector<std::string>> FormulaLines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t'))
            fields.push_back(field);
        lines.push_back(fields);
    }
    return lines;
}

// Each formula line, then what the command printed: its results, or its exit code and message.
TEST_F(Qesformula, PrintedResultsMatchTheGoldenFile) {
    const std::filesystem::path golden = kGoldenFolder / "qesformula-fixture.txt";
    std::string printed;
    for (const std::vector<std::string>& fields :
         FormulaLines(ReadText(kGoldenFolder / "qesformula-fixture.frm"))) {
        std::vector<std::string> arguments{Questionnaire()};
        arguments.insert(arguments.end(), fields.begin(), fields.end());
        const Outcome run = Run(arguments);
        printed += "> " + fields.front();
        for (std::size_t i = 1; i < fields.size(); ++i)
            printed += " " + fields[i];
        printed += "\n" + run.out;
        if (run.exitCode != Command::kResultsPrinted) {
            printed += "exit " + std::to_string(run.exitCode) + ": " + run.err;
        } else {
            EXPECT_EQ(run.err, "") << fields.front();
        }
    }
    if (UpdatingGoldenFiles()) {
        std::ofstream(golden, std::ios::binary) << printed;
        GTEST_SKIP() << "golden file rewritten: " << golden;
    }
    const std::string expected = ReadText(golden);
    ASSERT_FALSE(expected.empty()) << "missing " << golden << " (run with MORVANE_UPDATE_GOLDEN=1)";
    EXPECT_EQ(printed, expected);
}

TEST_F(Qesformula, RefusalsAndTheirExitCodes) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        const char* error;
    };
    const std::string file = Questionnaire();
    const std::vector<Case> cases = {
        {{}, Command::kRefused, "usage: qesformula"},
        {{file}, Command::kRefused, "usage: qesformula"},
        {{file, "1", "2"}, Command::kRefused, "usage: qesformula"},
        {{file, "1", "--level"}, Command::kRefused, "usage: qesformula"},
        {{file, "1", "--level", "x"}, Command::kRefused, "usage: qesformula"},
        {{file, "1", "--verbose"}, Command::kRefused, "usage: qesformula"},
        {{file, "1", "--level", "7"}, Command::kRefused, "qesformula: the questionnaire has no level 7\n"},
        {{file, "??AGE?? >= "}, Command::kRefused, "qesformula: error 109 at position 9, length 2\n"},
        {{file, ""}, Command::kRefused, "qesformula: error 0 at position 0, length 0\n"},
        {{(folder / "nowhere.qes").string(), "1"}, Command::kNoResult, "qesformula: "},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(testing::Message() << refused.arguments.size() << " arguments, " << refused.error);
        const Outcome run = Run(refused.arguments);
        EXPECT_EQ(run.exitCode, refused.exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(refused.error), std::string::npos) << run.err;
    }
}

// Hostile formulas end with an error or with results, one per interview, never with a fault.
TEST_F(Qesformula, HostileFormulasEndCleanly) {
    struct Case {
        std::string formula;
        int exitCode;
        const char* printed; // the start of the error line, or of the first result line
    };
    const std::vector<Case> cases = {
        {"??NULLEPART?? = 1", Command::kRefused, "qesformula: error 4 at position 1, length 13"},
        {"??SATISF:99??", Command::kRefused, "qesformula: error 127 at position 1, length 13"},
        {"??AGE?? IN {1 TO 10000000}", Command::kRefused, "qesformula: error 14 at position 12, length 15"},
        {std::string(10000, '(') + "1" + std::string(10000, ')'), Command::kRefused,
         "qesformula: error 128 at position 101, length 1"},
        {"YEAR(#99999-01-01#)", Command::kRefused, "qesformula: error 7 at position 6, length 1"},
        {"FORMAT(??AGE??, 10000)", Command::kResultsPrinted, "1\t34.000000000"},
        {"??AGE?? + ??AVIS??", Command::kResultsPrinted, "1\t\n"},
        {"??AGE?? IN {1 TO 1000000}", Command::kResultsPrinted, "1\t1\n"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.formula.substr(0, 60));
        const Outcome run = Run({Questionnaire(), item.formula});
        EXPECT_EQ(run.exitCode, item.exitCode);
        const std::string& printed = item.exitCode == Command::kResultsPrinted ? run.out : run.err;
        EXPECT_EQ(printed.rfind(item.printed, 0), 0u) << printed.substr(0, 200);
        if (item.exitCode == Command::kResultsPrinted) {
            EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 8);
        }
    }
}

// The results of EvaluerFormule belong to the interviews in key order; carried to a loop's level
// each record takes its interview's result.
TEST_F(Qesformula, ResultsFollowTheInterviewsAndCarryToALevel) {
    CContexteEtude context;
    context.questionnairePath = Questionnaire();
    ASSERT_TRUE(context.OuvrirEtude()) << context.GetLastError();
    FormulaError error;
    std::vector<std::string> results{"kept"};
    ASSERT_TRUE(EvaluerFormule("??SEXE?? = 2", error, context, results));
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(results, (std::vector<std::string>{"kept", "0", "1", "0", "1", "0", "1", "0", "1"}));

    results.clear();
    ASSERT_TRUE(EvaluerFormule("??AGE??", error, context, results));
    CQuestionNiveau* persons = context.DonnerNiveau(1);
    ASSERT_NE(persons, nullptr);
    std::string levelError;
    ASSERT_TRUE(persons->ChargerEffectifs(context, 1, levelError)) << levelError;
    std::vector<std::string> carried;
    ASSERT_TRUE(persons->TransfererTextes(results, carried, 0, 1));
    EXPECT_EQ(carried, (std::vector<std::string>{"34", "34", "-888889", "18", "18", "18", "0"}));

    // A question of the loop has no single answer per interview: its reading fails, and nothing
    // is appended.
    results.clear();
    EXPECT_FALSE(EvaluerFormule("1 + ??AGEP??", error, context, results));
    EXPECT_EQ(error.code, FormulaError::kLectureImpossible);
    EXPECT_EQ(error.position, 5);
    EXPECT_EQ(error.length, 8);
    EXPECT_FALSE(error.text.empty());
    EXPECT_TRUE(results.empty());
}

} // namespace
