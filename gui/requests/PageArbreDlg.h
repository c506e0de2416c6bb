#pragma once

#include "gui/requests/ProfilePage.h"

// The question-profile page: the profile of numeric questions of one axis, edited in the dialog
// "Profils" (CProfilDlg). Each line shows its question's short name.
class CPageArbreDlg : public ProfilePage {
    Q_OBJECT

public:
    enum { IDD = 185 };
    // Row side: the button selects the lines; otherwise the columns.
    CPageArbreDlg(CContexteEtude& context, const std::int32_t& level, bool rowSide, QWidget* parent = nullptr);

protected:
    bool EditProfile(CProfil& edited) override;
};
