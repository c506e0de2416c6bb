#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SurveyTestSupport.h"
#include "app/DBQuestionnaire.h"
#include "app/StringTable.h"
#include "app/TblCalcule.h"
#include "app/TblChamp.h"
#include "app/TblMotVide.h"
#include "app/TblProfil.h"
#include "app/TblProfilNumerique.h"
#include "app/TblRecode.h"
#include "app/TblRedressement.h"
#include "app/TblStyle.h"
#include "platform/db/Database.h"
#include "platform/db/DbException.h"
#include "platform/db/Recordset.h"
#include "support/RecordingUserInterface.h"

using survey_test::TemporaryFolder;
using db::FieldType;

namespace {

// ---- Expected layouts, written out independently of the code --------------------------------

struct ExpectedField {
    std::string name;
    FieldType type;
    int textSize; // Text only
};
struct ExpectedIndex {
    std::string name;
    std::vector<std::string> fields;
    bool unique;
};
struct ExpectedTable {
    std::string name;
    std::function<bool(db::Database&, const CreationReport&)> create;
    std::vector<ExpectedField> fields;
    std::vector<ExpectedIndex> indexes; // in name order, as the database lists them
};

std::vector<ExpectedField> ChampFields() {
    std::vector<ExpectedField> fields = {{"CodeChamp", FieldType::AutoNumber, 0}, {"Libelle", FieldType::Text, 50},
                                         {"Logique1", FieldType::Integer, 0},     {"Logique2", FieldType::Integer, 0},
                                         {"Logique3", FieldType::Integer, 0},     {"Description", FieldType::Text, 255},
                                         {"ConditionComplexe", FieldType::Memo, 0}};
    for (int n = 1; n <= 4; ++n) {
        const std::string s = std::to_string(n);
        fields.push_back({"CodeQuestion" + s, FieldType::Long, 0});
        fields.push_back({"ClesQuestion" + s, FieldType::Text, 50});
        fields.push_back({"CodeRegroupement" + s, FieldType::Long, 0});
        fields.push_back({"TypeCondition" + s, FieldType::Integer, 0});
        fields.push_back({"Modalites" + s, FieldType::Text, 255});
        fields.push_back({"Bornes" + s, FieldType::Text, 255});
    }
    return fields;
}

const std::vector<ExpectedTable>& ExpectedTables() {
    static const std::vector<ExpectedTable> tables = {
        {"MFW Variable", CTblCalcule::CreerTable,
         {{"CodeVariable", FieldType::Long, 0}, {"Libelle", FieldType::Text, 50},
          {"TypeVariable", FieldType::Integer, 0}, {"CodeQuestion1", FieldType::Long, 0},
          {"ClesQuestion1", FieldType::Text, 50}, {"CodeRegroupement1", FieldType::Long, 0},
          {"CodeQuestion2", FieldType::Long, 0}, {"ClesQuestion2", FieldType::Text, 50},
          {"CodeRegroupement2", FieldType::Long, 0}, {"Themes", FieldType::Memo, 0},
          {"Expression", FieldType::Memo, 0}, {"NroTableReponse", FieldType::Integer, 0},
          {"NbMaxReponse", FieldType::Integer, 0}, {"EstCumule", FieldType::Boolean, 0}},
         {{"PrimaryKey", {"CodeVariable"}, true}}},
        {"MFW ChampEtude", CTblChamp::CreerTable, ChampFields(),
         {{"Libelle", {"Libelle"}, false}, {"PrimaryKey", {"CodeChamp"}, true}}},
        {"MFW Redressement", CTblRedressement::CreerTable,
         {{"CodeRedressement", FieldType::AutoNumber, 0}, {"Libelle", FieldType::Text, 50},
          {"Description", FieldType::Text, 255}, {"Valeurs", FieldType::Memo, 0}, {"NTotal", FieldType::Double, 0}},
         {{"Libelle", {"Libelle"}, false}, {"PrimaryKey", {"CodeRedressement"}, true}}},
        {"MFW ListeVariable", CTblProfil::CreerTable,
         {{"NroListe", FieldType::AutoNumber, 0}, {"Libelle", FieldType::Text, 50},
          {"ModalitesActives", FieldType::Memo, 0}, {"ModalitesIllustratives", FieldType::Memo, 0}},
         {{"Index1", {"Libelle"}, false}, {"PrimaryKey", {"NroListe"}, true}}},
        {"MFW ListeNumerique", CTblProfilNumerique::CreerTable,
         {{"NroListe", FieldType::AutoNumber, 0}, {"Libelle", FieldType::Text, 50},
          {"QuestionsActives", FieldType::Memo, 0}, {"QuestionsIllustratives", FieldType::Memo, 0}},
         {{"Index1", {"Libelle"}, false}, {"PrimaryKey", {"NroListe"}, true}}},
        {"MFW Recode", CTblRecode::CreerTable,
         {{"CodeRecodage", FieldType::AutoNumber, 0}, {"CodeQuestion", FieldType::Long, 0},
          {"CodeRecodageQuestion", FieldType::Long, 0}, {"Type", FieldType::Integer, 0},
          {"SousType", FieldType::Integer, 0}, {"Libelle", FieldType::Text, 50},
          {"Regroupement", FieldType::Memo, 0}, {"EstCumule", FieldType::Boolean, 0},
          {"CodeNiveauDepart", FieldType::Long, 0}, {"CodeNiveauArrivee", FieldType::Long, 0},
          {"Unite", FieldType::Text, 50}, {"EstMoins", FieldType::Boolean, 0}, {"EstPlus", FieldType::Boolean, 0},
          {"EstEntier", FieldType::Boolean, 0}, {"DateType", FieldType::Integer, 0}},
         {{"Index1", {"CodeQuestion", "CodeRecodageQuestion"}, false},
          {"Libelle", {"Libelle"}, false},
          {"PrimaryKey", {"CodeRecodage"}, true}}},
        {"MFW Style", CTblStyle::CreerTable,
         {{"CodeStyle", FieldType::AutoNumber, 0}, {"Libelle", FieldType::Text, 50}, {"Calculs", FieldType::Memo, 0}},
         {{"Index1", {"Libelle"}, false}, {"PrimaryKey", {"CodeStyle"}, true}}},
    };
    return tables;
}

class ProgramTablesTest : public ::testing::Test {
protected:
    std::unique_ptr<db::Database> OpenDatabase(db::Database::Access access = db::Database::Access::ReadWrite) {
        return std::make_unique<db::Database>(path, access, db::Database::Creation::CreateIfMissing);
    }

