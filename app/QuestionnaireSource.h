#pragma once

#include <memory>
#include <vector>

class CEnquete;
class CQuestionCalculee;
class CQuestionEtendue;
class CQuestionNiveau;
class CQuestionnaire;

// Where the questionnaire loader takes its data: the questionnaire database implements it (as its
// second base). It holds nothing but the survey it loads into.
class CQuestionnaireSource {
public:
    virtual ~CQuestionnaireSource() = default;

    // Fills a library questionnaire; false when it cannot be read.
    virtual bool LireStructure(CQuestionnaire& questionnaire) = 0;
    // Whether the table of computed variables exists.
    virtual bool ExisteTableVariable() = 0;
    // Appends the definitions of the computed variables, in their order.
    virtual void LireVariables(std::vector<std::unique_ptr<CQuestionCalculee>>& definitions) = 0;
    // Reads the recodes and inserts the questions they produce (InsererRecodage).
    virtual void LireRecodages(std::vector<std::unique_ptr<CQuestionEtendue>>& questions,
                               std::vector<std::unique_ptr<CQuestionNiveau>>& levels) = 0;

    CEnquete* GetEnquete() const { return m_survey; }
    void SetEnquete(CEnquete* survey) { m_survey = survey; }

protected:
    explicit CQuestionnaireSource(CEnquete* survey = nullptr) : m_survey(survey) {}
    CQuestionnaireSource(const CQuestionnaireSource&) = default;
    CQuestionnaireSource& operator=(const CQuestionnaireSource&) = default;

private:
    CEnquete* m_survey = nullptr; // not owned
};
