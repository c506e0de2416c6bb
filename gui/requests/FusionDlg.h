#pragma once

#include "tabulation/TypeFusion.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QRadioButton;

// "Fusion": where the tables of a request go (a new window or the portfolio) and how the
// sub-tables of a multi-question request are merged. The dialog edits its own copy of the merge
// options; after OK the caller takes them (GetTypeFusion). With "Définir comme &paramètres par
// défaut" checked, OK also makes them the user's saved choices for the next requests.
class CFusionDlg : public QDialog {
    Q_OBJECT

public:
    // Radio indexes of the destination.
    enum Destination : int { kNouvelleFenetre = 0, kDossier = 1 };
    // The check boxes, in the order the dialog shows them.
    enum Check : int {
        kLibellesTraitements = 0,
        kTableauParLigne,
        kTableauParColonne,
        kLigneEntreQuestions,
        kParDefaut,
        kCheckCount
    };

    CFusionDlg(const CTypeFusion& mergeOptions, QWidget* parent = nullptr);

    const CTypeFusion& GetTypeFusion() const { return m_mergeOptions; }

    // The destination's radio button (Destination), the merge kind's (CTypeFusion's Type), a check.
    QRadioButton& DestinationButton(int destination) const;
    QRadioButton& MergeKindButton(int kind) const;
    QCheckBox& CheckBox(int check) const;

    void accept() override;

private:
    CTypeFusion m_mergeOptions;
    QButtonGroup* m_destination;
    QButtonGroup* m_mergeKind;
    std::array<QCheckBox*, kCheckCount> m_checks{};
};
