#include "TemporaryDirectory.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using db::Database;
using db::DbException;
using db::FieldType;
using db::Recordset;
using db::TableDefinition;

namespace {

using Access = Database::Access;
using Creation = Database::Creation;

// A small questionnaire file with one response table of three interviews.
std::string makeDatabase(const TemporaryDirectory& directory, const std::string& name = "survey.qes") {
    const std::string path = directory.file(name);
    Database database(path, Access::ReadWrite, Creation::CreateIfMissing);
    database.createTable(TableDefinition{"VEL Reponse1",
                                         {{"Cle1", FieldType::Long}, {"1;1", FieldType::Text, 50}},
                                         {{"PrimaryKey", {{"Cle1"}}, true, true}}});
    Recordset records(database, "VEL Reponse1");
    for (int key = 3; key >= 1; --key) {
        records.addNew();
        records.setValue("Cle1", key);
        records.setValue("1;1", "answer " + std::to_string(key));
        records.update();
    }
    return path;
}

// Another program's connection to the same file, holding a lock until it is destroyed.
struct ForeignConnection {
    sqlite3* connection = nullptr;
    ForeignConnection(const std::string& path, const char* begin) {
        sqlite3_open(path.c_str(), &connection);
        EXPECT_EQ(sqlite3_exec(connection, begin, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~ForeignConnection() { sqlite3_close(connection); }
};

std::string descriptionOfFailure(const std::function<void()>& open) {
    try {
        open();
    } catch (const DbException& error) {
        return error.description();
    }
    return "(no error)";
}

std::string causeOfFailure(const std::function<void()>& open) {
    try {
        open();
    } catch (const DbException& error) {
        return error.cause();
    }
    return "(no error)";
}

TEST(Opening, FailuresCarrySqlitesDescription) {
    TemporaryDirectory directory;
    const std::string survey = makeDatabase(directory);
    const std::string text = directory.file("notes.qes");
    TemporaryDirectory::writeBytes(
        text, "These are notes, not a database at all. Long enough to fill a header....\n");

    struct FailureCase {
        std::string what;
        std::function<void()> open;
        std::string description;
    };
    const FailureCase cases[] = {
        {"missing file, read-only", [&] { Database(directory.file("absent.qes"), Access::ReadOnly); },
         "unable to open database file"},
        {"missing file, read-write, must exist",
         [&] { Database(directory.file("absent.qes"), Access::ReadWrite); }, "unable to open database file"},
        {"a text file", [&] { Database(text, Access::ReadOnly); }, "file is not a database"},
        {"a text file, read-write", [&] { Database(text, Access::ReadWrite); }, "file is not a database"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(descriptionOfFailure(c.open), c.description);
    }
    EXPECT_FALSE(std::filesystem::exists(directory.file("absent.qes")));
}

// The analyst reads the cause in French words, whatever SQLite's own English text.
TEST(Opening, FailuresGiveTheirCauseInFrench) {
    TemporaryDirectory directory;
    const std::string text = directory.file("notes.qes");
    TemporaryDirectory::writeBytes(
        text, "These are notes, not a database at all. Long enough to fill a header....\n");
    EXPECT_EQ(causeOfFailure([&] { Database(text, Access::ReadOnly); }), "le fichier n'est pas une base de données");
    EXPECT_EQ(causeOfFailure([&] { Database(directory.file("absent.qes"), Access::ReadOnly); }),
              "le fichier ne peut pas être ouvert");

    struct CodeCase {
        int code;
        const char* cause;
    };
    const CodeCase codes[] = {
        {SQLITE_READONLY, "le fichier est en lecture seule"},
        {SQLITE_READONLY_DBMOVED, "le fichier est en lecture seule"}, // an extended code
        {SQLITE_CORRUPT, "le fichier est endommagé"},
        {SQLITE_FULL, "le disque est plein"},
    };
    for (const CodeCase& c : codes)
        EXPECT_EQ(DbException("op", sqlite3_errstr(c.code), c.code).cause(), c.cause) << c.code;
    // A text of its own is kept: a trigger's, or one of this layer.
    EXPECT_EQ(DbException("op", "refusé par le déclencheur", SQLITE_CONSTRAINT).cause(), "refusé par le déclencheur");
    EXPECT_EQ(DbException("op", "no such table: X", 0).cause(), "no such table: X");
}

TEST(Opening, AFileLockedByAnotherProgramIsRefusedWithoutHanging) {
    TemporaryDirectory directory;
    const std::string survey = makeDatabase(directory);
    const ForeignConnection writer(survey, "BEGIN EXCLUSIVE");

    for (const Access access : {Access::ReadOnly, Access::ReadWrite}) {
        EXPECT_EQ(descriptionOfFailure([&] { Database(survey, access); }), "database is locked");
    }
}

TEST(Opening, ReadOnlyLeavesTheFileByteForByteAsItWas) {
    TemporaryDirectory directory;
    const std::string survey = makeDatabase(directory);
    const std::string before = TemporaryDirectory::readBytes(survey);
    {
        Database database(survey, Access::ReadOnly);
        EXPECT_TRUE(database.isReadOnly());
        EXPECT_EQ(database.rowCount("VEL Reponse1"), 3);
        Recordset records(database, "VEL Reponse1");
        records.setCurrentIndex("PrimaryKey");
        ASSERT_TRUE(records.seek("=", {2}));
        EXPECT_EQ(records.value("1;1").toText(), "answer 2");

        records.addNew();
        records.setValue("Cle1", 9);
        EXPECT_EQ(descriptionOfFailure([&] { records.update(); }), "attempt to write a readonly database");
        EXPECT_EQ(descriptionOfFailure([&] {
                      database.addField("VEL Reponse1", {"2;1", FieldType::Long});
                  }),
                  "attempt to write a readonly database");
    }
    EXPECT_EQ(TemporaryDirectory::readBytes(survey), before);
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        EXPECT_FALSE(std::filesystem::exists(survey + suffix)) << suffix;
    }
}

// Root may write any file, so the check runs in a child process that has given root up.
TEST(OpeningDeathTest, AWriteProtectedFileIsRefusedForWriting) {
    TemporaryDirectory directory;
    const std::string survey = makeDatabase(directory);
    std::filesystem::permissions(directory.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(survey, std::filesystem::perms(0444));

    EXPECT_EXIT(
        {
            constexpr uid_t nobody = 65534;
            if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) {
                _exit(2);
            }
            try {
                Database database(survey, Access::ReadWrite);
            } catch (const DbException& error) {
                std::fprintf(stderr, "%s\n", error.description().c_str());
                _exit(0);
            }
            _exit(1);
        },
        ::testing::ExitedWithCode(0), "attempt to write a readonly database");

    // Reading it stays possible.
    Database database(survey, Access::ReadOnly);
    EXPECT_EQ(database.rowCount("VEL Reponse1"), 3);
}

TEST(Opening, CreateIfMissingMakesAnEmptyDatabase) {
    TemporaryDirectory directory;
    const std::string path = directory.file("new.qes");
    {
        Database database(path, Access::ReadWrite, Creation::CreateIfMissing);
        EXPECT_EQ(database.path(), path);
        EXPECT_FALSE(database.isReadOnly());
        EXPECT_TRUE(database.tables().empty());
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    Database reopened(path, Access::ReadOnly);
    EXPECT_TRUE(reopened.tables().empty());
}

} // namespace
