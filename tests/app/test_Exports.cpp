// The two exports: the interviews of a study field, and a selection of questions at a level.
// A failed export leaves no file; the open questionnaire is never a target.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ContextTestSupport.h"
#include "DataAccessTestSupport.h"
#include "app/StringTable.h"

using namespace data_access_test;
namespace fs = std::filesystem;

namespace {

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.Sub("reponses.qes");
        survey_test::WriteFixtureText(kAnswers, folder.Path(), path);
        ui = context_test::InstallRecorder(context);
        context.questionnairePath = path;
        ASSERT_TRUE(context.OuvrirEtude());
        original = context_test::FileBytes(path);
    }

    CVecteurDouble Membership(const std::vector<double>& values) {
        CVecteurDouble membership(static_cast<int>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i)
            membership.SetAt(static_cast<int>(i), values[i]);
        return membership;
    }

    int Position(std::int32_t code, const std::string& keys = {}) {
        int index = -1;
        EXPECT_TRUE(context.TrouverIndexQuestion(context.TrouverQuestion(code, keys, 0), index)) << code;
        return index;
    }

    std::vector<std::string> FilesInFolder() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    context_test::SettingsInMemory settings;
    survey_test::TemporaryFolder folder;
    std::string path;
    CContexteEtude context;
    RecordingUserInterface* ui = nullptr;
    std::string original;
};

TEST_F(ExportTest, TheInterviewsOfAStudyFieldKeepOnlyTheirRecords) {
    const std::string target = folder.Sub("champ.qes");
    context_test::WriteQuestionnaire(context_test::kVentes, target); // replaced by the export
    CDataAccess access(context, false);
    ASSERT_TRUE(access.ExporterInterviewsChampEtude(target, Membership({1, 0, 1, 0}))) << access.GetErrorText();
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_GT(ui->waitCount, 0);
    EXPECT_EQ(ColumnBySql(target, "SELECT Cle1 FROM \"VEL Reponse1\" ORDER BY Cle1"),
              (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(ColumnBySql(target, "SELECT Cle1 || '.' || Cle2 FROM \"VEL Reponse2\" ORDER BY Cle1, Cle2"),
              (std::vector<std::string>{"1.1", "1.2", "3.2"}));
    EXPECT_EQ(ColumnBySql(target, "SELECT Cle1 || '.' || Cle2 FROM \"VEL Reponse3\" ORDER BY Cle1, Cle2"),
              (std::vector<std::string>{"1.1", "1.2", "3.1"}));
    EXPECT_EQ(context_test::FileBytes(path), original);
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"champ.qes", "reponses.qes"}));

    // The copy opens as a questionnaire of two interviews, with their answers.
    survey_test::TestSurvey copy;
    copy.basePath = target;
    ASSERT_TRUE(copy.Ouvrir()) << copy.GetLastError();
    EXPECT_EQ(copy.DonnerNbreInterviews(), 2);
}

TEST_F(ExportTest, AFailedStudyFieldExportLeavesNoFile) {
    // The copy cannot be made: the message of the copy, and no file.
    CDataAccess access(context, false);
    EXPECT_FALSE(access.ExporterInterviewsChampEtude(folder.Sub("absent/champ.qes"), Membership({1, 1, 1, 1})));
    ASSERT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ui->shown[0].message, Message(StringTable::kImpossibleCopierFichier));
    EXPECT_EQ(ui->ShownTexts()[0], "Impossible de copier le fichier");

    // The filtering fails half-way (a table without its index): reported, the partial copy
    // removed, and a file already at the target left as it was.
    ExecuteSql(path, "DROP INDEX \"VEL Reponse3.PrimaryKey\"");
    const std::string target = folder.Sub("champ.qes");
    context_test::WriteQuestionnaire(context_test::kVentes, target);
    const std::string before = context_test::FileBytes(target);
    EXPECT_FALSE(access.ExporterInterviewsChampEtude(target, Membership({1, 0, 1, 0})));
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_NE(ui->ShownTexts()[1].find("PrimaryKey"), std::string::npos) << ui->ShownTexts()[1];
    EXPECT_EQ(context_test::FileBytes(target), before);
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"champ.qes", "reponses.qes"}));
}

TEST_F(ExportTest, TheOpenQuestionnaireIsNeverATarget) {
    fs::create_directory(folder.Sub("sub"));
    const std::string spellings[] = {path, folder.Sub("sub/../reponses.qes")};
    for (const std::string& target : spellings) {
        SCOPED_TRACE(target);
        ui->shown.clear();
        CDataAccess access(context, false);
        EXPECT_FALSE(access.ExporterInterviewsChampEtude(target, Membership({0, 0, 0, 0})));
        EXPECT_FALSE(access.ExporterSelectionQuestions(target, {static_cast<std::uint32_t>(Position(1))}, false, 0, 0));
        ASSERT_EQ(ui->shown.size(), 2u);
        EXPECT_EQ(ui->shown[0].message.id, StringTable::kExportSurQuestionnaireOuvert);
        EXPECT_EQ(context_test::FileBytes(path), original);
    }
    EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"reponses.qes", "sub"}));
}

class SelectionExportTest : public ExportTest {
protected:
    // Exports, then opens the new questionnaire.
    void Export(const std::vector<std::uint32_t>& positions, bool withVersion, int version, int level) {
        CDataAccess access(context, false);
        ASSERT_TRUE(access.ExporterSelectionQuestions(target, positions, withVersion, version, level))
            << access.GetErrorText();
        // Nothing is said but the report of MARQUES's answer that names no modality (interview
        // 3's code 4), when it is among the questions read.
        for (const RecordingUserInterface::Shown& shown : ui->shown)
            EXPECT_EQ(shown.message, Message(StringTable::kReponsesHorsModalites, {"MARQUES", "1"}))
                << StringTable::Format(shown.message);
        exported.basePath = target;
        ASSERT_TRUE(exported.Ouvrir()) << exported.GetLastError();
    }

