#pragma once

#include "app/ChampCondition.h"
#include "app/IdName.h"

#include "gui/recodes/StoredEntryDialog.h"

#include <array>
#include <cstdint>
#include <string>

class CChampEtude;
class CContexteEtude;
class CEmplacementConditionDlg;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// "Champ d'étude": chooses a study field and edits, creates, deletes and copies study fields.
// The combo lists the survey's fields (first "Toutes les interviews", which cannot be changed);
// the field shown is edited in a working copy: its name, description, four condition slots and
// the three ET/OU connectors (between conditions 1 and 2, between the two pairs, between
// conditions 3 and 4). A field given by a formula shows its formula, which the dialog keeps as it
// is. Changes are saved on demand: leaving a changed field (another entry, "No&uveau", OK) asks
// whether to save them.
//
// After OK the field shown is the one chosen (DonnerChampChoisi); with "Définir &par défaut" it
// also becomes the study's default field.
class CChampEtudeDlg : public StoredEntryDialog {
    Q_OBJECT

public:
    enum { IDD = 171 };
    // The connectors in the order of their radio pairs from the top of the dialog: between
    // conditions 1 and 2, between the two pairs, between conditions 3 and 4.
    static constexpr std::array<int, 3> kConnecteurDePaire{0, 2, 1};

    // Shows the field of the id, or the first entry when the id names none.
    CChampEtudeDlg(CContexteEtude& context, std::int32_t initialId, QWidget* parent = nullptr);
    ~CChampEtudeDlg() override;

    // The field chosen when the dialog closed with OK: its id and name.
    const CIdName& DonnerChampChoisi() const { return m_chosen; }

    // Saves the field shown; false (after telling the user) for a name another entry has, or a
    // record that cannot be written.
    bool Enregistrer() override;

    void accept() override;

    QComboBox& NameCombo() const { return *m_names; }
    QLineEdit& DescriptionEdit() const { return *m_description; }
    QPlainTextEdit& FormuleEdit() const { return *m_formula; }
    CEmplacementConditionDlg& Emplacement(int slot) const {
        return *m_slots.at(static_cast<std::size_t>(slot));
    }
    // The ET (true) or OU (false) radio of pair 0 to 2, from the top.
    QRadioButton& ConnecteurButton(int pair, bool et) const;
    QCheckBox& DefautBox() const { return *m_default; }
    QPushButton& NouveauButton() const { return *m_new; }
    QPushButton& SupprimerButton() const { return *m_delete; }
    QPushButton& CopierBoucleButton() const { return *m_copyLoop; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

private:
    void Remplir(std::int32_t initialId);
    void Charger() override;
    bool Effacer(std::int32_t id, std::string& error) override;
    std::string NomAffiche() const override { return m_name; }
    void ShowWorkingCopy();
    void EnableEditing(bool editable);
    CChampEtude WorkingField() const;

    void OnNouveau();
    void OnCopierBoucle();

    // The working copy of the field shown.
    std::string m_name;
    std::array<CChampCondition, 4> m_conditions;
    std::array<std::int16_t, 3> m_connectors{1, 1, 1};
    std::string m_complexText;
    CIdName m_chosen{-1, {}};

    QLineEdit* m_description;
    QLabel* m_formulaLabel;
    QPlainTextEdit* m_formula;
    std::array<CEmplacementConditionDlg*, 4> m_slots{};
    std::array<QButtonGroup*, 3> m_pairs{};
    QCheckBox* m_default;
    QPushButton* m_new;
    QPushButton* m_delete;
    QPushButton* m_copyLoop;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
