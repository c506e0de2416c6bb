#include <algorithm>
#include <clocale>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <iterator>
#include <fstream>
#include <sqlite3.h>

#include "ContextTestSupport.h"
#include "DefinitionStoreTestSupport.h"
#include "SurveyTestSupport.h"
#include "app/CacheDonnees3.h"
#include "app/ChampEtude.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "app/QuestionCalculee.h"
#include "app/Redressement.h"
#include "app/TblCalcule.h"
#include "app/TblChamp.h"
#include "app/TblMotVide.h"
#include "app/TblRecode.h"
#include "app/VecteurDouble.h"
#include "platform/db/Database.h"
#include "support/RecordingUserInterface.h"

using namespace survey_test;
using namespace store_test;

namespace {

// The store with its text-level operations within reach of the tests.
class TextStore : public CDBQuestionnaire {
public:
    using CDBQuestionnaire::CDBQuestionnaire;
    using CDBQuestionnaire::ListPart;
    using CDBQuestionnaire::ListTexts;
    using CDBQuestionnaire::ReadNumericProfileTexts;
    using CDBQuestionnaire::ReadProfileTexts;
    using CDBQuestionnaire::ReadQuestionList;
    using CDBQuestionnaire::ReadStyleTexts;
    using CDBQuestionnaire::SaveNumericProfileTexts;
    using CDBQuestionnaire::SaveProfileTexts;
    using CDBQuestionnaire::SaveStyleTexts;
    using CDBQuestionnaire::WriteQuestionList;
};

void Execute(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
    char* message = nullptr;
    const int result = sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message);
    const std::string text = message != nullptr ? message : "";
    sqlite3_free(message);
    sqlite3_close(connection);
    ASSERT_EQ(result, SQLITE_OK) << text;
}

using Entries = std::vector<std::pair<std::int32_t, std::string>>;

template <class T>
Entries Listed(const std::vector<std::unique_ptr<T>>& list) {
    Entries entries;
    for (const auto& entry : list)
        entries.emplace_back(entry->id, entry->name);
    return entries;
}

class DefinitionStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        survey.basePath = folder.Sub("store->qes");
        WriteQuestionnaire(survey.basePath);
        sexe = &AddQuestion(survey, 1, "SEXE");
        age = &AddQuestion(survey, 2, "AGE");
        loop = &AddQuestion(survey, 5, "MARQUE (3)");
        loop->values = {3};
        recoded = &AddQuestion(survey, 1, "SEXE regroupé");
        recoded->recodeId = 7;
        owned = std::make_unique<TextStore>(survey, &ui);
        store = owned.get();
    }

    TemporaryFolder folder;
    TestSurvey survey;
    RecordingUserInterface ui;
    std::unique_ptr<TextStore> owned;
    TextStore* store = nullptr; // on the questionnaire written by SetUp
    CQuestionEtendue* sexe = nullptr;
    CQuestionEtendue* age = nullptr;
    CQuestionEtendue* loop = nullptr;
    CQuestionEtendue* recoded = nullptr;
};

// ---- The save, list and delete patterns, for every table keyed by an AutoNumber ----------------

// One kind of definition seen through its save (key in, key out), its listing and its delete.
struct KeyedKind {
    const char* name;
    std::function<bool(TextStore&, std::int32_t&, const std::string&)> save;
    std::function<bool(TextStore&, Entries&)> list; // without the fixed first entry
    std::function<bool(TextStore&, std::int32_t)> remove;
};

std::vector<KeyedKind> KeyedKinds() {
    const auto withoutFirst = [](Entries entries) {
        if (!entries.empty() && entries.front().first == -1)
            entries.erase(entries.begin());
        return entries;
    };
    return {
        {"study fields",
         [](TextStore& s, std::int32_t& key, const std::string& label) {
             CChampEtude field;
             field.id = key;
             field.name = label;
             const bool saved = s.SaveSubPopulation(field);
             key = field.id;
             return saved;
         },
         [withoutFirst](TextStore& s, Entries& out) {
             std::vector<std::unique_ptr<CChampEtude>> list;
             const bool read = s.ReadSubPopulationList(list);
             out = withoutFirst(Listed(list));
             return read;
         },
         [](TextStore& s, std::int32_t key) { return s.DeleteSubPopulation(key); }},
        {"weightings",
         [](TextStore& s, std::int32_t& key, const std::string& label) {
             CRedressement weighting;
             weighting.id = key;
             weighting.name = label;
             const bool saved = s.SaveWeighting(weighting);
             key = weighting.id;
             return saved;
         },
         [withoutFirst](TextStore& s, Entries& out) {
             std::vector<std::unique_ptr<CRedressement>> list;
             const bool read = s.GetWeightingList(list);
             out = withoutFirst(Listed(list));
             return read;
         },
         [](TextStore& s, std::int32_t key) { return s.DeleteWeighting(key); }},
        {"profile lists",
         [](TextStore& s, std::int32_t& key, const std::string& label) {
             return s.SaveProfileTexts(key, TextStore::ListPart::Active, {label, "1;", ""});
         },
         [withoutFirst](TextStore& s, Entries& out) {
             std::vector<std::unique_ptr<CIdName>> list;
             const bool read = s.GetProfileList(list);
             out = withoutFirst(Listed(list));
             return read;
         },
         [](TextStore& s, std::int32_t key) { return s.DeleteProfile(key); }},
        {"numeric lists",
         [](TextStore& s, std::int32_t& key, const std::string& label) {
             return s.SaveNumericProfileTexts(key, TextStore::ListPart::Active, {label, "2@@0|", ""});
         },
         [withoutFirst](TextStore& s, Entries& out) {
             std::vector<std::unique_ptr<CIdName>> list;
             const bool read = s.GetNumericProfileList(list);
             out = withoutFirst(Listed(list));
             return read;
         },
         [](TextStore& s, std::int32_t key) { return s.DeleteNumericProfile(key); }},
        {"styles",
         [](TextStore& s, std::int32_t& key, const std::string& label) {
             return s.SaveStyleTexts(key, label, "2|");
         },
         [](TextStore& s, Entries& out) {
             std::vector<std::unique_ptr<CIdName>> list;
             const bool read = s.GetStyleList(list);
             out = Listed(list);
             return read;
         },
         [](TextStore& s, std::int32_t key) { return s.DeleteStyle(key); }},
    };
}

