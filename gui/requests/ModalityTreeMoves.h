#pragma once

#include "framework/UtilArbre.h"

#include <functional>
#include <memory>
#include <vector>

class CContexteEtude;
class CModaliteEtendue;
class CProfil;
class CQuestionEtendue;
class QTreeWidget;
class QTreeWidgetItem;

// The trees of the profile dialogs whose lines are closed questions with chosen modalities. A
// question is a root item whose data is its index in the survey (-1 a separator line); its
// modalities are its children, whose data is minus the modality's index in the array of copies
// this object owns, filled question by question as their items are first expanded or moved. A
// move re-creates the items in the target tree: back in the questionnaire tree, questions and
// modalities return to their questionnaire places; elsewhere they go at the end.
class ModalityTreeMoves {
public:
    static constexpr int kSeparator = -1;

    // `questionCaptions`: question items show the caption (else the name, the caption as tip);
    // `blankModalities`: the indexes of the array no item uses; `movable`: whether a question can
    // move, in place of which the questions of the same code and recode that can are moved.
    ModalityTreeMoves(CContexteEtude& context, const QTreeWidget& questionnaire, bool questionCaptions,
                      int blankModalities, std::function<bool(const CQuestionEtendue&)> movable);
    ~ModalityTreeMoves();

    static int DataOf(const QTreeWidgetItem& item);
    static bool IsModalityItem(const QTreeWidgetItem& item);
    static QTreeWidgetItem* RootWithData(const QTreeWidget& tree, int itemData);

    // The questionnaire tree: one item per closed question offered, in survey order, its
    // modalities loaded when it is first expanded.
    void FillQuestionnaire(QTreeWidget& questionnaire, const std::function<bool(const CQuestionEtendue&)>& offered);
    QTreeWidgetItem* NewQuestionItem(QTreeWidgetItem& holder, int position, int questionIndex) const;
    QTreeWidgetItem* NewModalityItem(QTreeWidgetItem& holder, int position, int modalityIndex) const;
    // A modality drawn in the options it carries: bold, italic, underlined; shadowed on grey.
    void StyleModalityItem(QTreeWidgetItem& item) const;
    CQuestionEtendue* QuestionOf(const QTreeWidgetItem& item) const;
    CModaliteEtendue* ModalityOf(const QTreeWidgetItem& item) const;
    void LoadModalities(QTreeWidgetItem& questionItem);

    // The question line of the target for that question, made when missing.
    QTreeWidgetItem& TargetQuestion(QTreeWidget& target, int questionData);
    QTreeWidgetItem* PlaceModality(QTreeWidgetItem& targetQuestion, int modalityIndex, bool back);
    // A question line with its modalities (a separator is deleted); answers the target's line,
    // null when nothing of it moved. `moved` keeps the lines moved by one transfer.
    QTreeWidgetItem* MoveQuestion(QTreeWidgetItem* item, QTreeWidget& source, QTreeWidget& target,
                                  std::vector<int>& moved);
    // One modality, its line following it and leaving when it empties; answers the new item,
    // null when it cannot move.
    QTreeWidgetItem* MoveModality(QTreeWidgetItem* item, QTreeWidget& target);
    // A question line or a modality, whichever the item is; answers the new item.
    QTreeWidgetItem* MoveItem(QTreeWidgetItem* item, QTreeWidget& source, QTreeWidget& target);
    // Every line: out of the questionnaire those that can move; back into it every line, the
    // separators deleted.
    void MoveEverything(QTreeWidget& source, QTreeWidget& target);
    // The tree's current line (or modality, among its question's) one place up or down, made
    // again there; null, after a beep, when it cannot move.
    QTreeWidgetItem* MoveLine(QTreeWidget& tree, bool up);

    // The tree's question lines, in order, each with copies of its modalities; separators too
    // when asked. Answers whether a question line was found.
    bool Build(const QTreeWidget& tree, CProfil& profile, bool withSeparators) const;
    // The profile's modalities moved out of the questionnaire tree into the tree, line by line;
    // each takes the profile's modality (all of it when `assign`, else its extension).
    // Separator lines call `separator`.
    void Show(const CProfil& profile, QTreeWidget& tree, bool assign, const std::function<void()>& separator);

private:
    CContexteEtude& m_context;
    const QTreeWidget& m_questionnaire;
    bool m_questionCaptions;
    int m_blankModalities;
    std::function<bool(const CQuestionEtendue&)> m_movable;
    std::vector<std::unique_ptr<CModaliteEtendue>> m_modalities;
    CUtilArbre m_icons;
};
