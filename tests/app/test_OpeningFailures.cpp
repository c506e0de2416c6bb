#include "ContextTestSupport.h"
#include "app/ContexteEtude.h"
#include "app/StringTable.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>

using namespace context_test;
using survey_test::TemporaryFolder;

namespace {

// Holds the file's exclusive lock through a connection of its own, as another program would.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &connection_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
            locked_ = sqlite3_exec(connection_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ExclusiveLock() {
        if (locked_)
            sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(connection_);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    bool Locked() const { return locked_; }

private:
    sqlite3* connection_ = nullptr;
    bool locked_ = false;
};

void WriteSqliteWithoutStructure(const std::string& path) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(connection,
                           "CREATE TABLE Clients(id INTEGER PRIMARY KEY, nom TEXT);"
                           "INSERT INTO Clients(nom) VALUES('Alice');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(connection);
}

class OpeningFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        good = folder.Sub("clients.qes");
        WriteQuestionnaire(kClients, good);
        // Something is open before each failure: the failure must empty it.
        ASSERT_TRUE(test.Open(good, 3));
        ASSERT_GT(test.context.DonnerNbreQuestions(), 0);
    }

    // Opens `path` expecting a refusal that names the file and gives a cause, leaves the context
    // empty and the file as it was.
    void ExpectRefused(const std::string& path) {
        const bool existed = std::filesystem::exists(path);
        const std::string before = existed ? FileBytes(path) : std::string();
        test.ui->shown.clear();

        EXPECT_FALSE(test.Open(path, 3));

        ASSERT_EQ(test.ui->shown.size(), 1u);
        const Message& shown = test.ui->shown.front().message;
        EXPECT_EQ(shown.id, 0);
        const std::string text = test.ui->ShownTexts().front();
        EXPECT_NE(text.find("'" + path + "'"), std::string::npos) << text;
        const std::string cause = test.context.GetLastError();
        EXPECT_FALSE(cause.empty());
        EXPECT_NE(text.find(cause), std::string::npos) << text;
        ExpectEmpty();
        EXPECT_EQ(std::filesystem::exists(path), existed);
        if (existed) {
            EXPECT_EQ(FileBytes(path), before);
        }
    }

    void ExpectEmpty() {
        EXPECT_EQ(test.context.DonnerNbreQuestions(), 0);
        EXPECT_EQ(test.context.DonnerNbreNiveaux(), 0);
        EXPECT_EQ(test.context.DonnerNbreInterviews(), 0);
        EXPECT_EQ(test.context.GetClosedAnswerCache(), nullptr);
        std::string label;
        EXPECT_FALSE(test.context.DonnerLibelleInterview(0, label));
    }

    SettingsInMemory settings;
    TemporaryFolder folder;
    std::string good;
    TestContext test;
};

} // namespace

TEST_F(OpeningFailureTest, MissingFile) {
    ExpectRefused(folder.Sub("absent.qes"));
    EXPECT_FALSE(std::filesystem::exists(folder.Sub("absent.qes")));
}

TEST_F(OpeningFailureTest, TextFile) {
    const std::string path = folder.Sub("notes.qes");
    std::ofstream(path) << "Ceci n'est pas un questionnaire.\n";
    ExpectRefused(path);
}

TEST_F(OpeningFailureTest, DatabaseWithoutTheQuestionnaireStructure) {
    const std::string path = folder.Sub("autre.qes");
    WriteSqliteWithoutStructure(path);
    ExpectRefused(path);
}

TEST_F(OpeningFailureTest, FileLockedByAnotherProgram) {
    const std::string path = folder.Sub("verrou.qes");
    WriteQuestionnaire(kClients, path);
    ExclusiveLock lock(path);
    ASSERT_TRUE(lock.Locked());
    const std::string before = FileBytes(path);
    test.ui->shown.clear();
    // Waited for a few seconds, then said in the program's words: never taken for a missing file.
    EXPECT_FALSE(test.Open(path, 3));
    const Message cause(StringTable::kQuestionnaireOccupe, {path});
    EXPECT_EQ(test.context.GetLastErrorMessage(), cause);
    ASSERT_EQ(test.ui->shown.size(), 1u);
    EXPECT_EQ(test.ui->shown.front().message,
              Message(StringTable::kImpossibleOuvrirQuestionnaire, {path, StringTable::Format(cause)}));
    ExpectEmpty();
    EXPECT_EQ(FileBytes(path), before);
}

// Opening only reads: a read-only file opens (or, where the system refuses it, is refused
// cleanly) and is never changed. Tests may run as root, for whom the mode stops nothing.
TEST_F(OpeningFailureTest, ReadOnlyFileOpensForReading) {
    const std::string path = folder.Sub("lecture.qes");
    WriteQuestionnaire(kClients, path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string before = FileBytes(path);
    test.ui->shown.clear();
    if (test.Open(path, 3)) {
        EXPECT_TRUE(test.ui->shown.empty());
        EXPECT_NE(test.context.TrouverQuestionParNom("SEXE"), nullptr);
    } else {
        ASSERT_EQ(test.ui->shown.size(), 1u);
        EXPECT_NE(test.ui->ShownTexts().front().find(path), std::string::npos);
        ExpectEmpty();
    }
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    ::chmod(path.c_str(), 0644);
}

TEST_F(OpeningFailureTest, AFailureThenASuccessOpensNormally) {
    ExpectRefused(folder.Sub("absent.qes"));
    test.ui->shown.clear();
    ASSERT_TRUE(test.Open(good, 3));
    EXPECT_TRUE(test.ui->shown.empty());
    EXPECT_NE(test.context.TrouverQuestionParNom("SEXE"), nullptr);
    EXPECT_NE(test.context.DonnerModaliteTotal(0), nullptr);
}
