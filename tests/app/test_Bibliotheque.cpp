#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ContextTestSupport.h"
#include "DefinitionStoreTestSupport.h"
#include "SurveyTestSupport.h"
#include "app/Bibliotheque.h"
#include "app/IdName.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "app/TblRedressement.h"
#include "platform/db/Database.h"

using namespace survey_test;
using namespace store_test;

namespace {

// The library with its style texts within reach of the tests.
class TextLibrary : public CBibliotheque {
public:
    using CBibliotheque::CBibliotheque;
    using CBibliotheque::ReadStyleTexts;
    using CBibliotheque::SaveStyleTexts;
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

std::vector<std::string> Labels(const std::vector<std::unique_ptr<CIdName>>& list) {
    std::vector<std::string> labels;
    for (const auto& entry : list)
        labels.push_back(entry->name);
    return labels;
}

CRedressement Weighting(const std::string& name, const std::string& description) {
    CRedressement weighting;
    weighting.id = 4;
    weighting.name = name;
    weighting.description = description;
    weighting.NTotal = 500;
    weighting.definition = "SEXE|1|2|48@52@#";
    return weighting;
}

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        context.SetConfigurationFolder(folder.Sub("config"));
        context.libraryPath = folder.Sub("bibliotheque.bib");
        { db::Database created(context.libraryPath, db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing); }
        AddLevel(context, 0, 0, "Interviews");
        AddLevel(context, 42, 1, "Membres");
        age = &AddQuestion(context, 2, "AGE");
        ASSERT_TRUE(library.Open());
    }

    FakeRecode Recode(const std::string& label, std::int32_t sourceCode, std::int32_t sourceRecode = 0) {
        FakeRecode recode(CRecodage::kIntervalle, &context);
        recode.id = 17;
        recode.label = label;
        recode.sourceQuestionCode = sourceCode;
        recode.sourceRecodeCode = sourceRecode;
        recode.subtype = 1;
        recode.cumulative = true;
        recode.grouping = "18;25;";
        recode.unit = "ans";
        recode.plus = true;
        recode.dateType = 3;
        recode.sourceLevel = 1;
        return recode;
    }

    TemporaryFolder folder;
    context_test::TestContext test;
    CContexteEtude& context = test.context;
    RecordingUserInterface& ui = *test.ui;
    TextLibrary library{context};
    CQuestionEtendue* age = nullptr;
};

