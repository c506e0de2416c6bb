#pragma once

#include "framework/Document.h"

#include <memory>

class COuvCorpus;
class CQuestionEtendue;

// The document of the windows that study one open question (repeated segments, specific forms
// and segments, characteristic answers): the question's lexical engine, opened on the question
// given as the source. Opening rebuilds the caches that are missing or stale; a corpus that
// cannot be opened is reported and no window opens.
class COuvCorpusDoc : public CDocument {
public:
    COuvCorpusDoc();
    ~COuvCorpusDoc() override;

    bool OnOpenDocument(const DocumentSource& source) override;
    void DeleteContents() override;

    COuvCorpus* GetCorpus() const { return m_corpus.get(); }

private:
    std::unique_ptr<COuvCorpus> m_corpus;
};
