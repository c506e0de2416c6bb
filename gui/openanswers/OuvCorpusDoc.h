#pragma once

#include "framework/Document.h"

#include <memory>
#include <string>

class COuvCorpus;
class CQuestionEtendue;

// The document of the windows that study one open question (dictionary, repeated segments,
// specific forms and segments, characteristic answers, correspondence and typology of the
// answers): the question's lexical engine, opened on the question given as the source. Opening
// rebuilds the caches that are missing or stale; a corpus that cannot be opened is reported and
// no window opens, the document keeping what it held. It saves nothing: lemma and stop-word
// edits are written at once.
class COuvCorpusDoc : public CDocument {
public:
    COuvCorpusDoc();
    ~COuvCorpusDoc() override;

    bool OnOpenDocument(const DocumentSource& source) override;
    void DeleteContents() override;

    CQuestionEtendue* GetQuestion() const { return m_question; }
    COuvCorpus* GetCorpus() const { return m_corpus.get(); }

protected:
    // Whether the document opens on that question at all (before its engine is opened).
    virtual bool Accepte(const CQuestionEtendue& question) const;
    // The windows' title: the question's caption.
    virtual std::string Titre(const CQuestionEtendue& question) const;

private:
    CQuestionEtendue* m_question = nullptr;
    std::unique_ptr<COuvCorpus> m_corpus;
};