TEST_F(LibraryTest, AnUnreachableLibraryDoesNotOpenAndSaysNothing) {
    const auto refused = [&](const std::string& path) {
        context.libraryPath = path;
        CBibliotheque other(context);
        return !other.Open() && !other.IsOpen();
    };
    EXPECT_TRUE(refused("")); // no path: none in Velto.ini either
    EXPECT_TRUE(refused(folder.Sub("absent.bib")));
    EXPECT_FALSE(std::filesystem::exists(folder.Sub("absent.bib")));
    std::ofstream(folder.Sub("texte.bib")) << "pas une base de données";
    EXPECT_TRUE(refused(folder.Sub("texte.bib")));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(LibraryTest, TheFirstSaveOfAWeightingCreatesItsTable) {
    ASSERT_FALSE(db::Database(context.libraryPath, db::Database::Access::ReadOnly).tableExists("MFW Redressement"));
    ASSERT_TRUE(library.SaveWeighting(Weighting("Sexe", "Calage"))) << library.GetLastError();
    db::Database database(context.libraryPath, db::Database::Access::ReadOnly);
    EXPECT_TRUE(database.tableExists("MFW Redressement"));
    EXPECT_EQ(database.rowCount("MFW Redressement"), 1);
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(LibraryTest, OverwritingAWeightingIsAskedOnceAndNoKeepsTheRecord) {
    ASSERT_TRUE(library.SaveWeighting(Weighting("Sexe", "ancien")));
    const std::string before = context_test::FileBytes(context.libraryPath);

    ui.ScriptReplies({false});
    EXPECT_FALSE(library.SaveWeighting(Weighting("Sexe", "nouveau")));
    ASSERT_EQ(ui.asked.size(), 1U);
    EXPECT_EQ(ui.asked[0], Message(StringTable::kEcraserRedressement));
    EXPECT_EQ(StringTable::Format(ui.asked[0]), "Souhaitez-vous écraser le redressement existant ?");
    EXPECT_EQ(context_test::FileBytes(context.libraryPath), before);

    ui.ScriptReplies({true});
    EXPECT_TRUE(library.SaveWeighting(Weighting("Sexe", "nouveau")));
    EXPECT_EQ(ui.asked.size(), 2U);
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(library.GetWeightingList(list));
    ASSERT_EQ(list.size(), 1U);
    CRedressement read;
    ASSERT_TRUE(library.ReadWeighting(list[0]->id, read));
    EXPECT_EQ(read.description, "nouveau");
}

TEST_F(LibraryTest, AWeightingReadFromTheLibraryKeepsTheKeyAndTotalOfTheOneItFills) {
    ASSERT_TRUE(library.SaveWeighting(Weighting("Sexe", "Calage")));
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(library.GetWeightingList(list));
    ASSERT_EQ(list.size(), 1U);

    CRedressement current;
    current.id = 9;
    current.NTotal = 1000;
    ASSERT_TRUE(library.ReadWeighting(list[0]->id, current));
    EXPECT_EQ(current.id, 9);
    EXPECT_EQ(current.NTotal, 1000);
    EXPECT_EQ(current.name, "Sexe");
    EXPECT_EQ(current.description, "Calage");
    EXPECT_EQ(current.definition, "SEXE|1|2|48@52@#");

    CRedressement untouched = current;
    EXPECT_FALSE(library.ReadWeighting(list[0]->id + 1, current));
    EXPECT_EQ(current.name, untouched.name);
}

TEST_F(LibraryTest, StylesAreReplacedWithoutAsking) {
    ASSERT_TRUE(library.SaveStyleTexts("Complet", "2|3|"));
    ASSERT_TRUE(library.SaveStyleTexts("Complet", "4|"));
    EXPECT_TRUE(ui.asked.empty());
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(library.GetStyleList(list));
    ASSERT_EQ(list.size(), 1U);
    std::string name;
    std::string calculations;
    ASSERT_TRUE(library.ReadStyleTexts(list[0]->id, name, calculations));
    EXPECT_EQ(name, "Complet");
    EXPECT_EQ(calculations, "4|");
    EXPECT_FALSE(library.ReadStyleTexts(list[0]->id + 1, name, calculations));
}

TEST_F(LibraryTest, ReadingARecodeOrAStyleOfAMissingTableCreatesNothing) {
    std::string name;
    std::string calculations;
    EXPECT_FALSE(library.ReadStyleTexts(1, name, calculations));
    FakeRecodeFactory factory;
    EXPECT_EQ(library.ReadRecode(1, age), nullptr);
    EXPECT_TRUE(db::Database(context.libraryPath, db::Database::Access::ReadOnly).tables().empty());
}

TEST_F(LibraryTest, ListsComeInLabelOrderAndRecodesInSourceQuestionOrder) {
    for (const char* label : {"zèbre", "Alpha", "beta"}) {
        ASSERT_TRUE(library.SaveWeighting(Weighting(label, "")));
        ASSERT_TRUE(library.SaveStyleTexts(label, ""));
    }
    ASSERT_TRUE(library.SaveRecode(Recode("a", 9), *age));
    ASSERT_TRUE(library.SaveRecode(Recode("b", 2, 5), *age));
    ASSERT_TRUE(library.SaveRecode(Recode("c", 2, 1), *age));

    const std::vector<std::string> byLabel{"Alpha", "beta", "zèbre"};
    std::vector<std::unique_ptr<CIdName>> weightings;
    ASSERT_TRUE(library.GetWeightingList(weightings));
    EXPECT_EQ(Labels(weightings), byLabel);
    std::vector<std::unique_ptr<CIdName>> styles;
    ASSERT_TRUE(library.GetStyleList(styles));
    EXPECT_EQ(Labels(styles), byLabel);
    std::vector<std::unique_ptr<CIdName>> recodes;
    ASSERT_TRUE(library.GetRecodeList(recodes));
    EXPECT_EQ(Labels(recodes), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(LibraryTest, ARecodeRoundTripsThroughTheFactoryWithItsPortableGrouping) {
    FakeRecodeFactory factory;
    ASSERT_TRUE(library.SaveRecode(Recode("AGE en classes", 2), *age)) << library.GetLastError();
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(library.GetRecodeList(list));
    ASSERT_EQ(list.size(), 1U);

    std::unique_ptr<CRecodage> read = library.ReadRecode(list[0]->id, age);
    ASSERT_NE(read, nullptr);
    const auto& recode = dynamic_cast<const FakeRecode&>(*read);
    EXPECT_EQ(recode.GetType(), CRecodage::kIntervalle);
    EXPECT_EQ(recode.id, 0); // not stored in the questionnaire yet
    EXPECT_EQ(recode.label, "AGE en classes");
    EXPECT_EQ(recode.sourceQuestionCode, 2);
    EXPECT_EQ(recode.subtype, 1);
    EXPECT_TRUE(recode.cumulative);
    EXPECT_EQ(recode.grouping, "[AGE]18;25;"); // written with the source question
    EXPECT_EQ(recode.groupedWith, "AGE");      // read with the question given
    EXPECT_EQ(recode.unit, "ans");
    EXPECT_TRUE(recode.plus);
    EXPECT_FALSE(recode.minus);
    EXPECT_EQ(recode.dateType, 3);
    EXPECT_EQ(recode.sourceLevel, 1); // level code 42 found again among the survey's levels
    EXPECT_EQ(recode.targetLevel, 0);
    EXPECT_EQ(recode.preparations, 1);
    EXPECT_EQ(library.ReadRecode(list[0]->id + 1, age), nullptr);
}

TEST_F(LibraryTest, OverwritingARecodeIsAskedOnceAndNoKeepsTheRecord) {
    ASSERT_TRUE(library.SaveRecode(Recode("AGE en classes", 2), *age));
    const std::string before = context_test::FileBytes(context.libraryPath);
    ui.ScriptReplies({false});
    FakeRecode changed = Recode("AGE en classes", 2);
    changed.unit = "années";
    EXPECT_FALSE(library.SaveRecode(changed, *age));
    ASSERT_EQ(ui.asked.size(), 1U);
    EXPECT_EQ(StringTable::Format(ui.asked[0]), "Souhaitez-vous écraser le recodage existant ?");
    EXPECT_EQ(context_test::FileBytes(context.libraryPath), before);
}

TEST_F(LibraryTest, AFailingSaveLeavesTheLibraryUnchanged) {
    ASSERT_TRUE(library.SaveStyleTexts("Complet", "2|"));
    Execute(context.libraryPath, "CREATE TRIGGER refuse BEFORE UPDATE ON \"MFW Style\" "
                                 "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    const std::string before = context_test::FileBytes(context.libraryPath);
    EXPECT_FALSE(library.SaveStyleTexts("Complet", "3|"));
    EXPECT_EQ(library.GetLastError(), "refused by the test");
    EXPECT_EQ(context_test::FileBytes(context.libraryPath), before);
    EXPECT_TRUE(ui.shown.empty());

    // A table that cannot be created: the creator shows why, and nothing of it remains.
    Execute(context.libraryPath, "CREATE TABLE \"MFW Redressement.Libelle\" (x)");
    const std::string withBlock = context_test::FileBytes(context.libraryPath);
    EXPECT_FALSE(library.SaveWeighting(Weighting("Sexe", "")));
    EXPECT_EQ(ui.shown.size(), 1U);
    EXPECT_EQ(context_test::FileBytes(context.libraryPath), withBlock);
}

TEST_F(LibraryTest, NothingIsDoneOnAClosedLibrary) {
    library.Close();
    std::vector<std::unique_ptr<CIdName>> list;
    EXPECT_FALSE(library.GetWeightingList(list));
    EXPECT_FALSE(library.SaveWeighting(Weighting("Sexe", "")));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(db::Database(context.libraryPath, db::Database::Access::ReadOnly).tables().empty());
}

} // namespace
