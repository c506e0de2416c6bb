#include "gui/openanswers/OuvCorpusDoc.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/UserInterface.h"
#include "framework/DocumentSource.h"
#include "openanswers/OuvCorpus.h"

COuvCorpusDoc::COuvCorpusDoc() = default;

COuvCorpusDoc::~COuvCorpusDoc() = default;

bool COuvCorpusDoc::OnOpenDocument(const DocumentSource& source) {
    CQuestionEtendue* question = source.GetObject<CQuestionEtendue>();
    CContexteEtude* context = GetContexte();
    if (question == nullptr || context == nullptr)
        return false;
    DeleteContents();
    auto corpus = std::make_unique<COuvCorpus>(*context, *question);
    if (!corpus->Ouvrir()) {
        context->GetUserInterface().ShowMessage(corpus->GetErreur(), UserInterface::Icon::Warning);
        return false;
    }
    m_corpus = std::move(corpus);
    SetTitle(QString::fromStdString(question->GetCaption()));
    return true;
}

void COuvCorpusDoc::DeleteContents() {
    m_corpus.reset();
}
