#pragma once

#include <QIcon>
#include <vector>

class CQuestionEtendue;
class QTreeWidget;
class QTreeWidgetItem;

// What the program's question trees share: the question icons and the choice of a question's
// icon. An owner holds one CUtilArbre per tree for its icons; the rest is class-level.
//
// Icons by index: 0 chapter, 1 numeric, 2 discrete numeric (and a closed question offering the
// non-response), 3 numeric with intervals, 4 ranking, 5 open, 6 derived closed question, 7 closed,
// 8 an item that may not be chosen, 9 the "none" item, 10 a group, 18 date; 11 to 15, 17 and 19
// are 1 to 5, 7 and 18 for a question outside the current level, drawn faded; 16 and 20 spare.
class CUtilArbre {
public:
    static constexpr int kImageCount = 21;
    static constexpr int kImageSize = 16;

    CUtilArbre();

    // The icon of an index; an index out of range gives an empty icon.
    const QIcon& GetImage(int index) const;

    // The icon index of a question, from its kind and type and, for a question (kind 1), whether
    // it can be used at the study context's current level (inside it when there is no context).
    static int GetImageQuestion(const CQuestionEtendue& question);

    // Expands the item and all its descendants; from no item, every root item's subtree.
    static void DeplierTout(QTreeWidget& tree, QTreeWidgetItem* item);

private:
    std::vector<QIcon> m_images;
};
