// Reading answers from the response tables: closed, numeric, date and open answers, generated
// questions, fixed keys, answers spread over two tables, batch reads, the caches, entry durations
// and interview fields.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataAccessTestSupport.h"
#include "app/InvertedFiles.h"
#include "app/InvertedFilesFingerprint.h"
#include "app/ResponseTableScan.h"

using namespace data_access_test;

namespace {

class ReadAnswersTest : public SurveyFixture {
protected:
    void SetUp() override { Open(kAnswers); }
};

TEST_F(ReadAnswersTest, ClosedAnswersFillTheNextColumnAndSkipWhatIsNoAnswer) {
    // Modality indexes of MARQUES: 5 -> 0, 7 -> 1, 9 (and -101) -> 2, -3 -> 3, -2 -> 4.
    const std::vector<std::vector<int>> expected = {
        {0, 1, E}, // 5, Null, 7: the Null leaves no gap
        {4, E, E}, // -2 only: the no-answer modality in column 0
        {2, 2, E}, // 4 is no modality's code and is skipped; -101 counts under 9
        {4, E, E}, // nothing at all
    };
    EXPECT_EQ(ReadClosed(Question(1)), expected);
}

TEST_F(ReadAnswersTest, NumericDateAndOpenAnswersOnePerRecord) {
    EXPECT_EQ(ReadNumeric(Question(2)), (std::vector<double>{34.5, kNotAsked, 61, kNoAnswer}));
    // 2024-03-04 is day 45355 counted from 30 December 1899 (exact).
    EXPECT_EQ(ReadNumeric(Question(4)), (std::vector<double>{45355.0, kNotAsked, kNotAsked, kNotAsked}));
    CDataAccess access(survey, false);
    std::vector<std::string> texts{"left over"};
    ASSERT_TRUE(access.LireTableOuverte(Question(3), texts)) << access.GetErrorText();
    EXPECT_EQ(texts, (std::vector<std::string>{"Bien", "", "", ""}));
}

TEST_F(ReadAnswersTest, LoopQuestionsAreReadAtTheirLevel) {
    // Members (1,1), (1,2), (3,2), (4,1); SEXE: 1 -> 0, 2 -> 1, -2 -> 2.
    EXPECT_EQ(ReadClosed(Question(61)), (std::vector<std::vector<int>>{{0}, {1}, {0}, {2}}));
    EXPECT_EQ(ReadNumeric(Question(62)), (std::vector<double>{180, 120, kNotAsked, 170}));
}

TEST_F(ReadAnswersTest, AQuestionWithFixedKeysReadsOnlyItsIterationPerInterview) {
    // SEXE for the adults (Cle2 = 1) and the children (Cle2 = 2), one row per interview; an
    // interview without such a member gets the no-answer index, like one without any record.
    CQuestionEtendue& adults = Question(61, "1;");
    CQuestionEtendue& children = Question(61, "2;");
    ASSERT_EQ(adults.level, 0);
    EXPECT_EQ(ReadClosed(adults), (std::vector<std::vector<int>>{{0}, {2}, {2}, {2}}));
    EXPECT_EQ(ReadClosed(children), (std::vector<std::vector<int>>{{1}, {2}, {0}, {2}}));
    EXPECT_EQ(ReadNumeric(Question(62, "1;")), (std::vector<double>{180, kNotAsked, kNotAsked, 170}));
}

TEST_F(ReadAnswersTest, GeneratedLoopQuestionsReadTheIterationKeys) {
    // The loop over modalities: Cle2 of each member as the index of its modality (1 -> 0, 2 -> 1).
    CQuestionEtendue& persons = Question(60);
    ASSERT_EQ(persons.generated, 1);
    EXPECT_EQ(ReadClosed(persons, true), (std::vector<std::vector<int>>{{0}, {1}, {1}, {0}}));
    // The loop counted by a number: Cle2 of each visit as a number.
    CQuestionEtendue& visits = Question(70);
    ASSERT_EQ(visits.generated, 1);
    EXPECT_EQ(ReadNumeric(visits, true), (std::vector<double>{1, 2, 1}));
    // The per-level question of a loop without level lives at the interviews: its key there is
    // the interview's own.
    CQuestionEtendue& floors = Question(80);
    ASSERT_TRUE(floors.EstType8());
    ASSERT_EQ(floors.level, 0);
    EXPECT_EQ(ReadNumeric(floors, true), (std::vector<double>{1, 2, 3, 4}));
}

TEST_F(ReadAnswersTest, ReadsGoThroughTheCaches) {
    CQuestionEtendue& question = Question(1);
    CCacheDonnees& cache = *survey.GetClosedAnswerCache();
    CDataAccess access(survey, false);
    CMatriceCodes* first = nullptr;
    CMatriceCodes* second = nullptr;
    ASSERT_TRUE(access.LireTableFermee(question, first));
    // Changed underneath, the table is not read again while the cache keeps the matrix.
    ExecuteSql(survey.basePath, "UPDATE \"VEL Reponse1\" SET \"1;1\" = 7");
    ASSERT_TRUE(access.LireTableFermee(question, second));
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->GetAt(0, 0), 0);
    EXPECT_EQ(cache.GetUseCountAt(0), 2);
    cache.Liberer(&question, first);
    cache.Liberer(&question, second);
    EXPECT_EQ(cache.GetUseCountAt(0), 0);
    // Once the survey forgets it, the next read sees the table.
    survey.OublierDonneesQuestion(question);
    EXPECT_EQ(ReadClosed(question)[0], (std::vector<int>{1, 1, E})); // 7, Null, 7
}

