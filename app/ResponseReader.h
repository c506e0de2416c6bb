#pragma once

#include <string>
#include <vector>

class CEnquete;
class CMatriceCodes;
class CQuestionEtendue;
class CVecteurDouble;

// What the reading of answers needs from a data access: the answers of one question for every
// record of its level, as the result containers the caches hold. The closed and numeric readers
// may first try the inverted files, when the survey says they are valid and the caller wishes it.
class CResponseReader {
public:
    virtual ~CResponseReader() = default;

    // Closed answers: one row per record of the question's level, one column per answer.
    virtual bool LireTableFermee(CQuestionEtendue& question, CMatriceCodes*& out) = 0;
    // For a generated per-level question: the iteration of each record as a closed answer.
    virtual bool LireTableCleFermee(CQuestionEtendue& question, CMatriceCodes*& out) = 0;
    // Numeric and date answers.
    virtual bool LireTableNumerique(CQuestionEtendue& question, CVecteurDouble*& out) = 0;
    // For a generated per-level question: the iteration key of each record as a number.
    virtual bool LireTableCleNumerique(CQuestionEtendue& question, CVecteurDouble*& out) = 0;
    // Open answers, one text per record.
    virtual bool LireTableOuverte(CQuestionEtendue& question, std::vector<std::string>& out) = 0;
    // No question has further answers.
    virtual bool LireTableSupplementaire(CQuestionEtendue&, std::vector<std::string>&) { return false; }

    CEnquete* GetEnquete() const { return m_survey; }
    const std::string& GetErrorText() const { return m_errorText; }
    void SetErrorText(const std::string& text) { m_errorText = text; }
    bool UsesInvertedFiles() const { return m_useInverted; }

protected:
    // The inverted files are used only when wished and when the survey holds them valid.
    CResponseReader(CEnquete* survey, bool wishInverted);
    CResponseReader(const CResponseReader&) = delete;
    CResponseReader& operator=(const CResponseReader&) = delete;

private:
    CEnquete* m_survey = nullptr; // not owned
    std::string m_errorText;
    bool m_useInverted = false;
};
