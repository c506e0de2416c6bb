#pragma once

#include "gui/variables/ProfilePanel.h"

// "Par profil": a closed variable with multiple answers whose modalities are those chosen in a
// profile, entry after entry. Its profile is chosen in "Profils" (the modality profile dialog).
class CCalProfilPage : public ProfilePanel {
    Q_OBJECT

public:
    enum { IDD = 278 };

    explicit CCalProfilPage(CContexteEtude& context, QWidget* parent = nullptr);

    // Refused with "Vous devez sélectionner au moins une question..." when the profile is empty.
    bool Verifier() override;
    // The profile, and the short caption of every chosen modality of every entry, in order.
    void DonnerParties(PartiesVariable& parts) const override;

private:
    bool Choisir(CProfil& profile) override;
};