TEST_F(ReadAnswersTest, OnlyCompletedInterviewsHaveRows) {
    survey.UseCompletedOnly = true;
    ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    EXPECT_EQ(ReadClosed(Question(1)), (std::vector<std::vector<int>>{{0, 1, E}, {2, 2, E}, {4, E, E}}));
    CDataAccess access(survey, false);
    std::vector<db::Value> numbers;
    ASSERT_TRUE(access.LireInfoInterview(3, numbers)) << access.GetErrorText();
    // The running number counts every record of the table, the skipped one too.
    EXPECT_EQ(numbers, (std::vector<db::Value>{1, 3, 4}));
}

TEST_F(ReadAnswersTest, InterviewFieldsByIndex) {
    struct Case {
        short field;
        std::vector<db::Value> expected;
    };
    const Case cases[] = {
        {0, {7, 8, db::Value(), 7}},                          // CodeEnqueteur
        {3, {1, 2, 3, 4}},                                     // no field: the record number
        {4, {1, 2, 3, 4}},                                     // Cle1
        {5, {1, 2, 3, 4}},                                     // no field
        {7, {true, false, true, db::Value()}},                 // Completed
        {2, {db::Value(), db::Value(), db::Value(), db::Value()}}, // FinInterview, never given
    };
    CDataAccess access(survey, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        std::vector<db::Value> values;
        ASSERT_TRUE(access.LireInfoInterview(c.field, values)) << access.GetErrorText();
        EXPECT_EQ(values, c.expected);
    }
}

TEST_F(ReadAnswersTest, EntryDurationsAddUpPerInterview) {
    CDataAccess access(survey, false);
    CVecteurDouble durations;
    ASSERT_TRUE(access.LireDureesSaisie(Question(1), durations)) << access.GetErrorText();
    EXPECT_EQ(Values(durations), (std::vector<double>{12, 3, 0, 0}));
    // A loop question: the members of interview 1 add up (5 + 7).
    ASSERT_TRUE(access.LireDureesSaisie(Question(61), durations)) << access.GetErrorText();
    EXPECT_EQ(Values(durations), (std::vector<double>{12, 0, 0, 2}));
}

