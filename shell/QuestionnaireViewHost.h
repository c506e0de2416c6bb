#pragma once

class CQuestionEtendue;
class CQuestionnaireView;

// What the questionnaire tree needs of the window that hosts it (the main frame): to be known as
// the tree of the open survey, from its first showing until it goes, and to have a computed
// question removed by the application. The tree finds its host through its application's main
// frame.
class QuestionnaireViewHost {
public:
    virtual ~QuestionnaireViewHost() = default;

    // The tree registers itself when first shown and passes null when it goes.
    virtual void SetQuestionnaireView(CQuestionnaireView* view) = 0;
    virtual CQuestionnaireView* GetQuestionnaireView() const = 0;
    // Removes a computed question from the survey, the tree and the program tables.
    virtual void SupprimerQuestionCalculee(CQuestionEtendue& question) = 0;

protected:
    QuestionnaireViewHost() = default;
    QuestionnaireViewHost(const QuestionnaireViewHost&) = default;
    QuestionnaireViewHost& operator=(const QuestionnaireViewHost&) = default;
};
