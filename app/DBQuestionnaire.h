#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/QuestionnaireSource.h"
#include "platform/db/FieldType.h"
#include "platform/questionnaire/DBStructure.h"

namespace db {
class Database;
}
class UserInterface;

// The program's access to one questionnaire database: the structure file (CDBStructure) joined
// with the source the questionnaire loader reads (CQuestionnaireSource). Callers build one for a
// short group of operations; the database is opened by the operations themselves (or, for the
// loader's reads, by the survey beforehand) and nothing stays open between user actions.
//
// Failures are reported in one of two ways, fixed per operation:
// - "text": the error text (GetLastError) is set to "Erreur de base de données '%s' dans %s"
//   (the database's description, then "CDBQuestionnaire::" and the operation) or "Erreur inconnue
//   dans %s", and false is answered; the calling dialog shows it.
// - "box": the database's description is shown at once through the user interface; any other
//   exception is silent. Without a user interface the description goes into the error text.
class CDBQuestionnaire : public CDBStructure, public CQuestionnaireSource {
public:
    // Files older than this have no languages table.
    static constexpr int kFirstVersionWithLanguages = 401;
    // The language of the program's own version information, unless told otherwise.
    static constexpr std::int32_t kDefaultApplicationLanguage = 1036;

    // On the survey's questionnaire path (DonnerCheminBase); the database is not opened here.
    explicit CDBQuestionnaire(CEnquete& survey, UserInterface* ui = nullptr);
    ~CDBQuestionnaire() override;

    // The language given to questionnaires too old to have a languages table; the study context
    // passes the one of the program's version information.
    void SetLangueApplication(std::int32_t languageId) { m_applicationLanguage = languageId; }
    std::int32_t GetLangueApplication() const { return m_applicationLanguage; }

    const std::string& GetLastError() const { return m_errorText; }
    UserInterface* GetUserInterface() const { return m_ui; }

    // ---- The loader's source; the database must be open already ----
    // Properties, languages (one made-up language, the application's, before version 401),
    // questions and modalities with their captions, semi-open answers; false when a reader fails.
    bool LireStructure(CQuestionnaire& questionnaire) override;
    bool ExisteTableVariable() override;
    // Appends one definition per record of "MFW Variable" in key order. "Box" failures.
    void LireVariables(std::vector<std::unique_ptr<CQuestionCalculee>>& definitions) override;
    // Opens the database for reading and turns every record of "MFW Recode", in "Index1" order,
    // into recoded questions inserted after their sources. A file without the table adds
    // nothing; a recode type nobody makes is skipped. "Box" failures.
    void LireRecodages(std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                       std::vector<std::unique_ptr<CQuestionNiveau>>& levels) override;

    // ---- Tables and fields ----
    // Whether the database has a table of exactly this name (case counts).
    static bool ExisteTable(const db::Database& database, std::string_view name);
    // Whether the table has the field (into `info` when given); false for any failure.
    static bool ExisteChamp(const db::Database& database, std::string_view table, std::string_view field,
                            db::FieldInfo* info = nullptr);
    // Adds one field to an existing table; raises db::DbException (an AutoNumber field can only
    // be created with its table).
    static void CreerChamp(db::Database& database, std::string_view table, std::string_view field,
                           db::FieldType type, int size, bool autoNumber);

    // Brings a questionnaire file up to date before it is opened: adds the field "IsLevelLink"
    // to its "Questionnaire" table when it lacks it. Answers false, with the reason in `reason`
    // when given, for a file that cannot be opened for writing (missing, read-only, locked, not a
    // database) or that is not a questionnaire (no "Questionnaire" table); such a file, and a file
    // that already has the field, is never modified.
    static bool VerifierIsLevelLink(const std::string& path, std::string* reason = nullptr);

protected:
    // The two failure conventions, for the operations on the program's tables. `operation` is
    // the method's name, put after "CDBQuestionnaire::".
    bool RunReportingText(std::string_view operation, const std::function<void()>& job);
    bool RunShowingBox(const std::function<void()>& job);

private:
    void ReadRecodes(std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                     const std::vector<std::unique_ptr<CQuestionNiveau>>& levels);

    UserInterface* m_ui = nullptr; // not owned
    std::int32_t m_applicationLanguage = kDefaultApplicationLanguage;
    std::string m_errorText;
};
