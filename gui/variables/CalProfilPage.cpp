#include "gui/variables/CalProfilPage.h"

#include "app/ContexteEtude.h"
#include "app/ModaliteEtendue.h"
#include "app/StringTable.h"
#include "gui/requests/ProfilModalitesDlg.h"
#include "tabulation/SousProfil.h"
#include "variables/ConstructionVariable.h"

CCalProfilPage::CCalProfilPage(CContexteEtude& context, QWidget* parent) : ProfilePanel(context, true, parent) {}

bool CCalProfilPage::Choisir(CProfil& profile) {
    CProfilModalitesDlg dialog(m_context, 0, profile, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    profile = dialog.GetProfil();
    return true;
}

bool CCalProfilPage::Verifier() {
    if (GetProfil().GetNbreQuestions() > 0)
        return true;
    m_context.GetUserInterface().ShowMessage(Message(StringTable::kSelectionnerUneQuestion),
                                             UserInterface::Icon::Warning);
    return false;
}

void CCalProfilPage::DonnerParties(PartiesVariable& parts) const {
    ProfilePanel::DonnerParties(parts);
    parts.themes.clear();
    for (int i = 0; i < GetProfil().GetCount(); ++i)
        if (const CSousProfil* line = GetProfil().GetSousProfil(i))
            for (const auto& modality : line->Modalites())
                parts.themes += modality->GetShortCaption() + "|";
}
