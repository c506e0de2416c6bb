#pragma once

#include "app/IdName.h"
#include "app/Redressement.h"

#include "gui/recodes/StoredEntryDialog.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CContexteEtude;
class CObjectifRedressement;
class CQuestionEtendue;
class CSaisiePoidsDlg;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTreeWidget;
class QTreeWidgetItem;

// "Redressement": chooses a weighting scheme and creates, edits, deletes, copies to the library and
// takes from it. The combo lists the survey's schemes (first "Aucun redressement", which cannot be
// edited); the scheme shown is edited in a working copy: its name, description, interview total,
// initial-weight question and its tree of targets. A split question shows one item per modality,
// under which the targets apply within that modality. The desired values of the item selected are
// typed in eight value rows that scroll over its modalities. Changes are saved on demand: leaving a
// changed scheme (another entry, "No&uveau", OK) asks whether to save them, and a save is one
// transaction of the questionnaire file.
//
// The questions and the library's schemes are chosen in the selection dialogs, given by the caller
// (the dialogs of question selection and of "Sélectionner").
class CRedressementDlg : public StoredEntryDialog {
    Q_OBJECT

public:
    enum { IDD = 176 };
    // The tree's images, which are the modes of the targets the items stand for.
    enum Image { kImageEclatee = 0, kImageModalite = 1, kImageQuestion = 2 };
    static constexpr int kLignesValeurs = 8;
    static constexpr int kPageValeurs = 7;

    struct Selecteurs {
        // A question of the filter (codes of the question-selection dialog), under the title when
        // not empty, with "Aucune" first when asked, preset on `initial`; true on OK, with the
        // question chosen (null for "Aucune").
        std::function<bool(QWidget* parent, std::int16_t filter, const QString& title, bool withNone,
                           CQuestionEtendue* initial, CQuestionEtendue*& chosen)>
            question;
        // One entry of the list; true on OK with its id.
        std::function<bool(QWidget* parent, std::vector<CIdName> items, std::int32_t& chosen)> liste;
    };

    // Shows the scheme of the id, or the first entry when the id names none.
    CRedressementDlg(CContexteEtude& context, std::int32_t initialId, Selecteurs selecteurs,
                     QWidget* parent = nullptr);
    ~CRedressementDlg() override;

    // The scheme chosen when the dialog closed with OK: -1 and "Aucun redressement" for none.
    void DonnerRedressementChoisi(std::int32_t& id, std::string& name) const;
    CIdName RedressementChoisi() const { return m_chosen; }

    // Saves the scheme shown; false (after telling the user) when it is refused or cannot be
    // written.
    bool Enregistrer() override;
    void accept() override;

    QComboBox& NameCombo() const { return *m_names; }
    QLineEdit& DescriptionEdit() const { return *m_description; }
    QLineEdit& TotalEdit() const { return *m_total; }
    QLabel& PoidsInitialLabel() const { return *m_initialWeightName; }
    QPushButton& PoidsInitialButton() const { return *m_initialWeightButton; }
    QTreeWidget& Arbre() const { return *m_tree; }
    CSaisiePoidsDlg& Ligne(int k) const { return *m_rows.at(static_cast<std::size_t>(k)); }
    QScrollBar& Defilement() const { return *m_scroll; }
    QCheckBox& DefautBox() const { return *m_default; }
    QPushButton& EclateeButton() const { return *m_addSplit; }
    QPushButton& QuestionButton() const { return *m_addQuestion; }
    QPushButton& RetirerButton() const { return *m_deleteItem; }
    QPushButton& NouveauButton() const { return *m_new; }
    QPushButton& SupprimerButton() const { return *m_delete; }
    QPushButton& VersBibliothequeButton() const { return *m_toLibrary; }
    QPushButton& DeBibliothequeButton() const { return *m_fromLibrary; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& AnnulerButton() const { return *m_cancel; }

    // The target an item stands for.
    static CObjectifRedressement* Objectif(const QTreeWidgetItem& item);

private:
    void Remplir(std::int32_t initialId);
    void Charger() override;
    bool Effacer(std::int32_t id, std::string& error) override;
    std::string NomAffiche() const override { return m_scheme.name; }
    void Reinitialiser();
    void RemplirArbre();
    void AjouterItems(CObjectifRedressement& target, QTreeWidgetItem* parentItem, CObjectifRedressement* parent);
    void EnableEditing(bool editable);
    bool Editable() const;
    void MontrerPoidsInitial();
    // The target whose value rows are shown (a modality item shows its split question's).
    CObjectifRedressement* ObjectifDesLignes() const;
    void RemplirLignes();
    CQuestionEtendue* ChoisirQuestion(std::int16_t filter, const QString& title, bool withNone,
                                      CQuestionEtendue* initial, bool& confirmed);
    void AjouterObjectif(bool split);
    void EnsureRoot();

    void OnItemSelectionne();
    void OnDefilement(int action);
    void OnValeurModifiee();
    void OnPoidsInitial();
    void OnRetirer();
    void OnNouveau();
    void OnVersBibliotheque();
    void OnDeBibliotheque();

    Selecteurs m_selecteurs;
    CRedressement m_scheme; // the working copy, with its tree of targets
    bool m_editing = false;
    CIdName m_chosen{-1, {}};

    QLineEdit* m_description;
    QLineEdit* m_total;
    QLabel* m_initialWeightName;
    QPushButton* m_initialWeightButton;
    QTreeWidget* m_tree;
    std::array<CSaisiePoidsDlg*, kLignesValeurs> m_rows{};
    QLabel* m_observedHeader;
    QLabel* m_desiredHeader;
    QScrollBar* m_scroll;
    QCheckBox* m_default;
    QPushButton* m_addSplit;
    QPushButton* m_addQuestion;
    QPushButton* m_deleteItem;
    QPushButton* m_new;
    QPushButton* m_delete;
    QPushButton* m_toLibrary;
    QPushButton* m_fromLibrary;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