TEST_F(DefinitionStoreTest, KeyMinusOneAddsThenEditsAndADeletedKeyIsNeverGivenAgain) {
    for (const KeyedKind& kind : KeyedKinds()) {
        SCOPED_TRACE(kind.name);
        std::int32_t first = -1;
        ASSERT_TRUE(kind.save(*store, first, "Premier")) << store->GetLastError();
        EXPECT_GT(first, 0);
        std::int32_t second = -1;
        ASSERT_TRUE(kind.save(*store, second, "Second")) << store->GetLastError();
        EXPECT_GT(second, first);

        // Saving again under the key it was given edits that record.
        std::int32_t edited = first;
        ASSERT_TRUE(kind.save(*store, edited, "Premier modifié")) << store->GetLastError();
        EXPECT_EQ(edited, first);
        Entries listed;
        ASSERT_TRUE(kind.list(*store, listed)) << store->GetLastError();
        const std::string firstLabel = "Premier modifié";
        EXPECT_EQ(listed.size(), 2U);
        EXPECT_NE(std::find(listed.begin(), listed.end(), std::make_pair(first, firstLabel)), listed.end());

        // The last key deleted is not given again, and saving under it adds a record.
        ASSERT_TRUE(kind.remove(*store, second)) << store->GetLastError();
        std::int32_t again = second;
        ASSERT_TRUE(kind.save(*store, again, "Troisième")) << store->GetLastError();
        EXPECT_GT(again, second);

        // Deleting a key that no record has succeeds and changes nothing.
        const std::string before = context_test::FileBytes(survey.basePath);
        EXPECT_TRUE(kind.remove(*store, second));
        EXPECT_TRUE(kind.remove(*store, 9999));
        EXPECT_EQ(context_test::FileBytes(survey.basePath), before);
        ASSERT_TRUE(kind.list(*store, listed));
        EXPECT_EQ(listed.size(), 2U);
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DefinitionStoreTest, ListsOfMissingTablesHoldOnlyTheirFixedEntryAndWriteNothing) {
    const std::string before = context_test::FileBytes(survey.basePath);
    std::vector<std::unique_ptr<CChampEtude>> fields;
    ASSERT_TRUE(store->ReadSubPopulationList(fields));
    EXPECT_EQ(Listed(fields), (Entries{{-1, "Toutes les interviews"}}));
    std::vector<std::unique_ptr<CRedressement>> weightings;
    ASSERT_TRUE(store->GetWeightingList(weightings));
    EXPECT_EQ(Listed(weightings), (Entries{{-1, "Aucun redressement"}}));
    std::vector<std::unique_ptr<CIdName>> profiles;
    ASSERT_TRUE(store->GetProfileList(profiles));
    EXPECT_EQ(Listed(profiles), (Entries{{-1, "{Aucun}"}}));
    std::vector<std::unique_ptr<CIdName>> numeric;
    ASSERT_TRUE(store->GetNumericProfileList(numeric));
    EXPECT_EQ(Listed(numeric), (Entries{{-1, "{Aucun}"}}));
    std::vector<std::unique_ptr<CIdName>> styles;
    ASSERT_TRUE(store->GetStyleList(styles));
    EXPECT_TRUE(styles.empty());
    EXPECT_EQ(context_test::FileBytes(survey.basePath), before);
}

TEST_F(DefinitionStoreTest, TheFixedFirstEntryIsThereEvenWhenTheDatabaseCannotBeOpened) {
    survey.basePath = folder.Sub("absent.qes");
    TextStore absent(survey, &ui);
    store = &absent;
    std::vector<std::unique_ptr<CChampEtude>> fields;
    EXPECT_FALSE(store->ReadSubPopulationList(fields));
    EXPECT_EQ(Listed(fields), (Entries{{-1, "Toutes les interviews"}}));
    EXPECT_FALSE(store->GetLastError().empty());
    std::vector<std::unique_ptr<CIdName>> profiles;
    EXPECT_FALSE(store->GetProfileList(profiles));
    EXPECT_EQ(Listed(profiles), (Entries{{-1, "{Aucun}"}}));
    EXPECT_FALSE(std::filesystem::exists(survey.basePath));
}

TEST_F(DefinitionStoreTest, ReadersAndDeletersOfAMissingTableFailEachByItsConvention) {
    TextStore::ListTexts texts;
    EXPECT_FALSE(store->ReadProfileTexts(1, TextStore::ListPart::Active, texts));
    EXPECT_NE(store->GetLastError().find("dans CDBQuestionnaire::ReadProfile"), std::string::npos)
        << store->GetLastError();
    EXPECT_TRUE(store->GetLastError().starts_with("Erreur de base de données '"));
    EXPECT_FALSE(store->DeleteWeighting(1));
    EXPECT_NE(store->GetLastError().find("dans CDBQuestionnaire::DeleteWeighting"), std::string::npos);
    EXPECT_TRUE(ui.shown.empty()); // "text" operations leave the showing to their caller

    std::string name;
    std::string calculations;
    EXPECT_FALSE(store->ReadStyleTexts(1, name, calculations));
    EXPECT_FALSE(store->DeleteStyle(1));
    ASSERT_EQ(ui.shown.size(), 2U); // "box" operations show the database's description at once
    EXPECT_EQ(ui.shown[0].message.id, 0);
    EXPECT_NE(ui.shown[0].message.arguments.at(0).find("MFW Style"), std::string::npos);
}

TEST_F(DefinitionStoreTest, ReadingAnAbsentKeyAnswersFalseWithoutError) {
    std::int32_t key = -1;
    ASSERT_TRUE(store->SaveProfileTexts(key, TextStore::ListPart::Active, {"Liste", "1;", ""}));
    ASSERT_TRUE(store->SaveStyleTexts(key, "Style", "2|"));
    TextStore::ListTexts texts{"inchangé", "", ""};
    EXPECT_FALSE(store->ReadProfileTexts(key + 100, TextStore::ListPart::Active, texts));
    EXPECT_EQ(texts.label, "inchangé");
    std::string name = "inchangé";
    std::string calculations;
    EXPECT_FALSE(store->ReadStyleTexts(key + 100, name, calculations));
    EXPECT_EQ(name, "inchangé");
    EXPECT_TRUE(store->GetLastError().empty());
    EXPECT_TRUE(ui.shown.empty());
}

// ---- Study fields -----------------------------------------------------------------------------

// A locale with a decimal comma for the life of the object, when the machine has one.
class CommaLocale {
public:
    CommaLocale() : m_previous(std::setlocale(LC_ALL, nullptr)) {
        for (const char* name : {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr)
                return;
        }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    std::string m_previous;
};

CChampEtude SampleField() {
    CChampEtude field;
    field.id = -1;
    field.name = "Jeunes femmes";
    field.description = "Moins de trente ans";
    field.connectors = {1, 0, 1};
    field.conditions[0].kind = 3;
    field.conditions[0].SetModalites({0, 2});
    field.conditions[1].kind = 8;
    field.conditions[1].a = 1.0 / 3.0;
    field.conditions[1].b = 0.0;
    field.conditions[2].kind = 9;
    field.conditions[2].a = -2.5e-7;
    field.conditions[2].b = 123456789012.25;
    return field;
}

TEST_F(DefinitionStoreTest, AStudyFieldRoundTripsWithItsStoredTextsWhateverTheLocale) {
    CommaLocale comma;
    CChampEtude field = SampleField();
    field.conditions[0].SetQuestion(sexe);
    field.conditions[1].SetQuestion(loop);
    field.conditions[2].SetQuestion(5, "3;", 0); // not bound: its stored reference is kept
    field.complexCondition = true;
    field.complexConditionText = "AGE < 30";
    ASSERT_TRUE(store->SaveSubPopulation(field)) << store->GetLastError();

    {
        db::Database database(survey.basePath, db::Database::Access::ReadOnly);
        CTblChamp record(database);
        record.Open();
        ASSERT_FALSE(record.IsEOF());
        EXPECT_EQ(record.m_Conditions[0].m_Modalites, "0;2;");
        EXPECT_EQ(record.m_Conditions[1].m_Bornes, "0.333333333333333;0");
        EXPECT_EQ(record.m_Conditions[2].m_Bornes, "-2.5e-07;123456789012.25");
        EXPECT_EQ(record.m_Conditions[3].m_Modalites, "");
        EXPECT_EQ(record.m_Conditions[3].m_Bornes, "0;0");
        EXPECT_EQ(record.m_Conditions[1].m_CodeQuestion, 5);
        EXPECT_EQ(record.m_Conditions[1].m_ClesQuestion, "3;");
        EXPECT_EQ(record.m_ConditionComplexe, "AGE < 30");
    }

    std::vector<std::unique_ptr<CChampEtude>> list;
    ASSERT_TRUE(store->ReadSubPopulationList(list)) << store->GetLastError();
    ASSERT_EQ(list.size(), 2U);
    const CChampEtude& read = *list[1];
    EXPECT_EQ(read.id, field.id);
    EXPECT_EQ(read.name, "Jeunes femmes");
    EXPECT_EQ(read.description, "Moins de trente ans");
    EXPECT_EQ(read.connectors, field.connectors);
    EXPECT_TRUE(read.complexCondition);
    EXPECT_EQ(read.complexConditionText, "AGE < 30");
    EXPECT_EQ(read.conditions[0].modalities, (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(read.conditions[0].kind, 3);
    EXPECT_NEAR(read.conditions[1].a, 1.0 / 3.0, 1e-15); // 15 significant digits are kept
    EXPECT_EQ(read.conditions[1].a, 0.333333333333333);
    EXPECT_EQ(read.conditions[2].a, -2.5e-7);
    EXPECT_EQ(read.conditions[2].b, 123456789012.25);
    EXPECT_EQ(read.conditions[0].question, nullptr); // bound when the survey hands out a copy
    EXPECT_EQ(read.conditions[2].questionCode, 5);
    EXPECT_EQ(read.conditions[2].keys, "3;");

    CChampEtude bound = read;
    bound.ResoudreQuestions(survey);
    EXPECT_EQ(bound.conditions[0].question, sexe);
    EXPECT_EQ(bound.conditions[1].question, loop);
    EXPECT_EQ(bound.conditions[2].question, loop);
    EXPECT_EQ(bound.conditions[3].question, nullptr);
}

TEST_F(DefinitionStoreTest, TheComplexConditionIsStoredOnlyWithItsFlag) {
    CChampEtude field = SampleField();
    field.complexCondition = false;
    field.complexConditionText = "AGE < 30";
    ASSERT_TRUE(store->SaveSubPopulation(field));
    std::vector<std::unique_ptr<CChampEtude>> list;
    ASSERT_TRUE(store->ReadSubPopulationList(list));
    ASSERT_EQ(list.size(), 2U);
    EXPECT_FALSE(list[1]->complexCondition);
    EXPECT_EQ(list[1]->complexConditionText, "");
}

TEST_F(DefinitionStoreTest, BoundsReadBackOnlyFromExactlyTwoNumbers) {
    CChampEtude field = SampleField();
    ASSERT_TRUE(store->SaveSubPopulation(field));
    Execute(survey.basePath, "UPDATE \"MFW ChampEtude\" SET Bornes1 = '5', Bornes2 = '', Bornes3 = '1;2;3', "
                             "Bornes4 = '2,5;7', Modalites2 = '4;1'");
    std::vector<std::unique_ptr<CChampEtude>> list;
    ASSERT_TRUE(store->ReadSubPopulationList(list));
    ASSERT_EQ(list.size(), 2U);
    const auto& conditions = list[1]->conditions;
    for (int n : {0, 1, 2}) {
        EXPECT_EQ(conditions[static_cast<std::size_t>(n)].a, 0.0) << n;
        EXPECT_EQ(conditions[static_cast<std::size_t>(n)].b, 0.0) << n;
    }
    EXPECT_EQ(conditions[3].a, 2.5); // a typed comma reads too
    EXPECT_EQ(conditions[3].b, 7.0);
    EXPECT_EQ(conditions[1].modalities, (std::vector<std::int32_t>{4, 1}));
}

TEST(ChampCondition, TextsOfTheSelectionAndTheBounds) {
    CChampCondition condition;
    EXPECT_EQ(condition.DonnerListeModalites(), "");
    EXPECT_EQ(condition.DonnerBornes(), "0;0");
    condition.SetModalites({0, 3});
    EXPECT_EQ(condition.DonnerListeModalites(), "0;3;");
    EXPECT_EQ(condition.DonnerNombreModalites(), 2);
    EXPECT_EQ(condition.DonnerModalite(1), 3);
    EXPECT_EQ(condition.DonnerModalite(2), -1);
    condition.a = 1.0 / 3.0;
    EXPECT_EQ(condition.DonnerBornes(), "0.333333333333333;0");
}

// ---- Weightings -------------------------------------------------------------------------------

TEST_F(DefinitionStoreTest, AWeightingKeepsItsDefinitionTextAsItIs) {
    CRedressement weighting;
    weighting.id = -1;
    weighting.name = "Sexe";
    weighting.description = "Calage sur le sexe";
    weighting.NTotal = 1234.5;
    weighting.definition = "2@@0~0@@0|0|1|#1@@0|1|2|48.5@51.5@#";
    ASSERT_TRUE(store->SaveWeighting(weighting)) << store->GetLastError();
    std::vector<std::unique_ptr<CRedressement>> list;
    ASSERT_TRUE(store->GetWeightingList(list));
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[1]->id, weighting.id);
    EXPECT_EQ(list[1]->description, "Calage sur le sexe");
    EXPECT_EQ(list[1]->NTotal, 1234.5);
    EXPECT_EQ(list[1]->definition, weighting.definition);
}

// ---- Profile lists and numeric lists ----------------------------------------------------------

TEST_F(DefinitionStoreTest, SavingTheActivePartKeepsTheIllustrativePartOfTheRecord) {
    std::int32_t analysis = -1;
    ASSERT_TRUE(store->SaveProfileTexts(analysis, TextStore::ListPart::Both, {"Analyse", "actives", "illustratives"}));
    std::int32_t plain = -1;
    ASSERT_TRUE(store->SaveProfileTexts(plain, TextStore::ListPart::Active, {"Simple", "seules", "ignoré"}));
    ASSERT_TRUE(store->SaveProfileTexts(analysis, TextStore::ListPart::Active, {"Analyse 2", "autres", "ignoré"}));

    TextStore::ListTexts texts;
    ASSERT_TRUE(store->ReadProfileTexts(analysis, TextStore::ListPart::Both, texts));
    EXPECT_EQ(texts.label, "Analyse 2");
    EXPECT_EQ(texts.active, "autres");
    EXPECT_EQ(texts.illustrative, "illustratives");
    // A new record starts with an empty illustrative part, whatever the table's other records hold.
    ASSERT_TRUE(store->ReadProfileTexts(plain, TextStore::ListPart::Both, texts));
    EXPECT_EQ(texts.active, "seules");
    EXPECT_EQ(texts.illustrative, "");

    std::int32_t numeric = -1;
    ASSERT_TRUE(store->SaveNumericProfileTexts(numeric, TextStore::ListPart::Both, {"N", "1@@0|", "2@@0|"}));
    ASSERT_TRUE(store->SaveNumericProfileTexts(numeric, TextStore::ListPart::Active, {"N", "5@3;@0|", ""}));
    ASSERT_TRUE(store->ReadNumericProfileTexts(numeric, TextStore::ListPart::Both, texts));
    EXPECT_EQ(texts.active, "5@3;@0|");
    EXPECT_EQ(texts.illustrative, "2@@0|");
}

TEST_F(DefinitionStoreTest, ListsAreInLabelOrder) {
    for (const char* label : {"zèbre", "Alpha", "beta"}) {
        std::int32_t key = -1;
        ASSERT_TRUE(store->SaveProfileTexts(key, TextStore::ListPart::Active, {label, "", ""}));
        key = -1;
        ASSERT_TRUE(store->SaveStyleTexts(key, label, ""));
    }
    std::vector<std::unique_ptr<CIdName>> profiles;
    ASSERT_TRUE(store->GetProfileList(profiles));
    std::vector<std::unique_ptr<CIdName>> styles;
    ASSERT_TRUE(store->GetStyleList(styles));
    const std::vector<std::string> expected{"Alpha", "beta", "zèbre"};
    std::vector<std::string> profileLabels;
    for (std::size_t i = 1; i < profiles.size(); ++i)
        profileLabels.push_back(profiles[i]->name);
    std::vector<std::string> styleLabels;
    for (const auto& style : styles)
        styleLabels.push_back(style->name);
    EXPECT_EQ(profileLabels, expected);
    EXPECT_EQ(styleLabels, expected);
}

TEST_F(DefinitionStoreTest, QuestionListsWriteReferencesAndSeparators) {
    EXPECT_EQ(TextStore::WriteQuestionList({sexe, nullptr, loop, recoded}), "1@@0|0|5@3;@0|1@@7|");
    EXPECT_EQ(TextStore::WriteQuestionList({}), "");
}

TEST_F(DefinitionStoreTest, QuestionListsReadBackWhatTheSurveyStillHas) {
    struct Case {
        const char* text;
        bool withSeparators;
        std::vector<CQuestionEtendue*> expected;
    };
    const std::vector<Case> cases = {
        {"1@@0|0|5@3;@0|1@@7|", true, {sexe, nullptr, loop, recoded}},
        {"1@@0|0|5@3;@0|", false, {sexe, loop}},   // the analysis forms have no separators
        {"2@0|1@7|", true, {age, recoded}},         // two parts: code and recode, no loop keys
        {"9@@0|2@@0|5@4;@0|", true, {age}},         // questions no longer in the survey are dropped
        {"|abc|2|@|2@@0@1|", true, {}},             // and so is anything else
    };
    for (const Case& c : cases) {
        std::vector<CQuestionEtendue*> entries{age};
        store->ReadQuestionList(c.text, c.withSeparators, entries);
        std::vector<CQuestionEtendue*> expected{age}; // appended to what the list holds
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(entries, expected) << c.text;
    }
}

// ---- Recodes ----------------------------------------------------------------------------------

FakeRecode SampleRecode(CEnquete& survey) {
    FakeRecode recode(CRecodage::kIntervalle, &survey);
    recode.id = 0;
    recode.label = "AGE en classes";
    recode.sourceQuestionCode = 2;
    recode.sourceRecodeCode = 0;
    recode.subtype = 1;
    recode.cumulative = true;
    recode.grouping = "18;25;35;";
    recode.unit = "ans";
    recode.minus = true;
    recode.whole = true;
    recode.dateType = 2;
    recode.sourceLevel = 1;
    recode.targetLevel = 0;
    return recode;
}

TEST_F(DefinitionStoreTest, ARecodeIsStoredWithItsLevelCodesAndGetsItsKeyBack) {
    AddLevel(survey, 0, 0, "Interviews");
    AddLevel(survey, 42, 1, "Membres");
    FakeRecode recode = SampleRecode(survey);
    ASSERT_TRUE(store->SauverRecodage(recode)) << store->GetLastError();
    EXPECT_GT(recode.id, 0);
    const std::int32_t key = recode.id;
    recode.label = "AGE en 3 classes";
    ASSERT_TRUE(store->SauverRecodage(recode)) << store->GetLastError();
    EXPECT_EQ(recode.id, key);

    db::Database database(survey.basePath, db::Database::Access::ReadOnly);
    EXPECT_EQ(database.rowCount("MFW Recode"), 1);
    CTblRecode record(database, 404);
    record.Open();
    ASSERT_FALSE(record.IsEOF());
    EXPECT_EQ(record.m_CodeRecodage, key);
    EXPECT_EQ(record.m_Libelle, "AGE en 3 classes");
    EXPECT_EQ(record.m_CodeQuestion, 2);
    EXPECT_EQ(record.m_Type, CRecodage::kIntervalle);
    EXPECT_EQ(record.m_SousType, 1);
    EXPECT_TRUE(record.m_EstCumule);
    EXPECT_EQ(record.m_Regroupement, "18;25;35;");
    EXPECT_EQ(record.m_Unite, "ans");
    EXPECT_TRUE(record.m_EstMoins);
    EXPECT_FALSE(record.m_EstPlus);
    EXPECT_TRUE(record.m_EstEntier);
    EXPECT_EQ(record.m_DateType, 2);
    EXPECT_EQ(record.m_CodeNiveauDepart, 42);
    EXPECT_EQ(record.m_CodeNiveauArrivee, 0);
}

TEST_F(DefinitionStoreTest, AnOlderFileGetsNoDateTypeWritten) {
    survey.fileVersion = 402;
    FakeRecode recode = SampleRecode(survey);
    ASSERT_TRUE(store->SauverRecodage(recode)) << store->GetLastError();
    db::Database database(survey.basePath, db::Database::Access::ReadOnly);
    CTblRecode record(database, 404);
    record.Open();
    ASSERT_FALSE(record.IsEOF());
    EXPECT_EQ(record.m_Libelle, "AGE en classes");
    EXPECT_EQ(record.m_DateType, -1); // the table has the field; this file's layout leaves it empty
}

TEST_F(DefinitionStoreTest, DeletingARecodeRemovesItsRecordAlone) {
    FakeRecode first = SampleRecode(survey);
    FakeRecode second = SampleRecode(survey);
    ASSERT_TRUE(store->SauverRecodage(first));
    ASSERT_TRUE(store->SauverRecodage(second));
    ASSERT_TRUE(store->SupprimerRecodage(first));
    EXPECT_TRUE(store->SupprimerRecodage(first));
    db::Database database(survey.basePath, db::Database::Access::ReadOnly);
    EXPECT_EQ(database.rowCount("MFW Recode"), 1);
    EXPECT_TRUE(ui.shown.empty());
}

// ---- Computed variables -----------------------------------------------------------------------

TEST_F(DefinitionStoreTest, AComputedVariableIsKeyedByItsOwnCode) {
    CQuestionCalculee variable;
    variable.code = 12;
    variable.label = "Âge au carré";
    variable.kind = 3;
    variable.definition = "AGE*AGE";
    variable.themes = "a|b|";
    variable.maxAnswers = 1;
    variable.responseTable = 2;
    variable.source1 = loop;
    variable.reference2 = {2, "", 0}; // read but not bound: kept as it was read
    ASSERT_TRUE(store->SauverVariable(variable));
    Execute(survey.basePath, "UPDATE \"MFW Variable\" SET EstCumule = 1");
    variable.label = "Carré";
    ASSERT_TRUE(store->SauverVariable(variable));

    {
        db::Database database(survey.basePath, db::Database::Access::ReadOnly);
        EXPECT_EQ(database.rowCount("MFW Variable"), 1);
        CTblCalcule record(database);
        record.Open();
        ASSERT_FALSE(record.IsEOF());
        EXPECT_EQ(record.m_CodeVariable, 12);
        EXPECT_EQ(record.m_Libelle, "Carré");
        EXPECT_EQ(record.m_TypeVariable, 3);
        EXPECT_EQ(record.m_Expression, "AGE*AGE");
        EXPECT_EQ(record.m_Themes, "a|b|");
        EXPECT_EQ(record.m_NbMaxReponse, 1);
        EXPECT_EQ(record.m_NroTableReponse, 2);
        EXPECT_EQ(record.m_CodeQuestion1, 5);
        EXPECT_EQ(record.m_ClesQuestion1, "3;");
        EXPECT_EQ(record.m_CodeQuestion2, 2);
        // The flag holds the superposition option of kind 6 alone: another kind writes 0.
        EXPECT_EQ(record.m_EstCumule, 0);
    }
    variable.kind = 6;
    variable.superposition = 1;
    ASSERT_TRUE(store->SauverVariable(variable));
    {
        db::Database database(survey.basePath, db::Database::Access::ReadOnly);
        CTblCalcule record(database);
        record.Open();
        ASSERT_FALSE(record.IsEOF());
        EXPECT_EQ(record.m_EstCumule, 1);
    }
    variable.kind = 3;

    // A deleted variable comes back under its own code.
    ASSERT_TRUE(store->SupprimerVariable(variable));
    EXPECT_TRUE(store->SupprimerVariable(variable));
    ASSERT_TRUE(store->SauverVariable(variable));
    db::Database database(survey.basePath, db::Database::Access::ReadOnly);
    CTblCalcule record(database);
    record.Open();
    ASSERT_FALSE(record.IsEOF());
    EXPECT_EQ(record.m_CodeVariable, 12);
    EXPECT_EQ(record.m_EstCumule, 0);
    EXPECT_TRUE(ui.shown.empty());
}

// ---- Failures leave the file as it was --------------------------------------------------------

TEST_F(DefinitionStoreTest, ASaveThatFailsHalfWayLeavesTheFileUnchanged) {
    CChampEtude existing = SampleField();
    ASSERT_TRUE(store->SaveSubPopulation(existing));
    Execute(survey.basePath, "CREATE TRIGGER refuse BEFORE INSERT ON \"MFW ChampEtude\" "
                             "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    const std::string before = context_test::FileBytes(survey.basePath);

    CChampEtude field = SampleField();
    EXPECT_FALSE(store->SaveSubPopulation(field));
    EXPECT_EQ(field.id, -1);
    EXPECT_EQ(store->GetLastError(),
              "Erreur de base de données 'refused by the test' dans CDBQuestionnaire::SaveSubPopulation");
    EXPECT_EQ(context_test::FileBytes(survey.basePath), before);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DefinitionStoreTest, ATableThatCannotBeCreatedFailsTheSaveAndLeavesTheFileUnchanged) {
    // SQLite's index names are global: a table bearing the name of the weighting table's label
    // index stops the table's creation half-way.
    Execute(survey.basePath, "CREATE TABLE \"MFW Redressement.Libelle\" (x)");
    const std::string before = context_test::FileBytes(survey.basePath);
    CRedressement weighting;
    weighting.id = -1;
    weighting.name = "Sexe";
    EXPECT_FALSE(store->SaveWeighting(weighting));
    EXPECT_EQ(weighting.id, -1);
    EXPECT_FALSE(store->GetLastError().empty());
    EXPECT_EQ(context_test::FileBytes(survey.basePath), before);

    // The recode save goes on past its creator and fails on the table itself.
    Execute(survey.basePath, "CREATE TABLE \"MFW Recode.Index1\" (x)");
    const std::string withRecodeBlock = context_test::FileBytes(survey.basePath);
    FakeRecode recode = SampleRecode(survey);
    EXPECT_FALSE(store->SauverRecodage(recode));
    EXPECT_EQ(recode.id, 0);
    EXPECT_TRUE(store->GetLastError().starts_with("Erreur de base de données '"));
    EXPECT_NE(store->GetLastError().find("dans CDBQuestionnaire::SauverRecodage"), std::string::npos);
    EXPECT_EQ(context_test::FileBytes(survey.basePath), withRecodeBlock);

    // A "box" save shows the creator's message.
    Execute(survey.basePath, "CREATE TABLE \"MFW Style.Index1\" (x)");
    std::int32_t key = -1;
    EXPECT_FALSE(store->SaveStyleTexts(key, "Style", ""));
    EXPECT_EQ(key, -1);
    EXPECT_EQ(ui.shown.size(), 1U);
}

TEST_F(DefinitionStoreTest, AFileThatCannotBeOpenedRefusesEverySaveEachByItsConvention) {
    survey.basePath = folder.Sub("absent.qes");
    TextStore absent(survey, &ui);
    CChampEtude field = SampleField();
    EXPECT_FALSE(absent.SaveSubPopulation(field));
    EXPECT_FALSE(absent.GetLastError().empty());
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(absent.SauverVariable(CQuestionCalculee()));
    EXPECT_EQ(ui.shown.size(), 1U);
    EXPECT_FALSE(std::filesystem::exists(survey.basePath));
}

// ---- Stop words -------------------------------------------------------------------------------

class StopWordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        CContexteEtude::RegisterContext(&context);
        context.libraryPath = folder.Sub("bibliotheque.bib");
        db::Database library(context.libraryPath, db::Database::Access::ReadWrite,
                             db::Database::Creation::CreateIfMissing);
        library.createTable(CTblMotVide::Layout().Definition());
    }
    void TearDown() override { CContexteEtude::RegisterContext(nullptr); }

    static std::vector<std::string> Words() {
        std::vector<std::string> words{"left over"};
        EXPECT_TRUE(CDBQuestionnaire::LireMotsVides(words));
        return words;
    }

    TemporaryFolder folder;
    CContexteEtude context;
};

TEST_F(StopWordsTest, AddingTwiceKeepsOneAndWordsComeInIndexOrder) {
    EXPECT_TRUE(CDBQuestionnaire::AjouterMotVide("le"));
    EXPECT_TRUE(CDBQuestionnaire::AjouterMotVide("le"));
    EXPECT_TRUE(CDBQuestionnaire::AjouterMotVide("LE")); // the same word to the library's index
    EXPECT_TRUE(CDBQuestionnaire::AjouterMotVide("de"));
    EXPECT_TRUE(CDBQuestionnaire::AjouterMotVide("Avec"));
    EXPECT_EQ(Words(), (std::vector<std::string>{"Avec", "de", "le"}));
}

TEST_F(StopWordsTest, RemovedWordsGoFirstThenAddedOnesComeIn) {
    ASSERT_TRUE(CDBQuestionnaire::SauverMotsVides({"la", "le", "les"}, {}));
    ASSERT_TRUE(CDBQuestionnaire::SauverMotsVides({"le", "un"}, {"le", "la", "absent"}));
    EXPECT_EQ(Words(), (std::vector<std::string>{"le", "les", "un"}));
}

TEST_F(StopWordsTest, EveryFailureIsSilentAndFalse) {
    RecordingUserInterface* ui = context_test::InstallRecorder(context);
    context.libraryPath = folder.Sub("absent.bib");
    std::vector<std::string> words{"left over"};
    EXPECT_FALSE(CDBQuestionnaire::LireMotsVides(words));
    EXPECT_TRUE(words.empty());
    EXPECT_FALSE(CDBQuestionnaire::AjouterMotVide("le"));
    EXPECT_FALSE(CDBQuestionnaire::SauverMotsVides({"le"}, {}));
    EXPECT_FALSE(std::filesystem::exists(context.libraryPath));

    // A library without the stop-word table: the program never makes it.
    context.libraryPath = folder.Sub("empty.bib");
    { db::Database empty(context.libraryPath, db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing); }
    EXPECT_FALSE(CDBQuestionnaire::AjouterMotVide("le"));
    EXPECT_FALSE(db::Database(context.libraryPath, db::Database::Access::ReadOnly).tableExists("MotVide"));
    EXPECT_TRUE(ui->shown.empty());

    CContexteEtude::RegisterContext(nullptr);
    EXPECT_FALSE(CDBQuestionnaire::AjouterMotVide("le"));
}

// A library damaged on disk (not a database, or cut short after its words were written) refuses
// the save as a whole and is left as it was.
TEST_F(StopWordsTest, ADamagedLibraryRefusesTheSaveAndStaysAsItWas) {
    ASSERT_TRUE(CDBQuestionnaire::SauverMotsVides({"la", "le"}, {}));
    const auto bytes = [this] {
        std::ifstream file(context.libraryPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string whole = bytes();
    const std::string damages[] = {"Ceci n'est pas une base.\n", whole.substr(0, whole.size() / 2)};
    for (const std::string& damaged : damages) {
        {
            std::ofstream file(context.libraryPath, std::ios::binary | std::ios::trunc);
            file << damaged;
        }
        EXPECT_FALSE(CDBQuestionnaire::SauverMotsVides({"un"}, {"la"}));
        EXPECT_EQ(bytes(), damaged);
    }
}

// ---- The survey's lists -----------------------------------------------------------------------

void CacheWeights(CCacheDonnees3& cache, std::int32_t level, std::int32_t field, std::int32_t weighting) {
    CObjetDonnees* weights = cache.Ajouter(level, field, weighting, std::make_unique<CVecteurDouble>(1));
    cache.Liberer(level, field, weighting, weights);
}

bool IsCached(CCacheDonnees3& cache, std::int32_t level, std::int32_t field, std::int32_t weighting) {
    CObjetDonnees* found = nullptr;
    if (!cache.Chercher(level, field, weighting, found))
        return false;
    cache.Liberer(level, field, weighting, found);
    return true;
}

TEST_F(DefinitionStoreTest, TheSurveyLoadsItsListsFromTheDatabaseOnFirstUse) {
    CChampEtude field = SampleField();
    field.conditions[0].SetQuestion(sexe);
    ASSERT_TRUE(store->SaveSubPopulation(field));
    CRedressement weighting;
    weighting.id = -1;
    weighting.name = "Sexe";
    weighting.definition = "0@@0~";
    ASSERT_TRUE(store->SaveWeighting(weighting));

    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(survey.DonnerListeChampsEtude(list)) << survey.GetLastError();
    EXPECT_EQ(Listed(list), (Entries{{-1, "Toutes les interviews"}, {field.id, "Jeunes femmes"}}));
    list.clear();
    ASSERT_TRUE(survey.DonnerListeRedressements(list)) << survey.GetLastError();
    EXPECT_EQ(Listed(list), (Entries{{-1, "Aucun redressement"}, {weighting.id, "Sexe"}}));

    CChampEtude copy;
    ASSERT_TRUE(survey.DonnerChampEtude(field.id, copy));
    EXPECT_EQ(copy.conditions[0].question, sexe);
    EXPECT_EQ(copy.conditions[0].modalities, (std::vector<std::int32_t>{0, 2}));
    CRedressement weightingCopy;
    ASSERT_TRUE(survey.DonnerRedressement(weighting.id, weightingCopy));
    EXPECT_EQ(weightingCopy.definition, "0@@0~");

    // Saving a changed study field, then updating the survey's copy, drops its weights alone.
    survey.CreerCaches();
    CCacheDonnees3& weights = *survey.GetWeightCache();
    CacheWeights(weights, 0, field.id, -1);
    CacheWeights(weights, 0, -1, weighting.id);
    field.name = "Femmes";
    ASSERT_TRUE(store->SaveSubPopulation(field));
    survey.MettreAJourChampEtude(field);
    EXPECT_FALSE(IsCached(weights, 0, field.id, -1));
    EXPECT_TRUE(IsCached(weights, 0, -1, weighting.id));
    list.clear();
    ASSERT_TRUE(survey.DonnerListeChampsEtude(list));
    EXPECT_EQ(Listed(list), (Entries{{-1, "Toutes les interviews"}, {field.id, "Femmes"}}));
}

TEST_F(DefinitionStoreTest, AnUnreadableDatabaseLeavesTheSurveysListToBeReadAgain) {
    const std::string path = survey.basePath;
    survey.basePath = folder.Sub("absent.qes");
    std::vector<std::unique_ptr<CIdName>> list;
    EXPECT_FALSE(survey.DonnerListeChampsEtude(list));
    EXPECT_FALSE(survey.GetLastError().empty());
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(survey.studyFieldsLoaded);

    survey.basePath = path;
    ASSERT_TRUE(survey.DonnerListeChampsEtude(list));
    EXPECT_EQ(Listed(list), (Entries{{-1, "Toutes les interviews"}}));
}

} // namespace
