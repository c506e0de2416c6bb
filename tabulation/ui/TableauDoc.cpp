#include "tabulation/ui/TableauDoc.h"

#include "app/ContexteEtude.h"
#include "platform/ui/DocumentSource.h"
#include "platform/ui/DocumentTitle.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"

namespace {
constexpr std::int32_t kMinimumSentDimension = 3;
constexpr std::size_t kMaximumSentRowCalculations = 1;
} // namespace

CTableauDoc::CTableauDoc() = default;

CTableauDoc::~CTableauDoc() = default;

bool CTableauDoc::OnOpenDocument(const DocumentSource& source) {
    CTableau* table = source.GetObject<CTableau>();
    if (table == nullptr)
        return false;
    const CTraitement* request = table->GetTraitement();
    if (request != nullptr && request->EstInvalide()) {
        if (CContexteEtude* context = GetContexte()) {
            for (const Message& message : request->GetMessagesInvalidite())
                context->GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
        }
        return false;
    }
    DeleteContents();
    m_table = table;
    if (table->deleteWithWindow == 1)
        m_ownedTable.reset(table);
    SetTableTitle();
    return true;
}

void CTableauDoc::SetPathName(const std::string& /*path*/) {
    SetTableTitle();
}

void CTableauDoc::DeleteContents() {
    m_table = nullptr;
    m_ownedTable.reset();
}

const CPresentationTableau& CTableauDoc::GetPresentation() const {
    static const CPresentationTableau none;
    return m_table != nullptr ? m_table->GetPresentation() : none;
}

void CTableauDoc::SetPresentation(const CPresentationTableau& presentation) {
    if (m_table == nullptr)
        return;
    m_table->SetPresentation(presentation);
    UpdateAllViews(nullptr);
}

bool CTableauDoc::EstEnvoiPossible() const {
    if (m_table == nullptr || m_table->RowCount() < kMinimumSentDimension ||
        m_table->ColumnCount() < kMinimumSentDimension)
        return false;
    const CTraitement* request = m_table->GetTraitement();
    return request == nullptr || request->GetCalculsLignes().size() <= kMaximumSentRowCalculations;
}

void CTableauDoc::SetTableTitle() {
    if (m_table != nullptr)
        SetTitle(DocumentTitle::FromText(m_table->title));
}