TEST_F(ReadAnswersTest, ABatchReadEqualsSingleReads) {
    std::vector<CQuestionEtendue*> closed;
    std::vector<CQuestionEtendue*> numeric;
    for (const auto& question : survey.questions) {
        if (question->EstFermee())
            closed.push_back(question.get());
        else if (question->EstNumeriqueLibre() || question->EstDate())
            numeric.push_back(question.get());
    }
    ASSERT_GE(closed.size(), 5u); // MARQUES, the loop question, SEXE and its two iterations
    ASSERT_GE(numeric.size(), 5u);
    std::vector<std::vector<std::vector<int>>> singleClosed;
    for (CQuestionEtendue* question : closed)
        singleClosed.push_back(ReadClosed(*question, question->generated != 0));
    std::vector<std::vector<double>> singleNumeric;
    for (CQuestionEtendue* question : numeric)
        singleNumeric.push_back(ReadNumeric(*question, question->generated != 0));
    for (const auto& question : survey.questions)
        survey.OublierDonneesQuestion(*question);

    // The same question twice is lent twice.
    closed.push_back(closed.front());
    CDataAccess access(survey, false);
    std::vector<CMatriceCodes*> matrices;
    ASSERT_TRUE(access.LireTablesFermees(closed, matrices)) << access.GetErrorText();
    ASSERT_EQ(matrices.size(), closed.size());
    EXPECT_EQ(matrices.back(), matrices.front());
    for (std::size_t i = 0; i + 1 < closed.size(); ++i) {
        SCOPED_TRACE(closed[i]->name);
        ASSERT_NE(matrices[i], nullptr);
        EXPECT_EQ(Rows(*matrices[i]), singleClosed[i]);
    }
    for (std::size_t i = 0; i < closed.size(); ++i)
        survey.GetClosedAnswerCache()->Liberer(closed[i], matrices[i]);
    EXPECT_EQ(survey.GetClosedAnswerCache()->GetOutsideLoanCount(), 0);

    std::vector<CVecteurDouble*> vectors;
    ASSERT_TRUE(access.LireTablesNumeriques(numeric, vectors)) << access.GetErrorText();
    for (std::size_t i = 0; i < numeric.size(); ++i) {
        SCOPED_TRACE(numeric[i]->name);
        ASSERT_NE(vectors[i], nullptr);
        EXPECT_EQ(Values(*vectors[i]), singleNumeric[i]);
        survey.GetNumericCache()->Liberer(numeric[i], vectors[i]);
    }
}

TEST_F(ReadAnswersTest, AMissingAnswerFieldFailsThatQuestionOnly) {
    ExecuteSql(survey.basePath, "ALTER TABLE \"VEL Reponse1\" DROP COLUMN \"1;3\"");
    CDataAccess access(survey, false);
    std::vector<CQuestionEtendue*> questions = {&Question(1), &Question(61, "1;")};
    std::vector<CMatriceCodes*> matrices;
    EXPECT_FALSE(access.LireTablesFermees(questions, matrices));
    EXPECT_NE(access.GetErrorText().find("1;3"), std::string::npos) << access.GetErrorText();
    ASSERT_EQ(matrices.size(), 2u);
    EXPECT_EQ(matrices[0], nullptr); // nothing to give back
    ASSERT_NE(matrices[1], nullptr);
    EXPECT_EQ(Rows(*matrices[1]), (std::vector<std::vector<int>>{{0}, {2}, {2}, {2}}));
    survey.GetClosedAnswerCache()->Liberer(questions[1], matrices[1]);

    CMatriceCodes* matrix = reinterpret_cast<CMatriceCodes*>(&access); // overwritten on failure
    EXPECT_FALSE(access.LireTableFermee(Question(1), matrix));
    EXPECT_EQ(matrix, nullptr);
}

TEST_F(ReadAnswersTest, ALevelThatCannotBeLoadedLeavesItsMessage) {
    ExecuteSql(survey.basePath, "DROP TABLE \"VEL Reponse2\"");
    CDataAccess access(survey, false);
    CMatriceCodes* matrix = nullptr;
    EXPECT_FALSE(access.LireTableFermee(Question(61), matrix));
    EXPECT_EQ(matrix, nullptr);
    EXPECT_NE(access.GetLevelErrorText().find("VEL Reponse2"), std::string::npos) << access.GetLevelErrorText();
}

