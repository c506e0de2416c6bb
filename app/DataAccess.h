#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/RecordKeySource.h"
#include "app/ResponseReader.h"
#include "platform/db/Database.h"
#include "platform/db/Value.h"

class CCacheDonnees;
class CObjetDonnees;
class CQuestion;
class CQuestionNiveau;
class CQuestionnaire;
class CRecodage;
class UserInterface;

namespace db {
class DbException;
} // namespace db

// The one class that touches the response tables "VEL Reponse%d" of a questionnaire database:
// it reads the answers of questions for every record of their level, the record keys of a level,
// the interview fields and entry durations; it creates and writes the answer fields of generated
// variables; and it carries out the two exports of the File menu.
//
// Built for one job and let go at its end. The file is opened when the job first needs it, and
// closed by the destructor: a job answered from the survey's caches or the inverted files never
// opens it, which spares every table of a session the opening of the database. Reading opens the
// file read-only; the first write reopens it for writing. Closed and
// numeric answers are lent through the survey's caches: whatever a reader hands out is given back
// to its cache (Liberer) by the caller, never deleted. Every write job (one writer call, a field
// creation, the filtering of an export) is one transaction: a failure half-way leaves the
// database as it was. Operations answer false on failure with the reason in GetErrorText().
class CDataAccess : public CResponseReader, public CRecordKeySource {
public:
    // On the survey's questionnaire file, read-only for reading jobs.
    CDataAccess(CEnquete& survey, bool wishInverted,
                db::Database::Access access = db::Database::Access::ReadOnly);
    // On another questionnaire file, for writing (the target of an export): no survey, no
    // inverted files.
    explicit CDataAccess(const std::string& path);
    ~CDataAccess() override;

    // Whether the file is open, opening it when it is not yet. A file that cannot be opened
    // leaves the data access closed for good with the reason in the error text.
    bool IsOpen();

    // ---- Readers of answers ----
    // Closed answers: one row per record of the question's level, one column per answer, each
    // cell the index of the modality answered (-5 empty); with a modality of code -2, column 0 of
    // a row without answers holds its index. From the closed-answer cache, else the inverted
    // file, else the response tables. An answer whose code names no modality is left out, as an
    // absent one, and the user is told how many once a session per question; a value that is not
    // a whole number fails the read with a message naming the question and the interview.
    bool LireTableFermee(CQuestionEtendue& question, CMatriceCodes*& out) override;
    // A generated per-level question: the iteration key of each record of its level, as a
    // modality index in one column.
    bool LireTableCleFermee(CQuestionEtendue& question, CMatriceCodes*& out) override;
    // Numeric and date answers (order 1), -888888.88 where none; through the numeric cache.
    bool LireTableNumerique(CQuestionEtendue& question, CVecteurDouble*& out) override;
    // A generated per-level question: the iteration key of each record as a number (0.0 where none).
    bool LireTableCleNumerique(CQuestionEtendue& question, CVecteurDouble*& out) override;
    // Open answers (order 1), one text per record ("" where none); never cached.
    bool LireTableOuverte(CQuestionEtendue& question, std::vector<std::string>& out) override;

    // What the reads of this data access from the response tables met of answers whose code named
    // none of the question's modalities (left out of the answers, as absent ones): their number,
    // and their number at each row of the question's level. Null when none was met, or when the
    // question was not read from the tables by this data access (from a cache or a file).
    struct UnknownAnswers {
        std::int64_t total = 0;
        std::vector<std::int64_t> byRow;
    };
    const UnknownAnswers* UnknownAnswersRead(const CQuestionEtendue& question) const;

    // Batch reads: the questions as the single readers above read them (a generated question as
    // LireTableCleFermee / LireTableCleNumerique do), each response table walked once for all
    // of them. out[i] is the container of questions[i], to be given back like a single read's,
    // or null when that question could not be read (the error text then names the last failure).
    // True when every question was read.
    bool LireTablesFermees(const std::vector<CQuestionEtendue*>& questions, std::vector<CMatriceCodes*>& out);
    bool LireTablesNumeriques(const std::vector<CQuestionEtendue*>& questions, std::vector<CVecteurDouble*>& out);

