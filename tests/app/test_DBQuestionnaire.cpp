#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SurveyTestSupport.h"
#include "app/DBQuestionnaire.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/QuestionNiveau.h"
#include "app/Recodage.h"
#include "app/TblCalcule.h"
#include "app/TblRecode.h"
#include "platform/db/Database.h"
#include "platform/questionnaire/Questionnaire.h"
#include "support/RecordingUserInterface.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

using namespace survey_test;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteQuestionnaire(const std::string& path, int version) {
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
        "questionnaire \"Test\" language=fr version=" + std::to_string(version) +
            "\n"
            "language 1036 fr \"Français\"\n"
            "language 1033 en \"English\"\n"
            "question 1 SEXE closed\n  modality 1 fr \"Homme\"\n  modality 2 fr \"Femme\"\n"
            "question 2 AGE numeric\n",
        "test.txt", {});
    qesbuild::WriteFixture(fixture, path);
}

class DBQuestionnaireTest : public ::testing::Test {
protected:
    void SetUp() override {
        survey.basePath = folder.Sub("test.qes");
        WriteQuestionnaire(survey.basePath, 404);
    }

    TemporaryFolder folder;
    TestSurvey survey;
    RecordingUserInterface ui;
};

// ---- Structure --------------------------------------------------------------------------------

TEST(DBQuestionnaireStructure, AVersion400FileGetsTheApplicationsLanguageAlone) {
    TemporaryFolder folder;
    TestSurvey survey;
    survey.basePath = folder.Sub("old.qes");
    WriteQuestionnaire(survey.basePath, 400);
    CDBQuestionnaire file(survey);
    file.SetLangueApplication(1033);
    ASSERT_TRUE(file.Open(true)) << file.GetErrorText();
    CQuestionnaire questionnaire;
    ASSERT_TRUE(file.LireStructure(questionnaire)) << file.GetErrorText();
    ASSERT_EQ(questionnaire.GetLanguageCount(), 1);
    EXPECT_EQ(questionnaire.GetLanguage(0).id, 1033);
    EXPECT_TRUE(questionnaire.GetLanguage(0).isDefault);
    EXPECT_EQ(questionnaire.language, 1033);
    EXPECT_EQ(questionnaire.GetNbreQuestion(), 2);
}

TEST_F(DBQuestionnaireTest, AVersion401FileReadsItsLanguagesTable) {
    CDBQuestionnaire file(survey);
    ASSERT_TRUE(file.Open(true)) << file.GetErrorText();
    CQuestionnaire questionnaire;
    ASSERT_TRUE(file.LireStructure(questionnaire)) << file.GetErrorText();
    ASSERT_EQ(questionnaire.GetLanguageCount(), 2);
    EXPECT_EQ(questionnaire.GetLanguage(1).id, 1033);
    EXPECT_EQ(questionnaire.language, 1036);
    ASSERT_EQ(questionnaire.GetNbreQuestion(), 2);
}

// ---- Computed variables -----------------------------------------------------------------------

