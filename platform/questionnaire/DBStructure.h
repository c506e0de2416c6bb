#pragma once

#include "platform/db/FieldType.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class Database;
}
class CQuestionnaire;

// The questionnaire file (".qes", laid out as docs/qes-format.md says) and its connection: reads
// the questionnaire structure into the model, writes it, creates the response tables, and lends
// its open database to the program's own tables.
//
// Every operation answers false on failure and leaves the reason in GetErrorText(): the
// database's own description for a database error, else a sentence naming the cause. Each write
// is one transaction: on failure nothing of it remains in the file, and a file that
// CreateDatabase made through this object is removed rather than left half-built. Opening for
// reading never writes to the file.
class CDBStructure {
public:
    explicit CDBStructure(std::string path);
    virtual ~CDBStructure();
    CDBStructure(const CDBStructure&) = delete;
    CDBStructure& operator=(const CDBStructure&) = delete;

    // Opens the existing file (read-only when asked) and checks that it is a questionnaire file.
    // A file already open through this object is closed first.
    bool Open(bool readOnly);
    void Close();
    bool IsOpen() const { return database_ != nullptr; }
    const std::string& GetPath() const { return path_; }
    const std::string& GetErrorText() const { return errorText_; }
    // The open database, for the program's own tables; raises db::DbException when closed.
    db::Database& GetDatabase();

    // Readers; the database must be open. LirePropriete reads the questionnaire's name, file
    // version, language, question classes and versions, and refuses a version outside 400..405.
    // The others replace what they read: ReadLanguages the languages (files from 401 on),
    // LireQuestions the questions (with their captions when asked), LireModalites and
    // LireModalitesSemiOuvertes the modalities and semi-open answers of the questions already
    // read (modality captions when asked).
    bool LirePropriete(CQuestionnaire& questionnaire);
    bool ReadLanguages(CQuestionnaire& questionnaire);
    bool LireQuestions(CQuestionnaire& questionnaire, bool withCaptions);
    bool LireModalites(CQuestionnaire& questionnaire, bool withCaptions);
    bool LireModalitesSemiOuvertes(CQuestionnaire& questionnaire);
    // The interviewers in stored order: code, name and a second text each. A file without
    // interviewers gives empty lists.
    bool GetAgentList(std::vector<std::int32_t>& codes, std::vector<std::string>& names,
                      std::vector<std::string>& texts);

    // The file version new files get (4, 4 unless changed).
    static void GetNewestFileVersion(int& major, int& minor);
    static void SetNewestFileVersion(int major, int minor);

    // Creates a new file of that version (400 .. 405) with the empty structure tables, and leaves
    // it open for writing. An existing file is refused.
    bool CreateDatabase(int version);
    // Replaces the stored structure with the questionnaire's. The file's version stays the one it
    // was created with; a version-400 file keeps no languages table.
    bool DoSaveQuestionnaire(CQuestionnaire* questionnaire);
    // Creates the response tables with their keys and the answer fields of every question, at
    // most 80 fields a table, and gives each question its responseTable, levelTable and (when its
    // answers are spread) tablePerOrder, both in the questionnaire and in the stored structure.
    // The questionnaire must have been saved first. On failure the questionnaire is unchanged.
    virtual bool VerifyResponseStructure(CQuestionnaire& questionnaire);
    // Replaces the stored interviewers (three lists of the same length).
    bool SaveAgentList(const std::vector<std::int32_t>& codes, const std::vector<std::string>& names,
                       const std::vector<std::string>& texts);

    // Adds the field to the table when it has none of that name and answers true; answers false
    // when it is there already, except that with `replaceWrongType` a field of another type is
    // deleted (with its data) and created again with the type asked, answering true. `size` is
    // the Text size (0 for 255) and is ignored for the other types. Database errors raise
    // db::DbException: callers run it inside their own write job.
    static bool VerifyCreateField(bool replaceWrongType, db::Database& database, std::string_view table,
                                  std::string_view field, db::FieldType type, int size = 0);

    // The names the response tables use.
    static std::string ResponseTableName(int number);                 // "VEL Reponse%d"
    static std::string KeyFieldName(int position);                    // "Cle%d"
    static std::string AnswerFieldName(std::int32_t code, int order); // "%ld;%d"
    static constexpr int kMaxFieldsPerTable = 80;

private:
    bool Fail(const std::string& text);
    bool RequireOpen();
    bool RequireWritable();
    std::unique_ptr<db::Database> OpenDatabase(bool readOnly) const;
    // Runs one job, turning its exceptions into false with the error text.
    template <class Job> bool Run(Job&& job);
    // After a failed write: a file made by CreateDatabase through this object is removed.
    void DiscardCreatedFile();

    std::string path_;
    std::unique_ptr<db::Database> database_;
    std::string errorText_;
    bool createdHere_ = false;
};
