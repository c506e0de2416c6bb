#pragma once

#include "app/ChampCondition.h"
#include "framework/UtilArbre.h"

#include <QDialog>

class CConditionModaliteDlg;
class CConditionNumeriqueDlg;
class CContexteEtude;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

// "Définition d'une condition": the survey's questions as a tree (after a first item "Aucune"),
// and beside it the page of the question chosen: a closed question's modalities and kinds, or a
// free numeric question's kinds and bounds. Choosing another question keeps the kind, the
// modalities and the bounds; an item that is neither leaves the condition without a question.
// The dialog edits its own copy of the condition, which the caller takes after OK.
class CDefinitionConditionDlg : public QDialog {
    Q_OBJECT

public:
    enum { IDD = 173 };
    // The item data of "Aucune"; an item of a question holds its index in the survey.
    static constexpr int kAucune = -1;
    static constexpr int kImageAucune = 9;

    CDefinitionConditionDlg(CContexteEtude& context, const CChampCondition& condition,
                            QWidget* parent = nullptr);
    ~CDefinitionConditionDlg() override;

    const CChampCondition& GetCondition() const { return m_condition; }

    QTreeWidget& GetTree() const { return *m_tree; }
    CConditionNumeriqueDlg& PageNumerique() const { return *m_numeric; }
    CConditionModaliteDlg& PageModalite() const { return *m_modality; }
    // The page shown: the numeric page, the modality page, or none (null).
    QWidget* PageAffichee() const;
    // Makes the item of the question (none: "Aucune") the tree's current item, as a click does.
    void SelectionnerQuestion(const CQuestionEtendue* question);

    // With no question, only "Aucune" is accepted; with a numeric question, its bounds must read.
    void accept() override;

private:
    void Remplir();
    void OnSelection();

    CContexteEtude& m_context;
    CChampCondition m_condition;
    CUtilArbre m_icons;
    QTreeWidget* m_tree;
    QStackedWidget* m_pages;
    QWidget* m_none;
    CConditionNumeriqueDlg* m_numeric;
    CConditionModaliteDlg* m_modality;
};
