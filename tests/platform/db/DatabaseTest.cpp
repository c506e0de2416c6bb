#include "platform/db/Database.h"

#include "TemporaryDirectory.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using db::Database;
using db::DbException;
using db::FieldDefinition;
using db::FieldInfo;
using db::FieldType;
using db::IndexDefinition;
using db::IndexInfo;
using db::Recordset;
using db::TableDefinition;
using db::Value;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    Database database{directory.file("test.qes"), Database::Access::ReadWrite,
                      Database::Creation::CreateIfMissing};
};

struct TypeCase {
    FieldDefinition field;
    FieldType type;
    int textSize;
    std::string declared;
};

// Every DAO field type, the declared SQLite type that stands for it, and what is read back.
const TypeCase kTypes[] = {
    {{"Key", FieldType::AutoNumber, 0}, FieldType::AutoNumber, 0, "INTEGER"},
    {{"Flag", FieldType::Boolean, 0}, FieldType::Boolean, 0, "BOOLEAN"},
    {{"Small", FieldType::Byte, 0}, FieldType::Byte, 0, "BYTE"},
    {{"Kind", FieldType::Integer, 0}, FieldType::Integer, 0, "SHORT"},
    {{"Code", FieldType::Long, 0}, FieldType::Long, 0, "LONG"},
    {{"Money", FieldType::Currency, 0}, FieldType::Currency, 0, "CURRENCY"},
    {{"Ratio", FieldType::Single, 0}, FieldType::Single, 0, "SINGLE"},
    {{"Total", FieldType::Double, 0}, FieldType::Double, 0, "DOUBLE"},
    {{"When", FieldType::Date, 0}, FieldType::Date, 0, "DATETIME"},
    {{"Libelle", FieldType::Text, 50}, FieldType::Text, 50, "TEXT(50)"},
    {{"Description", FieldType::Text, 0}, FieldType::Text, 255, "TEXT(255)"},
    {{"Themes", FieldType::Memo, 0}, FieldType::Memo, 0, "LONGTEXT"},
};

TableDefinition allTypesTable() {
    TableDefinition table{"MFW Tous", {}, {}};
    for (const TypeCase& c : kTypes) {
        table.fields.push_back(c.field);
    }
    table.indexes.push_back(IndexDefinition{"PrimaryKey", {{"Key"}}, true, true});
    table.indexes.push_back(IndexDefinition{"Index1", {{"Code"}, {"Libelle", true}}, false, false});
    return table;
}

TEST_F(DatabaseTest, CreatedFieldsReadBackWithTheirTypesAndOrder) {
    database.createTable(allTypesTable());

    const std::vector<FieldInfo> fields = database.fields("MFW Tous");
    ASSERT_EQ(fields.size(), std::size(kTypes));
    EXPECT_EQ(database.fieldCount("MFW Tous"), static_cast<int>(std::size(kTypes)));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE(kTypes[i].field.name);
        EXPECT_EQ(fields[i].name, kTypes[i].field.name);
        EXPECT_EQ(fields[i].type, kTypes[i].type);
        EXPECT_EQ(fields[i].textSize, kTypes[i].textSize);
        EXPECT_EQ(fields[i].declaredType, kTypes[i].declared);
        EXPECT_EQ(database.fieldType("MFW Tous", kTypes[i].field.name), kTypes[i].type);
    }
}

TEST_F(DatabaseTest, IndexesAreKnownByTheirProgramNames) {
    database.createTable(allTypesTable());
    database.createTable(
        TableDefinition{"MFW Autre", {{"Key", FieldType::Long}}, {{"PrimaryKey", {{"Key"}}, true}}});

    const std::vector<IndexInfo> indexes = database.indexes("MFW Tous");
    ASSERT_EQ(indexes.size(), 2u);
    EXPECT_EQ(indexes[0].name, "Index1");
    EXPECT_FALSE(indexes[0].unique);
    ASSERT_EQ(indexes[0].fields.size(), 2u);
    EXPECT_EQ(indexes[0].fields[0].name, "Code");
    EXPECT_FALSE(indexes[0].fields[0].descending);
    EXPECT_EQ(indexes[0].fields[1].name, "Libelle");
    EXPECT_TRUE(indexes[0].fields[1].descending);
    EXPECT_EQ(indexes[1].name, "PrimaryKey");
    EXPECT_TRUE(indexes[1].unique);

    // The same program name in two tables does not clash.
    ASSERT_TRUE(database.index("MFW Autre", "PrimaryKey").has_value());
    EXPECT_EQ(database.index("MFW Autre", "PrimaryKey")->fields[0].name, "Key");
    EXPECT_FALSE(database.index("MFW Autre", "Index1").has_value());
}

TEST_F(DatabaseTest, TableNamesCompareByteForByte) {
    database.createTable(TableDefinition{"MFW Style", {{"CodeStyle", FieldType::AutoNumber}}, {}});

    EXPECT_TRUE(database.tableExists("MFW Style"));
    EXPECT_FALSE(database.tableExists("MFW style"));
    EXPECT_FALSE(database.tableExists("MFW Style "));
    EXPECT_FALSE(database.tableExists("MFW"));
    // SQLite's own bookkeeping table (made for AutoNumber keys) is not listed.
    EXPECT_EQ(database.tables(), std::vector<std::string>{"MFW Style"});
}