    // Per interview, the sum of the question's entry durations (order 0) over its records; 0.0
    // where none. `out` has one element per interview.
    bool LireDureesSaisie(CQuestionEtendue& question, CVecteurDouble& out);
    // One interview field for every interview, at the interview's row (Null where none): 0
    // "CodeEnqueteur", 1 "DebutInterview", 2 "FinInterview", 4 "Cle1", 6 "LanguageId", 7
    // "Completed"; any other index gives the running record number (1, 2, 3, ... in key order).
    bool LireInfoInterview(short field, std::vector<db::Value>& out);

    // ---- Writers ----
    // Creates the answer fields "code;1" .. "code;answerCount" of a generated question in an
    // interview-level table: the given one when it exists at interview level, else the last one
    // with at most 80 fields, else a new table. The table used comes back in `tableNumber`. A
    // field of the wrong type is dropped and created again: Double for value type 5, else Long.
    bool CreerChampsQuestion(std::int32_t code, int answerCount, int valueType, short& tableNumber);
    // Writes a closed question's matrix or a free numeric or date question's vector at the
    // interview level; other kinds write nothing. A level that cannot be loaded is shown.
    bool EcrireReponses(CQuestionEtendue& question, const CObjetDonnees& container);
    // Write one container for the interviews of `keys` (row i for the i-th key in key order).
    // A code cell is written as -2 when empty (-5 or -2), -1 or -2 when it is the index given for
    // them, else as the code of the question's modality at that index.
    bool EcrireCodes(const CQuestion& question, const CMatriceCodes& codes, const CRecordKeys& keys,
                     std::optional<int> indexAsMinus1, std::optional<int> indexAsMinus2);
    bool EcrireValeurs(const CQuestion& question, const CVecteurDouble& values, const CRecordKeys& keys);
    bool EcrireTextes(const CQuestion& question, const std::vector<std::string>& texts,
                      const CRecordKeys& keys);
    // Write memory blocks in interview key order: one double per interview; or answer-count
    // 16-bit cells per interview, -2 and -5 written -2, the modality count written -1, any other
    // the code of the modality at that index.
    bool EcrireValeursNumeriques(const CQuestion& question, const std::vector<double>& block);
    bool EcrireReponsesFermees(const CQuestion& question, const std::vector<std::int16_t>& block);

    // Runs `job` in one transaction of the writable database: the writers above that it calls on
    // this data access nest inside it, so what they all write lands together when `job` answers
    // true, and nothing of it when `job` answers false or raises. The error text keeps the reason
    // a writer gave, or the database's own.
    bool EcrireEnUneFois(const char* operation, const std::function<bool(db::Database&)>& job);

    // ---- Exports ----
    // A copy of the questionnaire holding only the interviews whose membership is not 0.0. On
    // failure the error is shown and no copy is left. The open questionnaire is never a target.
    bool ExporterInterviewsChampEtude(const std::string& target, const CVecteurDouble& membership);
    // A new questionnaire of the questions at the given positions of the survey, with their
    // answers read at `level` (one interview per record of that level), preceded by a question
    // "Version" holding `version` when asked. The open questionnaire is never a target.
    bool ExporterSelectionQuestions(const std::string& target, const std::vector<std::uint32_t>& positions,
                                    bool withVersion, int version, int level);

