#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "LoaderTestSupport.h"
#include "SurveyTestSupport.h"
#include "app/CacheDonnees.h"
#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/QuestionNiveau.h"
#include "app/VecteurDouble.h"

namespace data_access_test {

constexpr double kNotAsked = -888888.88;
constexpr double kNoAnswer = -999999.99;
constexpr int E = CMatriceCodes::kEmptyCell;

// Four interviews answering every kind of question, a loop over two modalities whose questions
// are also expanded per iteration (fixed keys), a loop counted by a number, and a loop without
// a level, which the survey sees as one generated per-level question.
//
// MARQUES has the modalities 5, 7, 9, then the loader's -3 ("Autre", the semi-open flag) and -2:
// indexes 0 .. 4; the semi-open answer 101 is read as -101 and counts under 9. Interview 2 is
// not complete; interview 4 says nothing about it.
constexpr const char* kAnswers = R"(
questionnaire "Réponses" language=fr
language 1036 fr "Français"
question 1 MARQUES closed answers=3
  modality 5 fr "Cinq"
  modality 7 fr "Sept"
  modality 9 fr "Neuf"
  semiopen 101 kind=1 modality=9 fr "Neuf, précisez"
question 2 AGE numeric
question 3 AVIS open
question 4 NAISSANCE date
loop 60 PERSONNES expand
  modality 1 fr "Adulte"
  modality 2 fr "Enfant"
  question 61 SEXE closed
    modality 1 fr "Homme"
    modality 2 fr "Femme"
  question 62 TAILLE numeric
end
loop 70 VISITES count=3
  question 71 NOTE numeric
end
loop 80 ETAGES nolevel count=2
  question 81 SURFACE numeric
end
records
Cle1,CodeEnqueteur,Completed,1;0,1;1,1;2,1;3,2;1,3;1,4;1
1,7,true,12,5,,7,34.5,"Bien",2024-03-04
2,8,false,3,-2,,,,,
3,,true,,4,9,-101,61,"",
4,7,,,,,,-999999.99,,
end
records loop=60
Cle1,Cle2,Ordre,61;0,61;1,62;1
1,1,1,5,1,180
1,2,2,7,2,120
3,2,1,,1,
4,1,1,2,-2,170
end
records loop=70
Cle1,Cle2,Ordre,71;1
1,1,1,10
1,2,2,12
3,1,1,8
end
)";

// The rows of a code matrix, as plain numbers.
inline std::vector<std::vector<int>> Rows(const CMatriceCodes& matrix) {
    std::vector<std::vector<int>> rows;
    for (int r = 0; r < matrix.GetNbLignes(); ++r) {
        std::vector<int> row;
        for (int c = 0; c < matrix.GetNbColonnes(); ++c)
            row.push_back(matrix.GetAt(r, c));
        rows.push_back(row);
    }
    return rows;
}

inline std::vector<double> Values(const CVecteurDouble& vector) {
    std::vector<double> values;
    for (int i = 0; i < vector.GetSize(); ++i)
        values.push_back(vector.GetAt(i));
    return values;
}

// Runs one SQL statement on the file with SQLite itself (to set up or look at a case).
inline void ExecuteSql(const std::string& path, const std::string& sql) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
    char* message = nullptr;
    const int code = sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(code, SQLITE_OK) << (message != nullptr ? message : "") << " in " << sql;
    sqlite3_free(message);
    sqlite3_close(connection);
}

// The values of one column of a table in key order, read by SQLite itself; Null reads as the text
// "NULL".
inline std::vector<std::string> ColumnBySql(const std::string& path, const std::string& sql) {
    std::vector<std::string> values;
    sqlite3* connection = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        values.push_back(sqlite3_column_type(statement, 0) == SQLITE_NULL ? "NULL" : text);
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return values;
}

// A survey opened over a questionnaire written from a description.
class SurveyFixture : public ::testing::Test {
protected:
    void Open(const char* description, const std::string& file = "reponses.qes") {
        survey.basePath = folder.Sub(file);
        survey.invertedFolder = folder.Sub("reponses.dat");
        survey_test::WriteFixtureText(description, folder.Path(), survey.basePath);
        ASSERT_TRUE(survey.Ouvrir()) << survey.GetLastError();
    }

    // The question of the code and loop keys ("1;" for the iteration 1); fails the test when none.
    CQuestionEtendue& Question(std::int32_t code, const std::string& keys = {}) {
        CQuestionEtendue* question = survey.TrouverQuestion(code, keys, 0);
        if (question == nullptr)
            ADD_FAILURE() << "no question " << code << " '" << keys << "'";
        return question != nullptr ? *question : *survey.questions.front();
    }

    // Reads the closed answers and gives them back at once.
    std::vector<std::vector<int>> ReadClosed(CQuestionEtendue& question, bool byKey = false) {
        CDataAccess access(survey, false);
        CMatriceCodes* matrix = nullptr;
        const bool read = byKey ? access.LireTableCleFermee(question, matrix) : access.LireTableFermee(question, matrix);
        EXPECT_TRUE(read) << access.GetErrorText();
        if (!read || matrix == nullptr)
            return {};
        auto rows = Rows(*matrix);
        survey.GetClosedAnswerCache()->Liberer(&question, matrix);
        return rows;
    }

    std::vector<double> ReadNumeric(CQuestionEtendue& question, bool byKey = false) {
        CDataAccess access(survey, false);
        CVecteurDouble* vector = nullptr;
        const bool read =
            byKey ? access.LireTableCleNumerique(question, vector) : access.LireTableNumerique(question, vector);
        EXPECT_TRUE(read) << access.GetErrorText();
        if (!read || vector == nullptr)
            return {};
        auto values = Values(*vector);
        survey.GetNumericCache()->Liberer(&question, vector);
        return values;
    }

    survey_test::TemporaryFolder folder;
    survey_test::TestSurvey survey;
};

} // namespace data_access_test
