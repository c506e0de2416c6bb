#pragma once

#include "gui/requests/ProfilePage.h"

// The open-question profile page: the profile of open questions of the request, edited in the
// dialog "Profils" (CProfilDlg) on the open questions. Each line shows its question's short name.
class CPageArbreOuvDlg : public ProfilePage {
    Q_OBJECT

public:
    enum { IDD = 288 };
    CPageArbreOuvDlg(CContexteEtude& context, const std::int32_t& level, QWidget* parent = nullptr);

protected:
    bool EditProfile(CProfil& edited) override;
};