    // ==== Reading facade (app/DataAccessFacade.cpp) ============================================
    // What every reader of the program asks for the answers of a question: the facade picks the
    // source that suits it (the readers above, a matrix the question keeps in memory, or the
    // recode that derives it from the question it recodes). A container a read answers is
    // borrowed: give it back with MemoriserReponsesFermees / MemoriserValeursNumeriques, never
    // delete or change it. On false the error text holds the reason and there is nothing to give
    // back.
    bool LireReponsesFermees(CQuestionEtendue& question, CMatriceCodes*& out);
    // A numeric or date question's values; for another question, the value of the modality in
    // its first answer column (-888888.88 where none).
    bool LireValeursNumeriques(CQuestionEtendue& question, CVecteurDouble*& out);
    bool LireReponsesOuvertes(CQuestionEtendue& question, std::vector<std::string>& out);
    // The same carried down to the records of `level` (the question's level or one below it),
    // into a container the caller owns.
    bool LireReponsesFermeesNiveau(CQuestionEtendue& question, int level, CMatriceCodes& out);
    bool LireValeursNumeriquesNiveau(CQuestionEtendue& question, int level, CVecteurDouble& out);
    bool LireReponsesOuvertesNiveau(CQuestionEtendue& question, int level, std::vector<std::string>& out);
    void MemoriserReponsesFermees(const CQuestionEtendue& question, const CMatriceCodes* matrix);
    void MemoriserValeursNumeriques(const CQuestionEtendue& question, const CVecteurDouble* values);
    // The derived reads behind them. Sub-totals: per record, the groups of `level` holding each
    // answer of the question recoded (each group once per record unless the recode counts every
    // occurrence). Intervals and discrete values: the class of each value. Change of level: the
    // answers of the records under each record of the recode's target level, gathered by its rule.
    bool LireReponsesRecodees(CQuestionEtendue& question, const CRecodage& recode, int level, CMatriceCodes*& out);
    bool LireIntervallesRecodes(CQuestionEtendue& question, CMatriceCodes*& out);
    bool LireDiscretsRecodes(CQuestionEtendue& question, CMatriceCodes*& out);
    bool LireReponsesRecodeesNiveau(CQuestionEtendue& question, CMatriceCodes*& out);
    bool LireValeursRecodeesNiveau(CQuestionEtendue& question, CVecteurDouble*& out);
    bool LireTextesRecodesNiveau(CQuestionEtendue& question, std::vector<std::string>& out);
    // ==== End of the reading facade =============================================================

    // ---- Record keys ----
    // Fills the set with the key of every record of the level (key fields 1 .. depth + 1), read
    // in key order from the level's response table. In table 1 with UseCompletedOnly, a record
    // whose "Completed" is false is skipped (one without a readable value is kept). False with
    // the reason in the level error text.
    bool ChargerClesNiveau(const CQuestionNiveau& level, CRecordKeys& keys);
    bool ReadRecordKeys(const CQuestionNiveau& level, int levelIndex, CRecordKeys& keys,
                        std::string& error) override;
    const std::string& GetLevelErrorText() const { return m_levelErrorText; }

    // ---- Tables ----
    static std::string NomTableReponse(int number); // "VEL Reponse%d"
    static std::string NomCle(int position);        // "Cle%d"
    bool ExisteTable(std::string_view name);
    // The count of consecutive response tables from 1.
    int NombreTablesReponse();
    // The count of consecutive key fields from "Cle2" on; -1 when the table does not exist.
    int ProfondeurTable(int number);
    // Creates the response table with the key fields "Cle1" .. "Cle<keyCount>" (and "Ordre"
    // beside more than one key) and its index "PrimaryKey".
    bool CreerTableReponse(int number, int keyCount);

private:
    enum class AnswerKind { Closed, Numeric };
    class ReadJob;
    class ClosedReadJob;
    class NumericReadJob;
    class OpenReadJob;
    struct ExportedQuestion;

    bool Fail(const std::string& text);
    bool FailDatabase(const std::string& description, const std::string& operation);
    bool FailWrite(const db::DbException& error, const char* operation);
    UserInterface& GetUserInterface() const;