    TemporaryFolder folder;
    std::string path = folder.Sub("tables.qes");
};

// A table made from the layout with some fields left out, as an older program made it.
db::TableDefinition LayoutWithout(const ProgramTableLayout& layout, const std::string& missing) {
    db::TableDefinition definition = layout.Definition();
    std::erase_if(definition.fields, [&](const db::FieldDefinition& field) { return field.name == missing; });
    return definition;
}

// ---- Creation ---------------------------------------------------------------------------------

TEST_F(ProgramTablesTest, EveryTableIsCreatedWithItsExactFieldsTypesAndIndexes) {
    auto database = OpenDatabase();
    for (const ExpectedTable& table : ExpectedTables()) {
        SCOPED_TRACE(table.name);
        ASSERT_TRUE(table.create(*database, {}));
        const auto fields = database->fields(table.name);
        ASSERT_EQ(fields.size(), table.fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i].name, table.fields[i].name);
            EXPECT_EQ(fields[i].type, table.fields[i].type) << fields[i].name;
            if (table.fields[i].type == FieldType::Text) {
                EXPECT_EQ(fields[i].textSize, table.fields[i].textSize) << fields[i].name;
            }
        }
        const auto indexes = database->indexes(table.name);
        ASSERT_EQ(indexes.size(), table.indexes.size());
        for (std::size_t i = 0; i < indexes.size(); ++i) {
            EXPECT_EQ(indexes[i].name, table.indexes[i].name);
            EXPECT_EQ(indexes[i].unique, table.indexes[i].unique) << indexes[i].name;
            std::vector<std::string> names;
            for (const auto& field : indexes[i].fields) {
                names.push_back(field.name);
                EXPECT_FALSE(field.descending);
            }
            EXPECT_EQ(names, table.indexes[i].fields);
        }
    }
    EXPECT_EQ(database->tables().size(), ExpectedTables().size());
}

