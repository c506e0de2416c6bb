// Cells of the structure tables of a small questionnaire changed one at a time, by a table of
// chosen damages and by a seeded random sweep: every result is either refused at opening with a
// message and no survey, or opens into a survey whose tables hold together: no crash, no negative
// count, the base of a one-answer question equal to the sum of its lines, each line of such a
// question of the interviews equal to the count SQLite itself finds of its code, and a table
// that cannot be made said so by a message.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ContextTestSupport.h"
#include "DamagedQuestionnaireSupport.h"
#include "app/DataAccess.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"

using namespace context_test;
using namespace damaged_test;
using survey_test::TemporaryFolder;

namespace {

// Every kind of item the structure tables describe: chapter, closed questions of one and several
// answers, with the non-response code and with semi-open answers, a numeric question with
// modalities, free numeric and open questions, a loop counted by a number and a loop over
// modalities whose iterations are expanded.
constexpr const char* kFixture = R"(
questionnaire "Mutations" language=fr
language 1036 fr "Français"
language 1033 en "English"
class 1 "Signalétique"
version 1 "Principal"
interviewer 7 "Durand" "Anne"
chapter 100 SIGNA class=1
  caption fr "Signalétique"
  question 1 SEXE closed class=1
    caption fr "Sexe" "Vous êtes :"
    caption en "Sex"
    modality 1 fr "Homme" en "Man"
    modality 2 fr "Femme" en "Woman"
  question 2 AGE numeric min=18 max=99
end
question 10 SATISF closed noanswer
  modality 1 fr "Bien"
  modality 2 fr "Moyen"
  modality 3 fr "Mal"
question 11 MARQUES closed answers=3
  modality 1 fr "Alvéa"
  modality 2 fr "Bricor"
  modality 3 fr "Cassiel"
question 15 CONNU closed
  modality 1 fr "Télévision"
  modality 2 fr "Autre"
  semiopen 101 kind=1 modality=2 fr "Salon"
  semiopen 103 kind=2 fr "Vendeur"
question 16 NOTE discrete
  modality 1 value=1 fr "Un"
  modality 2 value=5 fr "Cinq"
question 14 AVIS open
loop 500 MEMBRES count=3
  question 53 LIEN closed
    modality 1 fr "Conjoint"
    modality 2 fr "Enfant"
  question 52 AGEM numeric
end
loop 600 PRODUITS expand
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  question 61 AVISP closed
    modality 1 fr "Bon"
    modality 2 fr "Mauvais"
end
records
Cle1,CodeEnqueteur,Completed,1;1,2;1,10;1,11;1,11;2,11;3,15;1,16;1,14;1
1,7,true,1,34,1,1,2,,1,1,"Très bien"
2,7,true,2,51,2,3,,,-101,2,
3,7,false,1,27,-1,2,1,3,-103,1,"Bof"
4,7,true,2,45,3,,,,2,,
5,7,true,1,62,,1,,,,2,"Rien"
6,7,true,2,19,2,2,3,,1,1,
end
records loop=500
Cle1,Cle2,Ordre,53;1,52;1
1,1,1,1,33
1,2,2,2,5
3,1,1,1,30
5,1,1,2,
end
records loop=600
Cle1,Cle2,Ordre,61;1
1,1,1,1
1,2,2,2
2,1,1,2
4,2,1,1
end
)";

enum class Outcome { Refused, Opens, Either };

// One damage: the statement, what opening must do, and the question whose answers must be
// reported as naming no modality (none: nothing reported at all).
struct Mutation {
    const char* what;
    const char* sql;
    Outcome outcome;
    const char* reported = nullptr;
};

#define QUESTION(name) "(SELECT Position FROM Question WHERE Name = '" name "')"