    std::vector<std::vector<int>> ExportedClosed(std::int32_t code) {
        CDataAccess access(exported, false);
        CMatriceCodes* matrix = nullptr;
        EXPECT_TRUE(access.LireTableFermee(*exported.TrouverQuestion(code, {}, 0), matrix)) << access.GetErrorText();
        if (matrix == nullptr)
            return {};
        auto rows = Rows(*matrix);
        exported.GetClosedAnswerCache()->Liberer(nullptr, matrix);
        return rows;
    }

    std::vector<double> ExportedNumeric(std::int32_t code) {
        CDataAccess access(exported, false);
        CVecteurDouble* values = nullptr;
        EXPECT_TRUE(access.LireTableNumerique(*exported.TrouverQuestion(code, {}, 0), values)) << access.GetErrorText();
        if (values == nullptr)
            return {};
        auto result = Values(*values);
        exported.GetNumericCache()->Liberer(nullptr, values);
        return result;
    }

    std::string target = folder.Sub("selection.qes");
    survey_test::TestSurvey exported;
};

TEST_F(SelectionExportTest, QuestionsAtTheInterviewLevelWithTheVersion) {
    // A long name is cut to 50 characters, never inside a character.
    const std::string longName = std::string(49, 'x') + "éé";
    context.TrouverQuestion(2, {}, 0)->name = longName;
    const std::string adults = context.TrouverQuestion(61, "1;", 0)->name;
    Export({static_cast<std::uint32_t>(Position(1)), static_cast<std::uint32_t>(Position(2)),
            static_cast<std::uint32_t>(Position(3)), static_cast<std::uint32_t>(Position(61, "1;"))},
           true, 3, 0);
    EXPECT_EQ(ui->shown.size(), 1u);
    EXPECT_EQ(ColumnBySql(target, "SELECT Code || ' ' || Name FROM Question ORDER BY Position"),
              (std::vector<std::string>{"1 Version", "2 MARQUES", "3 " + std::string(49, 'x') + "é", "4 AVIS",
                                        "5 " + adults}));
    // Modalities numbered in one sequence across the questionnaire, without -1 and -2.
    EXPECT_EQ(ColumnBySql(target, "SELECT Code FROM Modalite ORDER BY Question, Position"),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(ColumnBySql(target, "SELECT Cle1 || ':' || Completed FROM \"VEL Reponse1\" ORDER BY Cle1"),
              (std::vector<std::string>{"1:1", "2:1", "3:1", "4:1"}));

    EXPECT_EQ(ExportedNumeric(1), (std::vector<double>{3, 3, 3, 3}));
    EXPECT_EQ(ExportedClosed(2), (std::vector<std::vector<int>>{{0, 1, E}, {4, E, E}, {2, 2, E}, {4, E, E}}));
    EXPECT_EQ(ExportedNumeric(3), (std::vector<double>{34.5, kNotAsked, 61, kNoAnswer}));
    CDataAccess access(exported, false);
    std::vector<std::string> texts;
    ASSERT_TRUE(access.LireTableOuverte(*exported.TrouverQuestion(4, {}, 0), texts)) << access.GetErrorText();
    EXPECT_EQ(texts, (std::vector<std::string>{"Bien", "", "", ""}));
    EXPECT_EQ(ExportedClosed(5), (std::vector<std::vector<int>>{{0}, {2}, {2}, {2}}));
    EXPECT_EQ(context_test::FileBytes(path), original);
}

TEST_F(SelectionExportTest, QuestionsCarriedToALoopLevel) {
    // One interview per member: MARQUES comes down from each member's household.
    Export({static_cast<std::uint32_t>(Position(1)), static_cast<std::uint32_t>(Position(61)),
            static_cast<std::uint32_t>(Position(62))},
           false, 0, 1);
    EXPECT_EQ(exported.DonnerNbreInterviews(), 4);
    EXPECT_EQ(ExportedClosed(1), (std::vector<std::vector<int>>{{0, 1, E}, {0, 1, E}, {2, 2, E}, {4, E, E}}));
    EXPECT_EQ(ExportedClosed(2), (std::vector<std::vector<int>>{{0}, {1}, {0}, {2}}));
    EXPECT_EQ(ExportedNumeric(3), (std::vector<double>{180, 120, kNotAsked, 170}));
}

TEST_F(SelectionExportTest, AQuestionThatCannotBeCarriedIsReportedAndSkipped) {
    // A member's question cannot go up to the interviews: reported, and the rest is exported.
    CDataAccess access(context, false);
    ASSERT_TRUE(access.ExporterSelectionQuestions(
        target, {static_cast<std::uint32_t>(Position(62)), static_cast<std::uint32_t>(Position(2))}, false, 0, 0));
    EXPECT_EQ(ui->shown.size(), 1u);
    exported.basePath = target;
    ASSERT_TRUE(exported.Ouvrir()) << exported.GetLastError();
    EXPECT_EQ(ExportedNumeric(1), (std::vector<double>{kNotAsked, kNotAsked, kNotAsked, kNotAsked}));
    EXPECT_EQ(ExportedNumeric(2), (std::vector<double>{34.5, kNotAsked, 61, kNoAnswer}));
}

} // namespace