TEST_F(ProgramTablesTest, CreatingAnExistingTableChangesNothing) {
    auto database = OpenDatabase();
    ASSERT_TRUE(CTblStyle::CreerTable(*database));
    {
        CTblStyle style(*database);
        style.Open();
        style.AddNew();
        style.m_Libelle = "Gardé";
        style.Update();
    }
    ASSERT_TRUE(CTblStyle::CreerTable(*database));
    EXPECT_EQ(database->rowCount("MFW Style"), 1);
}

TEST_F(ProgramTablesTest, TableNamesCompareCaseSensitively) {
    auto database = OpenDatabase();
    database->createTable({"mfw style", {{"x", FieldType::Long}}, {}});
    EXPECT_FALSE(CTblStyle::ExisteTable(*database));
    EXPECT_TRUE(CDBQuestionnaire::ExisteTable(*database, "mfw style"));
    EXPECT_FALSE(CDBQuestionnaire::ExisteTable(*database, "MFW Style"));
}

TEST_F(ProgramTablesTest, AFailedCreationReportsTheDatabaseTextAndLeavesNothingBehind) {
    {
        auto database = OpenDatabase();
        database->createTable({"other", {{"x", FieldType::Long}}, {}});
    }
    auto database = OpenDatabase(db::Database::Access::ReadOnly);
    RecordingUserInterface ui;
    std::string error;
    EXPECT_FALSE(CTblProfil::CreerTable(*database, {&ui, &error}));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].message.id, 0);
    EXPECT_FALSE(ui.ShownTexts()[0].empty());
    EXPECT_EQ(error, ui.ShownTexts()[0]);
    EXPECT_FALSE(database->tableExists("MFW ListeVariable"));
}

TEST_F(ProgramTablesTest, ACreationThatFailsHalfWayLeavesNoTable) {
    auto database = OpenDatabase();
    // SQLite table names ignore case: creating "MFW Style" beside "mfw style" fails.
    database->createTable({"mfw style", {{"x", FieldType::Long}}, {}});
    std::string error;
    EXPECT_FALSE(CTblStyle::CreerTable(*database, {nullptr, &error}));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(database->tableExists("MFW Style"));
    EXPECT_EQ(database->fieldCount("mfw style"), 1);
}

// ---- Reading and writing ----------------------------------------------------------------------

TEST_F(ProgramTablesTest, AddingCopiesTheNewKeyAndSeekReadsTheRecordBack) {
    auto database = OpenDatabase();
    ASSERT_TRUE(CTblRedressement::CreerTable(*database));
    CTblRedressement table(*database);
    table.Open();
    for (const char* label : {"Premier", ""}) {
        table.AddNew();
        table.m_Libelle = label;
        table.m_Description = "";
        table.m_Valeurs = "12@1;@0~x";
        table.m_NTotal = 1234.5;
        table.Update();
    }
    EXPECT_EQ(table.m_CodeRedressement, 2);

    CTblRedressement reader(*database);
    reader.Open();
    reader.SetCurrentIndex("PrimaryKey");
    ASSERT_TRUE(reader.Seek("=", {1}));
    EXPECT_EQ(reader.m_CodeRedressement, 1);
    EXPECT_EQ(reader.m_Libelle, "Premier");
    EXPECT_EQ(reader.m_Valeurs, "12@1;@0~x");
    EXPECT_DOUBLE_EQ(reader.m_NTotal, 1234.5);
    ASSERT_TRUE(reader.Seek("=", {2}));
    EXPECT_EQ(reader.m_Libelle, "");
    EXPECT_EQ(reader.m_Description, "");
    EXPECT_FALSE(reader.Seek("=", {3}));
}

