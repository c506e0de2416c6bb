#pragma once

#include <QWidget>
#include <array>

class CComboTrait;
class CPresentationTableau;
class QSpinBox;

// The borders page of the table presentation dialog: width (0 to 4) and line style of the lines
// inside the cells, between the cells and around the table. Every change is written into the
// working presentation at once and Modifie tells the dialog.
class CPageBorduresDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDialogResource = 276;
    static constexpr int kTailleMaximum = 4;
    // The controls, by their resource ids: the width edits with their spins, the style lists.
    static constexpr int kTailleInterieur = 1005;
    static constexpr int kTailleEntre = 1006;
    static constexpr int kTailleContour = 1007;
    static constexpr int kStyleInterieur = 1011;
    static constexpr int kStyleEntre = 1012;
    static constexpr int kStyleContour = 1013;

    // `presentation` is the dialog's working one, which outlives the page.
    CPageBorduresDlg(CPresentationTableau& presentation, QWidget* parent = nullptr);

    // Shows the presentation's values again, once the dialog replaced it.
    void Afficher();

    // Null for another id.
    QSpinBox* GetSizeBox(int id) const;
    CComboTrait* GetStyleBox(int id) const;

signals:
    void Modifie();

private:
    void OnSize(std::size_t row, int size);
    void OnStyle(std::size_t row);

    static constexpr std::size_t kRowCount = 3;

    CPresentationTableau& m_presentation;
    std::array<QSpinBox*, kRowCount> m_sizes{};
    std::array<CComboTrait*, kRowCount> m_styles{};
    // Changes are taken only once the controls show the presentation.
    bool m_loading = false;
};
