#pragma once

#include "framework/Document.h"

#include <memory>

class COuvCorpus;
class CQuestionEtendue;

// The dictionary window's document: the open question it lists (the survey's) and the lexical
// engine of its answers, owned. It saves nothing: lemma and stop-word edits are written at once.
class COuvDictionnaireDoc : public CDocument {
public:
    COuvDictionnaireDoc();
    ~COuvDictionnaireDoc() override;

    // Opens on the question (the source's object); false, nothing shown, unless it is open and
    // its engine opens (the reason told).
    bool OnOpenDocument(const DocumentSource& source) override;
    void DeleteContents() override;

    CQuestionEtendue* GetQuestion() const { return m_question; }
    COuvCorpus* GetCorpus() const { return m_corpus.get(); }

private:
    CQuestionEtendue* m_question = nullptr;
    std::unique_ptr<COuvCorpus> m_corpus;
};