TEST_F(ProgramTablesTest, TheFourConditionGroupsOfAStudyFieldBindToTheirOwnMembers) {
    auto database = OpenDatabase();
    ASSERT_TRUE(CTblChamp::CreerTable(*database));
    CTblChamp table(*database);
    table.Open();
    EXPECT_EQ(table.GetBoundFieldCount(), 31);
    table.AddNew();
    table.m_Libelle = "Jeunes";
    for (int n = 0; n < CTblChamp::kConditionCount; ++n) {
        table.m_Conditions[n].m_CodeQuestion = 10 + n;
        table.m_Conditions[n].m_Bornes = std::to_string(n) + ";9";
    }
    table.Update();

    CTblChamp reader(*database);
    reader.Open();
    ASSERT_FALSE(reader.IsEOF());
    for (int n = 0; n < CTblChamp::kConditionCount; ++n) {
        EXPECT_EQ(reader.m_Conditions[n].m_CodeQuestion, 10 + n);
        EXPECT_EQ(reader.m_Conditions[n].m_Bornes, std::to_string(n) + ";9");
    }
    EXPECT_EQ(database->field("MFW ChampEtude", "Bornes3").has_value(), true);
}

TEST_F(ProgramTablesTest, ARecodeTableWithoutDateTypeGainsItAndAVersion402RecordsetUsesFourteenFields) {
    auto database = OpenDatabase();
    database->createTable(LayoutWithout(CTblRecode::Layout(), "DateType"));
    {
        CTblRecode old(*database, 402);
        old.Open();
        EXPECT_EQ(old.GetBoundFieldCount(), 14);
        EXPECT_FALSE(old.IsBound("DateType"));
        old.AddNew();
        old.m_Libelle = "Âge en classes";
        old.m_Type = 2;
        old.m_DateType = 5; // not written below 403
        old.Update();
    }

    ASSERT_TRUE(CTblRecode::CreerTable(*database));
    const auto fields = database->fields("MFW Recode");
    ASSERT_EQ(fields.size(), 15u);
    EXPECT_EQ(fields.back().name, "DateType");
    EXPECT_EQ(fields.back().type, FieldType::Integer);
    ASSERT_TRUE(CTblRecode::CreerTable(*database));
    EXPECT_EQ(database->fieldCount("MFW Recode"), 15);

    {
        CTblRecode old(*database, 402);
        old.Open();
        EXPECT_EQ(old.GetBoundFieldCount(), 14);
        ASSERT_FALSE(old.IsEOF());
        EXPECT_EQ(old.m_Libelle, "Âge en classes");
        EXPECT_EQ(old.m_DateType, -1);
        old.Edit();
        old.m_Unite = "ans";
        old.Update();
    }
    CTblRecode current(*database, 403);
    current.Open();
    EXPECT_EQ(current.GetBoundFieldCount(), 15);
    ASSERT_FALSE(current.IsEOF());
    EXPECT_EQ(current.m_Unite, "ans");
    EXPECT_EQ(current.m_DateType, -1); // empty in the record added before the upgrade
    current.Edit();
    current.m_DateType = 2;
    current.Update();
    current.MoveFirst();
    EXPECT_EQ(current.m_DateType, 2);
}

TEST_F(ProgramTablesTest, AVariableTableWithoutEstCumuleReadsAndWrites) {
    auto database = OpenDatabase();
    database->createTable(LayoutWithout(CTblCalcule::Layout(), "EstCumule"));
    ASSERT_TRUE(CTblCalcule::ExisteTable(*database));
    {
        CTblCalcule table(*database);
        table.Open();
        table.AddNew();
        table.m_CodeVariable = 7;
        table.m_Libelle = "Score";
        table.m_Expression = "1+1";
        table.m_EstCumule = 1;
        table.Update();
    }
    CTblCalcule reader(*database);
    reader.Open();
    reader.SetCurrentIndex("PrimaryKey");
    ASSERT_TRUE(reader.Seek("=", {7}));
    EXPECT_EQ(reader.m_Libelle, "Score");
    EXPECT_EQ(reader.m_Expression, "1+1");
    EXPECT_EQ(reader.m_EstCumule, 0);
}

