#include "framework/MultiTree.h"
#include "framework/UtilArbre.h"

#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

// Trees written as text: "A(A1 A2) B" is A with the children A1 and A2, then B; a star marks
// the current item. Each item keeps its own name as its data, so that a move that mixed texts
// and data shows.
class TreeText {
public:
    static void Build(QTreeWidget& tree, const std::string& text) {
        tree.clear();
        QTreeWidgetItem* holder = tree.invisibleRootItem();
        QTreeWidgetItem* last = nullptr;
        std::string name;
        auto flush = [&] {
            if (name.empty())
                return;
            last = new QTreeWidgetItem(holder);
            last->setText(0, QString::fromStdString(name));
            last->setData(0, Qt::UserRole, QString::fromStdString(name));
            name.clear();
        };
        for (char c : text) {
            if (c == '*') {
                flush();
                tree.setCurrentItem(last);
            } else if (c == '(') {
                flush();
                holder = last;
            } else if (c == ')') {
                flush();
                last = holder;
                holder = holder->parent() != nullptr ? holder->parent() : tree.invisibleRootItem();
            } else if (c == ' ') {
                flush();
            } else {
                name += c;
            }
        }
        flush();
    }

    static std::string Write(const QTreeWidget& tree) {
        return WriteChildren(tree, *tree.invisibleRootItem());
    }

private:
    static std::string WriteChildren(const QTreeWidget& tree, const QTreeWidgetItem& holder) {
        std::string text;
        for (int i = 0; i < holder.childCount(); ++i) {
            const QTreeWidgetItem& item = *holder.child(i);
            if (i > 0)
                text += ' ';
            text += item.text(0).toStdString();
            if (item.data(0, Qt::UserRole).toString() != item.text(0))
                text += "?";
            if (&item == tree.currentItem())
                text += '*';
            if (item.childCount() > 0)
                text += '(' + WriteChildren(tree, item) + ')';
        }
        return text;
    }
};

using Move = std::function<bool(QTreeWidget&)>;

Move Up(bool allowOut) {
    return [allowOut](QTreeWidget& tree) { return CUtilArbre::MonterItem(tree, allowOut); };
}
Move Down(bool allowOut) {
    return [allowOut](QTreeWidget& tree) { return CUtilArbre::DescendreItem(tree, allowOut); };
}
Move Out() {
    return [](QTreeWidget& tree) { return CUtilArbre::SortirItem(tree); };
}
Move In(int maximumDepth) {
    return [maximumDepth](QTreeWidget& tree) { return CUtilArbre::EntrerItem(tree, maximumDepth); };
}

TEST(UtilArbreMovesTest, AnItemMovesWithItsSubtree) {
    struct Case {
        const char* what;
        const char* before;
        Move move;
        const char* after; // the same tree when nothing moves
    };
    const Case cases[] = {
        {"up: before the previous sibling", "A B(B1) C*(C1)", Up(false), "A C*(C1) B(B1)"},
        {"up: the first child goes last under its parent's previous sibling", "A(A1) B(B1* B2)", Up(false),
         "A(A1 B1*) B(B2)"},
        {"up: the first child of a first child stays without leaving", "A(A1(A11*)) B", Up(false),
         "A(A1(A11*)) B"},
        {"up: leaving, it goes first under its grandparent", "A(A1(A11*)) B", Up(true), "A(A11* A1) B"},
        {"up: a first child at the top goes first at the top", "A(A1*) B", Up(true), "A1* A B"},
        {"up: the first root item stays", "A* B", Up(true), "A* B"},
        {"down: after the next sibling", "A*(A1) B C", Down(false), "B A*(A1) C"},
        {"down: the last child goes first under its parent's next sibling", "A(A1*) B(B1)", Down(false),
         "A B(A1* B1)"},
        {"down: the last child of the last item stays", "A B(B1*)", Down(false), "A B(B1*)"},
        {"down leaving: after the next sibling of the nearest ancestor that has one", "A(A1(A11*)) B(B1) C",
         Down(true), "A(A1) B(B1) A11* C"},
        {"down leaving: nothing after any ancestor", "A B(B1(B11*))", Down(true), "A B(B1(B11*))"},
        {"out: after its parent", "A(A1*(A11) A2) B", Out(), "A(A2) A1*(A11) B"},
        {"out: a root item stays", "A* B", Out(), "A* B"},
        {"in: last under its previous sibling", "A(A1) B*(B1(B11))", In(99), "A(A1 B*(B1(B11)))"},
        {"in: the first sibling stays", "A*(A1) B", In(99), "A*(A1) B"},
        {"in: at the maximum depth it stays", "A(A1 A2*)", In(2), "A(A1 A2*)"},
        {"in: children beyond the maximum depth follow the item in their order", "A(A1) B*(B1(B11) B2)",
         In(2), "A(A1 B* B1 B11 B2)"},
        {"in: grandchildren beyond the maximum depth follow their parent", "A B*(B1(B11(B111)) B2)", In(3),
         "A(B*(B1 B11 B111 B2))"},
        {"no current item: nothing moves", "A B", Up(true), "A B"},
    };
    QTreeWidget tree;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TreeText::Build(tree, c.before);
        const bool moved = c.move(tree);
        EXPECT_EQ(TreeText::Write(tree), c.after);
        EXPECT_EQ(moved, std::string(c.before) != c.after);
    }
}

TEST(UtilArbreMovesTest, TheMovedItemKeepsItsFoldingAndItsDescendantsComeBackFolded) {
    QTreeWidget tree;
    tree.show();
    TreeText::Build(tree, "A B*(B1(B11) B2)");
    CUtilArbre::DeplierTout(tree, nullptr);
    ASSERT_TRUE(CUtilArbre::EntrerItem(tree, 99));
    QTreeWidgetItem* b = tree.currentItem();
    EXPECT_TRUE(b->isExpanded());
    EXPECT_FALSE(b->child(0)->isExpanded());

    b->setExpanded(false);
    ASSERT_TRUE(CUtilArbre::SortirItem(tree));
    EXPECT_FALSE(tree.currentItem()->isExpanded());
}

TEST(UtilArbreMovesTest, InAMultiSelectionTreeTheMovedItemKeepsItsSelection) {
    CMultiTree tree;
    tree.show();
    TreeText::Build(tree, "A B C");
    tree.SelectItem(tree.topLevelItem(2));
    tree.SetItemState(tree.topLevelItem(0), CMultiTree::kSelected, CMultiTree::kSelected);
    ASSERT_TRUE(CUtilArbre::MonterItem(tree, false));
    EXPECT_EQ(TreeText::Write(tree), "A C* B");
    EXPECT_TRUE(tree.topLevelItem(0)->isSelected());
    EXPECT_TRUE(tree.topLevelItem(1)->isSelected());
    EXPECT_FALSE(tree.topLevelItem(2)->isSelected());
}

TEST(UtilArbreMovesTest, DescendantsAndDepthsAreCounted) {
    QTreeWidget tree;
    TreeText::Build(tree, "A(A1(A11 A12) A2) B");
    const QTreeWidgetItem* a = tree.topLevelItem(0);
    EXPECT_EQ(CUtilArbre::CompterDescendants(*a), 4);
    EXPECT_EQ(CUtilArbre::CompterDescendants(*tree.topLevelItem(1)), 0);
    EXPECT_EQ(CUtilArbre::Profondeur(nullptr), 0);
    EXPECT_EQ(CUtilArbre::Profondeur(a), 1);
    EXPECT_EQ(CUtilArbre::Profondeur(a->child(0)->child(1)), 3);
}

} // namespace