    // Reading: a survey to read (and, for RequireReadable, its file open), else false with the
    // reason in the error text.
    bool RequireSurvey(const char* operation);
    bool RequireReadable(const char* operation);
    // Loads the level of the survey; false with its message in both error texts.
    bool LoadLevel(int levelIndex, CQuestionNiveau*& level);
    // `readKey` unset: a generated question is read by its keys, any other by its answer fields.
    bool ReadClosed(const std::vector<CQuestionEtendue*>& questions, std::vector<CMatriceCodes*>& out,
                    std::optional<bool> readKey, const char* operation);
    bool ReadNumeric(const std::vector<CQuestionEtendue*>& questions, std::vector<CVecteurDouble*>& out,
                     std::optional<bool> readKey, const char* operation);
    bool ReadAnswers(const std::vector<CQuestionEtendue*>& questions, std::vector<CObjetDonnees*>& out,
                     AnswerKind kind, std::optional<bool> readKey, const char* operation);
    // Tells the user, the first time in the session, how many of the question's answers name
    // none of its modalities.
    void ReportUnknownAnswers(const CQuestionEtendue& question, std::int64_t count);
    bool BorrowCached(CCacheDonnees& cache, CQuestionEtendue& question, AnswerKind kind, CObjetDonnees*& out);
    CObjetDonnees* LendAgain(CCacheDonnees& cache, CQuestionEtendue& question, CObjetDonnees& lent,
                             AnswerKind kind);
    bool ReadInverted(CQuestionEtendue& question, AnswerKind kind, CObjetDonnees*& out);
    void RunReadJobs(const std::vector<ReadJob*>& jobs, const char* operation);
    // The inverted files, tried first when the flag is set; false when a file cannot be read.
    bool ReadInvertedClosed(CQuestionEtendue& question, CMatriceCodes*& out);
    bool ReadInvertedValues(CQuestionEtendue& question, CVecteurDouble*& out);
    bool ReadInvertedLevel(const CQuestionNiveau& level, CRecordKeys& keys);
    void ReadKeys(const CQuestionNiveau& level, CRecordKeys& keys);

    // Writing: one transaction per job, on a connection reopened for writing when needed.
    db::Database& WritableDatabase();
    bool WriteJob(const char* operation, const std::function<void(db::Database&)>& job);
    void WriteCells(const CQuestion& question, const CRecordKeys& keys, int columnCount,
                    const std::function<db::Value(int row, int order)>& cell);
    // Writes each cell as the code given for its index (-2 for an empty cell or an index
    // without code).
    bool WriteCodes(const CQuestion& question, const CMatriceCodes& codes, const CRecordKeys& keys,
                    const std::vector<std::int32_t>& codeOfIndex, const char* operation);
    void CreateResponseTable(db::Database& database, int number, int keyCount);
    int ChooseInterviewTable(db::Database& database);
    // The interviews' keys (level 0 loaded); a failure is shown when asked.
    bool InterviewKeys(const CRecordKeys*& keys, bool showFailure);

    // Exports.
    // True (after telling the user) when the target is the open questionnaire itself.
    bool RefuseOpenQuestionnaire(const std::string& target);
    // In the copy at `path`, deletes every record of an interview that is not a member.
    bool FilterInterviews(const std::string& path, const CRecordKeys& interviews,
                          const CVecteurDouble& membership);
    bool ExportStructure(const std::string& path, CQuestionnaire& questionnaire);
    bool ExportAnswers(const std::string& path, const std::vector<ExportedQuestion>& exported,
                       const CQuestion* versionQuestion, int version, int level, int recordCount);
    bool ExportFailure(const std::string& partial, const std::string& text);

    std::unique_ptr<db::Database> m_database;
    std::string m_path;
    db::Database::Access m_access;
    std::string m_openError; // why the file could not be opened; it is not tried again

    std::string m_levelErrorText;
    std::map<const CQuestionEtendue*, UnknownAnswers> m_unknownAnswers;
};
