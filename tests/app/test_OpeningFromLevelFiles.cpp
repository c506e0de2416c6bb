// Opening a survey whose inverted files can be believed counts its records from the level files:
// the keys and counts must be those the response tables give, for the interviews and every loop,
// with all interviews or the completed ones only; a level file that cannot be believed (damaged,
// of another state, of the other choice of interviews) leaves the counting to the tables.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InversionTestSupport.h"
#include "app/Inversion.h"
#include "app/InvertedFiles.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"

using namespace inversion_test;

namespace {

// The loop fixture's interviews with a completion mark: interview 2 is not completed, interview 3
// does not say (it counts as completed).
std::string LoopsWithCompletion() {
    std::string text = kLoops;
    const auto replace = [&text](const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    replace("records\nCle1,1;1,", "records\nCle1,Completed,1;1,");
    replace("\n1,1,34,", "\n1,true,1,34,");
    replace("\n2,2,51,", "\n2,false,2,51,");
    replace("\n3,-2,,", "\n3,,-2,,");
    replace("\n4,1,27,", "\n4,true,1,27,");
    return text;
}

// Every level's keys and its counts under each ancestor level, as the opened survey holds them
// once every level is loaded.
struct Levels {
    std::vector<CRecordKeys> keys;
    std::vector<std::vector<std::vector<std::int32_t>>> counts; // by level, then ancestor level
    int interviews = 0;
    bool operator==(const Levels&) const = default;
};

Levels LoadEveryLevel(CEnquete& survey) {
    Levels levels;
    levels.interviews = survey.DonnerNbreInterviews();
    for (int level = 0; level < survey.DonnerNbreNiveaux(); ++level) {
        CQuestionNiveau& loaded = *survey.DonnerNiveau(level);
        std::string error;
        EXPECT_TRUE(loaded.ChargerEffectifs(survey, level, error)) << error;
        levels.keys.push_back(loaded.GetEnregistrements());
        std::vector<std::vector<std::int32_t>> counts;
        for (int ancestor = 0; ancestor < level; ++ancestor) {
            std::vector<std::int32_t> under;
            loaded.GetEffectifs(ancestor, under);
            counts.push_back(under);
        }
        levels.counts.push_back(counts);
    }
    return levels;
}

class OpeningFromLevelFilesTest : public ::testing::TestWithParam<bool> {
protected:
    OpeningFromLevelFilesTest() : fixture(LoopsWithCompletion().c_str(), "ouverture") {}

    bool CompletedOnly() const { return GetParam(); }

    // Opens with the tables only (no inversion believed), then inverts and opens again.
    void OpenFromTablesThenInvert() {
        fixture.survey.UseCompletedOnly = CompletedOnly();
        ASSERT_TRUE(fixture.Open());
        ASSERT_FALSE(fixture.survey.invertedFilesValid);
        fromTables = LoadEveryLevel(fixture.survey);
        ASSERT_EQ(CInversion(fixture.survey, fixture.ui).InverserBase(), CInversion::Issue::Done)
            << fixture.survey.GetLastError();
    }
    std::string InterviewFile() {
        return CInvertedFiles(fixture.survey).NomFichierNiveau(*fixture.survey.DonnerNiveau(0));
    }

    FixtureSurvey fixture;
    Levels fromTables;
};

TEST_P(OpeningFromLevelFilesTest, KeysAndCountsAreThoseOfTheTables) {
    OpenFromTablesThenInvert();
    ASSERT_TRUE(fixture.Open());
    EXPECT_TRUE(fixture.survey.invertedFilesValid);
    EXPECT_EQ(LoadEveryLevel(fixture.survey), fromTables);
    // Hand-counted: interviews 1 to 4, interview 2 left out when only completed ones count.
    EXPECT_EQ(fromTables.interviews, CompletedOnly() ? 3 : 4);
    EXPECT_EQ(fromTables.keys[0], CompletedOnly() ? (CRecordKeys{{1}, {3}, {4}}) : (CRecordKeys{{1}, {2}, {3}, {4}}));
}

// A level file the fingerprint records is what the opening counts: the tables are not read.
TEST_P(OpeningFromLevelFilesTest, TheOpeningReadsTheInterviewFile) {
    OpenFromTablesThenInvert();
    const CRecordKeys fewer = CompletedOnly() ? CRecordKeys{{1}, {3}} : CRecordKeys{{1}, {2}, {3}};
    std::string error;
    ASSERT_TRUE(CInvertedFiles::EcrireNiveau(InterviewFile(), fewer, 1, error)) << error;
    RecordAsWritten(fixture.survey, InterviewFile());
    fixture.survey.CheckInversion = false; // the stamp, of the former count, is then not compared
    ASSERT_TRUE(fixture.Open());
    EXPECT_EQ(fixture.survey.DonnerNiveau(0)->GetEnregistrements(), fewer);
    EXPECT_EQ(fixture.survey.DonnerNbreInterviews(), static_cast<int>(fewer.size()));
}

TEST_P(OpeningFromLevelFilesTest, ALevelFileThatCannotBeBelievedLeavesTheCountingToTheTables) {
    OpenFromTablesThenInvert();
    const std::string path = InterviewFile();
    const std::vector<std::uint8_t> good = FileBytes(path);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool recorded; // the fingerprint records the bytes as the program's own
    };
    const auto changed = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const Case cases[] = {
        {"a key changed after the inversion", changed(8, 9), false},
        {"truncated", std::vector<std::uint8_t>(good.begin(), good.end() - 4), false},
        {"rows not numbered in order", changed(12, 5), true},
        {"keys out of order", changed(8, 9), true},
        {"a count larger than the file", changed(0, 9), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.bytes);
        if (c.recorded)
            RecordAsWritten(fixture.survey, path);
        ASSERT_TRUE(fixture.Open());
        EXPECT_EQ(LoadEveryLevel(fixture.survey), fromTables);
    }
}

INSTANTIATE_TEST_SUITE_P(AllOrCompletedInterviews, OpeningFromLevelFilesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& tested) {
                             return tested.param ? "CompletedOnly" : "AllInterviews";
                         });

// The interview file holds the interviews the inversion counted: opened with the other choice,
// the survey counts from the table, and the answer files, of another number of rows, are not used.
TEST(OpeningFromLevelFiles, TheInterviewFileOfTheOtherChoiceOfInterviewsIsNotUsed) {
    for (const bool invertedWithCompletedOnly : {false, true}) {
        SCOPED_TRACE(invertedWithCompletedOnly);
        FixtureSurvey fixture(LoopsWithCompletion().c_str(), "choix");
        CEnquete& survey = fixture.survey;
        survey.UseCompletedOnly = invertedWithCompletedOnly;
        ASSERT_TRUE(fixture.Open());
        ASSERT_EQ(CInversion(survey, fixture.ui).InverserBase(), CInversion::Issue::Done) << survey.GetLastError();
        survey.UseCompletedOnly = !invertedWithCompletedOnly;
        ASSERT_TRUE(fixture.Open());
        EXPECT_EQ(survey.DonnerNbreInterviews(), invertedWithCompletedOnly ? 4 : 3);
        CQuestionEtendue& sexe = *survey.DonnerQuestion(0);
        CMatriceCodes* codes = nullptr;
        EXPECT_FALSE(CInvertedFiles(survey).LireFichierFermees(sexe, codes));
    }
}

} // namespace