TEST_F(ProgramTablesTest, EstCumuleIsKeptWhereTheTableHasIt) {
    auto database = OpenDatabase();
    ASSERT_TRUE(CTblCalcule::CreerTable(*database));
    CTblCalcule table(*database);
    table.Open();
    table.AddNew();
    table.m_CodeVariable = 3;
    table.m_EstCumule = 1;
    table.Update();
    table.MoveFirst();
    EXPECT_EQ(table.m_EstCumule, 1);
}

TEST_F(ProgramTablesTest, FieldsOfTheWrongTypeAndUnknownFieldsDoNotStopReading) {
    auto database = OpenDatabase();
    database->createTable({"MFW Redressement",
                           {{"Extra", FieldType::Text, 20},
                            {"NTotal", FieldType::Text, 20},
                            {"CodeRedressement", FieldType::AutoNumber},
                            {"Libelle", FieldType::Long},
                            {"Description", FieldType::Text, 255},
                            {"Valeurs", FieldType::Double}},
                           {}});
    {
        db::Recordset raw(*database, "MFW Redressement");
        raw.addNew();
        raw.setValue("Extra", "ignoré");
        raw.setValue("NTotal", "pas un nombre");
        raw.setValue("Libelle", 42);
        raw.setValue("Valeurs", 2.5);
        raw.update();
        raw.addNew();
        raw.setValue("NTotal", "12.5");
        raw.update();
    }
    CTblRedressement table(*database);
    table.Open();
    ASSERT_FALSE(table.IsEOF());
    EXPECT_EQ(table.m_CodeRedressement, 1);
    EXPECT_EQ(table.m_Libelle, "42");
    EXPECT_EQ(table.m_Valeurs, "2.5");
    EXPECT_DOUBLE_EQ(table.m_NTotal, 0.0);
    table.MoveNext();
    ASSERT_FALSE(table.IsEOF());
    EXPECT_DOUBLE_EQ(table.m_NTotal, 12.5);
    table.MoveNext();
    EXPECT_TRUE(table.IsEOF());
}

TEST_F(ProgramTablesTest, ANumberTooLargeForItsMemberReadsAsZero) {
    auto database = OpenDatabase();
    db::TableDefinition definition = CTblRecode::Layout().Definition();
    for (auto& field : definition.fields) {
        if (field.name == "Type")
            field.type = FieldType::Long;
    }
    database->createTable(definition);
    {
        db::Recordset raw(*database, "MFW Recode");
        raw.addNew();
        raw.setValue("Type", 100000);
        raw.setValue("CodeQuestion", 4);
        raw.update();
    }
    CTblRecode table(*database, 404);
    table.Open();
    ASSERT_FALSE(table.IsEOF());
    EXPECT_EQ(table.m_Type, 0);
    EXPECT_EQ(table.m_CodeQuestion, 4);
}

TEST_F(ProgramTablesTest, ARequiredFieldMissingFromTheTableRefusesTheRecordset) {
    auto database = OpenDatabase();
    database->createTable(LayoutWithout(CTblStyle::Layout(), "Calculs"));
    CTblStyle table(*database);
    EXPECT_THROW(table.Open(), db::DbException);
    EXPECT_FALSE(table.IsOpen());
}

TEST_F(ProgramTablesTest, StopWordsAreReadInTheOrderOfTheirIndex) {
    auto database = OpenDatabase();
    database->createTable(CTblMotVide::Layout().Definition());
    CTblMotVide table(*database);
    table.Open();
    for (const char* word : {"le", "de", "la"}) {
        table.AddNew();
        table.m_Libelle = word;
        table.Update();
    }
    table.SetCurrentIndex("PrimaryKey");
    std::vector<std::string> words;
    for (; !table.IsEOF(); table.MoveNext())
        words.push_back(table.m_Libelle);
    EXPECT_EQ(words, (std::vector<std::string>{"de", "la", "le"}));
}

} // namespace
