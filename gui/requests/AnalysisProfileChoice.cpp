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

bool ChoisirProfilsAnalyse(CContexteEtude& context, bool numerique, CProfil& actives, CProfil& illustratives,
                           QWidget* parent) {
    CProfil choisiesActives = actives;
    CProfil choisiesIllustratives = illustratives;
    const bool choisi = numerique
        ? ChoisirUnCote<CProfilDlg>(context, choisiesActives, "Profils - Actives", parent, false) &&
              ChoisirUnCote<CProfilDlg>(context, choisiesIllustratives, "Profils - Illustratives", parent, false)
        : ChoisirUnCote<CProfilModalitesDlg>(context, choisiesActives, "Profils - Actives", parent) &&
              ChoisirUnCote<CProfilModalitesDlg>(context, choisiesIllustratives, "Profils - Illustratives", parent);
    if (!choisi)
        return false;
    actives = std::move(choisiesActives);
    illustratives = std::move(choisiesIllustratives);
    return true;
}
