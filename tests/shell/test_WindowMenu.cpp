// The program's "Fenêtre" menu: the questionnaire tree, the tables and the charts (named as charts)
// listed after Cascade and Mosaïque, and a cascade that leaves no table under the tree.
#include "MorvaneAppTestSupport.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "shell/MainMenus.h"
#include "support/CoveredTitleBars.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

using shell_test::MorvaneAppTest;

class WindowMenuTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }

    QMenu* WindowMenu() const {
        for (QAction* action : Frame().menuBar()->actions())
            if (action->menu() != nullptr && action->text() == QString::fromUtf8(MainMenus::kWindowMenu))
                return action->menu();
        return nullptr;
    }

    // The menu's items as it is about to show, "*" before a checked one.
    std::vector<std::string> ShownItems() const {
        QMenu* menu = WindowMenu();
        EXPECT_NE(menu, nullptr);
        if (menu == nullptr)
            return {};
        emit menu->aboutToShow();
        std::vector<std::string> items;
        for (const QAction* action : menu->actions())
            items.push_back(action->isSeparator() ? "-"
                                                  : (action->isChecked() ? "*" : "") + action->text().toStdString());
        return items;
    }

    // A flat sort of each question, each in its window.
    void OpenTables(const std::vector<std::string>& questions) {
        for (const std::string& question : questions)
            ASSERT_TRUE(CMainFrame::LancerTraitement(Request("type tri-simple\nlignes " + question + "\n")));
        QApplication::processEvents();
    }

    std::string TreeTitle() const {
        return Frame().GetQuestionnaireView()->GetParentFrame()->windowTitle().toStdString();
    }
};

TEST_F(WindowMenuTest, TheWindowMenuListsTheTreeAndTheTables) {
    EXPECT_EQ(ShownItems(), (std::vector<std::string>{"Cascade", "Mosaïque", "-", "*&1 " + TreeTitle()}));
    OpenTables({"SEXE", "REGION", "CSP"});
    EXPECT_EQ(ShownItems(), (std::vector<std::string>{"Cascade", "Mosaïque", "-", "&1 " + TreeTitle(), "&2 Sexe",
                                                      "&3 Région", "*&4 CSP"}));
}

// A table and its chart have one title; the list says which window is the chart.
TEST_F(WindowMenuTest, TheListTellsTheChartFromTheTableOfTheSameTitle) {
    const char* text = "type tri-croise\nlignes REGION\ncolonnes SEXE\ncalculs 0\ntitre Région par sexe\n";
    ASSERT_TRUE(CMainFrame::LancerTraitement(Request(text)));
    std::unique_ptr<CTraitement> chart = Request(text);
    chart->openAsChart = 1;
    ASSERT_TRUE(CMainFrame::LancerTraitement(std::move(chart)));
    QApplication::processEvents();
    ASSERT_EQ(m_app->GetTemplate(TemplateKind::kGraphique).GetDocuments().size(), 1u);
    EXPECT_EQ(m_app->GetTemplate(TemplateKind::kGraphique).GetDocuments().front()->GetTitle(),
              QStringLiteral("Région par sexe"));
    EXPECT_EQ(ShownItems(), (std::vector<std::string>{"Cascade", "Mosaïque", "-", "&1 " + TreeTitle(),
                                                      "&2 Région par sexe", "*&3 Graphique : Région par sexe"}));
}

// The analyst brings the tree in front (he picks each question in it): the cascade still leaves
// every table's title bar in sight, the tree's among them.
TEST_F(WindowMenuTest, CascadeLeavesNoTableUnderTheTree) {
    OpenTables({"SEXE", "TRANCHE", "REGION", "CSP", "SATISF", "MARQUES"});
    CMDIChildWnd* tree = Frame().GetQuestionnaireView()->GetParentFrame();
    emit WindowMenu()->aboutToShow();
    WindowMenu()->actions().at(3)->trigger();
    ASSERT_EQ(Frame().MDIGetActive(), tree);
    ASSERT_FALSE(CoveredTitleBars(Frame().GetMdiArea()).empty());
    for (unsigned command : {FrameworkCommands::kWindowCascade, FrameworkCommands::kWindowTileHorizontally}) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(Run(command));
        EXPECT_EQ(CoveredTitleBars(Frame().GetMdiArea()), std::vector<std::string>{});
        EXPECT_EQ(Frame().MDIGetActive(), tree);
    }
}

} // namespace