const Mutation kMutations[] = {
    {"answer count 0", "UPDATE Question SET AnswerCount = 0 WHERE Name = 'SATISF'", Outcome::Refused},
    {"answer count -3", "UPDATE Question SET AnswerCount = -3 WHERE Name = 'MARQUES'", Outcome::Refused},
    {"answer count beyond 16 bits", "UPDATE Question SET AnswerCount = 65537 WHERE Name = 'SATISF'",
     Outcome::Refused},
    {"answer count as a fraction", "UPDATE Question SET AnswerCount = 1.5 WHERE Name = 'SATISF'", Outcome::Refused},
    {"answer count as a text", "UPDATE Question SET AnswerCount = 'un' WHERE Name = 'SATISF'", Outcome::Refused},
    {"answer count 0 of a loop question", "UPDATE Question SET AnswerCount = 0 WHERE Name = 'LIEN'",
     Outcome::Refused},
    {"answer count 0 of a question not in use",
     "UPDATE Question SET AnswerCount = 0, InUse = 0 WHERE Name = 'SATISF'", Outcome::Opens},
    {"fewer answer columns than the table holds", "UPDATE Question SET AnswerCount = 1 WHERE Name = 'MARQUES'",
     Outcome::Opens},
    {"more answer columns than the table holds", "UPDATE Question SET AnswerCount = 5 WHERE Name = 'MARQUES'",
     Outcome::Opens},
    {"two modalities of one code", "UPDATE Modalite SET Code = 1 WHERE Position = 1 AND Question = " QUESTION("SATISF"),
     Outcome::Refused},
    {"a modality coded as the not-asked one",
     "UPDATE Modalite SET Code = -2 WHERE Position = 0 AND Question = " QUESTION("SEXE"), Outcome::Refused},
    {"a modality coded as the non-response one",
     "UPDATE Modalite SET Code = -1 WHERE Position = 2 AND Question = " QUESTION("SATISF"), Outcome::Refused},
    {"a semi-open answer coded as the not-asked one",
     "UPDATE SemiOpen SET Id = 2 WHERE Position = 1 AND Question = " QUESTION("CONNU"), Outcome::Refused},
    {"two iterations of a loop of one code",
     "UPDATE Modalite SET Code = 1 WHERE Position = 1 AND Question = " QUESTION("PRODUITS"), Outcome::Refused},
    {"a modality code beyond 32 bits",
     "UPDATE Modalite SET Code = 9999999999 WHERE Position = 0 AND Question = " QUESTION("SEXE"), Outcome::Refused},
    {"a modality code as a fraction",
     "UPDATE Modalite SET Code = 1.5 WHERE Position = 0 AND Question = " QUESTION("SEXE"), Outcome::Refused},
    {"a modality code the answers do not use",
     "UPDATE Modalite SET Code = 4 WHERE Position = 2 AND Question = " QUESTION("SATISF"), Outcome::Opens, "SATISF"},
    {"the non-response code no longer kept", "UPDATE Question SET HasNoAnswer = 0 WHERE Name = 'SATISF'",
     Outcome::Opens, "SATISF"},
    {"an iteration that no record has",
     "UPDATE Modalite SET Code = 3 WHERE Position = 1 AND Question = " QUESTION("PRODUITS"), Outcome::Opens,
     "PRODUITS"},
    {"a semi-open answer of another modality",
     "UPDATE SemiOpen SET ModaliteCode = 1 WHERE Position = 0 AND Question = " QUESTION("CONNU"), Outcome::Opens},
    {"a closed question become open", "UPDATE Question SET Type = 4 WHERE Name = 'SATISF'", Outcome::Opens},
    {"a closed question become numeric", "UPDATE Question SET Type = 5 WHERE Name = 'SEXE'", Outcome::Opens},
    {"an open question become closed", "UPDATE Question SET Type = 1 WHERE Name = 'AVIS'", Outcome::Opens},
    {"an unknown type", "UPDATE Question SET Type = 99 WHERE Name = 'SATISF'", Outcome::Opens},
    {"a question become a loop", "UPDATE Question SET Kind = 2 WHERE Name = 'SATISF'", Outcome::Either},
    {"a loop become a question", "UPDATE Question SET Kind = 1 WHERE Name = 'MEMBRES'", Outcome::Either},
    {"a chapter become a question", "UPDATE Question SET Kind = 1 WHERE Name = 'SIGNA'", Outcome::Either},
    {"a depth that breaks the outline", "UPDATE Question SET Depth = 5 WHERE Name = 'SEXE'", Outcome::Either},
    {"a depth of 0", "UPDATE Question SET Depth = 0 WHERE Name = 'LIEN'", Outcome::Either},
    {"a negative depth", "UPDATE Question SET Depth = -1 WHERE Name = 'MEMBRES'", Outcome::Either},
    {"a response table that does not exist", "UPDATE Question SET ResponseTable = 9 WHERE Name = 'SATISF'",
     Outcome::Opens},
    {"a response table beyond 16 bits", "UPDATE Question SET ResponseTable = 65537 WHERE Name = 'SATISF'",
     Outcome::Refused},
    {"a question read from another level's table", "UPDATE Question SET ResponseTable = 2 WHERE Name = 'SATISF'",
     Outcome::Opens},
    {"a loop level in a table that does not exist", "UPDATE Question SET LevelTable = 9 WHERE Name = 'MEMBRES'",
     Outcome::Either},
    {"two loops on one level table", "UPDATE Question SET LevelTable = 2 WHERE Name = 'PRODUITS'", Outcome::Either},
    {"a loop on the interviews' table", "UPDATE Question SET LevelTable = 1 WHERE Name = 'MEMBRES'",
     Outcome::Either},
    {"a loop sharing a level that does not exist",
     "UPDATE Question SET LoopSharesLevel = 1, SharedLevelCode = 777 WHERE Name = 'MEMBRES'", Outcome::Either},
    {"a loop sharing the other loop's level",
     "UPDATE Question SET LoopSharesLevel = 1, SharedLevelCode = 500 WHERE Name = 'PRODUITS'", Outcome::Either},
    {"a loop without level", "UPDATE Question SET LoopWithoutLevel = 1 WHERE Name = 'MEMBRES'", Outcome::Either},
    {"a counted loop expanded", "UPDATE Question SET ExpandIterations = 1 WHERE Name = 'MEMBRES'", Outcome::Either},
    {"a counted loop of no iteration", "UPDATE Question SET AnswerCount = 0 WHERE Name = 'MEMBRES'",
     Outcome::Either},
    {"a loop over modalities become counted", "UPDATE Question SET Type = 4 WHERE Name = 'PRODUITS'",
     Outcome::Either},
    {"two questions of one code", "UPDATE Question SET Code = 10 WHERE Name = 'SEXE'", Outcome::Either},
    {"a question code beyond 32 bits", "UPDATE Question SET Code = 9999999999 WHERE Name = 'SEXE'",
     Outcome::Refused},
    {"two questions of one name", "UPDATE Question SET Name = 'SATISF' WHERE Name = 'SEXE'", Outcome::Either},
    {"an empty name", "UPDATE Question SET Name = '' WHERE Name = 'SATISF'", Outcome::Opens},
    {"a Null name", "UPDATE Question SET Name = NULL WHERE Name = 'SATISF'", Outcome::Opens},
    {"a caption of a question that does not exist",
     "UPDATE QuestionCaption SET Question = 99 WHERE rowid = (SELECT min(rowid) FROM QuestionCaption)",
     Outcome::Refused},
    {"a Null caption", "UPDATE QuestionCaption SET ShortCaption = NULL", Outcome::Opens},
    {"a modality of a question that does not exist",
     "UPDATE Modalite SET Question = 99 WHERE Position = 0 AND Question = " QUESTION("SEXE"), Outcome::Refused},
    {"a modality caption of no modality", "UPDATE ModaliteCaption SET Modalite = 9 WHERE Modalite = 0",
     Outcome::Refused},
    {"a semi-open caption of no semi-open answer",
     "UPDATE SemiOpenCaption SET SemiOpen = 9 WHERE rowid = (SELECT min(rowid) FROM SemiOpenCaption)",
     Outcome::Refused},
    {"a version no reader knows", "UPDATE Questionnaire SET MajorVersion = 9", Outcome::Refused},
    {"a language as a text", "UPDATE Language SET LanguageId = 'fr' WHERE Position = 0", Outcome::Refused},
    {"a language that is not declared", "UPDATE Questionnaire SET Language = 1031", Outcome::Opens},
    {"no language at all", "DELETE FROM Language", Outcome::Opens},
    {"a question class that does not exist", "UPDATE Question SET QuestionClass = 42 WHERE Name = 'SEXE'",
     Outcome::Opens},
    {"a question not in use", "UPDATE Question SET InUse = 0 WHERE Name = 'MEMBRES'", Outcome::Opens},
    {"a chapter not in use", "UPDATE Question SET InUse = 0 WHERE Name = 'SIGNA'", Outcome::Opens},
    {"a question out of the analysis", "UPDATE Question SET InUseForAnalysis = 0 WHERE Name = 'MARQUES'",
     Outcome::Opens},
    {"every question gone", "DELETE FROM Question", Outcome::Refused},
};

