#include "shell/QtTableDefinitionEditor.h"

#include "requests/RequestDialog.h"
#include "requests/RequestDialogKind.h"
#include "shell/MainFrame.h"
#include "shell/MorvaneApp.h"
#include "tabulation/Traitement.h"

QtTableDefinitionEditor::QtTableDefinitionEditor(CMorvaneApp& application) : m_application(application) {}

bool QtTableDefinitionEditor::HasDefinitionDialog(std::int16_t type) const {
    return FindRequestDialogKind(type) != nullptr;
}

std::unique_ptr<CTraitement> QtTableDefinitionEditor::ModifierTraitement(const CTraitement& existing) {
    std::unique_ptr<RequestDialog> dialog =
        RequestDialog::PourDemandeExistante(m_application, existing, m_application.GetMainWindow());
    if (dialog == nullptr || dialog->exec() != QDialog::Accepted)
        return nullptr;
    return dialog->TakeTraitement();
}

bool QtTableDefinitionEditor::LancerTraitement(std::unique_ptr<CTraitement> request) {
    return CMainFrame::LancerTraitement(std::move(request));
}
