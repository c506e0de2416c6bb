#include "gui/requests/AnalysisProfileChoice.h"

#include "app/ContexteEtude.h"
#include "gui/requests/ProfilNumeriqueDlg.h"
#include "gui/requests/ProfilsActifsIllustratifsDlg.h"
#include "tabulation/Profil.h"

namespace {

// Both sides at once, in the pair dialog of the analysis' kind; a named pair comes back with the
// name and id on the active side.
template <class Dialog>
bool ChoisirLaPaire(CContexteEtude& context, CProfil& actives, CProfil& illustratives, QWidget* parent) {
    Dialog dialog(context, actives, illustratives, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetProfils(actives, illustratives);
    return true;
}

} // namespace

bool ChoisirProfilsAnalyse(CContexteEtude& context, bool numerique, CProfil& actives, CProfil& illustratives,
                           QWidget* parent) {
    return numerique ? ChoisirLaPaire<CProfilNumeriqueDlg>(context, actives, illustratives, parent)
                     : ChoisirLaPaire<CProfilsActifsIllustratifsDlg>(context, actives, illustratives, parent);
}
