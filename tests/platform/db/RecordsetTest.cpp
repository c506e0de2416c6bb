#include "platform/db/Recordset.h"

#include "TemporaryDirectory.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Transaction.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <string>
#include <utility>
#include <vector>

using db::Database;
using db::DbException;
using db::FieldDefinition;
using db::FieldType;
using db::IndexDefinition;
using db::Recordset;
using db::TableDefinition;
using db::Transaction;
using db::Value;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    Database database{directory.file("test.qes"), Database::Access::ReadWrite,
                      Database::Creation::CreateIfMissing};

    // A study-field-like table with an AutoNumber key and a label index.
    void createLabelledTable() {
        database.createTable(
            TableDefinition{"MFW ChampEtude",
                            {{"CodeChamp", FieldType::AutoNumber}, {"Libelle", FieldType::Text, 50}},
                            {{"PrimaryKey", {{"CodeChamp"}}, true, true}, {"Libelle", {{"Libelle"}}}}});
    }

    long long addLabel(Recordset& records, const std::string& label) {
        records.addNew();
        records.setValue("Libelle", label);
        return records.update();
    }

    // A response table of a loop: two key fields and one answer.
    void createLoopTable(const std::vector<std::pair<long long, long long>>& keys) {
        database.createTable(
            TableDefinition{"VEL Reponse2",
                            {{"Cle1", FieldType::Long}, {"Cle2", FieldType::Long}, {"7;1", FieldType::Long}},
                            {{"PrimaryKey", {{"Cle1"}, {"Cle2"}}, true, true}}});
        Recordset records(database, "VEL Reponse2");
        for (const auto& [interview, iteration] : keys) {
            records.addNew();
            records.setValue("Cle1", interview);
            records.setValue("Cle2", iteration);
            records.setValue("7;1", interview * 10 + iteration);
            records.update();
        }
    }

    static std::vector<long long> column(Recordset& records, const std::string& field) {
        std::vector<long long> values;
        for (; !records.isEOF(); records.moveNext()) {
            values.push_back(records.value(field).toInteger());
        }
        return values;
    }
};

TEST_F(RecordsetTest, AutoNumberKeysAreHandedBackAndNeverReused) {
    createLabelledTable();
    Recordset records(database, "MFW ChampEtude");
    EXPECT_EQ(addLabel(records, "Hommes"), 1);
    EXPECT_EQ(addLabel(records, "Femmes"), 2);
    EXPECT_EQ(addLabel(records, "Jeunes"), 3);
    EXPECT_EQ(records.lastModified(), 3);

    records.setCurrentIndex("PrimaryKey");
    ASSERT_TRUE(records.seek("=", {3}));
    records.deleteCurrent();
    EXPECT_EQ(addLabel(records, "Seniors"), 4);

    // Not even when every record is gone and the file is opened again.
    records.moveFirst();
    while (!records.isEOF()) {
        records.deleteCurrent();
        records.moveNext();
    }
    EXPECT_EQ(database.rowCount("MFW ChampEtude"), 0);
    Database reopened(database.path(), Database::Access::ReadWrite);
    Recordset again(reopened, "MFW ChampEtude");
    EXPECT_EQ(addLabel(again, "Cadres"), 5);
}

TEST_F(RecordsetTest, SeekOnAMultiFieldPrimaryKey) {
    createLoopTable({{2, 3}, {1, 1}, {2, 1}, {3, 2}, {1, 2}, {2, 2}});
    Recordset records(database, "VEL Reponse2");
    records.setCurrentIndex("PrimaryKey");

    struct SeekCase {
        std::string comparison;
        std::vector<Value> key;
        bool found;
        long long answer; // of the record found
    };
    const SeekCase cases[] = {
        {"=", {2, 3}, true, 23},     {"=", {2, 4}, false, 0},
        {"=", {2}, true, 21}, // a partial key finds the first
        {"=", {4}, false, 0},        {">=", {2, 4}, true, 32},
        {">=", {1, 2}, true, 12},    {">", {1, 2}, true, 21},
        {">", {2}, true, 32},        {">", {3, 2}, false, 0},
        {"=", {"2", 2.0}, true, 22}, // values compare as numbers whatever kind they come in
    };
    for (const SeekCase& c : cases) {
        SCOPED_TRACE(c.comparison + " " + c.key[0].toText());
        EXPECT_EQ(records.seek(c.comparison, c.key), c.found);
        EXPECT_EQ(records.isEOF(), !c.found);
        if (c.found) {
            EXPECT_EQ(records.value("7;1"), Value(c.answer));
        }
    }

    // Moving on from a found record goes on in key order.
    ASSERT_TRUE(records.seek("=", {2, 2}));
    EXPECT_EQ(column(records, "7;1"), (std::vector<long long>{22, 23, 32}));

    EXPECT_THROW(records.seek("<", {1}), DbException);
    EXPECT_THROW(records.seek("=", {1, 2, 3}), DbException);
}

