#pragma once

#include "app/IdName.h"
#include "tabulation/TypeFusion.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class CContexteEtude;
class CPresentationTableau;
class CTraitement;
class QLabel;
class QLineEdit;
class QPushButton;

// The general page at the top of a request dialog: what every request has whatever its kind. The
// title, the study field and the weighting it is computed with (those in force in the context
// for a new request), the level (the context's current level for a new request), the table
// presentation (the dialog's own, edited in place) and the merge options (taken from the user's
// saved choices; only the page of template 153 has the "&Fusion..." button that edits them).
//
// The presentation dialog belongs to another part of the program: it is installed once
// (InstallChoosers) and a button whose dialog is not installed is disabled. The study field is
// chosen in "Champ d'étude" and the weighting in "Redressement" unless other choosers are
// installed.
class CPageGeneraleDlg : public QWidget {
    Q_OBJECT

public:
    // The two templates of the page: with and without the "&Fusion..." button.
    enum Template : int { kAvecFusion = 153, kSansFusion = 168 };

    // The dialogs the page's buttons open. Each edits its argument in place and answers true when
    // the analyst confirmed; an empty function leaves its button disabled.
    struct Choosers {
        std::function<bool(QWidget* parent, CPresentationTableau& presentation)> presentation;
        std::function<bool(QWidget* parent, CIdName& studyField)> studyField;
        std::function<bool(QWidget* parent, CIdName& weighting)> weighting;
    };
    // Installs the dialogs for the pages made from now on; answers the previous ones.
    static Choosers InstallChoosers(Choosers choosers);
    // The dialogs installed, with "Champ d'étude" for the study field unless another is: those
    // of every page, and of the other dialogs that choose the same things.
    static Choosers ChoosersFor(CContexteEtude& context);

    // `presentation` and `level` are the request dialog's, which outlive the page; the level is
    // set to the context's current level at once.
    CPageGeneraleDlg(CContexteEtude& context, int templateId, CPresentationTableau& presentation,
                     const std::string& title, std::int32_t& level, QWidget* parent = nullptr);
    ~CPageGeneraleDlg() override;

    // Fills the page from a request: title, presentation, merge options, level, study field and
    // weighting.
    void LireTraitement(const CTraitement& request);
    // Writes the same into a request.
    void EcrireTraitement(CTraitement& request) const;

    std::string GetTitre() const;
    const CIdName& GetChampEtude() const { return m_studyField; }
    const CIdName& GetRedressement() const { return m_weighting; }
    const CTypeFusion& GetTypeFusion() const { return m_mergeOptions; }

    QLineEdit& TitleEdit() const { return *m_title; }
    QPushButton& PresentationButton() const { return *m_presentationButton; }
    // Null on the page of template 168.
    QPushButton* FusionButton() const { return m_fusionButton; }
    QPushButton& StudyFieldButton() const { return *m_studyFieldButton; }
    QPushButton& WeightingButton() const { return *m_weightingButton; }

private:
    void OnPresentation();
    void OnFusion();
    void OnStudyField();
    void OnWeighting();
    void ShowNames();

    CPresentationTableau& m_presentation; // the request dialog's
    std::int32_t& m_level;                // the request dialog's
    CTypeFusion m_mergeOptions;
    CIdName m_studyField;
    CIdName m_weighting;
    Choosers m_choosers;
    QLineEdit* m_title;
    QLabel* m_studyFieldName;
    QLabel* m_weightingName;
    QPushButton* m_presentationButton;
    QPushButton* m_fusionButton = nullptr;
    QPushButton* m_studyFieldButton;
    QPushButton* m_weightingButton;
};
