#pragma once

#include "framework/UtilArbre.h"
#include "gui/variables/PanneauVariable.h"
#include "tabulation/Profil.h"

class CContexteEtude;
class QPushButton;
class QTreeWidget;

// What the two pages made from a profile share: the profile they own, shown in tree 1067 (a
// question per line, with its chosen modalities under it when the page keeps modalities), and
// "&Sélection..." that opens the page's profile dialog on it. The profile is the definition;
// the profile page refuses an empty one.
class ProfilePanel : public CPanneauVariable {
    Q_OBJECT

public:
    void Charger(const CQuestionCalculee& definition) override;
    void DonnerParties(PartiesVariable& parts) const override;

    const CProfil& GetProfil() const { return m_profile; }
    void SetProfil(const CProfil& profile);
    QTreeWidget& Arbre() const { return *m_tree; }
    QPushButton& SelectionButton() const { return *m_select; }

protected:
    ProfilePanel(CContexteEtude& context, bool modalities, QWidget* parent);

    // The page's profile dialog on a copy of the profile: true on OK, the copy then changed.
    virtual bool Choisir(CProfil& profile) = 0;

    CContexteEtude& m_context;

private:
    void Remplir();

    bool m_modalities;
    CProfil m_profile;
    CUtilArbre m_icons;
    QTreeWidget* m_tree;
    QPushButton* m_select;
};