TEST_F(RecordsetTest, RecordsComeInTheOrderOfTheCurrentIndex) {
    createLabelledTable();
    database.createIndex("MFW ChampEtude", IndexDefinition{"Inverse", {{"Libelle", true}}});
    Recordset records(database, "MFW ChampEtude");
    for (const char* label : {"delta", "Alpha", "charlie", "Bravo"}) {
        addLabel(records, label);
    }

    struct OrderCase {
        std::string index;
        std::vector<long long> keys;
    };
    // Labels sort without regard to case, as the program's label indexes always did.
    const OrderCase cases[] = {
        {"", {1, 2, 3, 4}},
        {"Libelle", {2, 4, 3, 1}},
        {"Inverse", {1, 3, 4, 2}},
        {"PrimaryKey", {1, 2, 3, 4}},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.index);
        Recordset ordered(database, "MFW ChampEtude");
        if (!c.index.empty()) {
            ordered.setCurrentIndex(c.index);
        }
        EXPECT_EQ(column(ordered, "CodeChamp"), c.keys);
    }

    records.setCurrentIndex("Libelle");
    ASSERT_TRUE(records.seek("=", {"CHARLIE"}));
    EXPECT_EQ(records.value("Libelle"), Value("charlie"));
    EXPECT_THROW(records.setCurrentIndex("Index9"), DbException);
}

TEST_F(RecordsetTest, SeekFollowsAnIndexOfMixedDirections) {
    createLoopTable({{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}});
    database.createIndex("VEL Reponse2", IndexDefinition{"Mixed", {{"Cle1"}, {"Cle2", true}}});
    Recordset records(database, "VEL Reponse2");
    records.setCurrentIndex("Mixed");
    EXPECT_EQ(column(records, "7;1"), (std::vector<long long>{13, 12, 11, 22, 21}));

    ASSERT_TRUE(records.seek(">=", {1, 2}));
    EXPECT_EQ(column(records, "7;1"), (std::vector<long long>{12, 11, 22, 21}));
    ASSERT_TRUE(records.seek(">", {1, 1}));
    EXPECT_EQ(records.value("7;1"), Value(22));
    ASSERT_TRUE(records.seek("=", {2, 2}));
    EXPECT_EQ(records.value("7;1"), Value(22));
}

TEST_F(RecordsetTest, EditAndDeleteDuringAWalk) {
    createLoopTable({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}});
    Recordset records(database, "VEL Reponse2");
    records.setCurrentIndex("PrimaryKey");
    // Keep the even interviews, as an export of a study field's interviews does.
    for (; !records.isEOF(); records.moveNext()) {
        const long long interview = records.value("Cle1").toInteger();
        if (interview % 2 == 1) {
            records.deleteCurrent();
            EXPECT_THROW((void)records.value("Cle1"), DbException);
        } else {
            records.edit();
            records.setValue("7;1", -2);
            const long long written = records.update();
            EXPECT_EQ(records.lastModified(), written);
            EXPECT_EQ(records.value("7;1"), Value(-2)); // the edit shows at once
        }
    }
    Recordset check(database, "VEL Reponse2");
    check.setCurrentIndex("PrimaryKey");
    EXPECT_EQ(column(check, "Cle1"), (std::vector<long long>{2, 4}));
    check.moveFirst();
    EXPECT_EQ(column(check, "7;1"), (std::vector<long long>{-2, -2}));

    // At the end there is no current record to read, move from, edit or delete.
    EXPECT_TRUE(check.isEOF());
    EXPECT_THROW((void)check.value("Cle1"), DbException);
    EXPECT_THROW(check.moveNext(), DbException);
    EXPECT_THROW(check.edit(), DbException);
    EXPECT_THROW(check.deleteCurrent(), DbException);
    EXPECT_THROW(check.setValue("Cle1", 1), DbException); // neither adding nor editing
    EXPECT_THROW(check.update(), DbException);
}

