// A subtree taken apart (its texts, data and depths in preorder) and put back elsewhere, as the
// moves of the profile trees and the portfolio rely on.
#include "framework/UtilArbre.h"

#include <QTreeWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Trees written as text: "1(11 12) 2" is item 1 with the children 11 and 12, then item 2. Each
// item's data is its number and its text "t" and the number, so that a text parted from its data
// shows.
void Build(QTreeWidget& tree, const std::string& text) {
    tree.clear();
    QTreeWidgetItem* holder = tree.invisibleRootItem();
    QTreeWidgetItem* last = nullptr;
    std::string number;
    auto flush = [&] {
        if (number.empty())
            return;
        last = new QTreeWidgetItem(holder);
        last->setText(0, QString::fromStdString("t" + number));
        last->setData(0, Qt::UserRole, std::stoi(number));
        number.clear();
    };
    for (char c : text) {
        if (c == '(') {
            flush();
            holder = last;
        } else if (c == ')') {
            flush();
            holder = holder->parent() != nullptr ? holder->parent() : tree.invisibleRootItem();
        } else if (c == ' ') {
            flush();
        } else {
            number += c;
        }
    }
    flush();
}

// An item as text: "N" when its text is "tN", "N!" when its text says otherwise.
std::string Write(const QTreeWidgetItem& holder) {
    std::string text;
    for (int i = 0; i < holder.childCount(); ++i) {
        const QTreeWidgetItem& item = *holder.child(i);
        const std::string number = std::to_string(item.data(0, Qt::UserRole).toInt());
        if (!text.empty())
            text += ' ';
        text += number;
        if (item.text(0).toStdString() != "t" + number)
            text += '!';
        if (item.childCount() > 0)
            text += '(' + Write(item) + ')';
    }
    return text;
}

QTreeWidgetItem* Find(const QTreeWidget& tree, int data) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it != nullptr; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == data)
            return *it;
    return nullptr;
}

void NameByData(QTreeWidgetItem& item) {
    item.setText(0, QStringLiteral("t%1").arg(item.data(0, Qt::UserRole).toInt()));
}

TEST(UtilArbreSubtrees, CollectingTakesTextsDataAndDepthsInPreorder) {
    QTreeWidget tree;
    Build(tree, "1(11 12(121 122)) 2");
    std::vector<QString> texts;
    std::vector<int> data;
    std::vector<int> depths;
    CUtilArbre::CollecterSousArbre(*Find(tree, 1), texts, data, depths);
    EXPECT_EQ(data, (std::vector<int>{1, 11, 12, 121, 122}));
    EXPECT_EQ(depths, (std::vector<int>{0, 1, 1, 2, 2}));
    EXPECT_EQ(texts, (std::vector<QString>{"t1", "t11", "t12", "t121", "t122"}));

    std::vector<int> dataOnly;
    std::vector<int> depthsOnly;
    CUtilArbre::CollecterSousArbreSansTexte(*Find(tree, 12), dataOnly, depthsOnly, 3);
    EXPECT_EQ(dataOnly, (std::vector<int>{12, 121, 122}));
    EXPECT_EQ(depthsOnly, (std::vector<int>{3, 4, 4}));
}

// The subtree 1(11(111) 12) collected, then put back into the tree "5(51 52) 6" at a place and
// under a maximum depth.
TEST(UtilArbreSubtrees, ASubtreeGoesBackAtItsPlaceWithinTheMaximumDepth) {
    struct Case {
        const char* what;
        int parent; // 0: the top level
        int after;  // 0: first
        int maximumDepth;
        const char* expected;
    };
    const Case cases[] = {
        {"first at the top", 0, 0, 99, "1(11(111) 12) 5(51 52) 6"},
        {"after the last item", 0, 6, 99, "5(51 52) 6 1(11(111) 12)"},
        {"between two children", 5, 51, 99, "5(51 1(11(111) 12) 52) 6"},
        // 111 would lie at depth 2: lifted under the top item, after 11.
        {"depth 1 lifts the grandchildren", 0, 5, 1, "5(51 52) 1(11 111 12) 6"},
        // Every entry lifted to the top item's depth follows it: they end in reverse order.
        {"depth 0 lifts everything beside it", 0, 5, 0, "5(51 52) 1 12 111 11 6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTreeWidget source;
        Build(source, "1(11(111) 12)");
        std::vector<QString> texts;
        std::vector<int> data;
        std::vector<int> depths;
        CUtilArbre::CollecterSousArbre(*source.topLevelItem(0), texts, data, depths);

        QTreeWidget tree;
        Build(tree, "5(51 52) 6");
        QTreeWidgetItem* top = CUtilArbre::InsererSousArbre(tree, c.parent != 0 ? Find(tree, c.parent) : nullptr,
                                                            c.after != 0 ? Find(tree, c.after) : nullptr, texts, data,
                                                            depths, c.maximumDepth);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->data(0, Qt::UserRole).toInt(), 1);
        EXPECT_EQ(Write(*tree.invisibleRootItem()), c.expected);

        // Without texts, the owner names the items again.
        QTreeWidget plain;
        Build(plain, "5(51 52) 6");
        std::vector<int> dataOnly;
        std::vector<int> depthsOnly;
        CUtilArbre::CollecterSousArbreSansTexte(*source.topLevelItem(0), dataOnly, depthsOnly);
        int named = 0;
        CUtilArbre::InsererSousArbreSansTexte(plain, c.parent != 0 ? Find(plain, c.parent) : nullptr,
                                              c.after != 0 ? Find(plain, c.after) : nullptr, dataOnly, depthsOnly,
                                              c.maximumDepth, [&named](QTreeWidgetItem& item) {
                                                  NameByData(item);
                                                  ++named;
                                              });
        EXPECT_EQ(Write(*plain.invisibleRootItem()), c.expected);
        EXPECT_EQ(named, 4);
    }
}

TEST(UtilArbreSubtrees, MismatchedListsInsertNothing) {
    QTreeWidget tree;
    Build(tree, "5");
    EXPECT_EQ(CUtilArbre::InsererSousArbre(tree, nullptr, nullptr, {"t1"}, {1, 2}, {0, 1}, 99), nullptr);
    EXPECT_EQ(CUtilArbre::InsererSousArbreSansTexte(tree, nullptr, nullptr, {}, {}, 99, {}), nullptr);
    CUtilArbre::InsererArbre(tree, nullptr, nullptr, {0, 1}, {0}, {});
    EXPECT_EQ(Write(*tree.invisibleRootItem()), "5");
}

// The first entry stands for the parent given; the first one inserted goes after the item given,
// the others last under the item of the depth above them.
TEST(UtilArbreSubtrees, ATreeListGoesUnderTheParentGiven) {
    struct Case {
        const char* what;
        const char* tree;
        int parent;
        int after;
        const char* expected;
    };
    const Case cases[] = {
        {"under an empty parent", "9", 9, 0, "9(5(51) 6)"},
        {"after a child, the rest last", "9(7 8)", 9, 7, "9(7 5(51) 8 6)"},
        {"first under a parent with children", "9(7 8)", 9, 0, "9(5(51) 7 8 6)"},
        {"at the top level", "7 8", 0, 7, "7 5(51) 8 6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTreeWidget tree;
        Build(tree, c.tree);
        CUtilArbre::InsererArbre(tree, c.parent != 0 ? Find(tree, c.parent) : nullptr,
                                 c.after != 0 ? Find(tree, c.after) : nullptr, {0, 5, 51, 6}, {0, 1, 2, 1}, NameByData);
        EXPECT_EQ(Write(*tree.invisibleRootItem()), c.expected);
    }
}

} // namespace
