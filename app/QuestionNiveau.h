#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/QuestionEtendue.h"
#include "app/RecordKeySource.h"

class CEnquete;
class CMatriceCodes;
class CVecteurDouble;

// One level of the questionnaire (the interviews, or a loop such as the persons of a household)
// as a question: its record keys and, for every ancestor level, how many of its records fall
// under each ancestor record. With them it carries data of an ancestor level down to its own
// records, each record taking the value of its parent record.
class CQuestionNiveau : public CQuestionEtendue {
public:
    // An empty level of the survey, not loaded.
    explicit CQuestionNiveau(CEnquete* survey);
    // A level made from a question of the questionnaire (the loop that opens it).
    CQuestionNiveau(CEnquete* survey, const CQuestion& model);

    bool KeepsCodeMatricesInMemory() const override { return false; }

    // Reads the level's records (through the survey's record key source) and counts them under
    // every ancestor record; true when this level and all its ancestors are loaded. A failed read
    // of its own records or of an ancestor level leaves the level not loaded, and a later call
    // tries again.
    bool ChargerEffectifs(CEnquete& survey, int levelIndex, std::string& error);

    // The counts of this level's records under each record of an ancestor level, in the
    // ancestor's key order. SetEffectifs replaces any previous counts of that ancestor.
    void SetEffectifs(int ancestorLevel, std::vector<std::int32_t> counts);
    bool GetEffectifs(int ancestorLevel, std::vector<std::int32_t>& counts) const;

    // Carry data of an ancestor level (one row per ancestor record) down to this level (one row
    // per record): every record takes the row of its parent record; a record without a parent
    // keeps the initial content (-5 cells, the not-asked value, an empty text). The same level
    // gives a plain copy. False when there are no counts for the source level; the output is
    // then left as it was (the texts empty).
    bool TransfererCodes(const CMatriceCodes& source, CMatriceCodes& out, int sourceLevel, int targetLevel) const;
    bool TransfererValeurs(const CVecteurDouble& source, CVecteurDouble& out, int sourceLevel, int targetLevel) const;
    bool TransfererTextes(const std::vector<std::string>& source, std::vector<std::string>& out, int sourceLevel,
                          int targetLevel) const;

    // Forgets the records and counts read: the next ChargerEffectifs reads them again.
    void OublierEnregistrements() { ForgetRecords(); }

    bool EstCharge() const { return m_loaded; }
    int GetNbreEnregistrements() const { return m_recordCount; }
    const CRecordKeys& GetEnregistrements() const { return m_records; }

private:
    bool LoadAncestor(CEnquete& survey, int ancestorLevel, std::string& error);
    void ForgetRecords();
    // For each record of this level, the index of its parent among the source level's records,
    // -1 for a record without one; false when the source level has no counts.
    bool ParentRows(int sourceLevel, std::vector<int>& parents) const;

    bool m_loaded = false;
    std::map<int, std::vector<std::int32_t>> m_counts;      // by ancestor level index
    std::map<int, std::vector<int>> m_parentRows;           // by ancestor level index
    CRecordKeys m_records;
    int m_recordCount = 0;
};

// The nearest preceding level of smaller depth; 0 for level 0, an unknown level, or when none.
int DonnerNiveauParent(int level, const CEnquete& survey);
// The index of the first level whose code is `code`; false when none.
bool TrouverIndexNiveau(std::int32_t code, int& index, const CEnquete& survey);
// Whether the question can be used at the level: it is asked once per interview, at that level,
// or at one of the level's ancestors.
bool EstDansNiveau(const CQuestionEtendue& question, int level, const CEnquete& survey);
// The same at the survey's current level.
bool EstDansNiveauDe(const CQuestionEtendue& question, const CEnquete& survey);