TEST_F(RecordsetTest, ARecordsetOfChosenFieldsReadsAndWritesOnlyThem) {
    createLoopTable({{2, 1}, {1, 2}, {1, 1}});
    Recordset records(database, "VEL Reponse2", {"7;1", "Cle2"});
    records.setCurrentIndex("PrimaryKey"); // over Cle1, which it does not read
    ASSERT_EQ(records.fields().size(), 2u);
    EXPECT_EQ(records.fieldIndex("7;1"), 0);
    EXPECT_EQ(records.fieldIndex("CLE2"), 1);
    EXPECT_FALSE(records.findField("Cle1").has_value());
    EXPECT_EQ(column(records, "7;1"), (std::vector<long long>{11, 12, 21}));

    // Seek, edit and delete work on the chosen fields; the others keep their values.
    ASSERT_TRUE(records.seek("=", {1, 2}));
    EXPECT_EQ(records.value(1), Value(2));
    records.edit();
    records.setValue("7;1", -2);
    records.update();
    EXPECT_EQ(records.value("7;1"), Value(-2));
    ASSERT_TRUE(records.seek("=", {2, 1}));
    records.deleteCurrent();
    Recordset check(database, "VEL Reponse2");
    check.setCurrentIndex("PrimaryKey");
    EXPECT_EQ(column(check, "Cle1"), (std::vector<long long>{1, 1}));
    check.moveFirst();
    EXPECT_EQ(column(check, "7;1"), (std::vector<long long>{11, -2}));

    EXPECT_THROW(Recordset(database, "VEL Reponse2", {"Cle1", "8;1"}), DbException);
    EXPECT_THROW(Recordset(database, "VEL Reponse9", {"Cle1"}), DbException);
}

TEST_F(RecordsetTest, EveryTypeKeepsItsValuesAndNull) {
    database.createTable(TableDefinition{"Types",
                                         {{"Key", FieldType::AutoNumber},
                                          {"Flag", FieldType::Boolean},
                                          {"Small", FieldType::Byte},
                                          {"Kind", FieldType::Integer},
                                          {"Code", FieldType::Long},
                                          {"Money", FieldType::Currency},
                                          {"Ratio", FieldType::Single},
                                          {"Total", FieldType::Double},
                                          {"When", FieldType::Date},
                                          {"Libelle", FieldType::Text, 50},
                                          {"Themes", FieldType::Memo}},
                                         {{"PrimaryKey", {{"Key"}}, true, true}}});
    struct TypeCase {
        std::string field;
        Value written;
        Value read; // typed by the field
    };
    const TypeCase cases[] = {
        {"Flag", 1, true},
        {"Small", 255, 255},
        {"Kind", -32768, -32768},
        {"Code", 2147483647, 2147483647},
        {"Code", 2.5, 2}, // rounded to the nearest, halves to even
        {"Money", 12, 12.0},
        {"Ratio", 0.5f, 0.5},
        {"Total", 3.0, 3.0}, // stays a double although it is whole
        {"When", 45000.25, 45000.25},
        {"Libelle", "007", "007"}, // a text that looks like a number stays a text
        {"Libelle", 1.5, "1.5"},
        {"Themes", "a\nb|c;d", "a\nb|c;d"},
        {"Themes", "", ""}, // empty is not Null
    };
    Recordset records(database, "Types");
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.field + " " + c.written.toText());
        records.addNew();
        records.setValue(c.field, c.written);
        const long long key = records.update();
        records.setCurrentIndex("PrimaryKey");
        ASSERT_TRUE(records.seek("=", {key}));
        EXPECT_EQ(records.value(c.field), c.read);
        EXPECT_EQ(records.value(c.field).kind(), c.read.kind());
        records.edit();
        records.setValue(c.field, Value());
        records.update();
        EXPECT_TRUE(records.value(c.field).isNull());
    }
    records.addNew();
    EXPECT_THROW(records.setValue("Small", 256), DbException);
    EXPECT_THROW(records.setValue("Kind", 32768), DbException);
    EXPECT_THROW(records.setValue("Code", 2147483648LL), DbException);
    EXPECT_THROW(records.setValue("Code", "abc"), DbException);
    EXPECT_THROW(records.setValue("Nothing", 1), DbException);
    records.cancelUpdate();
    records.moveFirst();
    records.edit();
    EXPECT_THROW(records.setValue("Key", 99), DbException); // a key given by the database stays
}

