// The list of the open windows at the end of the window menu: numbered in the order the windows
// opened, the active one checked, following the windows that open, close, change their title and
// are minimised; "Autres fenêtres..." beyond nine.
#include "FrameworkFixture.h"
#include "framework/MoreWindowsDialog.h"
#include "framework/WindowListMenu.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <gtest/gtest.h>

namespace frameworktest {
namespace {

class WindowListMenuTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        m_menu = new QMenu(QStringLiteral("Fenêtre"), m_mainFrame);
        m_menu->addAction(QStringLiteral("Cascade"));
        m_menu->addAction(QStringLiteral("Mosaïque"));
        m_mainFrame->SetWindowMenu(*m_menu);
    }

    // The documents "1.qes", "2.qes"... in their windows, opened in that order.
    std::vector<TestDocument*> OpenNumbered(int count) {
        std::vector<TestDocument*> documents;
        for (int i = 1; i <= count; ++i)
            documents.push_back(OpenPath("/tmp/" + std::to_string(i) + ".qes"));
        QApplication::processEvents();
        return documents;
    }

    // The menu as it is about to show: its items after its own two, a mark before the checked
    // ones ("*"), "-" for a separator.
    std::vector<std::string> ShownItems() const {
        emit m_menu->aboutToShow();
        std::vector<std::string> items;
        const QList<QAction*> actions = m_menu->actions();
        for (qsizetype i = 2; i < actions.size(); ++i) {
            const QAction* action = actions[i];
            if (action->isSeparator())
                items.push_back("-");
            else
                items.push_back((action->isChecked() ? "*" : "") + action->text().toStdString());
        }
        return items;
    }

    // The item of the list whose text is `text`, as the menu shows it now.
    QAction* Item(const std::string& text) const {
        emit m_menu->aboutToShow();
        for (QAction* action : m_menu->actions())
            if (action->text().toStdString() == text)
                return action;
        ADD_FAILURE() << "no item " << text;
        return nullptr;
    }

    QMenu* m_menu = nullptr;
};

TEST_F(WindowListMenuTest, TheOpenWindowsAreNumberedInTheirOrderTheActiveOneChecked) {
    EXPECT_EQ(ShownItems(), std::vector<std::string>{});
    OpenNumbered(3);
    EXPECT_EQ(ShownItems(), (std::vector<std::string>{"-", "&1 1.qes", "&2 2.qes", "*&3 3.qes"}));
    for (const QAction* item : m_menu->actions().mid(3))
        EXPECT_TRUE(item->isCheckable());
}

TEST_F(WindowListMenuTest, ChoosingAnItemActivatesItsWindow) {
    const std::vector<TestDocument*> documents = OpenNumbered(3);
    QAction* second = Item("&2 2.qes");
    ASSERT_NE(second, nullptr);
    second->trigger();
    EXPECT_EQ(m_mainFrame->MDIGetActive(), &FrameOf(*documents[1]));
    EXPECT_EQ(ShownItems(), (std::vector<std::string>{"-", "&1 1.qes", "*&2 2.qes", "&3 3.qes"}));
}

TEST_F(WindowListMenuTest, AMinimisedWindowChosenComesBackAndIsActive) {
    const std::vector<TestDocument*> documents = OpenNumbered(3);
    CMDIChildWnd& first = FrameOf(*documents[0]);
    first.showMinimized();
    m_mainFrame->GetMdiArea().setActiveSubWindow(&FrameOf(*documents[2]));
    Item("&1 1.qes")->trigger();
    EXPECT_FALSE(first.isMinimized());
    EXPECT_EQ(m_mainFrame->MDIGetActive(), &first);
}

