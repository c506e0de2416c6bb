#pragma once

#include <QWidget>
#include <array>

class CPresentationTableau;
class QCheckBox;

// The title page of the table presentation dialog: where the title lines stand and which of them
// a table shows. Every change is written into the working presentation at once and Modifie tells
// the dialog.
class CPageTitreDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDialogResource = 165;
    // The check boxes, by their resource ids.
    static constexpr int kAuDessus = 1033;
    static constexpr int kBase = 1016;
    static constexpr int kChamp = 1017;
    static constexpr int kRedressement = 1018;
    static constexpr int kNiveau = 1019;

    // `presentation` is the dialog's working one, which outlives the page.
    CPageTitreDlg(CPresentationTableau& presentation, QWidget* parent = nullptr);

    // Shows the presentation's values again, once the dialog replaced it.
    void Afficher();

    // Null for another id.
    QCheckBox* GetCheckBox(int id) const;

signals:
    void Modifie();

private:
    void OnFlag(std::size_t index, bool checked);

    static constexpr std::size_t kFlagCount = 5;

    CPresentationTableau& m_presentation;
    std::array<QCheckBox*, kFlagCount> m_flags{};
    bool m_loading = false;
};
