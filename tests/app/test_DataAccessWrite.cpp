// Creating and writing the answer fields of generated variables: the choice of table (the 80-field
// rule), fields recreated with the right type, cells written as codes, values, texts and memory
// blocks, and a failed write that leaves the database as it was.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataAccessTestSupport.h"
#include "app/ModaliteEtendue.h"
#include "platform/db/Database.h"

using namespace data_access_test;

namespace {

class WriteAnswersTest : public SurveyFixture {
protected:
    void SetUp() override { Open(kAnswers); }

    // Fields of a table, by SQLite itself.
    int FieldCount(int table) {
        return std::stoi(ColumnBySql(survey.basePath, "SELECT count(*) FROM pragma_table_info('VEL Reponse" +
                                                          std::to_string(table) + "')")
                             .at(0));
    }

    // Adds plain fields to table 1 until it holds `count` fields.
    void FillInterviewTable(int count) {
        for (int i = FieldCount(1); i < count; ++i)
            ExecuteSql(survey.basePath, "ALTER TABLE \"VEL Reponse1\" ADD COLUMN \"x" + std::to_string(i) + "\" LONG");
        ASSERT_EQ(FieldCount(1), count);
    }

    std::optional<db::FieldType> TypeOf(int table, const std::string& field) {
        db::Database database(survey.basePath, db::Database::Access::ReadOnly);
        return database.fieldType("VEL Reponse" + std::to_string(table), field);
    }

    // A generated closed question of the survey's interviews: modalities 1, 2, 3, then -1 and -2.
    CQuestionEtendue& GeneratedClosed(std::int32_t code, std::int16_t table, std::int16_t answers) {
        auto question = std::make_unique<CQuestionEtendue>(&survey);
        question->code = code;
        question->name = "G" + std::to_string(code);
        question->type = 1;
        question->answerCount = answers;
        question->hasNoAnswer = 1;
        question->responseTable = static_cast<std::uint16_t>(table);
        question->levelTable = 1;
        for (std::int32_t modality : {1, 2, 3, -1, -2})
            question->AddModalite(std::make_unique<CModaliteEtendue>(&survey, CModalite(modality)));
        survey.questions.push_back(std::move(question));
        return *survey.questions.back();
    }

    const CRecordKeys& Interviews() { return survey.DonnerNiveau(0)->GetEnregistrements(); }

