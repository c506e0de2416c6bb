#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;

// "Options tableaux": the persistent table options. How many lines and columns of a table go on
// one page of the Word export, in portrait and in landscape; whether the Total comes first in
// tables; whether profile requests break on columns first; and two options of the spreadsheet
// export. The dialog opens on the stored values; OK checks the four counts against their limits
// (a count outside them is refused with the limits named, and the dialog stays open on it), then
// stores the eight values; Cancel stores nothing.
class COptionsTableauxDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogResource = 284;

    // The controls, by their resource ids.
    static constexpr int kLignesPortrait = 1005;
    static constexpr int kLignesPaysage = 1006;
    static constexpr int kColonnesPortrait = 1007;
    static constexpr int kColonnesPaysage = 1008;
    static constexpr int kTotalEnDebut = 1199;
    static constexpr int kRuptureColonnesDabord = 1200;
    static constexpr int kUnTableauParFeuille = 1201;
    static constexpr int kExportationAcceleree = 1202;

    explicit COptionsTableauxDlg(QWidget* parent = nullptr);

    // The edit of a count, the check box of an option; null for another id.
    QLineEdit* GetEdit(int id) const;
    QCheckBox* GetCheckBox(int id) const;

    // Checks the counts in order; the first one that is not a whole number within its limits is
    // refused with a message, and gets the focus. Otherwise stores the values and closes.
    void accept() override;

private:
    struct CountControl {
        int id;
        QLineEdit* edit;
    };
    struct OptionControl {
        int id;
        QCheckBox* box;
    };

    void BuildControls();
    void LoadValues();
    // The count of the edit, or a refusal shown to the user; false when refused.
    bool ReadCount(std::size_t index, int& value);

    std::array<CountControl, 4> m_counts{};
    std::array<OptionControl, 4> m_options{};
};
