#include "gui/requests/PageArbreOuvDlg.h"

#include "app/StringTable.h"
#include "gui/requests/ProfilDlg.h"

CPageArbreOuvDlg::CPageArbreOuvDlg(CContexteEtude& context, const std::int32_t& level, QWidget* parent)
    : ProfilePage(context, level, QStringLiteral("&Sélection..."), StringTable::kSelectionnerUneQuestion, parent) {
    setObjectName(QStringLiteral("CPageArbreOuvDlg"));
}

bool CPageArbreOuvDlg::EditProfile(CProfil& edited) {
    CProfilDlg dialog(m_context, m_level, edited, true, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edited = dialog.GetProfil();
    return true;
}
