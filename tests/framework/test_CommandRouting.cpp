#include "FrameworkFixture.h"
#include "framework/CmdUI.h"
#include "framework/CommandRouter.h"
#include "framework/DocumentSource.h"
#include "framework/FrameworkCommands.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <gtest/gtest.h>

namespace frameworktest {
namespace {

using Log = std::vector<std::string>;

class CommandRoutingTest : public FrameworkTest {
protected:
    CommandRouter& Router() const { return m_mainFrame->GetCommandRouter(); }
    QAction& ActionOf(unsigned id) const { return *Router().GetAction(id); }
};

// With a document window active, the route is its view, the view's document, its child frame, the
// main frame and the application: the first that handles the command is the only one to see it.
TEST_F(CommandRoutingTest, EachCommandRunsInTheFirstTargetOfTheRouteThatHandlesIt) {
    ASSERT_NE(OpenPath("/tmp/etude.qes"), nullptr);
    struct Case {
        unsigned id;
        Log ranBy;
    };
    const Case cases[] = {
        {Commands::kEveryone, {"view etude.qes"}},     {Commands::kFromDocument, {"document etude.qes"}},
        {Commands::kFromChildFrame, {"child frame"}},  {Commands::kFromMainFrame, {"main frame"}},
        {Commands::kApplicationOnly, {"application"}}, {Commands::kNobody, {}},
    };
    for (const Case& c : cases) {
        CommandLog().clear();
        const bool ran = Router().Execute(c.id);
        EXPECT_EQ(CommandLog(), c.ranBy) << "command " << c.id;
        EXPECT_EQ(ran, !c.ranBy.empty()) << "command " << c.id;
    }
}

TEST_F(CommandRoutingTest, WithoutADocumentWindowTheRouteStartsAtTheMainFrame) {
    EXPECT_TRUE(Router().Execute(Commands::kEveryone));
    EXPECT_TRUE(Router().Execute(Commands::kApplicationOnly));
    EXPECT_FALSE(Router().Execute(Commands::kViewOnly));
    EXPECT_EQ(CommandLog(), (Log{"main frame", "application"}));

    Router().UpdateActions();
    EXPECT_FALSE(ActionOf(Commands::kViewOnly).isEnabled());
    EXPECT_FALSE(ActionOf(FrameworkCommands::kFileClose).isEnabled());
    EXPECT_TRUE(ActionOf(Commands::kApplicationOnly).isEnabled());
}

TEST_F(CommandRoutingTest, TheActiveWindowDecidesWhichViewAndDocumentGetTheCommand) {
    TestDocument* first = OpenPath("/tmp/premier.qes");
    TestDocument* second = OpenPath("/tmp/second.qes");
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_EQ(m_mainFrame->MDIGetActive(), &FrameOf(*second));

    Router().Execute(Commands::kEveryone);
    m_mainFrame->GetMdiArea().setActiveSubWindow(&FrameOf(*first));
    Router().Execute(Commands::kEveryone);
    Router().Execute(Commands::kFromDocument);

    EXPECT_EQ(CommandLog(), (Log{"view second.qes", "view premier.qes", "document premier.qes"}));
}

// A command is offered when some target of the route handles it, unless the first update handler
// met on the route says otherwise; the update handler also checks and renames it.
TEST_F(CommandRoutingTest, UpdateHandlersEnableCheckAndNameTheActions) {
    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);
    Router().UpdateActions();

    EXPECT_TRUE(ActionOf(Commands::kViewOnly).isEnabled());
    EXPECT_TRUE(ActionOf(Commands::kApplicationOnly).isEnabled());
    EXPECT_FALSE(ActionOf(Commands::kNobody).isEnabled());
    // The application could run it, but the view's update handler comes first.
    EXPECT_FALSE(ActionOf(Commands::kDisabledByView).isEnabled());
    QAction& toggle = ActionOf(Commands::kToggledByDocument);
    EXPECT_TRUE(toggle.isEnabled());
    EXPECT_TRUE(toggle.isCheckable());
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_EQ(toggle.text(), QStringLiteral("Bascule"));

