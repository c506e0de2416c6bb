#include "platform/db/Transaction.h"

#include "TemporaryDirectory.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

using db::Database;
using db::DbException;
using db::FieldType;
using db::Recordset;
using db::TableDefinition;
using db::Transaction;

namespace {

class TransactionTest : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    std::string path = directory.file("test.qes");
    Database database{path, Database::Access::ReadWrite, Database::Creation::CreateIfMissing};

    void SetUp() override {
        database.createTable(
            TableDefinition{"MFW Style",
                            {{"CodeStyle", FieldType::AutoNumber}, {"Libelle", FieldType::Text, 50}},
                            {{"PrimaryKey", {{"CodeStyle"}}, true, true}}});
        addStyle("Standard");
    }

    void addStyle(const std::string& label) {
        Recordset records(database, "MFW Style");
        records.addNew();
        records.setValue("Libelle", label);
        records.update();
    }
};

TEST_F(TransactionTest, AFailureHalfWayLeavesTheFileAsItWas) {
    const std::string before = TemporaryDirectory::readBytes(path);
    try {
        Transaction transaction(database);
        addStyle("Pourcentages");
        database.addField("MFW Style", {"Calculs", FieldType::Memo});
        database.createTable(TableDefinition{"MFW Recode", {{"CodeRecodage", FieldType::AutoNumber}}, {}});
        throw std::runtime_error("the job failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(database.rowCount("MFW Style"), 1);
    EXPECT_FALSE(database.fieldExists("MFW Style", "Calculs"));
    EXPECT_FALSE(database.tableExists("MFW Recode"));
    EXPECT_EQ(TemporaryDirectory::readBytes(path), before);
}

TEST_F(TransactionTest, CommittedWorkLandsAndANestedRollbackUndoesOnlyItsOwn) {
    {
        Transaction outer(database);
        addStyle("Moyennes");
        {
            Transaction inner(database);
            addStyle("Abandonné");
        }
        {
            Transaction inner(database);
            addStyle("Effectifs");
            inner.commit();
        }
        outer.commit();
    }
    Database other(path, Database::Access::ReadOnly);
    Recordset records(other, "MFW Style");
    std::string labels;
    for (; !records.isEOF(); records.moveNext()) {
        labels += records.value("Libelle").toText() + "|";
    }
    EXPECT_EQ(labels, "Standard|Moyennes|Effectifs|");
}

// A write job walks a table and edits its records, then commits with the walk not finished; a
// failed job rolls back the same way.
TEST_F(TransactionTest, AJobCommitsOrRollsBackInTheMiddleOfAWalk) {
    addStyle("Moyennes");
    addStyle("Effectifs");
    for (const bool commit : {false, true}) {
        Transaction transaction(database);
        Recordset records(database, "MFW Style");
        records.setCurrentIndex("PrimaryKey");
        ASSERT_TRUE(records.seek("=", {1}));
        records.edit();
        records.setValue("Libelle", "Renamed");
        records.update();
        records.moveNext();
        ASSERT_FALSE(records.isEOF());
        if (commit) {
            transaction.commit();
        }
    }
    Database other(path, Database::Access::ReadOnly);
    Recordset records(other, "MFW Style");
    EXPECT_EQ(records.value("Libelle").toText(), "Renamed");
    EXPECT_EQ(other.rowCount("MFW Style"), 3);
}

TEST_F(TransactionTest, AReadOnlyDatabaseRefusesAWriteJob) {
    Database readOnly(path, Database::Access::ReadOnly);
    EXPECT_THROW(Transaction{readOnly}, DbException);
}

TEST_F(TransactionTest, AnotherProgramWritingMakesTheTransactionFailAtOnce) {
    sqlite3* foreign = nullptr;
    sqlite3_open(path.c_str(), &foreign);
    ASSERT_EQ(sqlite3_exec(foreign, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        Transaction transaction(database);
        ADD_FAILURE() << "the write lock was granted twice";
    } catch (const DbException& error) {
        EXPECT_EQ(error.description(), "database is locked");
    }
    EXPECT_EQ(database.rowCount("MFW Style"), 1); // reading goes on meanwhile
    sqlite3_close(foreign);
}

} // namespace
