#include "gui/variables/CalDureesPage.h"

#include "gui/requests/SelectionProfilDlg.h"

CCalDureesPage::CCalDureesPage(CContexteEtude& context, QWidget* parent) : ProfilePanel(context, false, parent) {}

bool CCalDureesPage::Choisir(CProfil& profile) {
    CSelectionProfilDlg dialog(m_context, profile, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    profile = dialog.GetProfil();
    return true;
}
