#pragma once

#include "gui/openanswers/OuvCorpusDoc.h"

// The dictionary window's document: the engine of an open question's answers, titled
// "Dictionnaire de '...'"; it opens on open questions only.
class COuvDictionnaireDoc : public COuvCorpusDoc {
protected:
    bool Accepte(const CQuestionEtendue& question) const override;
    std::string Titre(const CQuestionEtendue& question) const override;
};
