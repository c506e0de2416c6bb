#include "gui/tabulation/TableauDoc.h"

#include "app/ContexteEtude.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/DocumentSource.h"
#include "framework/DocumentTitle.h"
#include "framework/MDIChildWnd.h"
#include "framework/View.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "gui/tabulation/TableDefinitionEditor.h"

#include <QPointer>
#include <vector>

namespace {
constexpr std::int32_t kMinimumSentDimension = 3;
constexpr std::size_t kMaximumSentRowCalculations = 1;

TableDefinitionEditor* g_definitionEditor = nullptr;

CTableauDoc::EnvoiGraphique& ChartSender() {
    static CTableauDoc::EnvoiGraphique send;
    return send;
}

CTableauDoc::EditeurPresentation& PresentationEditor() {
    static CTableauDoc::EditeurPresentation edit;
    return edit;
}

CTableauDoc::AjoutDossier& PortfolioAdder() {
    static CTableauDoc::AjoutDossier add;
    return add;
}

CTableauDoc::EnvoiAnalyse& AnalysisSender() {
    static CTableauDoc::EnvoiAnalyse send;
    return send;
}
} // namespace

const CommandEntry<CTableauDoc> CTableauDoc::kCommandMap[] = {
    {kPresentation, &CTableauDoc::OnEditionPresentation, &CTableauDoc::OnUpdateEditionPresentation},
    {kRetourDefinition, &CTableauDoc::OnEditionRetourDefinition,
     &CTableauDoc::OnUpdateEditionRetourDefinition},
    {kAjouterAuDossier, &CTableauDoc::OnAjouterAuDossier, &CTableauDoc::OnUpdateAjouterAuDossier},
    {kEnvoyerVersGraphique, &CTableauDoc::OnEnvoyerVersGraphique, &CTableauDoc::OnUpdateEnvoyerVersGraphique},
    {kEnvoyerVersAcp, &CTableauDoc::OnEnvoyerVersAcp, &CTableauDoc::OnUpdateEnvoyerVersAnalyse},
    {kEnvoyerVersAfc, &CTableauDoc::OnEnvoyerVersAfc, &CTableauDoc::OnUpdateEnvoyerVersAnalyse},
};

void CTableauDoc::SetEnvoiGraphique(EnvoiGraphique send) {
    ChartSender() = std::move(send);
}

void CTableauDoc::OnUpdateEnvoyerVersGraphique(CCmdUI& ui) {
    const EnvoiGraphique& send = ChartSender();
    const bool runs = m_table != nullptr && (m_table->GetTraitement() == nullptr || g_definitionEditor != nullptr);
    ui.Enable(runs && send.ouvrirTableau && send.choisirCalculLigne);
}

void CTableauDoc::OnEnvoyerVersGraphique() {
    const EnvoiGraphique& send = ChartSender();
    if (m_table == nullptr || !send.ouvrirTableau || !send.choisirCalculLigne)
        return;
    const CTraitement* request = m_table->GetTraitement();
    if (request == nullptr) {
        auto copy = std::make_unique<CTableau>(*m_table);
        copy->openAsChart = 1;
        send.ouvrirTableau(std::move(copy));
        return;
    }
    if (request->type == kTypeNonGraphique) {
        if (CContexteEtude* context = GetContexte())
            context->GetUserInterface().ShowMessage(Message(StringTable::kPasDisponible),
                                                    UserInterface::Icon::Information);
        return;
    }
    if (g_definitionEditor == nullptr)
        return;
    auto copy = std::make_unique<CTraitement>(*request);
    if (copy->GetCalculsLignes().size() > 1) {
        const std::optional<std::int32_t> code = send.choisirCalculLigne(*copy);
        if (!code)
            return;
        copy->GarderCalculLigne(*code);
    }
    copy->SupprimerTotal();
    copy->SetCalculsColonnes(CTraitement::Calculs{});
    copy->openAsChart = 1;
    // The same editor as "Retour à la définition..." runs it; this window stays.
    g_definitionEditor->LancerTraitement(std::move(copy));
}

