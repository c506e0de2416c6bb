#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class CDataAccess;
class CEnquete;
class CMatriceCodes;
class CQuestionEtendue;
class CVecteurDouble;

// The answers, for every interview, of the questions a formula names: the code matrix of a
// closed question (a row per interview, a column per answer slot) or the values of a numeric or
// date question (one per interview). They are read once, before the interviews are evaluated,
// through the program's reading facade: answers lent by the survey's caches are given back when
// the data go. Open questions are never read: a reference to one has no answers.
class FormulaData {
public:
    struct Answers {
        const CMatriceCodes* codes = nullptr;   // a closed question
        const CVecteurDouble* values = nullptr; // a numeric or date question
        bool dates = false;
        // The index of the closed question's not-asked modality (code -2), which the reader puts
        // in a row without any answer; -1 when it has none. Like an empty slot, it is no answer.
        int notAsked = -1;
    };

    // Data read from the survey's questionnaire.
    explicit FormulaData(CEnquete& survey);
    // Data of no survey: every question is without answers.
    FormulaData();
    ~FormulaData();
    FormulaData(const FormulaData&) = delete;
    FormulaData& operator=(const FormulaData&) = delete;

    // Reads the answers of question i of the survey at the interview level, when it has not been
    // read yet; a question that is neither closed, numeric nor a date is left without answers.
    // False, with the reader's error text, when its answers cannot be read (among them the
    // answers of a question asked in a loop, which has no single answer per interview).
    bool Charger(int questionIndex, std::string& error);
    // The answers of question i; null when it has none.
    const Answers* Trouver(int questionIndex) const;

private:
    struct Read {
        Answers answers;
        CQuestionEtendue* question = nullptr;
        bool lent = false; // lent by a cache: to be given back, not deleted
        std::unique_ptr<CMatriceCodes> ownedCodes;
        std::unique_ptr<CVecteurDouble> ownedValues;
    };
    bool ReadClosed(CQuestionEtendue& question, Read& read, std::string& error);
    bool ReadValues(CQuestionEtendue& question, Read& read, std::string& error);

    CEnquete* m_survey = nullptr;
    std::unique_ptr<CDataAccess> m_access;
    std::map<int, Read> m_read;
};