// A whole-number field read as stored: what another program put there, a fraction or a text,
// before the conversion that value() makes (which rounds 1.6 to 2).
TEST_F(RecordsetTest, StoredValuesAreReadBeforeTheConversionToTheFieldsType) {
    createLoopTable({{1, 1}, {1, 2}, {2, 1}});
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(directory.file("test.qes").c_str(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other,
                           "UPDATE \"VEL Reponse2\" SET \"7;1\" = 1.6 WHERE Cle2 = 1 AND Cle1 = 1;"
                           "UPDATE \"VEL Reponse2\" SET \"7;1\" = 'deux' WHERE Cle1 = 2;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);

    Recordset records(database, "VEL Reponse2");
    records.setCurrentIndex("PrimaryKey");
    EXPECT_EQ(records.storedValue("7;1"), Value(1.6));
    EXPECT_EQ(records.value("7;1"), Value(2LL));
    records.moveNext();
    EXPECT_EQ(records.storedValue("7;1"), Value(12LL));
    EXPECT_EQ(records.storedValue(0), Value(1LL));
    records.moveNext();
    EXPECT_EQ(records.storedValue("7;1"), Value("deux"));
    EXPECT_THROW((void)records.storedValue("absent"), DbException);
    // A record edited through the layer holds its field's type either way.
    records.edit();
    records.setValue("7;1", 3);
    records.update();
    EXPECT_EQ(records.storedValue("7;1"), Value(3LL));
}

TEST_F(RecordsetTest, TextHoldingQuotesAndSqlIsStoredAsItStands) {
    createLabelledTable();
    const std::vector<std::string> labels = {
        "l'enquête \"2024\"",
        "x'); DROP TABLE \"MFW ChampEtude\"; --",
        "Robert'); DELETE FROM sqlite_master; --",
        "%s %d ? ?1 :name @a $b",
        std::string("nul\0byte", 8),
    };
    Recordset records(database, "MFW ChampEtude");
    for (const std::string& label : labels) {
        addLabel(records, label);
    }
    records.setCurrentIndex("PrimaryKey");
    for (const std::string& label : labels) {
        EXPECT_EQ(records.value("Libelle"), Value(label));
        records.moveNext();
    }
    records.setCurrentIndex("Libelle");
    EXPECT_TRUE(records.seek("=", {labels[1]}));
    EXPECT_TRUE(database.tableExists("MFW ChampEtude"));
    EXPECT_EQ(database.rowCount("MFW ChampEtude"), static_cast<long long>(labels.size()));
}

TEST_F(RecordsetTest, BulkInsertOfAWideTableInOneTransaction) {
    constexpr int kAnswers = 50;
    constexpr long long kInterviews = 2000;
    TableDefinition table{
        "VEL Reponse1", {{"Cle1", FieldType::Long}}, {{"PrimaryKey", {{"Cle1"}}, true, true}}};
    for (int answer = 1; answer <= kAnswers; ++answer) {
        table.fields.push_back(FieldDefinition{"3;" + std::to_string(answer), FieldType::Double});
    }
    database.createTable(table);
    {
        Transaction transaction(database);
        Recordset records(database, "VEL Reponse1");
        std::vector<int> fields;
        for (int answer = 1; answer <= kAnswers; ++answer) {
            fields.push_back(records.fieldIndex("3;" + std::to_string(answer)));
        }
        for (long long interview = kInterviews; interview >= 1; --interview) {
            records.addNew();
            records.setValue(0, interview);
            for (int answer = 0; answer < kAnswers; ++answer) {
                records.setValue(fields[static_cast<std::size_t>(answer)], interview + answer / 100.0);
            }
            records.update();
        }
        transaction.commit();
    }
    EXPECT_EQ(database.rowCount("VEL Reponse1"), kInterviews);

    Recordset records(database, "VEL Reponse1");
    records.setCurrentIndex("PrimaryKey");
    const int last = records.fieldIndex("3;50");
    long long expected = 1;
    for (; !records.isEOF(); records.moveNext(), ++expected) {
        ASSERT_EQ(records.value(0), Value(expected));
        ASSERT_DOUBLE_EQ(records.value(last).toDouble(), static_cast<double>(expected) + 0.49);
    }
    EXPECT_EQ(expected, kInterviews + 1);
}

} // namespace
