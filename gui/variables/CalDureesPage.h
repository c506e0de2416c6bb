#pragma once

#include "gui/variables/ProfilePanel.h"

// "A partir des durées d'entrée": a numeric variable holding, for each interview, the sum of the
// entry durations of the questions of a profile, chosen in "Profils" (the profile selection
// dialog).
class CCalDureesPage : public ProfilePanel {
    Q_OBJECT

public:
    enum { IDD = 285 };

    explicit CCalDureesPage(CContexteEtude& context, QWidget* parent = nullptr);

    // An empty profile is accepted: every interview then has a duration of zero.
    bool Verifier() override { return true; }

private:
    bool Choisir(CProfil& profile) override;
};