// The list is made as the menu shows: a closed window is gone and the others renumbered, a new
// title shows, an "&" of a title is no mnemonic.
TEST_F(WindowListMenuTest, TheListFollowsWindowsClosedAndRenamed) {
    const std::vector<TestDocument*> documents = OpenNumbered(3);
    FrameOf(*documents[1]).close();
    ProcessDeferredDeletes();
    FrameOf(*documents[2]).setWindowTitle(QStringLiteral("R&D"));
    EXPECT_EQ(ShownItems(), (std::vector<std::string>{"-", "&1 1.qes", "*&2 R&&D"}));
    FrameOf(*documents[0]).close();
    FrameOf(*documents[2]).close();
    ProcessDeferredDeletes();
    EXPECT_EQ(ShownItems(), std::vector<std::string>{});
}

TEST_F(WindowListMenuTest, BeyondNineWindowsTheOthersAreChosenInADialog) {
    const std::vector<TestDocument*> documents = OpenNumbered(11);
    std::vector<std::string> expected{"-"};
    for (int i = 1; i < WindowListMenu::kNumberedWindows; ++i)
        expected.push_back("&" + std::to_string(i) + " " + std::to_string(i) + ".qes");
    // The active window, the last opened, in the ninth place.
    expected.push_back("*&9 11.qes");
    expected.push_back(WindowListMenu::kMoreWindowsText);
    EXPECT_EQ(ShownItems(), expected);

    QStringList offered;
    int startRow = -1;
    ModalAnswers answers({[&](QDialog& shown) {
        auto* dialog = qobject_cast<MoreWindowsDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(MoreWindowsDialog::kCaption));
        for (int row = 0; row < dialog->GetList().count(); ++row)
            offered << dialog->GetList().item(row)->text();
        startRow = dialog->GetList().currentRow();
        dialog->GetList().setCurrentRow(9);
        dialog->accept();
    }});
    Item(WindowListMenu::kMoreWindowsText)->trigger();
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(offered.size(), 11);
    EXPECT_EQ(offered.value(10), QStringLiteral("11.qes"));
    // The active window, the last opened, is the one chosen at the start.
    EXPECT_EQ(startRow, 10);
    EXPECT_EQ(m_mainFrame->MDIGetActive(), &FrameOf(*documents[9]));
    // The active window beyond the ninth shows, checked, in the ninth place.
    expected[9] = "*&9 10.qes";
    EXPECT_EQ(ShownItems(), expected);
    // Among the first nine again, the ninth place is the ninth window's.
    Item("&2 2.qes")->trigger();
    expected[2] = "*&2 2.qes";
    expected[9] = "&9 9.qes";
    EXPECT_EQ(ShownItems(), expected);
}

// A document that names its kind (a chart beside the table of the same title) is listed with
// it, in the menu and in the dialog of all the windows.
TEST_F(WindowListMenuTest, AWindowIsListedAfterItsDocumentsKind) {
    std::vector<TestDocument*> documents = OpenNumbered(10);
    documents[1]->listKind = QStringLiteral("Graphique");
    EXPECT_EQ(ShownItems().at(2), "&2 Graphique : 2.qes");
    EXPECT_EQ(WindowListMenu::ListedTitle(FrameOf(*documents[0])), QStringLiteral("1.qes"));
    QStringList offered;
    ModalAnswers answers({[&offered](QDialog& shown) {
        auto* dialog = qobject_cast<MoreWindowsDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        for (int row = 0; row < dialog->GetList().count(); ++row)
            offered << dialog->GetList().item(row)->text();
        dialog->reject();
    }});
    Item(WindowListMenu::kMoreWindowsText)->trigger();
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(offered.value(0), QStringLiteral("1.qes"));
    EXPECT_EQ(offered.value(1), QStringLiteral("Graphique : 2.qes"));
}

TEST_F(WindowListMenuTest, CancellingTheDialogChangesNothing) {
    const std::vector<TestDocument*> documents = OpenNumbered(10);
    ModalAnswers answers({[](QDialog& shown) {
        auto* dialog = qobject_cast<MoreWindowsDialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        dialog->GetList().setCurrentRow(0);
        dialog->reject();
    }});
    Item(WindowListMenu::kMoreWindowsText)->trigger();
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(m_mainFrame->MDIGetActive(), &FrameOf(*documents[9]));
}

} // namespace
} // namespace frameworktest