TEST_F(ReadAnswersTest, TheInvertedFileIsTriedFirstWhenWishedAndValid) {
    CQuestionEtendue& question = Question(1);
    CInvertedFiles files(survey);
    ASSERT_TRUE(survey.CreerRepertoireInversion());
    CMatriceCodes inverted(3);
    inverted.SetNbLignes(4);
    inverted.RemplirColonne0(1);
    std::string error;
    CInvertedFiles::Entry written;
    ASSERT_TRUE(CInvertedFiles::EcrireFermees(files.NomFichierQuestion(question), inverted, error, &written)) << error;
    // Recorded in the fingerprint, as the program records the files it writes.
    ASSERT_TRUE(survey.GetInvertedFilesFingerprint().Refresh(
        {{std::filesystem::path(files.NomFichierQuestion(question)).filename().string(), written}}, error))
        << error;
    const std::vector<std::vector<int>> fromFile = {{1, E, E}, {1, E, E}, {1, E, E}, {1, E, E}};
    const std::vector<std::vector<int>> fromTables = {{0, 1, E}, {4, E, E}, {2, 2, E}, {4, E, E}};
    struct Case {
        bool valid;
        bool wished;
        const std::vector<std::vector<int>>& expected;
    };
    const Case cases[] = {{true, true, fromFile}, {true, false, fromTables}, {false, true, fromTables}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.valid) + " " + std::to_string(c.wished));
        survey.OublierDonneesQuestion(question);
        survey.invertedFilesValid = c.valid;
        CDataAccess access(survey, c.wished);
        CMatriceCodes* matrix = nullptr;
        ASSERT_TRUE(access.LireTableFermee(question, matrix)) << access.GetErrorText();
        EXPECT_EQ(Rows(*matrix), c.expected);
        survey.GetClosedAnswerCache()->Liberer(&question, matrix);
    }
    // A truncated file is ignored: the tables answer.
    std::filesystem::resize_file(files.NomFichierQuestion(question), 10);
    survey.OublierDonneesQuestion(question);
    survey.invertedFilesValid = true;
    CDataAccess access(survey, true);
    CMatriceCodes* matrix = nullptr;
    ASSERT_TRUE(access.LireTableFermee(question, matrix)) << access.GetErrorText();
    EXPECT_EQ(Rows(*matrix), fromTables);
    survey.GetClosedAnswerCache()->Liberer(&question, matrix);
}

// ---- Answers spread over two tables --------------------------------------------------------------

// Table 1 holds "Cle1", the five interview fields and 36 numeric questions (78 fields): the
// orders 0 and 1 of ECLATEE fill it to 80 and its orders 2 .. 4 go to table 2.
std::string SpreadDescription() {
    std::string text = "questionnaire \"Eclatée\" language=fr\nlanguage 1036 fr \"Français\"\n";
    for (int code = 100; code < 136; ++code)
        text += "question " + std::to_string(code) + " N" + std::to_string(code) + " numeric\n";
    text += "question 1 ECLATEE closed answers=4\n"
            "  modality 5 fr \"Cinq\"\n  modality 7 fr \"Sept\"\n  modality 9 fr \"Neuf\"\n"
            "records\nCle1,1;1,1;2,1;3,1;4\n"
            "1,5,,7,9\n"
            "2,,9,,5\n"
            "3,-2,,,\n"
            "end\n";
    return text;
}

class SpreadAnswersTest : public SurveyFixture {};

TEST_F(SpreadAnswersTest, AnswersInTwoTablesFillTheColumnsTableByTable) {
    const std::string description = SpreadDescription();
    Open(description.c_str());
    CQuestionEtendue& question = Question(1);
    std::vector<int> tables;
    std::vector<int> tableOfOrder;
    question.GetTablePerResponse(tables, tableOfOrder);
    ASSERT_EQ(tables, (std::vector<int>{1, 2}));
    ASSERT_EQ(tableOfOrder, (std::vector<int>{0, 1, 1, 1}));
    // Modalities 5, 7, 9, -2: indexes 0 .. 3.
    EXPECT_EQ(ReadClosed(question), (std::vector<std::vector<int>>{{0, 1, 2, E}, {2, 0, E, E}, {3, E, E, E}}));
}

// ---- Finding rows ---------------------------------------------------------------------------------

TEST(LevelRowsTest, FindsRowsInOrderAndOutOfOrder) {
    const CRecordKeys level = {{1, 1}, {1, 3}, {2, 1}, {4, 2}};
    ResponseTableScan::LevelRows rows(level, 2);
    struct Case {
        RecordKey key;
        int row;
    };
    // In key order with repeats and gaps, then backwards (a binary search), then forwards again.
    const Case cases[] = {{{0, 9}, -1}, {{1, 1}, 0}, {{1, 1}, 0}, {{1, 2}, -1}, {{1, 3}, 1}, {{4, 2}, 3},
                          {{5, 0}, -1}, {{2, 1}, 2}, {{1, 0}, -1}, {{4, 2}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.key));
        EXPECT_EQ(rows.Find(c.key.data()), c.row);
    }
}

} // namespace