TEST_F(DatabaseTest, FieldExistenceAndMissingTables) {
    database.createTable(TableDefinition{"VEL Reponse1", {{"Cle1", FieldType::Long}}, {}});

    EXPECT_TRUE(database.fieldExists("VEL Reponse1", "Cle1"));
    EXPECT_TRUE(database.fieldExists("VEL Reponse1", "cle1")); // as SQLite itself compares field names
    EXPECT_FALSE(database.fieldExists("VEL Reponse1", "Cle2"));
    EXPECT_FALSE(database.fieldExists("VEL Reponse2", "Cle1"));
    EXPECT_EQ(database.fieldCount("VEL Reponse2"), 0);
    EXPECT_FALSE(database.fieldType("VEL Reponse1", "Cle2").has_value());
    EXPECT_THROW((void)database.rowCount("VEL Reponse2"), DbException);
}

TEST_F(DatabaseTest, NamesWithSpacesSemicolonsAndQuotesWork) {
    const std::string table = "VEL Reponse1";
    const std::vector<std::string> names = {"12;0", "12;1", "Say \"hi\"", "a;b c"};
    database.createTable(
        TableDefinition{table, {{"Cle1", FieldType::Long}}, {{"PrimaryKey", {{"Cle1"}}, true, true}}});
    for (const std::string& name : names) {
        database.addField(table, FieldDefinition{name, FieldType::Long});
    }
    database.createIndex(table, IndexDefinition{"Index1", {{"12;1"}, {"a;b c"}}});

    {
        Recordset records(database, table);
        records.addNew();
        records.setValue("Cle1", 1);
        for (std::size_t i = 0; i < names.size(); ++i) {
            records.setValue(names[i], static_cast<long long>(10 + i));
        }
        records.update();
        records.setCurrentIndex("Index1");
        ASSERT_TRUE(records.seek("=", {11, 13}));
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(records.value(names[i]), Value(static_cast<long long>(10 + i))) << names[i];
        }
    }
    database.dropField(table, "12;0");
    EXPECT_FALSE(database.fieldExists(table, "12;0"));
    EXPECT_EQ(database.fieldCount(table), 4);
}

TEST_F(DatabaseTest, AFieldOfTheWrongTypeIsFoundThenDroppedAndCreatedAgain) {
    const std::string table = "VEL Reponse1";
    database.createTable(
        TableDefinition{table,
                        {{"Cle1", FieldType::Long}, {"5;1", FieldType::Long}, {"6;1", FieldType::Long}},
                        {{"PrimaryKey", {{"Cle1"}}, true}}});
    {
        Recordset records(database, table);
        for (int key = 1; key <= 3; ++key) {
            records.addNew();
            records.setValue("Cle1", key);
            records.setValue("5;1", key * 10);
            records.setValue("6;1", key * 100);
            records.update();
        }
    }

    ASSERT_EQ(database.fieldType(table, "5;1"), FieldType::Long);
    database.dropField(table, "5;1");
    database.addField(table, FieldDefinition{"5;1", FieldType::Double});

    EXPECT_EQ(database.fieldType(table, "5;1"), FieldType::Double);
    EXPECT_EQ(database.fieldCount(table), 3);
    Recordset records(database, table);
    records.setCurrentIndex("PrimaryKey");
    long long expected = 100;
    for (; !records.isEOF(); records.moveNext(), expected += 100) {
        EXPECT_TRUE(records.value("5;1").isNull());
        EXPECT_EQ(records.value("6;1"), Value(expected)); // the other answers are untouched
    }
    EXPECT_EQ(expected, 400);
}

TEST_F(DatabaseTest, SchemaChangesThatCannotBeMadeRaiseAndLeaveNothingHalfBuilt) {
    // An index on a field the table lacks: the table must not be left behind without it.
    const TableDefinition broken{
        "MFW Profil", {{"NroListe", FieldType::AutoNumber}}, {{"Index1", {{"Libelle"}}}}};
    EXPECT_THROW(database.createTable(broken), DbException);
    EXPECT_FALSE(database.tableExists("MFW Profil"));

    database.createTable(
        TableDefinition{"MFW Profil",
                        {{"NroListe", FieldType::AutoNumber}, {"Libelle", FieldType::Text, 50}},
                        {{"Index1", {{"Libelle"}}}}});
    EXPECT_THROW(database.createTable(TableDefinition{"MFW Profil", {{"X", FieldType::Long}}, {}}),
                 DbException);
    EXPECT_THROW(database.dropField("MFW Profil", "Libelle"), DbException); // part of an index
    EXPECT_THROW(database.addField("MFW Profil", {"Libelle", FieldType::Long}), DbException); // exists
    EXPECT_THROW(database.addField("MFW Profil", {"Autre", FieldType::AutoNumber}), DbException);
    EXPECT_THROW(database.createIndex("MFW Profil", {"Bad.Name", {{"Libelle"}}}), DbException);
    EXPECT_THROW(database.createTable(TableDefinition{"MFW Vide", {}, {}}), DbException);
    EXPECT_EQ(database.fieldCount("MFW Profil"), 2);
}

TEST_F(DatabaseTest, AUniqueIndexRefusesDuplicatesWithSqlitesDescription) {
    database.createTable(TableDefinition{
        "MotVide", {{"Libelle", FieldType::Text, 50}}, {{"PrimaryKey", {{"Libelle"}}, true, true}}});
    Recordset words(database, "MotVide");
    words.addNew();
    words.setValue("Libelle", "le");
    words.update();
    // Labels compare without regard to case, so "LE" is the same word.
    for (const char* duplicate : {"le", "LE"}) {
        words.addNew();
        words.setValue("Libelle", duplicate);
        try {
            words.update();
            ADD_FAILURE() << "a duplicate key was accepted: " << duplicate;
        } catch (const DbException& error) {
            EXPECT_NE(error.description().find("UNIQUE constraint failed"), std::string::npos)
                << error.description();
        }
        words.cancelUpdate();
    }
    EXPECT_EQ(database.rowCount("MotVide"), 1);
}

} // namespace
