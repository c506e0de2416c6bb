#include "gui/presentation/GraphDoc.h"

#include "framework/CmdUI.h"
#include "framework/DocumentSource.h"
#include "framework/DocumentTitle.h"
#include "framework/View.h"
#include "gui/presentation/PresentationGraphiqueDlg.h"
#include "tabulation/Tableau.h"

namespace {

CGraphDoc::AjoutDossier& PortfolioAdder()
{
    static CGraphDoc::AjoutDossier add;
    return add;
}

} // namespace

const CommandEntry<CGraphDoc> CGraphDoc::kCommandMap[] = {
    {kPresentation, &CGraphDoc::OnPresentation, &CGraphDoc::OnUpdatePresentation},
    {kAjouterAuDossier, &CGraphDoc::OnAjouterAuDossier, &CGraphDoc::OnUpdateAjouterAuDossier},
};

void CGraphDoc::SetAjoutDossier(AjoutDossier add)
{
    PortfolioAdder() = std::move(add);
}

CGraphDoc::CGraphDoc() = default;

CGraphDoc::~CGraphDoc() = default;

bool CGraphDoc::OnOpenDocument(const DocumentSource& source)
{
    CTableau* table = source.GetObject<CTableau>();
    if (table == nullptr)
        return false;
    DeleteContents();
    m_table = table;
    if (table->deleteWithWindow == 1)
        m_ownedTable.reset(table);
    SetPathName(std::string());
    return true;
}

void CGraphDoc::SetPathName(const std::string& /*path*/)
{
    if (m_table != nullptr)
        SetTitle(DocumentTitle::FromText(m_table->title));
}

QString CGraphDoc::GetWindowListKind() const
{
    return QStringLiteral("Graphique");
}

void CGraphDoc::DeleteContents()
{
    m_table = nullptr;
    m_ownedTable.reset();
}

void CGraphDoc::FermerSiSource(const void* source)
{
    if (source != nullptr && m_table != nullptr && m_table->deleteWithWindow == 0 && m_table->ownerDocument == source)
        OnCloseDocument();
}

void CGraphDoc::OnUpdatePresentation(CCmdUI& ui)
{
    ui.Enable(m_table != nullptr);
}

void CGraphDoc::OnPresentation()
{
    if (m_table == nullptr)
        return;
    QWidget* parent = nullptr;
    if (!GetViews().empty())
        parent = GetViews().front()->GetWidget();
    CPresentationGraphiqueDlg dialog(m_table->GetPresentationGraphique(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetPresentationGraphique(dialog.GetPresentation());
}

void CGraphDoc::SetPresentationGraphique(const CPresentationGraphique& presentation)
{
    if (m_table == nullptr)
        return;
    m_table->SetPresentationGraphique(presentation);
    UpdateAllViews(nullptr);
}

void CGraphDoc::OnUpdateAjouterAuDossier(CCmdUI& ui)
{
    ui.Enable(m_table != nullptr && static_cast<bool>(PortfolioAdder()));
}

void CGraphDoc::OnAjouterAuDossier()
{
    if (m_table != nullptr && PortfolioAdder())
        PortfolioAdder()(*m_table);
}

bool CGraphDoc::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui)
{
    return DispatchCommandMap(*this, kCommandMap, id, kind, ui) || CDocument::HandleOwnCommand(id, kind, ui);
}