#undef QUESTION

class StructureMutationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string pristine = folder.Sub("pristine.qes");
        WriteQuestionnaire(kFixture, pristine);
        pristineBytes = Bytes(pristine);
        path = folder.Sub("mutated.qes");
    }

    void Restore() {
        std::filesystem::remove(path);
        std::ofstream(path, std::ios::binary) << pristineBytes;
    }

    // Opens the file and checks what came of it; answers whether it opened.
    bool OpenAndCheck(const std::string& what) {
        SCOPED_TRACE(what);
        TestContext test;
        test.context.questionnairePath = path;
        const std::string before = Bytes(path);
        const bool opened = test.context.OuvrirEtude();
        if (!opened) {
            EXPECT_EQ(test.ui->shown.size(), 1u);
            EXPECT_FALSE(test.context.GetLastError().empty());
            EXPECT_EQ(test.context.DonnerNbreQuestions(), 0);
            EXPECT_EQ(test.context.DonnerNbreNiveaux(), 0);
        } else {
            EXPECT_TRUE(test.ui->shown.empty()) << test.ui->ShownTexts().front();
            CheckSurvey(test);
        }
        EXPECT_EQ(Bytes(path), before);
        lastReports.clear();
        for (const RecordingUserInterface::Shown& shown : test.ui->shown)
            if (shown.message.id == StringTable::kReponsesHorsModalites)
                lastReports.push_back(shown.message.arguments.front());
        return opened;
    }

    // Every closed question of the survey as a flat table, every other question read.
    void CheckSurvey(TestContext& test) {
        std::vector<CQuestionEtendue*> questions;
        for (const auto& question : test.context.questions)
            questions.push_back(question.get());
        for (CQuestionEtendue* question : questions) {
            SCOPED_TRACE(question->name);
            if (question->kind == 1 && question->EstFermee())
                CheckFlatTable(test, *question);
            else if (question->EstNumerique() || question->EstDate())
                ReadValues(test, *question);
            else if (question->EstOuverte())
                ReadTexts(test, *question);
        }
    }

    void CheckFlatTable(TestContext& test, CQuestionEtendue& question) {
        const std::size_t said = test.ui->shown.size();
        const std::unique_ptr<CTableau> table = FlatTable(test.context, question);
        if (table == nullptr) {
            // A table that could not be made is said why, in a message that is not the report.
            bool explained = false;
            for (std::size_t i = said; i < test.ui->shown.size(); ++i)
                explained = explained || test.ui->shown[i].message.id != StringTable::kReponsesHorsModalites;
            EXPECT_TRUE(explained) << "no table and no message";
            return;
        }
        const std::vector<double> counts = Counts(*table);
        ASSERT_FALSE(counts.empty());
        double lines = 0.0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            EXPECT_GE(counts[i], 0.0) << "line " << i;
            if (i + 1 < counts.size())
                lines += counts[i];
        }
        EXPECT_GE(table->base, 0.0);
        if (question.answerCount == 1) {
            EXPECT_EQ(lines, table->base);
            EXPECT_EQ(counts.back(), table->base);
            ExpectRawCounts(question, counts);
        }
    }

    // A one-answer question of the interviews read from their table: each line counts the
    // records whose answer is its modality's code (or a semi-open answer it gathers), as SQLite
    // itself reads them, so that no answer is counted under another modality nor lost.
    void ExpectRawCounts(const CQuestionEtendue& question, const std::vector<double>& counts) {
        if (question.level != 0 || !question.values.empty() || question.generated != 0 || question.recodeId != 0 ||
            question.responseTable != 1 || !question.tablePerOrder.empty() ||
            counts.size() != static_cast<std::size_t>(question.GetNbreModalite()) + 1)
            return;
        std::map<long long, double> raw;
        sqlite3* connection = nullptr;
        sqlite3_stmt* statement = nullptr;
        const std::string sql = "SELECT \"" + std::to_string(question.code) + ";1\" FROM \"VEL Reponse1\"";
        if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW)
                if (sqlite3_column_type(statement, 0) == SQLITE_INTEGER)
                    raw[sqlite3_column_int64(statement, 0)] += 1;
        }
        sqlite3_finalize(statement);
        sqlite3_close(connection);
        for (int i = 0; i < question.GetNbreModalite(); ++i) {
            const CModaliteEtendue* modality = question.GetModaliteEtendue(i);
            if (modality == nullptr || modality->code == -2)
                continue;
            double expected = raw[modality->code];
            for (const std::int32_t value : modality->values)
                expected += raw[value];
            EXPECT_EQ(counts[static_cast<std::size_t>(i)], expected) << "modality " << modality->code;
        }
    }

    void ReadValues(TestContext& test, CQuestionEtendue& question) {
        CDataAccess access(test.context, true);
        CVecteurDouble* values = nullptr;
        if (access.LireValeursNumeriques(question, values)) {
            access.MemoriserValeursNumeriques(question, values);
        } else {
            EXPECT_FALSE(access.GetErrorText().empty());
        }
    }

    void ReadTexts(TestContext& test, CQuestionEtendue& question) {
        CDataAccess access(test.context, true);
        std::vector<std::string> texts;
        if (!access.LireReponsesOuvertes(question, texts)) {
            EXPECT_FALSE(access.GetErrorText().empty());
        }
    }

    SettingsInMemory settings;
    TemporaryFolder folder;
    std::string pristineBytes;
    std::string path;
    std::vector<std::string> lastReports;
};

