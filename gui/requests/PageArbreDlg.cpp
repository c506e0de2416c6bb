#include "gui/requests/PageArbreDlg.h"

#include "app/StringTable.h"
#include "gui/requests/ProfilDlg.h"

CPageArbreDlg::CPageArbreDlg(CContexteEtude& context, const std::int32_t& level, bool rowSide, QWidget* parent)
    : ProfilePage(context, level,
                  rowSide ? QStringLiteral("&Sélection des lignes...") : QStringLiteral("Sélection des colonnes..."),
                  StringTable::kSelectionnerUneQuestion, parent) {
    setObjectName(QStringLiteral("CPageArbreDlg"));
}

bool CPageArbreDlg::EditProfile(CProfil& edited) {
    CProfilDlg dialog(m_context, m_level, edited, false, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edited = dialog.GetProfil();
    return true;
}
