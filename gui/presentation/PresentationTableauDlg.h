#pragma once

#include "presentation/PresentationTableau.h"

#include <QDialog>
#include <array>

class CPageBorduresDlg;
class CPagePoliceDlg;
class CPageTitreDlg;
class CTableauView;
class QCheckBox;
class QComboBox;
class QTabWidget;

// "Présentation des tableaux": edits a table presentation on a working copy, with a preview of
// the sample table drawn in it. The tabs hold the four font pages (questions, rows, columns,
// cells), the title page and the borders page; beside them stand the orientation, the page, the
// digits of counts, percentages and real values, and "%". OK keeps the working copy, and saves
// it as the user's defaults when "&Définir par défaut" is checked; Cancel keeps nothing. The
// caller copies GetPresentation back on OK.
class CPresentationTableauDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogResource = 157;
    // The dialog's own controls, by their resource ids.
    static constexpr int kOrientation = 1011;
    static constexpr int kPage = 1012;
    static constexpr int kEffectifs = 1013;
    static constexpr int kPourcentages = 1014;
    static constexpr int kReels = 1015;
    static constexpr int kPourcent = 1016;
    static constexpr int kApercu = 1029;
    static constexpr int kDefinirParDefaut = 1130;

    // On the user's default presentation.
    explicit CPresentationTableauDlg(QWidget* parent = nullptr);
    CPresentationTableauDlg(const CPresentationTableau& presentation, QWidget* parent = nullptr);
    ~CPresentationTableauDlg() override;

    // Opens the dialog on `presentation`; on OK the presentation takes the edited one and the
    // answer is true. The table window, the requests' general page and the portfolio edit their
    // presentations through it.
    static bool Editer(QWidget* parent, CPresentationTableau& presentation);

    // Copies `presentation` into the working copy and shows it.
    void SetPresentation(const CPresentationTableau& presentation);
    const CPresentationTableau& GetPresentation() const { return m_presentation; }

    // Saves the working copy as the defaults when asked, then closes.
    void accept() override;

    QTabWidget& Tabs() const { return *m_tabs; }
    // The font pages in tab order: questions, rows, columns, cells.
    CPagePoliceDlg& PagePolice(int index) const;
    CPageTitreDlg& PageTitre() const { return *m_pageTitre; }
    CPageBorduresDlg& PageBordures() const { return *m_pageBordures; }
    // One of the five lists beside the tabs; null for another id.
    QComboBox* GetComboBox(int id) const;
    QCheckBox& PourcentBox() const { return *m_pourcent; }
    QCheckBox& DefaultBox() const { return *m_default; }
    CTableauView& Apercu() const { return *m_apercu; }

private:
    void BuildControls();
    void BuildPages();
    // The lists and "%" show the working copy.
    void AfficherControles();
    void OnList(std::size_t index);
    // A font page changed its font: the working copy takes it.
    void OnPolice(std::size_t index);
    void OnPourcent(bool checked);
    // The sample table takes the working copy and is drawn again.
    void RafraichirApercu();

    static constexpr std::size_t kListCount = 5;
    static constexpr std::size_t kFontPageCount = 4;

    CPresentationTableau m_presentation;
    // The fonts the font pages edit, copied into the working copy at each change.
    std::array<CPoliceAna, kFontPageCount> m_polices{};
    QTabWidget* m_tabs = nullptr;
    std::array<CPagePoliceDlg*, kFontPageCount> m_pagesPolice{};
    CPageTitreDlg* m_pageTitre = nullptr;
    CPageBorduresDlg* m_pageBordures = nullptr;
    std::array<QComboBox*, kListCount> m_lists{};
    QCheckBox* m_pourcent = nullptr;
    QCheckBox* m_default = nullptr;
    CTableauView* m_apercu = nullptr;
    bool m_loading = false;
};
