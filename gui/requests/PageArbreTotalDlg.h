#pragma once

#include "gui/requests/ProfilePage.h"

#include <memory>
#include <vector>

class CModaliteEtendue;
class QCheckBox;

// The profile page of closed questions: the profile of one axis, each question with the
// modalities chosen in it, edited in the dialog "Profils" (CProfilModalitesDlg), and the box
// "Total" that adds the axis' Total.
class CPageArbreTotalDlg : public ProfilePage {
    Q_OBJECT

public:
    enum { IDD = 182 };
    // `totalShown`: the box "Total" is shown and ticked; otherwise hidden and unticked. Row side:
    // the button selects the lines; otherwise the columns.
    CPageArbreTotalDlg(CContexteEtude& context, const std::int32_t& level, bool totalShown, bool rowSide,
                       QWidget* parent = nullptr);
    ~CPageArbreTotalDlg() override;

    // Every question of the profile must have as many modalities as the first.
    void SetMemeNombreModalites(bool flag) { m_sameNumber = flag; }

    void LireTraitement(const CTraitement& request, int axis) override;
    void EcrireTraitement(CTraitement& request, int axis) const override;
    // Whether every question of the profile is numeric (true for an empty profile).
    bool EstToutNumerique() const;

    QCheckBox& TotalBox() const { return *m_total; }

protected:
    bool EditProfile(CProfil& edited) override;
    void FillTree() override;

private:
    QCheckBox* m_total;
    bool m_sameNumber = false;
    // The modalities the tree shows; index 0 is never used by an item.
    std::vector<std::unique_ptr<CModaliteEtendue>> m_displayed;
};
