// Styles kept in the shared library and carried to another questionnaire: what one questionnaire
// saves, a second one reads back calculation for calculation, and a library that refuses the
// write says so and keeps what it had.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include "app/Bibliotheque.h"
#include "app/DBQuestionnaire.h"
#include "app/IdName.h"
#include "platform/db/Database.h"
#include "support/RecordingUserInterface.h"
#include "tabulation/Style.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "TabulationTestSupport.h"

namespace {

using namespace tabulation_test;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

// Two questionnaire files and one library; the context opens the first questionnaire, and a test
// moves it to the second as the analyst opens another file.
class LibraryStyleTest : public TabulationFixture {
protected:
    void SetUp() override {
        TabulationFixture::SetUp();
        ASSERT_FALSE(folder.empty());
        for (const std::string& name : {first, second}) {
            qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::Parse(
                "questionnaire \"Styles\" language=fr version=404\n"
                "language 1036 fr \"Français\"\n"
                "question 1 SEXE closed\n"
                "  modality 1 fr \"Homme\"\n",
                "styles.txt", {});
            qesbuild::WriteFixture(fixture, name);
        }
        survey.questionnairePath = first;
        survey.libraryPath = library;
        { db::Database created(library, db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing); }
        auto recorder = std::make_unique<RecordingUserInterface>();
        ui = recorder.get();
        survey.SetUserInterface(std::move(recorder));
        AddLevel(0, "Interviews");
        AddLevel(7, "Personnes");
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        TabulationFixture::TearDown();
    }

    static std::string MakeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-styles-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }

    static std::unique_ptr<CCalculEvolue> Operation(std::int16_t type, std::int32_t kind, std::int16_t position,
                                                    const std::string& label, std::int32_t levelIndex = 0,
                                                    const std::string& test = {}) {
        auto operation = std::make_unique<CCalculEvolue>();
        operation->type = type;
        operation->code = kind;
        operation->position = position;
        operation->label = label;
        operation->levelIndex = levelIndex;
        operation->testLineText = test;
        return operation;
    }

    // One operation of every type, one on the second level.
    static CStyle FourOperations(const std::string& name) {
        CStyle style;
        style.name = name;
        style.Add(Operation(CCalculEvolue::kTotal, 0, CCalculEvolue::kColumnsOnly, "Effectifs"));
        style.Add(Operation(CCalculEvolue::kCrossing, 2, CCalculEvolue::kRowsAndColumns, "% colonne", 1));
        style.Add(Operation(CCalculEvolue::kStatisticsSubTotal, 0, CCalculEvolue::kRowsOnly, "Moyenne"));
        style.Add(Operation(CCalculEvolue::kTestLine, -1, CCalculEvolue::kRowsOnly, "Khi2", 0, "khi2=??K??"));
        return style;
    }

    // The text of the style above, written by hand from the layout of a definition: study field,
    // weighting, level code, type, position, kind, label, test text; each followed by "|".
    static constexpr const char* kFourOperationsText = "-1;-1;0;1;1;0;Effectifs;|"
                                                       "-1;-1;7;0;2;2;% colonne;|"
                                                       "-1;-1;0;2;0;0;Moyenne;|"
                                                       "-1;-1;0;3;0;-1;Khi2;khi2=??K??|";

    std::vector<std::unique_ptr<CIdName>> LibraryStyles() {
        CBibliotheque reader(survey);
        std::vector<std::unique_ptr<CIdName>> list;
        EXPECT_TRUE(reader.Open());
        EXPECT_TRUE(reader.GetStyleList(list)) << reader.GetLastError();
        return list;
    }

    std::string folder = MakeFolder();
    std::string first = folder + "/premier.qes";
    std::string second = folder + "/second.qes";
    std::string library = folder + "/bibliotheque.bib";
    RecordingUserInterface* ui = nullptr;
};

TEST_F(LibraryStyleTest, AStyleSavedByOneQuestionnaireIsReadBackEqualByAnother) {
    CStyle style = FourOperations("Complet");
    ASSERT_EQ(style.DonnerChaine(), kFourOperationsText);
    {
        CDBQuestionnaire store(survey, ui);
        ASSERT_TRUE(store.SaveStyle(style));
        CStyle fromQuestionnaire;
        ASSERT_TRUE(store.ReadStyle(style.id, fromQuestionnaire));
        EXPECT_EQ(fromQuestionnaire.name, "Complet");
        EXPECT_EQ(fromQuestionnaire.DonnerChaine(), kFourOperationsText);
    }
    {
        CBibliotheque shared(survey);
        ASSERT_TRUE(shared.Open());
        ASSERT_TRUE(shared.SaveStyle(style)) << shared.GetLastError();
    }

    // The analyst opens the second questionnaire: the library offers the style, whole.
    survey.questionnairePath = second;
    const auto list = LibraryStyles();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->name, "Complet");
    CBibliotheque shared(survey);
    ASSERT_TRUE(shared.Open());
    CStyle fromLibrary;
    fromLibrary.id = -1;
    ASSERT_TRUE(shared.ReadStyle(list[0]->id, fromLibrary));
    EXPECT_EQ(fromLibrary.name, "Complet");
    EXPECT_EQ(fromLibrary.id, -1); // not a key of this questionnaire
    EXPECT_EQ(fromLibrary.DonnerChaine(), kFourOperationsText);
    ASSERT_EQ(fromLibrary.GetCount(), 4);
    EXPECT_EQ(fromLibrary.GetAt(1)->levelIndex, 1);
    EXPECT_EQ(fromLibrary.GetAt(1)->levelName, "Personnes");
    EXPECT_EQ(fromLibrary.GetAt(3)->testLineText, "khi2=??K??");

    // Saved into the second questionnaire, it reads back the same there.
    CDBQuestionnaire store(survey, ui);
    fromLibrary.id = 0;
    ASSERT_TRUE(store.SaveStyle(fromLibrary));
    CStyle again;
    ASSERT_TRUE(store.ReadStyle(fromLibrary.id, again));
    EXPECT_EQ(again.DonnerChaine(), kFourOperationsText);
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_TRUE(ui->asked.empty());
}

