#include "framework/MultiTree.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QStringList>
#include <QStyle>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// The tree every case starts from, all expanded, nothing selected and no caret:
//   A (A1, A2), B (B1), C, D
class MultiTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tree.resize(300, 400);
        m_tree.show();
        Build();
    }

    void Build() {
        m_tree.clear();
        m_items.clear();
        QTreeWidgetItem* a = Add("A");
        Add("A1", a);
        Add("A2", a);
        QTreeWidgetItem* b = Add("B");
        Add("B1", b);
        Add("C");
        Add("D");
        m_tree.expandAll();
        m_tree.setCurrentItem(nullptr);
    }

    QTreeWidgetItem* Add(const char* name, QTreeWidgetItem* parent = nullptr) {
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&m_tree);
        item->setText(0, name);
        m_items[name] = item;
        return item;
    }

    QTreeWidgetItem* Item(const std::string& name) { return m_items.at(name); }

    // A point on the item's label.
    QPoint OnLabel(const std::string& name) {
        const QRect rect = m_tree.visualItemRect(Item(name));
        return {rect.left() + 4, rect.center().y()};
    }
    QPoint OnButton(const std::string& name) {
        const QRect rect = m_tree.visualItemRect(Item(name));
        return {rect.left() - m_tree.indentation() / 2, rect.center().y()};
    }
    // Empty space below the last item.
    QPoint BelowTheItems() {
        const QRect last = m_tree.visualItemRect(Item("D"));
        return {150, last.bottom() + 40};
    }

    void Mouse(QEvent::Type type, const QPoint& point, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers) {
        QWidget* viewport = m_tree.viewport();
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, point, viewport->mapToGlobal(point),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(viewport, &event);
    }
    void Click(const QPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
        Mouse(QEvent::MouseButtonPress, point, button, modifiers);
        Mouse(QEvent::MouseButtonRelease, point, button, modifiers);
    }
    void Drag(const QPoint& from, const QPoint& to, Qt::KeyboardModifiers modifiers) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, modifiers);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton, modifiers);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, modifiers);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&m_tree, &event);
    }

    // One step of a case: "[ctrl+][shift+]action [item]" where the action is click, right,
    // band (from empty space up to the item), drag (an item a little to the side), fold (a click
    // on the item's button), empty (a click on empty space), Up or Down.
    void Run(const std::string& step) {
        const QString text = QString::fromStdString(step).trimmed();
        const QStringList words = text.split(' ');
        QStringList parts = words.front().split('+');
        const QString action = parts.takeLast();
        Qt::KeyboardModifiers modifiers;
        for (const QString& part : parts)
            modifiers |= part == "ctrl" ? Qt::ControlModifier : Qt::ShiftModifier;
        const std::string item = words.size() > 1 ? words.at(1).toStdString() : std::string();
        if (action == "click")
            Click(OnLabel(item), Qt::LeftButton, modifiers);
        else if (action == "right")
            Click(OnLabel(item), Qt::RightButton, modifiers);
        else if (action == "band")
            Drag(BelowTheItems(), OnLabel(item) + QPoint(60, 0), modifiers);
        else if (action == "drag")
            Drag(OnLabel(item), OnLabel(item) + QPoint(0, 30), modifiers);
        else if (action == "fold")
            Click(OnButton(item), Qt::LeftButton, modifiers);
        else if (action == "empty")
            Click(BelowTheItems(), Qt::LeftButton, modifiers);
        else if (action == "Up" || action == "Down")
            Key(action == "Up" ? Qt::Key_Up : Qt::Key_Down, modifiers);
        else
            ADD_FAILURE() << "unknown step " << step;
    }

    // The selected items by name in display order, whether visible or not.
    std::string Selected() const {
        std::string names;
        for (QTreeWidgetItemIterator it(const_cast<CMultiTree*>(&m_tree)); *it != nullptr; ++it) {
            if ((*it)->isSelected())
                names += (names.empty() ? "" : " ") + (*it)->text(0).toStdString();
        }
        return names;
    }
    std::string Caret() const {
        return m_tree.currentItem() != nullptr ? m_tree.currentItem()->text(0).toStdString() : "-";
    }

    CMultiTree m_tree;
    std::map<std::string, QTreeWidgetItem*> m_items;
};