TEST_F(DBQuestionnaireTest, VariablesAreReadInKeyOrder) {
    {
        CDBQuestionnaire file(survey);
        ASSERT_TRUE(file.Open(false)) << file.GetErrorText();
        EXPECT_FALSE(file.ExisteTableVariable());
        ASSERT_TRUE(CTblCalcule::CreerTable(file.GetDatabase()));
        CTblCalcule table(file.GetDatabase());
        table.Open();
        for (int code : {9, 3}) {
            table.AddNew();
            table.m_CodeVariable = code;
            table.m_Libelle = "V" + std::to_string(code);
            table.m_TypeVariable = 4;
            table.m_CodeQuestion1 = 1;
            table.m_ClesQuestion1 = "2;";
            table.m_CodeRegroupement2 = 5;
            table.m_NbMaxReponse = 3;
            table.Update();
        }
    }
    CDBQuestionnaire file(survey, &ui);
    ASSERT_TRUE(file.Open(true));
    EXPECT_TRUE(file.ExisteTableVariable());
    std::vector<std::unique_ptr<CQuestionCalculee>> definitions;
    file.LireVariables(definitions);
    ASSERT_EQ(definitions.size(), 2u);
    EXPECT_EQ(definitions[0]->code, 3);
    EXPECT_EQ(definitions[1]->label, "V9");
    EXPECT_EQ(definitions[0]->kind, 4);
    EXPECT_EQ(definitions[0]->reference1.keys, "2;");
    EXPECT_EQ(definitions[0]->reference2.recodeCode, 5);
    EXPECT_EQ(definitions[0]->maxAnswers, 3);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DBQuestionnaireTest, ReadingVariablesWithoutTheTableShowsTheDatabaseTextAndAddsNothing) {
    CDBQuestionnaire file(survey, &ui);
    ASSERT_TRUE(file.Open(true));
    std::vector<std::unique_ptr<CQuestionCalculee>> definitions;
    file.LireVariables(definitions);
    EXPECT_TRUE(definitions.empty());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].message.id, 0);
    EXPECT_NE(ui.ShownTexts()[0].find("MFW Variable"), std::string::npos) << ui.ShownTexts()[0];
}

// ---- Recodes ----------------------------------------------------------------------------------

// A recode that keeps its source's answers; type 3 is left to no one, so it is skipped.
class KeepingRecode final : public CRecodage {
public:
    explicit KeepingRecode(CEnquete* survey) : CRecodage(survey) {}
    std::int16_t GetType() const override { return kModalite; }
    int DonnerNombreReponses(const CQuestionEtendue&) const override { return 1; }
    void Appliquer(CQuestionEtendue&, bool) const override {}
    bool EstApplicable(const CQuestionEtendue&) const override { return true; }
    void SetNiveauDepart(int level) override { sourceLevel = level; }
    int GetNiveauDepart() const override { return sourceLevel; }
    void SetDateType(std::int16_t mode) override { dateType = mode; }
    std::int16_t GetDateType() const override { return dateType; }
    int sourceLevel = -5;
    std::int16_t dateType = 99;

protected:
    std::unique_ptr<CRecodage> Clone() const override { return std::make_unique<KeepingRecode>(*this); }
};

class RecodesTest : public DBQuestionnaireTest {
protected:
    void SetUp() override {
        DBQuestionnaireTest::SetUp();
        previous = CRecodage::EnregistrerFabrique([](std::int16_t type, CEnquete* owner) -> std::unique_ptr<CRecodage> {
            if (type != CRecodage::kModalite)
                return nullptr;
            return std::make_unique<KeepingRecode>(owner);
        });
        questions.push_back(std::make_unique<CQuestionEtendue>(&survey));
        questions.back()->code = 1;
        questions.back()->name = "SEXE";
        AddLevel(survey, 0, 0, "Interviews");
        AddLevel(survey, 500, 1, "PERSONNES");
    }
    void TearDown() override { CRecodage::EnregistrerFabrique(previous); }

    void AddRecode(std::int16_t type, const std::string& label, std::int32_t sourceLevelCode) {
        CDBQuestionnaire file(survey);
        ASSERT_TRUE(file.Open(false));
        ASSERT_TRUE(CTblRecode::CreerTable(file.GetDatabase()));
        CTblRecode table(file.GetDatabase(), 404);
        table.Open();
        table.AddNew();
        table.m_Type = type;
        table.m_Libelle = label;
        table.m_CodeQuestion = 1;
        table.m_CodeNiveauDepart = sourceLevelCode;
        table.m_DateType = 2;
        table.Update();
    }

    CRecodage::Fabrique previous;
    std::vector<std::unique_ptr<CQuestionEtendue>> questions;
};

