#include "gui/openanswers/OuvDictionnaireDoc.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/DocumentSource.h"
#include "gui/openanswers/OuvFenetres.h"
#include "openanswers/OuvCorpus.h"

COuvDictionnaireDoc::COuvDictionnaireDoc() = default;

COuvDictionnaireDoc::~COuvDictionnaireDoc() = default;

bool COuvDictionnaireDoc::OnOpenDocument(const DocumentSource& source) {
    CQuestionEtendue* question = source.GetObject<CQuestionEtendue>();
    CContexteEtude* context = GetContexte();
    if (question == nullptr || context == nullptr || !question->EstOuverte())
        return false;
    std::unique_ptr<COuvCorpus> corpus = OuvFenetres::OuvrirCorpus(*context, *question);
    if (corpus == nullptr)
        return false;
    DeleteContents();
    m_question = question;
    m_corpus = std::move(corpus);
    SetTitle(QString::fromStdString(StringTable::Format(Message(StringTable::kDictionnaireDe, {question->GetCaption()}))));
    return true;
}

void COuvDictionnaireDoc::DeleteContents() {
    m_corpus.reset();
    m_question = nullptr;
}