TEST_F(MultiTreeTest, TheMouseAndTheArrowsSelectAsInAFileList) {
    struct Case {
        const char* what;
        std::vector<const char*> steps;
        const char* selected;
        const char* caret; // "-": none
    };
    const Case cases[] = {
        {"a click selects the item alone", {"click A", "click B"}, "B", "B"},
        {"ctrl+click adds an item", {"click A", "ctrl+click C"}, "A C", "C"},
        {"ctrl+click on a selected item deselects it, the caret stays on it",
         {"click A", "ctrl+click C", "ctrl+click A"},
         "C",
         "A"},
        {"shift+click selects from the anchor to the item",
         {"click A1", "shift+click B1"},
         "A1 A2 B B1",
         "B1"},
        {"a second shift+click keeps the anchor",
         {"click A1", "shift+click B1", "shift+click A"},
         "A A1",
         "A"},
        {"shift+click with no anchor starts at the caret",
         {"click A", "ctrl+click A2", "shift+click B1"},
         "A2 B B1",
         "B1"},
        {"ctrl+shift+click adds the range",
         {"click D", "ctrl+click A1", "ctrl+shift+click B"},
         "A1 A2 B D",
         "B"},
        {"a click on a selected item keeps the others until the button comes up",
         {"click A", "ctrl+click C", "click C"},
         "C",
         "C"},
        {"down moves a single selection", {"click A", "Down", "Down"}, "A2", "A2"},
        {"shift+down extends from the anchor", {"click B", "shift+Down", "shift+Down"}, "B B1 C", "C"},
        {"shift+up shrinks towards the anchor",
         {"click B", "shift+Down", "shift+Down", "shift+Up"},
         "B B1",
         "B1"},
        {"shift+up crosses the anchor", {"click B", "shift+Up", "shift+Up"}, "A1 A2 B", "A1"},
        {"ctrl+down moves the caret alone", {"click A", "ctrl+Down", "ctrl+Down"}, "A", "A2"},
        {"up at the first item changes nothing", {"click A", "Up"}, "A", "A"},
        {"a right click on an unselected item selects it alone",
         {"click A", "ctrl+click B", "right C"},
         "C",
         "C"},
        {"a right click on a selected item keeps the selection",
         {"click A", "ctrl+click B", "right A"},
         "A B",
         "A"},
        {"ctrl+right click sets the anchor", {"click A", "ctrl+right C", "shift+click D"}, "C D", "D"},
        {"a band selects the items it meets", {"click A", "band C"}, "C D", "A"},
        {"ctrl+band toggles what it meets", {"click C", "ctrl+click A", "ctrl+band C"}, "A D", "A"},
        {"shift+band adds what it meets", {"click A", "shift+band C"}, "A C D", "A"},
        {"a press on empty space deselects everything", {"click A", "ctrl+click B", "empty"}, "", "B"},
        {"ctrl+press on empty space keeps the selection", {"click A", "ctrl+empty"}, "A", "A"},
        {"folding deselects below and drops a caret hidden under an unselected item",
         {"click B", "ctrl+click A1", "fold A"},
         "B",
         "-"},
        {"folding a selected item takes the caret from below",
         {"click A", "ctrl+click A1", "fold A"},
         "A",
         "A"},
        {"a ctrl+dragged item becomes a selected caret", {"click A", "ctrl+drag C"}, "A C", "C"},
        {"dragging a selected item keeps the selection", {"click A", "ctrl+click C", "drag A"}, "A C", "A"},
        {"dragging an unselected item selects it alone", {"click A", "drag C"}, "C", "C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Build();
        for (const char* step : c.steps)
            Run(step);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(Caret(), c.caret);
    }
}

TEST_F(MultiTreeTest, TheFirstAndNextSelectedItemsSkipFoldedBranches) {
    Item("A")->setExpanded(false);
    m_tree.SetItemState(Item("A1"), CMultiTree::kSelected, CMultiTree::kSelected);
    m_tree.SetItemState(Item("C"), CMultiTree::kSelected, CMultiTree::kSelected);
    m_tree.SetItemState(Item("D"), CMultiTree::kSelected, CMultiTree::kSelected);

    EXPECT_EQ(m_tree.GetFirstSelectedItem(), Item("C"));
    EXPECT_EQ(m_tree.GetNextSelectedItem(Item("C")), Item("D"));
    EXPECT_EQ(m_tree.GetNextSelectedItem(Item("D")), nullptr);

    // Selecting all reaches only what is shown.
    m_tree.SelectAll(true);
    EXPECT_EQ(Selected(), "A A1 B B1 C D");
    m_tree.SelectAll(false);
    EXPECT_EQ(Selected(), "A1");
}

TEST_F(MultiTreeTest, TheCaretIsApartFromTheSelection) {
    EXPECT_TRUE(m_tree.SetItemState(Item("B"), CMultiTree::kFocused, CMultiTree::kFocused));
    EXPECT_EQ(Caret(), "B");
    EXPECT_EQ(Selected(), "");
    EXPECT_EQ(m_tree.GetItemState(Item("B"), CMultiTree::kFocused | CMultiTree::kSelected),
              CMultiTree::kFocused);

    m_tree.SetItemState(Item("C"), CMultiTree::kFocused | CMultiTree::kSelected,
                        CMultiTree::kFocused | CMultiTree::kSelected);
    m_tree.SetItemState(Item("B"), CMultiTree::kFocused | CMultiTree::kSelected,
                        CMultiTree::kFocused | CMultiTree::kSelected);
    EXPECT_EQ(Selected(), "B C");
    EXPECT_EQ(m_tree.GetItemState(Item("C"), CMultiTree::kFocused | CMultiTree::kSelected),
              CMultiTree::kSelected);

    // Taking the caret away keeps the item's selection.
    m_tree.SetItemState(Item("B"), 0, CMultiTree::kFocused);
    EXPECT_EQ(Caret(), "-");
    EXPECT_EQ(Selected(), "B C");

    EXPECT_TRUE(m_tree.SelectItem(Item("D")));
    EXPECT_EQ(Selected(), "D");
    EXPECT_EQ(Caret(), "D");
    EXPECT_FALSE(m_tree.SetItemState(nullptr, CMultiTree::kSelected, CMultiTree::kSelected));
}

TEST_F(MultiTreeTest, AVetoKeepsTheItemAsItWas) {
    std::vector<std::string> changes;
    QObject::connect(&m_tree, &CMultiTree::SelectionChanged, [&](QTreeWidgetItem* item, bool selected) {
        changes.push_back((selected ? "+" : "-") + item->text(0).toStdString());
    });
    m_tree.SetSelectionVeto(
        [](QTreeWidgetItem& item, bool selecting) { return selecting && item.text(0) == "B"; });

    EXPECT_FALSE(m_tree.SetItemState(Item("B"), CMultiTree::kSelected, CMultiTree::kSelected));
    Run("click A");
    Run("ctrl+click B");
    Run("ctrl+click C");
    EXPECT_EQ(Selected(), "A C");
    EXPECT_EQ(changes, (std::vector<std::string>{"+A", "+C"}));

    // Deselections are asked too.
    m_tree.SetSelectionVeto(
        [](QTreeWidgetItem& item, bool selecting) { return !selecting && item.text(0) == "A"; });
    Run("click D");
    EXPECT_EQ(Selected(), "A D");
}

// A label with an icon (the trees of the profile dialogs) takes a click up to the end of its
// text, as long as a text of the items: the icon pushes the text to the right by its own width.
TEST_F(MultiTreeTest, AClickOnTheEndOfALabelWithAnIconSelectsItsItem) {
    QPixmap square(16, 16);
    square.fill(Qt::darkGreen);
    QTreeWidgetItem* item = Add("Connaissance de la marque");
    item->setIcon(0, QIcon(square));
    const QRect rect = m_tree.visualItemRect(item);
    const int iconWidth = m_tree.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &m_tree);
    const int textEnd = rect.left() + iconWidth + m_tree.fontMetrics().horizontalAdvance(item->text(0));
    Click({textEnd - 2, rect.center().y()}, Qt::LeftButton, {});
    EXPECT_EQ(Selected(), "Connaissance de la marque");
    EXPECT_EQ(Caret(), "Connaissance de la marque");
}