    toggle.trigger();
    EXPECT_TRUE(document->toggled);
    EXPECT_TRUE(toggle.isChecked());
    EXPECT_EQ(toggle.text(), QStringLiteral("Basculée"));
}

// A disabled command does not run even when its action, not yet refreshed, still looks enabled
// (a shortcut pressed between two refreshes).
TEST_F(CommandRoutingTest, ACommandDisabledAtTheMomentItIsTriggeredDoesNotRun) {
    QAction& action = ActionOf(Commands::kDisabledByView);
    Router().UpdateActions();
    ASSERT_TRUE(action.isEnabled()); // no view yet: the application runs it
    ASSERT_NE(OpenPath("/tmp/etude.qes"), nullptr);
    action.setEnabled(true);

    action.trigger();
    EXPECT_TRUE(CommandLog().empty());
    EXPECT_FALSE(action.isEnabled());
}

TEST_F(CommandRoutingTest, TheActionsAreRefreshedBeforeAMenuShows) {
    QAction& toggle = ActionOf(Commands::kToggledByDocument);
    QMenu menu;
    menu.addAction(&toggle);
    Router().UpdateBeforeShowing(menu);
    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);
    Router().UpdateActions();
    ASSERT_FALSE(toggle.isChecked());

    document->toggled = true;
    EXPECT_FALSE(toggle.isChecked());
    emit menu.aboutToShow();
    EXPECT_TRUE(toggle.isChecked());
}

// Another active window, or none, changes the route: the actions follow at once.
TEST_F(CommandRoutingTest, TheActionsFollowTheActiveWindow) {
    QAction& viewOnly = ActionOf(Commands::kViewOnly);
    Router().UpdateActions();
    ASSERT_FALSE(viewOnly.isEnabled());

    TestDocument* document = OpenPath("/tmp/etude.qes");
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(viewOnly.isEnabled());

    document->OnCloseDocument();
    EXPECT_FALSE(viewOnly.isEnabled());
}

// "Fermer" is handled by the document it closes: the route must not touch the destroyed view,
// document or frame once the handler has run.
TEST_F(CommandRoutingTest, ACommandMayCloseTheDocumentThatHandlesIt) {
    ASSERT_NE(OpenPath("/tmp/premier.qes"), nullptr);
    TestDocument* second = OpenPath("/tmp/second.qes");
    ASSERT_NE(second, nullptr);

    EXPECT_TRUE(Router().Execute(FrameworkCommands::kFileClose));

    EXPECT_EQ(m_template->GetDocuments().size(), 1u);
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_EQ(TestDocument::s_live, 1);
    EXPECT_EQ(TestView::s_live, 1);
}

TEST_F(CommandRoutingTest, TheMainFrameCascadesTheDocumentWindows) {
    ASSERT_NE(OpenPath("/tmp/premier.qes"), nullptr);
    ASSERT_NE(OpenPath("/tmp/second.qes"), nullptr);
    const QList<QMdiSubWindow*> windows = m_mainFrame->GetMdiArea().subWindowList();
    for (QMdiSubWindow* window : windows)
        window->move(0, 0);

    ASSERT_TRUE(Router().Execute(FrameworkCommands::kWindowCascade));

    EXPECT_NE(windows[0]->pos(), windows[1]->pos());
}

TEST_F(CommandRoutingTest, EachCommandIsOneActionOfTheMainFrameWithItsShortcut) {
    QAction* action = Router().GetAction(Commands::kFromMainFrame);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(Router().AddCommand({Commands::kFromMainFrame, "Autre texte", nullptr, nullptr}), action);
    EXPECT_EQ(action->text(), QStringLiteral("Depuis le cadre"));
    EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+F7")));
    EXPECT_TRUE(m_mainFrame->actions().contains(action));
    EXPECT_EQ(Router().GetAction(4242), nullptr);
}

} // namespace
} // namespace frameworktest
