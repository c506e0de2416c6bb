#pragma once

#include "framework/Document.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class COuvCorpus;
class CQuestionEtendue;

// The concordance window's document: every place of one form, lemma or repeated segment of an
// open question, with ten words of context on each side, from its own engine of the answers.
class COuvConcordanceDoc : public CDocument {
public:
    // What the window opens on: the entry by its id (kind 1, a form or a lemma) or the segment
    // by its index (kind 0).
    struct Demande {
        CQuestionEtendue* question = nullptr;
        std::int32_t entree = 0;
        std::int16_t genre = 1;
    };

    COuvConcordanceDoc();
    ~COuvConcordanceDoc() override;

    bool OnOpenDocument(const DocumentSource& source) override;
    void DeleteContents() override;

    const Demande& GetDemande() const { return m_request; }
    const std::string& GetTexte() const { return m_text; }
    const std::vector<std::string>& GetGauches() const { return m_left; }
    const std::vector<std::string>& GetDroites() const { return m_right; }
    const std::vector<std::int32_t>& GetInterviews() const { return m_interviews; }
    double GetNombreReponses() const;

private:
    Demande m_request;
    std::unique_ptr<COuvCorpus> m_corpus;
    std::string m_text;
    std::vector<std::string> m_left;
    std::vector<std::string> m_right;
    std::vector<std::int32_t> m_interviews;
};