TEST_F(LibraryStyleTest, AStyleOfTheSameNameIsReplacedWithoutAQuestion) {
    CBibliotheque shared(survey);
    ASSERT_TRUE(shared.Open());
    CStyle style = FourOperations("Complet");
    ASSERT_TRUE(shared.SaveStyle(style));
    CStyle shorter;
    shorter.name = "Complet";
    shorter.Add(Operation(CCalculEvolue::kCrossing, 0, CCalculEvolue::kRowsAndColumns, "Eff"));
    ASSERT_TRUE(shared.SaveStyle(shorter));
    const auto list = LibraryStyles();
    ASSERT_EQ(list.size(), 1u);
    CStyle read;
    ASSERT_TRUE(shared.ReadStyle(list[0]->id, read));
    EXPECT_EQ(read.DonnerChaine(), "-1;-1;0;0;2;0;Eff;|");
    EXPECT_TRUE(ui->asked.empty());
}

// A write the library refuses answers false with the reason and leaves the file as it was.
TEST_F(LibraryStyleTest, ARefusedWriteFailsWithItsReasonAndChangesNothing) {
    {
        CBibliotheque shared(survey);
        ASSERT_TRUE(shared.Open());
        CStyle kept = FourOperations("Gardé");
        ASSERT_TRUE(shared.SaveStyle(kept));
    }
    Execute(library, "CREATE TRIGGER \"plein\" BEFORE INSERT ON \"MFW Style\" "
                     "BEGIN SELECT RAISE(ABORT, 'bibliothèque pleine'); END;");
    struct Case {
        const char* name;
        std::string label;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a label holding a separator", "Eff;total", "Vous ne pouvez utiliser les caractères suivants ; et |"},
        {"a record the database refuses", "Eff", "bibliothèque pleine"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = Bytes(library);
        CStyle style;
        style.name = "Nouveau";
        style.Add(Operation(CCalculEvolue::kCrossing, 0, CCalculEvolue::kRowsAndColumns, c.label));
        CBibliotheque shared(survey);
        ASSERT_TRUE(shared.Open());
        EXPECT_FALSE(shared.SaveStyle(style));
        EXPECT_NE(shared.GetLastError().find(c.reason), std::string::npos) << shared.GetLastError();
        shared.Close();
        EXPECT_EQ(Bytes(library), before);
    }
    EXPECT_TRUE(ui->shown.empty());
}

// Root may write any file, so the check runs in a child process that has given root up: a library
// the analyst may not write does not open for saving, and keeps its bytes.
TEST_F(LibraryStyleTest, AWriteProtectedLibraryDoesNotOpenForSaving) {
    {
        CBibliotheque shared(survey);
        ASSERT_TRUE(shared.Open());
        ASSERT_TRUE(shared.SaveStyle(FourOperations("Gardé")));
    }
    const std::string before = Bytes(library);
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    std::filesystem::permissions(library, std::filesystem::perms(0444));
    EXPECT_EXIT(
        {
            constexpr uid_t nobody = 65534;
            if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
                _exit(2);
            CBibliotheque shared(survey);
            if (shared.Open())
                _exit(shared.SaveStyle(FourOperations("Nouveau")) ? 3 : 4);
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(Bytes(library), before);
}

TEST_F(LibraryStyleTest, ReadingAStyleTheLibraryDoesNotHoldChangesNothing) {
    CBibliotheque shared(survey);
    ASSERT_TRUE(shared.Open());
    CStyle style = FourOperations("Avant");
    // No table yet, then a key that no record has.
    EXPECT_FALSE(shared.ReadStyle(1, style));
    ASSERT_TRUE(shared.SaveStyle(FourOperations("Complet")));
    EXPECT_FALSE(shared.ReadStyle(99, style));
    EXPECT_EQ(style.name, "Avant");
    EXPECT_EQ(style.DonnerChaine(), kFourOperationsText);
}

} // namespace
