#pragma once

#include "framework/UtilArbre.h"

class CContexteEtude;
class CProfil;
class CQuestionEtendue;
class QTreeWidget;
class QTreeWidgetItem;

// The trees of the profile dialogs whose lines are questions without modalities: every item is a
// root item whose data is the question's index in the survey (-1 a separator line), showing the
// question's caption and icon. Moving an item re-creates it in the target tree: in the
// questionnaire tree (or in every tree, when the dialog keeps its profile in questionnaire order)
// before the first item whose index is not smaller, elsewhere at the end.
class QuestionTreeMoves {
public:
    static constexpr int kSeparator = -1;

    QuestionTreeMoves(CContexteEtude& context, const QTreeWidget& questionnaire, bool orderedEverywhere = false);

    // A root item of that data at the position (-1 or beyond the end: at the end).
    QTreeWidgetItem* NewItem(QTreeWidget& tree, int position, int itemData) const;
    CQuestionEtendue* QuestionOf(const QTreeWidgetItem& item) const;
    static int DataOf(const QTreeWidgetItem& item);
    // The position that keeps the questionnaire's order for an item of that data.
    static int OrderedPosition(const QTreeWidget& tree, int itemData);
    // The root item of the tree for the question, or null.
    QTreeWidgetItem* ItemOf(const QTreeWidget& tree, const CQuestionEtendue* question) const;

    // The item moved into the target tree (the source item is deleted); answers the new one,
    // made the target's current item when `show`.
    QTreeWidgetItem* Move(QTreeWidgetItem* item, QTreeWidget& target, bool show) const;
    // The source's current item moved, shown; false (after a beep) when there is none.
    bool MoveCurrent(QTreeWidget& source, QTreeWidget& target) const;
    // Every root item of the source, in order, not shown.
    void MoveAll(QTreeWidget& source, QTreeWidget& target) const;
    // The current line one place up or down, re-created there and made current; false (after a
    // beep) with no current line or at the end it would leave.
    QTreeWidgetItem* MoveLine(QTreeWidget& tree, bool up) const;
    // One question line per root item of the tree, in order, appended to the profile; separator
    // lines too when asked. Answers whether a question line was added.
    bool Build(const QTreeWidget& tree, CProfil& profile, bool withSeparators = false) const;

private:
    CContexteEtude& m_context;
    const QTreeWidget& m_questionnaire;
    bool m_orderedEverywhere;
    CUtilArbre m_icons;
};