    std::vector<std::string> Stored(const std::string& field) {
        return ColumnBySql(survey.basePath, "SELECT \"" + field + "\" FROM \"VEL Reponse1\" ORDER BY Cle1");
    }
};

TEST_F(WriteAnswersTest, ANewVariableGoesIntoTheLastInterviewTableUpTo80Fields) {
    struct Case {
        int fields;
        int table;
    };
    // Tables 2 and 3 are loops: the last interview-level table is table 1.
    const Case cases[] = {{80, 1}, {81, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        Open(kAnswers, "table" + std::to_string(c.fields) + ".qes");
        FillInterviewTable(c.fields);
        CDataAccess access(survey, false);
        short table = 0;
        ASSERT_TRUE(access.CreerChampsQuestion(500, 2, 1, table)) << access.GetErrorText();
        EXPECT_EQ(table, c.table);
        EXPECT_EQ(TypeOf(c.table, "500;1"), db::FieldType::Long);
        EXPECT_EQ(TypeOf(c.table, "500;2"), db::FieldType::Long);
        EXPECT_FALSE(TypeOf(c.table, "500;0").has_value()); // no duration field
    }
    // The new table has its key and index, and is at interview level.
    CDataAccess access(survey, false);
    EXPECT_EQ(access.ProfondeurTable(4), 0);
    EXPECT_EQ(FieldCount(4), 3);
}

TEST_F(WriteAnswersTest, AGivenTableIsKeptOnlyWhenItIsAtInterviewLevel) {
    struct Case {
        short given;
        short used;
    };
    const Case cases[] = {{1, 1}, {2, 1}, {9, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        CDataAccess access(survey, false);
        short table = c.given;
        ASSERT_TRUE(access.CreerChampsQuestion(600 + c.given, 1, 5, table)) << access.GetErrorText();
        EXPECT_EQ(table, c.used);
    }
}

TEST_F(WriteAnswersTest, AFieldOfTheWrongTypeIsCreatedAgain) {
    CDataAccess access(survey, false);
    short table = 1;
    ASSERT_TRUE(access.CreerChampsQuestion(700, 1, 1, table));
    ASSERT_EQ(TypeOf(1, "700;1"), db::FieldType::Long);
    ExecuteSql(survey.basePath, "UPDATE \"VEL Reponse1\" SET \"700;1\" = 3");
    // Value type 5 wants a Double: the Long field goes with its values.
    ASSERT_TRUE(access.CreerChampsQuestion(700, 1, 5, table)) << access.GetErrorText();
    EXPECT_EQ(TypeOf(1, "700;1"), db::FieldType::Double);
    EXPECT_EQ(Stored("700;1"), (std::vector<std::string>{"NULL", "NULL", "NULL", "NULL"}));
    // The right type already: kept with its values.
    ExecuteSql(survey.basePath, "UPDATE \"VEL Reponse1\" SET \"700;1\" = 2.5");
    ASSERT_TRUE(access.CreerChampsQuestion(700, 1, 5, table));
    EXPECT_EQ(Stored("700;1"), (std::vector<std::string>{"2.5", "2.5", "2.5", "2.5"}));
}

TEST_F(WriteAnswersTest, CodeCellsAreWrittenAsModalityCodesAndMissingCodes) {
    short table = 0;
    {
        CDataAccess access(survey, false);
        ASSERT_TRUE(access.CreerChampsQuestion(800, 2, 1, table)) << access.GetErrorText();
    }
    CQuestionEtendue& question = GeneratedClosed(800, table, 2);
    CMatriceCodes matrix(2);
    matrix.SetNbLignes(4);
    const int cells[4][2] = {{0, 2}, {E, E}, {3, 4}, {1, -2}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            matrix.SetAt(r, c, static_cast<std::int16_t>(cells[r][c]));
    CDataAccess access(survey, false); // read-only: the writer reopens the file for writing
    // Index 3 is written as -1 and index 4 as -2 (their own codes here, as a question's would be).
    ASSERT_TRUE(access.EcrireCodes(question, matrix, Interviews(), 3, 4)) << access.GetErrorText();
    EXPECT_EQ(Stored("800;1"), (std::vector<std::string>{"1", "-2", "-1", "2"}));
    EXPECT_EQ(Stored("800;2"), (std::vector<std::string>{"3", "-2", "-2", "-2"}));

    // Read back: -1 is the modality of code -1 (index 3), -2 gives the no-answer index (4).
    EXPECT_EQ(ReadClosed(question), (std::vector<std::vector<int>>{{0, 2}, {4, E}, {3, E}, {1, E}}));
}

TEST_F(WriteAnswersTest, EcrireReponsesWritesClosedAndNumericQuestionsAtTheInterviewLevel) {
    short table = 0;
    CDataAccess access(survey, false);
    ASSERT_TRUE(access.CreerChampsQuestion(810, 1, 1, table));
    CQuestionEtendue& closed = GeneratedClosed(810, table, 1);
    CMatriceCodes matrix(1);
    matrix.SetNbLignes(4);
    matrix.SetAt(0, 0, 2);
    matrix.SetAt(1, 0, 3); // the modality before last, written -1 (count-lowering flag)
    matrix.SetAt(2, 0, 4); // the last, written -2 (the question has an "other" modality)
    ASSERT_TRUE(access.EcrireReponses(closed, matrix)) << access.GetErrorText();
    EXPECT_EQ(Stored("810;1"), (std::vector<std::string>{"3", "-1", "-2", "-2"}));

    ASSERT_TRUE(access.CreerChampsQuestion(820, 1, 5, table));
    CQuestionEtendue& numeric = GeneratedClosed(820, table, 1);
    numeric.type = 5;
    CVecteurDouble values(4);
    for (int i = 0; i < 4; ++i)
        values.SetAt(i, 0.5 + i);
    values.SetAt(3, kNotAsked);
    ASSERT_TRUE(access.EcrireReponses(numeric, values)) << access.GetErrorText();
    EXPECT_EQ(ReadNumeric(numeric), (std::vector<double>{0.5, 1.5, 2.5, kNotAsked}));

    // A container that does not suit the question writes nothing.
    EXPECT_TRUE(access.EcrireReponses(closed, values));
    EXPECT_EQ(Stored("810;1"), (std::vector<std::string>{"3", "-1", "-2", "-2"}));
}

TEST_F(WriteAnswersTest, AKeyWithoutRecordGetsANewRecordTextsToo) {
    short table = 1;
    CDataAccess access(survey, false);
    ASSERT_TRUE(access.CreerChampsQuestion(830, 1, 1, table));
    ExecuteSql(survey.basePath, "ALTER TABLE \"VEL Reponse1\" DROP COLUMN \"830;1\"");
    ExecuteSql(survey.basePath, "ALTER TABLE \"VEL Reponse1\" ADD COLUMN \"830;1\" LONGTEXT");
    CQuestionEtendue& question = GeneratedClosed(830, 1, 1);
    const CRecordKeys keys = {{2}, {9}};
    ASSERT_TRUE(access.EcrireTextes(question, {"deux", "neuf"}, keys)) << access.GetErrorText();
    EXPECT_EQ(Stored("830;1"), (std::vector<std::string>{"NULL", "deux", "NULL", "NULL", "neuf"}));
    EXPECT_EQ(Stored("Cle1").back(), "9");
}

TEST_F(WriteAnswersTest, MemoryBlocksAreWrittenInInterviewOrder) {
    short table = 0;
    CDataAccess access(survey, false);
    ASSERT_TRUE(access.CreerChampsQuestion(840, 2, 1, table));
    ASSERT_TRUE(access.CreerChampsQuestion(850, 1, 5, table));
    CQuestionEtendue& closed = GeneratedClosed(840, table, 2);
    // Five modalities: a cell of 5 is written -1; -2 and -5 are written -2.
    const std::vector<std::int16_t> cells = {0, 1, 5, -5, -2, 2, 4, 3};
    ASSERT_TRUE(access.EcrireReponsesFermees(closed, cells)) << access.GetErrorText();
    EXPECT_EQ(Stored("840;1"), (std::vector<std::string>{"1", "-1", "-2", "-2"}));
    EXPECT_EQ(Stored("840;2"), (std::vector<std::string>{"2", "-2", "3", "-1"}));

    CQuestionEtendue& numeric = GeneratedClosed(850, table, 1);
    ASSERT_TRUE(access.EcrireValeursNumeriques(numeric, {1.25, -2.5, 0, 1e6})) << access.GetErrorText();
    EXPECT_EQ(Stored("850;1"), (std::vector<std::string>{"1.25", "-2.5", "0.0", "1000000.0"}));

    // A block of the wrong size is refused before anything is written.
    EXPECT_FALSE(access.EcrireValeursNumeriques(numeric, {7, 7, 7}));
    EXPECT_EQ(Stored("850;1"), (std::vector<std::string>{"1.25", "-2.5", "0.0", "1000000.0"}));
}

TEST_F(WriteAnswersTest, AWriteThatFailsHalfWayLeavesTheDatabaseAsItWas) {
    short table = 1;
    CDataAccess access(survey, false);
    ASSERT_TRUE(access.CreerChampsQuestion(860, 1, 1, table));
    ASSERT_TRUE(access.CreerTableReponse(4, 1));
    // Order 1 in table 1, order 2 in table 4, which has no field for it: table 1 is written first.
    CQuestionEtendue& question = GeneratedClosed(860, 1, 2);
    question.tablePerOrder = {1, 4};
    CMatriceCodes matrix(2);
    matrix.SetNbLignes(4);
    matrix.RemplirColonne0(1);
    EXPECT_FALSE(access.EcrireCodes(question, matrix, Interviews(), std::nullopt, std::nullopt));
    EXPECT_NE(access.GetErrorText().find("860;2"), std::string::npos) << access.GetErrorText();
    EXPECT_EQ(Stored("860;1"), (std::vector<std::string>{"NULL", "NULL", "NULL", "NULL"}));
    EXPECT_EQ(ColumnBySql(survey.basePath, "SELECT count(*) FROM \"VEL Reponse4\""), std::vector<std::string>{"0"});

    // A loop table is never written by interview.
    question.tablePerOrder = {2, 2};
    EXPECT_FALSE(access.EcrireCodes(question, matrix, Interviews(), std::nullopt, std::nullopt));
    EXPECT_EQ(ColumnBySql(survey.basePath, "SELECT count(*) FROM \"VEL Reponse2\""), std::vector<std::string>{"4"});
}

TEST_F(WriteAnswersTest, ANewResponseTableHasItsKeysOrderAndIndex) {
    CDataAccess access(survey, false);
    ASSERT_TRUE(access.CreerTableReponse(4, 2)) << access.GetErrorText();
    db::Database database(survey.basePath, db::Database::Access::ReadOnly);
    std::vector<std::string> names;
    for (const db::FieldInfo& field : database.fields("VEL Reponse4"))
        names.push_back(field.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Cle1", "Cle2", "Ordre"}));
    const auto index = database.index("VEL Reponse4", "PrimaryKey");
    ASSERT_TRUE(index.has_value());
    EXPECT_TRUE(index->unique);
    ASSERT_EQ(index->fields.size(), 2u);
    EXPECT_EQ(index->fields[1].name, "Cle2");
    // An existing table is not created twice.
    EXPECT_FALSE(access.CreerTableReponse(4, 1));
}

} // namespace
