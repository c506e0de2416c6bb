#include "shell/QtTableDefinitionEditor.h"

#include "framework/MultiDocTemplate.h"
#include "framework/View.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/RequestDialogKind.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "tabulation/Tableau.h"
#include "tabulation/Traitement.h"
#include "gui/tabulation/TableauDoc.h"

#include <QMdiArea>
#include <set>
#include <utility>

QtTableDefinitionEditor::QtTableDefinitionEditor(CMorvaneApp& application) : m_application(application) {}

bool QtTableDefinitionEditor::HasDefinitionDialog(std::int16_t type) const {
    return FindRequestDialogKind(type) != nullptr;
}

std::unique_ptr<CTraitement> QtTableDefinitionEditor::ModifierTraitement(const CTraitement& existing) {
    m_replacedPlacement.reset();
    std::unique_ptr<RequestDialog> dialog =
        RequestDialog::PourDemandeExistante(m_application, existing, m_application.GetMainWindow());
    if (dialog == nullptr || dialog->exec() != QDialog::Accepted)
        return nullptr;
    if (const CMDIChildWnd* replaced = WindowOf(existing))
        m_replacedPlacement = replaced->GetWindowPlacement();
    return dialog->TakeTraitement();
}

bool QtTableDefinitionEditor::LancerTraitement(std::unique_ptr<CTraitement> request) {
    const std::optional<CMDIChildWnd::Placement> placement = std::exchange(m_replacedPlacement, std::nullopt);
    CMainFrame* frame = m_application.GetMainWindow();
    if (frame == nullptr)
        return CMainFrame::LancerTraitement(std::move(request));
    const QList<QMdiSubWindow*> before = frame->GetMdiArea().subWindowList();
    const std::set<QMdiSubWindow*> known(before.begin(), before.end());
    if (!CMainFrame::LancerTraitement(std::move(request)))
        return false;
    if (!placement)
        return true;
    for (QMdiSubWindow* window : frame->GetMdiArea().subWindowList(QMdiArea::CreationOrder)) {
        if (known.count(window) != 0)
            continue;
        if (auto* opened = dynamic_cast<CMDIChildWnd*>(window))
            opened->SetWindowPlacement(*placement);
        break;
    }
    return true;
}

CMDIChildWnd* QtTableDefinitionEditor::WindowOf(const CTraitement& request) const {
    CMainFrame* frame = m_application.GetMainWindow();
    CMDIChildWnd* active = frame != nullptr ? frame->MDIGetActive() : nullptr;
    CMDIChildWnd* first = nullptr;
    for (CDocument* document : m_application.GetTemplate(TemplateKind::kTableau).GetDocuments()) {
        const auto* tableDocument = dynamic_cast<const CTableauDoc*>(document);
        const CTableau* table = tableDocument != nullptr ? tableDocument->GetTableau() : nullptr;
        if (table == nullptr || table->GetTraitement() != &request)
            continue;
        for (CView* view : document->GetViews()) {
            CMDIChildWnd* window = view->GetParentFrame();
            if (window == active)
                return window;
            if (first == nullptr)
                first = window;
        }
    }
    return first;
}
