#include "platform/db/ForwardScan.h"

#include "TemporaryDirectory.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <optional>
#include <string>
#include <vector>

using db::Database;
using db::DbException;
using db::FieldInfo;
using db::FieldType;
using db::ForwardScan;
using db::IndexDefinition;
using db::Recordset;
using db::TableDefinition;
using db::Value;

namespace {

class ForwardScanTest : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    Database database{directory.file("test.qes"), Database::Access::ReadWrite,
                      Database::Creation::CreateIfMissing};

    // A response table of a loop with a mixed-direction index and a non-unique one; records are
    // added out of key order so that the row ids differ from every index's order.
    void createLoopTable() {
        database.createTable(TableDefinition{"VEL Reponse2",
                                             {{"Cle1", FieldType::Long},
                                              {"Cle2", FieldType::Long},
                                              {"7;1", FieldType::Long},
                                              {"8;1", FieldType::Double}},
                                             {{"PrimaryKey", {{"Cle1"}, {"Cle2"}}, true, true},
                                              {"Mixed", {{"Cle1"}, {"Cle2", true}}},
                                              {"Answer", {{"7;1"}}}}});
        Recordset records(database, "VEL Reponse2");
        struct Row {
            long long interview, iteration;
            Value answer;
        };
        const Row rows[] = {{2, 1, Value(5LL)}, {1, 2, Value(5LL)}, {1, 1, Value()}, {2, 2, Value(1.6)},
                            {1, 3, Value()}};
        for (const Row& row : rows) {
            records.addNew();
            records.setValue("Cle1", row.interview);
            records.setValue("Cle2", row.iteration);
            records.setValue("8;1", row.answer);
            records.update();
        }
        // A text where a number belongs, as another program may leave it.
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(directory.file("test.qes").c_str(), &other), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(other, "UPDATE \"VEL Reponse2\" SET \"8;1\" = 'deux' WHERE Cle1 = 1 AND Cle2 = 3",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(other);
    }

    static std::vector<FieldInfo> fields(const std::vector<std::string>& names) {
        std::vector<FieldInfo> infos;
        for (const std::string& name : names) {
            infos.push_back({name, name == "8;1" ? FieldType::Double : FieldType::Long, 0, {}});
        }
        return infos;
    }

    // The first selected field of every record, as whole numbers, in walk order.
    std::vector<long long> walk(const std::vector<std::string>& names, const std::string& index) {
        ForwardScan scan(database, "VEL Reponse2", fields(names), index);
        std::vector<long long> firsts;
        while (scan.next()) {
            firsts.push_back(scan.storedInteger(0).value_or(-1));
        }
        return firsts;
    }
};

TEST_F(ForwardScanTest, RecordsComeInTheIndexOrderAndEqualFieldsInRowIdOrder) {
    createLoopTable();
    struct OrderCase {
        std::vector<std::string> fields;
        std::string index;
        std::vector<long long> firsts;
    };
    const OrderCase cases[] = {
        {{"Cle2"}, "PrimaryKey", {1, 2, 3, 1, 2}},
        {{"Cle2"}, "Mixed", {3, 2, 1, 2, 1}},
        // "7;1" is Null everywhere: the non-unique index leaves the records in row-id order.
        {{"Cle1", "Cle2"}, "Answer", {2, 1, 1, 2, 1}},
        // Reading no field still gives one row per record: its row id.
        {{}, "PrimaryKey", {3, 2, 5, 1, 4}},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(walk(c.fields, c.index), c.firsts);
    }
}

TEST_F(ForwardScanTest, WholeNumbersAreReadDirectlyAndOtherValuesAsStoredOrTyped) {
    createLoopTable();
    ForwardScan scan(database, "VEL Reponse2", fields({"Cle1", "8;1"}), "PrimaryKey");
    struct ValueCase {
        long long interview;
        std::optional<long long> integer;
        Value stored;
        Value typed;
    };
    // In key order: (1,1) Null, (1,2) 5, (1,3) "deux", (2,1) 5, (2,2) 1.6; a number in the
    // floating field is stored as a double, even a whole one.
    const ValueCase cases[] = {{1, std::nullopt, Value(), Value()},
                               {1, std::nullopt, Value(5.0), Value(5.0)},
                               {1, std::nullopt, Value("deux"), Value("deux")},
                               {2, std::nullopt, Value(5.0), Value(5.0)},
                               {2, std::nullopt, Value(1.6), Value(1.6)}};
    for (const ValueCase& c : cases) {
        ASSERT_TRUE(scan.next());
        EXPECT_EQ(scan.storedInteger(0), c.interview);
        EXPECT_EQ(scan.value(0), Value(c.interview));
        EXPECT_EQ(scan.storedInteger(1), c.integer);
        EXPECT_EQ(scan.storedValue(1), c.stored);
        EXPECT_EQ(scan.value(1), c.typed);
    }
    EXPECT_FALSE(scan.next());
}

TEST_F(ForwardScanTest, AnUnknownTableFieldOrIndexIsRefused) {
    createLoopTable();
    EXPECT_THROW(ForwardScan(database, "VEL Reponse2", fields({"Cle1"}), "Index9"), DbException);
    EXPECT_THROW(ForwardScan(database, "VEL Reponse2", fields({"Absent"}), "PrimaryKey"), DbException);
    EXPECT_THROW(ForwardScan(database, "VEL Reponse9", fields({"Cle1"}), "PrimaryKey"), DbException);
}

} // namespace