TEST_F(StructureMutationTest, TheUndamagedFixtureOpensAndHoldsTogether) {
    Restore();
    EXPECT_TRUE(OpenAndCheck("undamaged"));
    EXPECT_TRUE(lastReports.empty());
}

TEST_F(StructureMutationTest, ChosenDamages) {
    for (const Mutation& mutation : kMutations) {
        SCOPED_TRACE(mutation.what);
        Restore();
        const std::string error = Damage(path, mutation.sql);
        ASSERT_TRUE(error.empty()) << error;
        const bool opened = OpenAndCheck(mutation.what);
        if (mutation.outcome != Outcome::Either) {
            EXPECT_EQ(opened, mutation.outcome == Outcome::Opens);
        }
        if (mutation.reported != nullptr) {
            EXPECT_EQ(lastReports, std::vector<std::string>{mutation.reported});
        } else if (mutation.outcome == Outcome::Opens) {
            EXPECT_TRUE(lastReports.empty()) << lastReports.front();
        }
    }
}

// ---- The random sweep ------------------------------------------------------------------------

const char* const kStructureTables[] = {"Questionnaire", "Language",        "QuestionClass",   "Version",
                                        "Question",      "AnswerTable",     "QuestionCaption", "Modalite",
                                        "ModaliteCaption", "SemiOpen",      "SemiOpenCaption", "Interviewer"};

