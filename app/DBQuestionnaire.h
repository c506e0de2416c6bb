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
class CChampEtude;
class CIdName;
class CProfil;
class CRecodage;
class CRedressement;
class CStyle;
class CTblRecode;

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

    // ==== The definition store ==================================================================
    // The analyst's definitions, one program table each: study fields, weightings, profile lists,
    // numeric lists, recodes, computed variables and styles; stop words in the library database.
    //
    // A definition is identified by its key alone (labels are not unique). Every save seeks the
    // object's key: a record found is edited, otherwise a record is added and its new AutoNumber
    // key is written back into the object (a key that no record has, such as -1, adds). Keys of
    // deleted records are never given again. Deleting a key that no record has succeeds. Saves
    // create their table when it is missing; listings of a missing table answer their fixed first
    // entry alone; readers and deleters of a missing table fail. Each save or delete is one
    // transaction: when it fails, the file is as it was.
    //
    // Failure conventions (see the class comment): "text" for study fields, weightings, profile
    // lists, numeric lists and SauverRecodage; "box" for SupprimerRecodage, computed variables and
    // styles; the stop words fail silently. A table that cannot be created fails its save with the
    // creator's message: in the error text ("text"), or shown ("box"). Opening failures follow the
    // same split. The caller owns every object appended to a list.

    // Study fields ("MFW ChampEtude"): first the entry -1 "Toutes les interviews", then every
    // record in the table's order. "Text".
    bool ReadSubPopulationList(std::vector<std::unique_ptr<CChampEtude>>& out);
    bool SaveSubPopulation(CChampEtude& field);
    bool DeleteSubPopulation(std::int32_t key);

    // Weightings ("MFW Redressement"): first the entry -1 "Aucun redressement", then every record
    // in the table's order. The definition text ("Valeurs") is read as it is; saving writes the
    // text of the scheme's targets (by reference) when it has them, else the text it holds. "Text".
    bool GetWeightingList(std::vector<std::unique_ptr<CRedressement>>& out);
    bool SaveWeighting(CRedressement& weighting);
    bool DeleteWeighting(std::int32_t key);

    // Profile lists ("MFW ListeVariable") and numeric lists ("MFW ListeNumerique"): first the
    // entry (-1, "{Aucun}"), then (key, label) per record in label order. "Text".
    bool GetProfileList(std::vector<std::unique_ptr<CIdName>>& out);
    bool DeleteProfile(std::int32_t key);
    bool GetNumericProfileList(std::vector<std::unique_ptr<CIdName>>& out);
    bool DeleteNumericProfile(std::int32_t key);

    // Recodes ("MFW Recode", in the layout of the survey's file version): the fields the recode
    // describes itself with, its source question and the codes of its levels. SauverRecodage
    // goes on when the table cannot be created, and then fails on the table ("text");
    // SupprimerRecodage deletes the record of the recode's key ("box").
    bool SauverRecodage(CRecodage& recode);
    bool SupprimerRecodage(const CRecodage& recode);

    // Computed variables ("MFW Variable"), keyed by their own code: the record of that code is
    // edited or added, its EstCumule kept (false when added). "Box".
    bool SauverVariable(const CQuestionCalculee& variable);
    bool SupprimerVariable(const CQuestionCalculee& variable);
    // The same record written on a database the caller has opened for writing, inside the
    // caller's transaction, so that it lands with the variable's answers or not at all. Raises
    // db::DbException on a database error; false with the error text when the table cannot be
    // made.
    bool SauverVariable(db::Database& database, const CQuestionCalculee& variable);

    // Styles ("MFW Style"): (key, name) per record in name order, no fixed entry. "Box".
    bool GetStyleList(std::vector<std::unique_ptr<CIdName>>& out);
    bool DeleteStyle(std::int32_t key);

    // A numeric list's question list: each entry followed by "|", a question as its reference
    // "%d@%s@%d" (code, loop keys, recode code), a separator line (null) as "0". A superposition
    // variable stores its questions in the same form.
    static std::string WriteQuestionList(const std::vector<const CQuestionEtendue*>& entries);

    // Profiles and styles as objects, over the stored texts below. Defined beside the profile and
    // style classes (tabulation/DBQuestionnaireProfils.cpp), which sit above this library: whoever
    // calls these links morvane_tabulation.
    //
    // Profile lists ("text"): reading sets the profile's key and label and reads its text against
    // the survey; saving writes the label and the text, leaves the illustrative text of an
    // existing record as it is, and copies a new key into `key` and the profile. The analysis
    // forms empty both profiles first, give the active one the key and label, and read or write
    // both texts.
    bool ReadProfile(std::int32_t key, CProfil& profile);
    bool SaveProfile(std::int32_t& key, CProfil& profile);
    bool ReadAnalysisProfile(std::int32_t key, CProfil& active, CProfil& illustrative);
    bool SaveAnalysisProfile(std::int32_t& key, CProfil& active, CProfil& illustrative);
    // Numeric lists ("text"): questions without modality and separators, as question lists.
    // Reading appends to what the profile holds; the analysis forms handle no separators.
    bool ReadNumericProfile(std::int32_t key, CProfil& profile);
    bool SaveNumericProfile(std::int32_t& key, CProfil& profile);
    bool ReadAnalysisNumericProfile(std::int32_t key, CProfil& active, CProfil& illustrative);
    bool SaveAnalysisNumericProfile(std::int32_t& key, CProfil& active, CProfil& illustrative);
    // Styles ("box"): saving writes the name and the style's text and copies a new key into the
    // style; a style whose labels or test texts hold ";" or "|" is refused with
    // "Vous ne pouvez utiliser les caractères suivants ; et |" and nothing is written. Reading sets
    // the key and name and rebuilds the calculations from the text.
    bool SaveStyle(CStyle& style);
    bool ReadStyle(std::int32_t key, CStyle& style);

    // Stop words ("MotVide" of the library database at the study context's library path; the
    // program never creates that table). Words compare without regard to the case of ASCII
    // letters. AjouterMotVide adds a word that is absent; LireMotsVides replaces the list with
    // every word in index order; SauverMotsVides deletes the removed words found, then adds the
    // added words absent, in one transaction. Every failure answers false, silently.
    static bool AjouterMotVide(const std::string& word);
    static bool LireMotsVides(std::vector<std::string>& words);
    static bool SauverMotsVides(const std::vector<std::string>& added, const std::vector<std::string>& removed);

    // The fields of a "MFW Recode" record written from a recode and read back into one, shared by
    // the library database. `grouping` is the definition text to store; the levels' indexes and
    // codes go through the survey's levels (an index or code matching no level gives code 0,
    // respectively index 0). Reading sets the fields in the order the recode expects, the grouping
    // through SetRegroupement(question, text) when a question is given, then lets it prepare.
    static void EcrireChampsRecodage(const CRecodage& recode, const std::string& grouping, const CEnquete& survey,
                                     CTblRecode& record);
    static void LireChampsRecodage(const CTblRecode& record, const CEnquete& survey, const CQuestionEtendue* question,
                                   CRecodage& recode);

