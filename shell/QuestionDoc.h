#pragma once

#include "framework/Document.h"

class CQuestionEtendue;

// The document of a question's form: the question shown, which belongs to the survey. It is
// handed over in place of a path when the form is opened.
class CQuestionDoc : public CDocument {
public:
    // Keeps the question and takes the beginning of its caption as its title; false for any source
    // that is not a question.
    bool OnOpenDocument(const DocumentSource& source) override;
    // The question is no file: a path changes nothing.
    void SetPathName(const std::string& path) override;

    CQuestionEtendue* GetQuestion() const { return m_question; }

private:
    CQuestionEtendue* m_question = nullptr; // not owned
};
