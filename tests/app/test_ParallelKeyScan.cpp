// Reading a large table's keys with several threads is a shortcut: it must give exactly the keys
// a walk alone gives, in order, and read nothing (leaving the walk to order or refuse the table)
// whenever a table is anything but plainly regular.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "SurveyTestSupport.h"
#include "app/ParallelKeyScan.h"
#include "app/WorkerPool.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/Transaction.h"

using survey_test::TemporaryFolder;

namespace {

constexpr const char* kTable = "VEL Reponse2";

struct Table {
    std::vector<std::vector<std::int32_t>> keys; // in the order the records are written
    std::string damage;                          // SQL run on the written table
    bool descendingSecondKey = false;
};

// Interviews 7, 207, 407 .. 99,807 spread over a wide range, written last first, each with two
// iterations (3 then 1): 1,000 records whose row ids run against the key order.
Table Spread() {
    Table table;
    for (int interview = 998; interview >= 0; interview -= 2) {
        table.keys.push_back({7 + 100 * interview, 3});
        table.keys.push_back({7 + 100 * interview, 1});
    }
    return table;
}

std::string Write(const TemporaryFolder& folder, const Table& table) {
    const std::string path = folder.Sub("keys.qes");
    db::Database database(path, db::Database::Access::ReadWrite, db::Database::Creation::CreateIfMissing);
    database.createTable(db::TableDefinition{
        kTable,
        {{"Cle1", db::FieldType::Long}, {"Cle2", db::FieldType::Long}},
        {{"PrimaryKey", {{"Cle1"}, {"Cle2", table.descendingSecondKey}}, true, true}}});
    db::Transaction transaction(database);
    db::Recordset records(database, kTable);
    for (const std::vector<std::int32_t>& key : table.keys) {
        records.addNew();
        records.setValue("Cle1", static_cast<long long>(key[0]));
        records.setValue("Cle2", static_cast<long long>(key[1]));
        records.update();
    }
    transaction.commit();
    if (!table.damage.empty()) {
        // As another program may leave the table: straight through SQLite.
        sqlite3* other = nullptr;
        EXPECT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(other, table.damage.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << table.damage;
        sqlite3_close(other);
    }
    return path;
}

std::optional<CRecordKeys> Read(const std::string& path, WorkerPool& pool,
                                db::Database::Access access = db::Database::Access::ReadOnly) {
    db::Database database(path, access);
    CRecordKeys keys;
    if (!ParallelKeyScan::Read(database, kTable, 2, keys, pool)) {
        EXPECT_TRUE(keys.empty());
        return std::nullopt;
    }
    return keys;
}

TEST(ParallelKeyScanTest, ARegularTableGivesTheKeysOfAWalkInKeyOrder) {
    TemporaryFolder folder;
    const Table table = Spread();
    const std::string path = Write(folder, table);
    CRecordKeys expected(2);
    for (int interview = 0; interview <= 998; interview += 2)
        for (const std::int32_t iteration : {1, 3}) {
            const std::int32_t key[] = {7 + 100 * interview, iteration};
            expected.Append(key);
        }
    for (const unsigned threads : {2u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        WorkerPool pool(threads);
        const std::optional<CRecordKeys> keys = Read(path, pool);
        ASSERT_TRUE(keys.has_value());
        EXPECT_EQ(*keys, expected);
    }
}

TEST(ParallelKeyScanTest, AnythingButAPlainlyRegularTableIsLeftToTheWalk) {
    const struct Case {
        const char* what;
        std::string damage;
        bool descendingSecondKey;
    } cases[] = {
        {"a Null first key", "UPDATE \"VEL Reponse2\" SET Cle1 = NULL WHERE Cle1 = 7 AND Cle2 = 1", false},
        {"a text first key", "UPDATE \"VEL Reponse2\" SET Cle1 = 'x' WHERE Cle1 = 207 AND Cle2 = 1", false},
        {"a fraction inside the range", "UPDATE \"VEL Reponse2\" SET Cle1 = 50007.5 WHERE Cle1 = 50007", false},
        {"a fraction as the smallest key", "UPDATE \"VEL Reponse2\" SET Cle1 = 6.5 WHERE Cle1 = 7", false},
        {"a key beyond 32 bits", "UPDATE \"VEL Reponse2\" SET Cle1 = 4294967297 WHERE Cle1 = 99807", false},
        {"a Null second key", "UPDATE \"VEL Reponse2\" SET Cle2 = NULL WHERE Cle1 = 40007 AND Cle2 = 1", false},
        {"a repeated key under a non-unique index",
         "DROP INDEX \"VEL Reponse2.PrimaryKey\"; UPDATE \"VEL Reponse2\" SET Cle2 = 1 WHERE Cle1 = 30007;"
         "CREATE INDEX \"VEL Reponse2.PrimaryKey\" ON \"VEL Reponse2\" (Cle1, Cle2)",
         false},
        {"an index of another direction", "", true},
        {"a narrow range of keys", "DELETE FROM \"VEL Reponse2\" WHERE Cle1 > 60000", false},
        {"an empty table", "DELETE FROM \"VEL Reponse2\"", false},
    };
    WorkerPool pool(4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        Table table = Spread();
        table.damage = c.damage;
        table.descendingSecondKey = c.descendingSecondKey;
        EXPECT_FALSE(Read(Write(folder, table), pool).has_value());
    }

    TemporaryFolder folder;
    const std::string path = Write(folder, Spread());
    WorkerPool alone(1);
    EXPECT_FALSE(Read(path, alone).has_value()) << "one thread";
    EXPECT_FALSE(Read(path, pool, db::Database::Access::ReadWrite).has_value()) << "a database open for writing";
}

} // namespace