TEST_F(MultiTreeTest, ClicksReachTheOwner) {
    std::vector<std::string> clicks;
    auto name = [](QTreeWidgetItem* item) { return item != nullptr ? item->text(0).toStdString() : "-"; };
    QObject::connect(&m_tree, &CMultiTree::Clicked,
                     [&](QTreeWidgetItem* item) { clicks.push_back(name(item)); });
    QObject::connect(&m_tree, &CMultiTree::RightClicked,
                     [&](QTreeWidgetItem* item) { clicks.push_back("right " + name(item)); });
    std::vector<std::string> doubleClicks;
    QObject::connect(&m_tree, &QTreeWidget::itemDoubleClicked,
                     [&](QTreeWidgetItem* item, int) { doubleClicks.push_back(name(item)); });

    Run("click A");
    Run("right B");
    Run("empty");
    Mouse(QEvent::MouseButtonDblClick, OnLabel("C"), Qt::LeftButton, Qt::NoModifier);

    EXPECT_EQ(clicks, (std::vector<std::string>{"A", "right B", "-"}));
    EXPECT_EQ(doubleClicks, std::vector<std::string>{"C"});
}

TEST_F(MultiTreeTest, DraggingIsAnnouncedOnlyWhenEnabled) {
    int drags = 0;
    QObject::connect(&m_tree, &CMultiTree::DragBegun, [&](QTreeWidgetItem*, QPoint) { ++drags; });
    Run("drag C");
    EXPECT_EQ(drags, 0);
    m_tree.setDragEnabled(true);
    Run("drag D");
    EXPECT_EQ(drags, 1);
}

TEST_F(MultiTreeTest, SingleSelectionKeepsOnlyTheCaret) {
    Run("click A");
    Run("ctrl+click B");
    Run("ctrl+click C");
    EXPECT_TRUE(m_tree.SetMultiSelect(false));
    EXPECT_EQ(Selected(), "C");
    EXPECT_FALSE(m_tree.SetMultiSelect(false));

    // A plain tree: the caret is the selection.
    Run("ctrl+click D");
    Run("click B");
    EXPECT_EQ(Selected(), "B");
    EXPECT_EQ(Caret(), "B");

    // Off with an unselected caret leaves nothing selected.
    EXPECT_FALSE(m_tree.SetMultiSelect(true));
    Run("ctrl+click B");
    m_tree.SetMultiSelect(false);
    EXPECT_EQ(Selected(), "");
}

} // namespace