// The cells of the structure tables: table, column and row id of each.
struct Cell {
    std::string table;
    std::string column;
    sqlite3_int64 row = 0;
};

std::vector<Cell> StructureCells(sqlite3* connection) {
    std::vector<Cell> cells;
    for (const char* table : kStructureTables) {
        std::vector<std::string> columns;
        sqlite3_stmt* statement = nullptr;
        const std::string info = std::string("PRAGMA table_info(\"") + table + "\")";
        if (sqlite3_prepare_v2(connection, info.c_str(), -1, &statement, nullptr) == SQLITE_OK)
            while (sqlite3_step(statement) == SQLITE_ROW)
                columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
        sqlite3_finalize(statement);
        const std::string rows = std::string("SELECT rowid FROM \"") + table + "\"";
        if (sqlite3_prepare_v2(connection, rows.c_str(), -1, &statement, nullptr) == SQLITE_OK)
            while (sqlite3_step(statement) == SQLITE_ROW)
                for (const std::string& column : columns)
                    cells.push_back({table, column, sqlite3_column_int64(statement, 0)});
        sqlite3_finalize(statement);
    }
    return cells;
}

// Sets one cell to a value drawn from boundaries, small codes, fractions, texts, Null and the
// values of other cells of the same column; false when SQLite refuses it (a key made twice).
bool MutateCell(sqlite3* connection, const Cell& cell, std::mt19937& random) {
    const std::string sql = "UPDATE \"" + cell.table + "\" SET \"" + cell.column + "\" = ?1 WHERE rowid = ?2";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return false;
    static const long long kIntegers[] = {0,     1,     2,          3,           4,          5,    -1,
                                          -2,    -3,    -5,         7,           99,         500,  600,
                                          32767, -32768, 32768,     65535,       65536,      2147483647,
                                          -2147483648LL, 4294967298LL, 9999999999LL};
    static const double kDoubles[] = {1.0, 1.5, -0.5, 2.6, 1e300};
    static const char* const kTexts[] = {"", "x", "1", "1.5", "Français", "Cle1"};
    switch (random() % 5) {
    case 0:
    case 1:
        sqlite3_bind_int64(statement, 1, kIntegers[random() % std::size(kIntegers)]);
        break;
    case 2:
        sqlite3_bind_double(statement, 1, kDoubles[random() % std::size(kDoubles)]);
        break;
    case 3:
        sqlite3_bind_text(statement, 1, kTexts[random() % std::size(kTexts)], -1, SQLITE_TRANSIENT);
        break;
    default:
        if (random() % 2 == 0) {
            sqlite3_bind_null(statement, 1);
        } else {
            // Another row's value of the same column.
            const std::string other = "SELECT \"" + cell.column + "\" FROM \"" + cell.table +
                                      "\" ORDER BY random() LIMIT 1";
            sqlite3_stmt* pick = nullptr;
            if (sqlite3_prepare_v2(connection, other.c_str(), -1, &pick, nullptr) == SQLITE_OK &&
                sqlite3_step(pick) == SQLITE_ROW)
                sqlite3_bind_value(statement, 1, sqlite3_column_value(pick, 0));
            sqlite3_finalize(pick);
        }
        break;
    }
    sqlite3_bind_int64(statement, 2, cell.row);
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

TEST_F(StructureMutationTest, SeededRandomSweepOfSingleCells) {
    constexpr int kSweep = 250;
    std::mt19937 random(20240611);
    int opened = 0;
    int refused = 0;
    Restore();
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    const std::vector<Cell> cells = StructureCells(connection);
    sqlite3_close(connection);
    ASSERT_FALSE(cells.empty());
    for (int n = 0; n < kSweep; ++n) {
        Restore();
        ASSERT_EQ(sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        // The damage need not survive a power cut.
        sqlite3_exec(connection, "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY;", nullptr, nullptr, nullptr);
        const Cell& cell = cells[random() % cells.size()];
        const bool mutated = MutateCell(connection, cell, random);
        sqlite3_close(connection);
        if (!mutated)
            continue;
        const std::string what = "mutation " + std::to_string(n) + ": " + cell.table + "." + cell.column +
                                 " of row " + std::to_string(cell.row);
        if (OpenAndCheck(what))
            ++opened;
        else
            ++refused;
        if (HasFatalFailure())
            return;
    }
    // The sweep reaches both outcomes, or it would test little.
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
