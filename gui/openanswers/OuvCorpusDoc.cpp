#include "gui/openanswers/OuvCorpusDoc.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "framework/DocumentSource.h"
#include "gui/openanswers/OuvFenetres.h"
#include "openanswers/OuvCorpus.h"

COuvCorpusDoc::COuvCorpusDoc() = default;

COuvCorpusDoc::~COuvCorpusDoc() = default;

bool COuvCorpusDoc::OnOpenDocument(const DocumentSource& source) {
    CQuestionEtendue* question = source.GetObject<CQuestionEtendue>();
    CContexteEtude* context = GetContexte();
    if (question == nullptr || context == nullptr || !Accepte(*question))
        return false;
    std::unique_ptr<COuvCorpus> corpus = OuvFenetres::OuvrirCorpus(*context, *question);
    if (corpus == nullptr)
        return false;
    DeleteContents();
    m_question = question;
    m_corpus = std::move(corpus);
    SetTitle(QString::fromStdString(Titre(*question)));
    return true;
}

void COuvCorpusDoc::DeleteContents() {
    m_corpus.reset();
    m_question = nullptr;
}

bool COuvCorpusDoc::Accepte(const CQuestionEtendue& /*question*/) const {
    return true;
}

std::string COuvCorpusDoc::Titre(const CQuestionEtendue& question) const {
    return question.GetCaption();
}
