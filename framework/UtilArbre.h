#pragma once

#include <QIcon>
#include <QString>
#include <functional>
#include <vector>

class CQuestionEtendue;
class QTreeWidget;
class QTreeWidgetItem;

// What the program's question trees share: the question icons, the choice of a question's icon
// and the moves of an item with its subtree. An owner holds one CUtilArbre per tree for its icons;
// the rest is class-level.
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

    // The number of items below an item, at every depth; 0 for a leaf.
    static int CompterDescendants(const QTreeWidgetItem& item);
    // The depth of an item, 1 for a root item; 0 for no item.
    static int Profondeur(const QTreeWidgetItem* item);

    // Moves of the tree's current item with its whole subtree. Each answers true when the item
    // moved, false when there is no current item or no place to go. The moved item stays the
    // current item (and selected when it was), keeps its subtree, texts, data and icons, and is
    // expanded when it was; its descendants come back folded.
    //
    // Up: before its previous sibling; a first child goes last under its parent's previous
    // sibling, else, when `allowOut`, first under its grandparent.
    static bool MonterItem(QTreeWidget& tree, bool allowOut);
    // Down, when `allowOut`: after its next sibling, or after the next sibling of its nearest
    // ancestor that has one. Otherwise after its next sibling, or first under its parent's next
    // sibling.
    static bool DescendreItem(QTreeWidget& tree, bool allowOut);
    // Out: after its parent.
    static bool SortirItem(QTreeWidget& tree);
    // In: last under its previous sibling, when it stands above `maximumDepth`. Descendants that
    // would lie deeper than that depth are lifted to it, in their order: those lifted to the
    // item's own depth follow it.
    static bool EntrerItem(QTreeWidget& tree, int maximumDepth);
    // The same for the trees whose items take their text from their owner: there, up and down may
    // always leave the parent.
    static bool MonterItemSansTexte(QTreeWidget& tree) { return MonterItem(tree, true); }
    static bool DescendreItemSansTexte(QTreeWidget& tree) { return DescendreItem(tree, true); }
    static bool SortirItemSansTexte(QTreeWidget& tree) { return SortirItem(tree); }
    static bool EntrerItemSansTexte(QTreeWidget& tree, int maximumDepth) {
        return EntrerItem(tree, maximumDepth);
    }

    // A subtree taken apart and put back elsewhere: each item's text (first column), item data
    // (the integer under Qt::UserRole) and depth below the starting item (0 for it), in preorder.
    // The trees whose items take their text from their owner keep only data and depths, and give
    // each re-created item its text and icon through `decorate`.
    using Decorate = std::function<void(QTreeWidgetItem& item)>;

    // Appends the subtree of `item`, `depth` being the depth given to `item` itself.
    static void CollecterSousArbre(const QTreeWidgetItem& item, std::vector<QString>& texts, std::vector<int>& data,
                                   std::vector<int>& depths, int depth = 0);
    static void CollecterSousArbreSansTexte(const QTreeWidgetItem& item, std::vector<int>& data,
                                            std::vector<int>& depths, int depth = 0);
    // Re-creates a collected subtree under `parent` (the top level when null), after `after` (first
    // when null); answers the new top item. Each further entry goes last under the last re-created
    // item of the depth just above it. An entry deeper than `maximumDepth` (counted from the top
    // item, 0) is lifted to that depth; one lifted to the top item's own depth goes directly after
    // the top item, so that several of them end in reverse order.
    static QTreeWidgetItem* InsererSousArbre(QTreeWidget& tree, QTreeWidgetItem* parent, QTreeWidgetItem* after,
                                             const std::vector<QString>& texts, const std::vector<int>& data,
                                             const std::vector<int>& depths, int maximumDepth);
    static QTreeWidgetItem* InsererSousArbreSansTexte(QTreeWidget& tree, QTreeWidgetItem* parent,
                                                      QTreeWidgetItem* after, const std::vector<int>& data,
                                                      const std::vector<int>& depths, int maximumDepth,
                                                      const Decorate& decorate);
    // Inserts the entries of a collected list from the second one on, the first standing for
    // `parent` itself: each under the last inserted item of the depth just above it (`parent` for
    // depth 1), the first inserted one after `after` (first when null), the others last.
    static void InsererArbre(QTreeWidget& tree, QTreeWidgetItem* parent, QTreeWidgetItem* after,
                             const std::vector<int>& data, const std::vector<int>& depths, const Decorate& decorate);

private:
    std::vector<QIcon> m_images;
};