protected:
    // ---- Stored texts of profile lists, numeric lists and styles ----
    // The profile and style objects build their reads and saves on these: a profile list's texts
    // are its profile texts, a numeric list's its question lists (WriteQuestionList), a style's
    // its calculations text.

    // The texts of one record of "MFW ListeVariable" or "MFW ListeNumerique".
    struct ListTexts {
        std::string label;
        std::string active;       // ModalitesActives / QuestionsActives
        std::string illustrative; // ModalitesIllustratives / QuestionsIllustratives
    };
    // Which texts a list operation is about: the active part alone (a save then leaves the
    // illustrative text of an existing record unchanged, and gives a new one an empty text), or
    // both parts (the analysis forms). Also names the operation in the error text.
    enum class ListPart { Active, Both };

    // False without error text when no record has the key. "Text".
    bool ReadProfileTexts(std::int32_t key, ListPart part, ListTexts& out);
    bool SaveProfileTexts(std::int32_t& key, ListPart part, const ListTexts& texts);
    bool ReadNumericProfileTexts(std::int32_t key, ListPart part, ListTexts& out);
    bool SaveNumericProfileTexts(std::int32_t& key, ListPart part, const ListTexts& texts);

    // Appends the entries of a question list, each question found again in the survey; an item of
    // two "@"-separated parts is a code and a recode code with no loop keys. Separators are kept
    // (as null) only when asked; items naming no question of the survey are dropped.
    void ReadQuestionList(const std::string& text, bool withSeparators, std::vector<CQuestionEtendue*>& entries) const;

    // False without a message when no record has the key. "Box".
    bool ReadStyleTexts(std::int32_t key, std::string& name, std::string& calculations);
    bool SaveStyleTexts(std::int32_t& key, const std::string& name, const std::string& calculations);

private:
    // Opens the database for a definition operation (read-only for reading); on failure the
    // reason becomes the error text and, for a "box" operation, is shown too.
    bool OpenForDefinitions(bool readOnly, bool showing);
    // The file version the survey recorded (major x 100 + minor), else the file's own.
    int DonnerVersionFichier();
    bool ReadListTexts(std::string_view operation, bool numeric, std::int32_t key, ListTexts& out);
    bool SaveListTexts(std::string_view operation, bool numeric, std::int32_t& key, ListPart part,
                       const ListTexts& texts);
    // One save of a definition: the database opened for writing, one transaction, `write` run on
    // it with the key to write (it answers false when its table cannot be made, and turns the key
    // into the new AutoNumber key when it adds a record). `key` takes the key written only when the
    // whole save succeeded.
    bool SaveDefinition(std::string_view operation, bool showing, std::int32_t& key,
                        const std::function<bool(db::Database&, std::int32_t&)>& write);
    // Deletes the record of the key, when there is one, from the table ("box" when showing).
    bool DeleteByKey(std::string_view operation, bool showing, const std::string& table, std::int32_t key);
    // ==== End of the definition store ===========================================================

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
