#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace db {
class Database;
}
class CContexteEtude;
class CIdName;
class CQuestionEtendue;
class CRecodage;
class CRedressement;

// The shared library database (an SQLite file, by convention ".bib"): weightings, recodes and
// styles kept for reuse across questionnaires, in the tables and layouts of the questionnaire
// database ("MFW Redressement", "MFW Recode", "MFW Style"). Its path is the study context's
// (DonnerCheminBibliotheque); the context's user interface asks before a record is overwritten.
//
// Records are filed by label: saving a weighting or a recode whose label is already there asks
// whether to overwrite it, once (No keeps the library as it was and answers false); a style of
// the same label is replaced without asking. The lists, the saves and the reading of a weighting
// create their table when it is missing (a creation failure is shown by the creator); reading a
// recode or a style answers false when its table is missing. Other failures answer false with the
// database's description in GetLastError and show nothing. Each save is one transaction.
class CBibliotheque {
public:
    // Not opened here.
    explicit CBibliotheque(CContexteEtude& context);
    ~CBibliotheque();
    CBibliotheque(const CBibliotheque&) = delete;
    CBibliotheque& operator=(const CBibliotheque&) = delete;

    // Opens the library for reading and writing; false, without a message, when it cannot be
    // reached (no path, a missing, locked or foreign file). An open library is closed first.
    bool Open();
    void Close();
    bool IsOpen() const { return m_database != nullptr; }
    const std::string& GetLastError() const { return m_errorText; }

    // Weightings: (key, label) in label order. Reading gives the weighting the record's name,
    // description and definition text, and leaves its key and total as they were: a weighting
    // taken from the library belongs to the questionnaire it is copied into. Saving stores the
    // label, the description and the definition text, its targets named by their questions' names
    // so that another questionnaire can read them (a scheme without targets keeps its text).
    bool GetWeightingList(std::vector<std::unique_ptr<CIdName>>& out);
    bool ReadWeighting(std::int32_t code, CRedressement& out);
    bool SaveWeighting(const CRedressement& weighting);

    // Recodes: (key, label) in source-question order. Reading makes a new recode of the stored
    // type through the recode factory (null when the record, its table or its type is missing);
    // its grouping is read with the question when one is given, and its key is 0, since it is not
    // stored in the questionnaire yet. Saving writes the grouping built with the source question.
    bool GetRecodeList(std::vector<std::unique_ptr<CIdName>>& out);
    std::unique_ptr<CRecodage> ReadRecode(std::int32_t code, const CQuestionEtendue* question);
    bool SaveRecode(const CRecodage& recode, const CQuestionEtendue& source);

    // Styles: (key, name) in name order.
    bool GetStyleList(std::vector<std::unique_ptr<CIdName>>& out);

protected:
    // A style's stored texts, on which the style object builds its reading and saving: its name
    // and its calculations text ("Calculs").
    bool ReadStyleTexts(std::int32_t code, std::string& name, std::string& calculations);
    bool SaveStyleTexts(const std::string& name, const std::string& calculations);

private:
    // Runs one job on the open library, turning a database error into false with its text.
    template <class Job> bool Run(Job&& job);
    // Whether the user lets the record of that label be overwritten.
    bool MayOverwrite(int questionId);

    CContexteEtude& m_context;
    std::unique_ptr<db::Database> m_database;
    std::string m_errorText;
};
