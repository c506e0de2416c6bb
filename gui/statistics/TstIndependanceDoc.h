#pragma once

#include "framework/Document.h"

class CQuestionEtendue;

// The document of the independence test window: the row question and the column question, which
// belong to the survey. It opens on the pair of questions handed over in place of a path.
class CTstIndependanceDoc : public CDocument {
public:
    // What an opening receives: the row question, then the column question.
    struct Questions {
        CQuestionEtendue* ligne = nullptr;
        CQuestionEtendue* colonne = nullptr;
    };

    // Keeps the two questions and takes the window's title; false without both.
    bool OnOpenDocument(const DocumentSource& source) override;

    CQuestionEtendue* GetQuestionLigne() const { return m_questions.ligne; }
    CQuestionEtendue* GetQuestionColonne() const { return m_questions.colonne; }

private:
    Questions m_questions;
};