void CTableauDoc::SetEnvoiAnalyse(EnvoiAnalyse send) {
    AnalysisSender() = std::move(send);
}

void CTableauDoc::OnUpdateEnvoyerVersAnalyse(CCmdUI& ui) {
    ui.Enable(static_cast<bool>(AnalysisSender()) && EstEnvoiPossible());
}

void CTableauDoc::OnEnvoyerVersAcp() {
    if (AnalysisSender() && EstEnvoiPossible())
        AnalysisSender()(kAnalyseAcp, *m_table);
}

void CTableauDoc::OnEnvoyerVersAfc() {
    if (AnalysisSender() && EstEnvoiPossible())
        AnalysisSender()(kAnalyseAfc, *m_table);
}

void CTableauDoc::SetEditeurPresentation(EditeurPresentation edit) {
    PresentationEditor() = std::move(edit);
}

void CTableauDoc::OnUpdateEditionPresentation(CCmdUI& ui) {
    ui.Enable(m_table != nullptr && static_cast<bool>(PresentationEditor()));
}

void CTableauDoc::OnEditionPresentation() {
    if (m_table == nullptr || !PresentationEditor())
        return;
    QWidget* parent = GetViews().empty() ? nullptr : GetViews().front()->GetParentFrame();
    CPresentationTableau presentation = m_table->GetPresentation();
    if (PresentationEditor()(parent, presentation))
        SetPresentation(presentation);
}

void CTableauDoc::SetAjoutDossier(AjoutDossier add) {
    PortfolioAdder() = std::move(add);
}

void CTableauDoc::OnUpdateAjouterAuDossier(CCmdUI& ui) {
    ui.Enable(m_table != nullptr && static_cast<bool>(PortfolioAdder()));
}

void CTableauDoc::OnAjouterAuDossier() {
    if (m_table != nullptr && PortfolioAdder())
        PortfolioAdder()(*m_table);
}

void CTableauDoc::SetDefinitionEditor(TableDefinitionEditor* editor) {
    g_definitionEditor = editor;
}

TableDefinitionEditor* CTableauDoc::GetDefinitionEditor() {
    return g_definitionEditor;
}

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

bool CTableauDoc::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CDocument::HandleOwnCommand(id, kind, ui);
}

bool CTableauDoc::EstRedefinissable() const {
    const CTraitement* request = m_table != nullptr ? m_table->GetTraitement() : nullptr;
    return request != nullptr && g_definitionEditor != nullptr &&
           g_definitionEditor->HasDefinitionDialog(request->type);
}

void CTableauDoc::OnUpdateEditionRetourDefinition(CCmdUI& ui) {
    ui.Enable(EstRedefinissable());
}

void CTableauDoc::OnEditionRetourDefinition() {
    if (!EstRedefinissable())
        return;
    std::unique_ptr<CTraitement> request = g_definitionEditor->ModifierTraitement(*m_table->GetTraitement());
    if (request == nullptr)
        return;
    // The frames are gathered first: the new windows open before the old ones close, and a
    // frame that went meanwhile is skipped.
    std::vector<QPointer<CMDIChildWnd>> frames;
    for (CView* view : GetViews())
        frames.emplace_back(view->GetParentFrame());
    // A request that gives no table (its reasons shown) leaves the analyst the table he had.
    if (!g_definitionEditor->LancerTraitement(std::move(request)))
        return;
    // Closing the last frame may destroy this document: nothing of it is used from here.
    for (const QPointer<CMDIChildWnd>& frame : frames)
        if (frame != nullptr)
            frame->close();
}

void CTableauDoc::SetTableTitle() {
    if (m_table != nullptr)
        SetTitle(DocumentTitle::FromText(m_table->title));
}
