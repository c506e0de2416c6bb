#include "gui/requests/AnalysisProfileChoice.h"

#include "app/ContexteEtude.h"
#include "gui/requests/ProfilDlg.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "tabulation/Profil.h"

#include <QString>

namespace {

// One side at a time, in the single-profile dialog of its kind.
template <class Dialog, class... Extra>
bool ChoisirUnCote(CContexteEtude& context, CProfil& profil, const char* titre, QWidget* parent, Extra... extra) {
    Dialog dialog(context, context.currentLevel, profil, extra..., parent);
    dialog.setWindowTitle(QString::fromUtf8(titre));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    profil = dialog.GetProfil();
    return true;
}

} // namespace

// Each side is taken on its own OK: cancelling the illustrative one keeps the active side chosen.
bool ChoisirProfilsAnalyse(CContexteEtude& context, bool numerique, CProfil& actives, CProfil& illustratives,
                           QWidget* parent) {
    const auto choose = [&](CProfil& profil, const char* titre) {
        return numerique ? ChoisirUnCote<CProfilDlg>(context, profil, titre, parent, false)
                         : ChoisirUnCote<CProfilModalitesDlg>(context, profil, titre, parent);
    };
    if (!choose(actives, "Profils - Actives"))
        return false;
    choose(illustratives, "Profils - Illustratives");
    return true;
}
