#include "gui/openanswers/OuvConcordanceDoc.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "framework/DocumentSource.h"
#include "gui/openanswers/OuvFenetres.h"
#include "openanswers/OuvCorpus.h"

COuvConcordanceDoc::COuvConcordanceDoc() = default;

COuvConcordanceDoc::~COuvConcordanceDoc() = default;

bool COuvConcordanceDoc::OnOpenDocument(const DocumentSource& source) {
    const Demande* request = source.GetObject<const Demande>();
    CContexteEtude* context = GetContexte();
    if (request == nullptr || request->question == nullptr || context == nullptr || !request->question->EstOuverte())
        return false;
    std::unique_ptr<COuvCorpus> corpus = OuvFenetres::OuvrirCorpus(*context, *request->question);
    if (corpus == nullptr)
        return false;
    int index = 0;
    if (request->genre == COuvCorpus::kConcordanceForme) {
        // The entry of that id; the first one when the id is no longer there.
        for (int i = 0; i < corpus->GetNbreFormes(); ++i) {
            if (corpus->DonnerForme(i)->id == request->entree) {
                index = i;
                break;
            }
        }
    } else {
        WaitCursor wait(context->GetUserInterface());
        if (!corpus->ChargerSegments())
            return false;
        index = request->entree;
    }
    DeleteContents();
    m_request = *request;
    m_corpus = std::move(corpus);
    m_corpus->Concordances(m_request.genre, index, m_text, m_left, m_right, m_interviews);
    SetTitle(QString::fromStdString(StringTable::Format(Message(StringTable::kConcordanceDe, {m_text}))));
    return true;
}

double COuvConcordanceDoc::GetNombreReponses() const {
    return m_corpus != nullptr ? m_corpus->GetNombreReponses() : 0.0;
}

void COuvConcordanceDoc::DeleteContents() {
    m_corpus.reset();
    m_text.clear();
    m_left.clear();
    m_right.clear();
    m_interviews.clear();
}