TEST_F(RecodesTest, AFileWithoutRecodesAddsNothing) {
    CDBQuestionnaire file(survey, &ui);
    file.LireRecodages(questions, survey.levels);
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(RecodesTest, EachKnownRecodeInsertsItsQuestionAfterTheSourceAndUnknownTypesAreSkipped) {
    AddRecode(CRecodage::kModalite, "en 2", 500);
    AddRecode(CRecodage::kDiscrete, "inconnu", 0);
    AddRecode(CRecodage::kModalite, "sans niveau", 777);
    survey.fileVersion = 404;
    CDBQuestionnaire file(survey, &ui);
    file.LireRecodages(questions, survey.levels);
    EXPECT_TRUE(ui.shown.empty());
    ASSERT_EQ(questions.size(), 3u);
    std::vector<std::string> names;
    for (const auto& question : questions)
        names.push_back(question->name);
    // Each insertion goes right after the source, so the later recode comes first.
    EXPECT_EQ(names, (std::vector<std::string>{"SEXE", "sans niveau", "en 2"}));
    const auto* byLevel = dynamic_cast<const KeepingRecode*>(questions[2]->GetRecodage());
    const auto* noLevel = dynamic_cast<const KeepingRecode*>(questions[1]->GetRecodage());
    ASSERT_NE(byLevel, nullptr);
    ASSERT_NE(noLevel, nullptr);
    EXPECT_EQ(byLevel->sourceLevel, 1);
    EXPECT_EQ(noLevel->sourceLevel, 0);
    EXPECT_EQ(byLevel->dateType, 2);
    EXPECT_EQ(questions[2]->recodeId, 1);
}

TEST_F(RecodesTest, AVersion402FileDoesNotReadDateType) {
    AddRecode(CRecodage::kModalite, "en 2", 0);
    survey.fileVersion = 402;
    CDBQuestionnaire file(survey, &ui);
    file.LireRecodages(questions, survey.levels);
    ASSERT_EQ(questions.size(), 2u);
    const auto* recode = dynamic_cast<const KeepingRecode*>(questions[1]->GetRecodage());
    ASSERT_NE(recode, nullptr);
    EXPECT_EQ(recode->dateType, -1);
}

// ---- The level-link field ---------------------------------------------------------------------

TEST_F(DBQuestionnaireTest, AFileThatHasTheLevelLinkFieldIsLeftByteIdentical) {
    const std::string before = FileBytes(survey.basePath);
    std::string reason;
    EXPECT_TRUE(CDBQuestionnaire::VerifierIsLevelLink(survey.basePath, &reason)) << reason;
    EXPECT_EQ(FileBytes(survey.basePath), before);
}

TEST_F(DBQuestionnaireTest, AFileWithoutTheLevelLinkFieldGainsIt) {
    {
        db::Database database(survey.basePath, db::Database::Access::ReadWrite);
        database.dropField("Questionnaire", "IsLevelLink");
    }
    std::string reason;
    EXPECT_TRUE(CDBQuestionnaire::VerifierIsLevelLink(survey.basePath, &reason)) << reason;
    db::Database database(survey.basePath, db::Database::Access::ReadOnly);
    EXPECT_EQ(database.fieldType("Questionnaire", "IsLevelLink"), db::FieldType::Boolean);
}

TEST(DBQuestionnaireLevelLink, FilesThatAreNotQuestionnairesAreRefusedAndLeftAsTheyWere) {
    TemporaryFolder folder;
    const std::string foreign = folder.Sub("foreign.sqlite");
    {
        db::Database database(foreign, db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing);
        database.createTable({"Clients", {{"Nom", db::FieldType::Text, 50}}, {}});
    }
    const std::string text = folder.Sub("notes.qes");
    std::ofstream(text) << "ceci n'est pas une base";
    const std::string missing = folder.Sub("absent.qes");

    for (const std::string& path : {foreign, text}) {
        SCOPED_TRACE(path);
        const std::string before = FileBytes(path);
        std::string reason;
        EXPECT_FALSE(CDBQuestionnaire::VerifierIsLevelLink(path, &reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(FileBytes(path), before);
    }
    std::string reason;
    EXPECT_FALSE(CDBQuestionnaire::VerifierIsLevelLink(missing, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
