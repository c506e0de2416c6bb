#include "ShellTestSupport.h"
#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "framework/CmdUI.h"
#include "framework/CommandRouter.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidgetItem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using shell_test::DemoWindowsTest;

class QuestionnaireViewTest : public DemoWindowsTest {
protected:
    CQuestionnaireView& Tree() const {
        CQuestionnaireView* view = m_mainFrame->GetQuestionnaireView();
        EXPECT_NE(view, nullptr);
        return *view;
    }

    // The item of a question, searched through the whole tree.
    QTreeWidgetItem* ItemOf(const std::string& name) const {
        const QList<QTreeWidgetItem*> found =
            Tree().findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    }

    QStringList ChildNames(const QTreeWidgetItem& item) const {
        QStringList names;
        for (int i = 0; i < item.childCount(); ++i)
            names << item.child(i)->text(0);
        return names;
    }

    // The icon index an item shows, found among the tree's icons.
    int IconOf(const QTreeWidgetItem& item) const {
        const qint64 key = item.icon(0).cacheKey();
        for (int index = 0; index < CUtilArbre::kImageCount; ++index) {
            if (Tree().GetIcons().GetImage(index).cacheKey() == key)
                return index;
        }
        return -1;
    }

    bool DeleteEnabled() const {
        CCmdUI state(CQuestionnaireView::kEditionSupprimer);
        state.DoUpdate(Tree());
        return state.IsEnabled();
    }

    // A question derived from SEXE, inserted right after it in the survey and in the tree.
    CQuestionEtendue& InsertDerivedQuestion() {
        CQuestionEtendue& sexe = QuestionNamed("SEXE");
        int index = -1;
        EXPECT_TRUE(m_context.TrouverIndexQuestion(&sexe, index));
        auto derived = std::make_unique<CQuestionEtendue>(sexe);
        derived->name = "SEXE2";
        derived->depth = static_cast<std::int16_t>(sexe.depth + 1);
        derived->recodeId = 7;
        CQuestionEtendue& added =
            **m_context.questions.insert(m_context.questions.begin() + index + 1, std::move(derived));
        Tree().InsererQuestionRenumeroter(index);
        return added;
    }
};

// The demo opens as a tree following the outline: three top items (two chapters and the loop),
// their questions below, every item expanded and the first one current; the tree registers with
// the main frame.
TEST_F(QuestionnaireViewTest, TheDemoOpensAsATreeOfItsOutline) {
    CQuestionnaireDoc* document = OpenDemo();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), QStringLiteral("demo.qes"));
    CQuestionnaireView& tree = Tree();
    EXPECT_EQ(tree.GetDocument(), document);
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("SIGNALETIQUE"));
    EXPECT_EQ(tree.topLevelItem(1)->text(0), QStringLiteral("OPINION"));
    EXPECT_EQ(tree.topLevelItem(2)->text(0), QStringLiteral("MEMBRES"));
    EXPECT_EQ(ChildNames(*tree.topLevelItem(0)),
              QStringList({"SEXE", "AGE", "TRANCHE", "REGION", "CSP", "FOYER", "REVENU"}));
    EXPECT_EQ(ChildNames(*tree.topLevelItem(2)), QStringList({"PRENOM", "AGEMEMBRE", "LIEN"}));
    EXPECT_TRUE(tree.topLevelItem(1)->isExpanded());
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(0));
    EXPECT_EQ(tree.GetQuestionSelectionnee(), &QuestionNamed("SIGNALETIQUE"));
    EXPECT_EQ(CQuestionnaireView::IndexOf(ItemOf("LIEN")), 18);
}

// Icons follow the kind of each question and the current level: the loop's questions are faded
// from the interviews and plain once the loop's level is current.
TEST_F(QuestionnaireViewTest, IconsShowTheKindAndTheCurrentLevel) {
    ASSERT_NE(OpenDemo(), nullptr);
    struct Case {
        const char* name;
        int atInterviews;
        int atMembers;
    };
    const Case cases[] = {
        {"SIGNALETIQUE", 0, 0}, {"SEXE", 7, 7},    {"AGE", 1, 1},   {"ACHAT", 18, 18},
        {"SERVICE", 5, 5},      {"PRENOM", 15, 5}, {"LIEN", 17, 7}, {"AGEMEMBRE", 11, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(ItemOf(c.name), nullptr);
        EXPECT_EQ(IconOf(*ItemOf(c.name)), c.atInterviews);
    }
    m_context.currentLevel = 1;
    Tree().Rafraichir();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IconOf(*ItemOf(c.name)), c.atMembers);
    }
}

// The frame's commands read the current question, and for a derived question its parent too.
TEST_F(QuestionnaireViewTest, TheCurrentQuestionAndItsParent) {
    ASSERT_NE(OpenDemo(), nullptr);
    CQuestionnaireView& tree = Tree();
    CQuestionEtendue* question = nullptr;
    CQuestionEtendue* parent = nullptr;
    EXPECT_FALSE(tree.GetQuestionEtParent(question, parent));
    EXPECT_EQ(question, &QuestionNamed("SIGNALETIQUE"));
    EXPECT_EQ(parent, nullptr);

    CQuestionEtendue& derived = InsertDerivedQuestion();
    EXPECT_EQ(tree.GetQuestionSelectionnee(), &derived);
    EXPECT_TRUE(tree.GetQuestionEtParent(question, parent));
    EXPECT_EQ(question, &derived);
    EXPECT_EQ(parent, &QuestionNamed("SEXE"));
    // The new item is SEXE's first child; the later questions keep their own items.
    EXPECT_EQ(ItemOf("SEXE")->child(0), tree.currentItem());
    EXPECT_EQ(CQuestionnaireView::IndexOf(ItemOf("AGE")), 3);
    EXPECT_EQ(ChildNames(*tree.topLevelItem(0)).mid(0, 2), QStringList({"SEXE", "AGE"}));

    tree.clearSelection();
    tree.setCurrentItem(nullptr);
    EXPECT_EQ(tree.GetQuestionSelectionnee(), nullptr);
    EXPECT_FALSE(tree.GetQuestionEtParent(question, parent));
}

// Delete is offered only for a derived question under another one and asks first: a recoded
// question goes to the context, a computed one to the application through the frame.
TEST_F(QuestionnaireViewTest, DeleteRemovesADerivedQuestionAfterConfirmation) {
    ASSERT_NE(OpenDemo(), nullptr);
    CQuestionnaireView& tree = Tree();
    tree.setCurrentItem(ItemOf("SEXE"));
    EXPECT_FALSE(DeleteEnabled());
    tree.setCurrentItem(ItemOf("SIGNALETIQUE"));
    EXPECT_FALSE(DeleteEnabled());

    CQuestionEtendue& derived = InsertDerivedQuestion();
    derived.recodeId = 0;
    derived.SetQuestionCalculee(std::make_unique<CQuestionCalculee>());
    EXPECT_TRUE(DeleteEnabled());

    m_ui->ScriptReplies({false});
    EXPECT_TRUE(tree.OnCmdMsg(CQuestionnaireView::kEditionSupprimer, CmdMsg::kCommand, nullptr));
    ASSERT_EQ(m_ui->asked.size(), 1u);
    EXPECT_EQ(StringTable::Format(m_ui->asked[0]), "Souhaitez-vous vraiment supprimer cette question ?");
    EXPECT_TRUE(m_mainFrame->removed.empty());

    m_ui->ScriptReplies({true});
    QKeyEvent deleteKey(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&tree, &deleteKey);
    EXPECT_EQ(m_ui->asked.size(), 2u);
    EXPECT_EQ(m_mainFrame->removed, std::vector<CQuestionEtendue*>{&derived});

    // The application removes the question from the list, then its item.
    int index = -1;
    ASSERT_TRUE(m_context.TrouverIndexQuestion(&derived, index));
    m_context.questions.erase(m_context.questions.begin() + index);
    tree.SupprimerQuestionRenumeroter(index);
    EXPECT_EQ(ItemOf("SEXE2"), nullptr);
    EXPECT_EQ(ItemOf("SEXE")->childCount(), 0);
    EXPECT_EQ(CQuestionnaireView::IndexOf(ItemOf("AGE")), 2);
    EXPECT_EQ(CQuestionnaireView::IndexOf(ItemOf("LIEN")), 18);
}

// A double click opens the question's form through the study context, and folds nothing.
TEST_F(QuestionnaireViewTest, ADoubleClickOpensTheQuestionsForm) {
    ASSERT_NE(OpenDemo(), nullptr);
    CQuestionnaireView& tree = Tree();
    QTreeWidgetItem* chapter = tree.topLevelItem(1);
    QTreeWidgetItem* satisf = ItemOf("SATISF");
    const QPoint place = tree.visualItemRect(satisf).center();
    QMouseEvent click(QEvent::MouseButtonDblClick, place, tree.viewport()->mapToGlobal(place), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &click);
    EXPECT_EQ(m_context.activated, std::vector<CQuestionEtendue*>{&QuestionNamed("SATISF")});
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_TRUE(chapter->isExpanded());
    ASSERT_NE(m_questionTemplate->GetDocuments().size(), 0u);
    EXPECT_EQ(dynamic_cast<CQuestionDoc*>(m_questionTemplate->GetDocuments().front())->GetQuestion(),
              &QuestionNamed("SATISF"));
}

// The pop-up menu shows the main frame's own actions, so that its commands take the frame's
// route; one the frame does not offer shows disabled.
TEST_F(QuestionnaireViewTest, ThePopUpMenuUsesTheMainFramesCommands) {
    ASSERT_NE(OpenDemo(), nullptr);
    const CommandDescription remove{CQuestionnaireView::kEditionSupprimer, "Supprimer", "Del", nullptr};
    m_mainFrame->AddCommands(std::span(&remove, 1));
    const std::unique_ptr<QMenu> menu = Tree().CreateEditMenu();
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    QList<QAction*> commands;
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr)
            titles << action->text();
        else if (!action->isSeparator())
            commands << action;
    }
    EXPECT_EQ(titles, QStringList({"Regrouper", "Changer le niveau de la question"}));
    ASSERT_EQ(commands.size(), 4);
    EXPECT_EQ(commands[2], m_mainFrame->GetCommandRouter().GetAction(CQuestionnaireView::kEditionSupprimer));
    EXPECT_EQ(commands[0]->text(), QStringLiteral("Créer une variable..."));
    EXPECT_FALSE(commands[0]->isEnabled());
}

// Closing the questionnaire window closes the survey; the frame forgets the tree.
TEST_F(QuestionnaireViewTest, ClosingTheWindowClosesTheSurvey) {
    CQuestionnaireDoc* document = OpenDemo();
    ASSERT_NE(document, nullptr);
    EXPECT_GT(m_context.DonnerNbreQuestions(), 0);
    document->OnFileClose();
    EXPECT_EQ(m_context.DonnerNbreQuestions(), 0);
    EXPECT_EQ(m_mainFrame->GetQuestionnaireView(), nullptr);
    EXPECT_EQ(WindowCount(), 0);
}

// A file that is no questionnaire opens no window, with the reason shown.
TEST_F(QuestionnaireViewTest, AFileThatIsNoQuestionnaireOpensNoWindow) {
    const std::filesystem::path notAQuestionnaire = s_folder / "notes.qes";
    { std::ofstream(notAQuestionnaire) << "pas une base"; }
    EXPECT_EQ(m_questionnaireTemplate->OpenDocumentFile(notAQuestionnaire.string()), nullptr);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(m_mainFrame->GetQuestionnaireView(), nullptr);
    EXPECT_EQ(m_ui->shown.size(), 1u);
}

// The outline builds the tree: an item goes under the latest item one level less deep, or to
// the root when there is none, as for a first question of depth 3.
TEST(QuestionnaireViewFill, EachQuestionGoesUnderTheLatestItemOneLevelUp) {
    CContexteEtude context;
    CContexteEtude::RegisterContext(&context);
    const std::vector<std::pair<const char*, int>> outline = {
        {"A", 3}, {"B", 4}, {"C", 1}, {"D", 2}, {"E", 3}, {"F", 2}, {"G", 4}, {"H", 1},
    };
    for (const auto& [name, depth] : outline) {
        auto question = std::make_unique<CQuestionEtendue>(&context);
        question->name = name;
        question->depth = static_cast<std::int16_t>(depth);
        context.questions.push_back(std::move(question));
    }
    CQuestionnaireView tree;
    tree.Remplir();
    QStringList roots;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        roots << tree.topLevelItem(i)->text(0);
    EXPECT_EQ(roots, QStringList({"A", "C", "H"}));
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->text(0), QStringLiteral("B"));
    QTreeWidgetItem* c = tree.topLevelItem(1);
    ASSERT_EQ(c->childCount(), 2);
    EXPECT_EQ(c->child(0)->child(0)->text(0), QStringLiteral("E"));
    // G, of depth 4, follows the latest item of depth 3, E, even though F came between.
    EXPECT_EQ(c->child(0)->child(0)->child(0)->text(0), QStringLiteral("G"));
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(0));
    CContexteEtude::RegisterContext(nullptr);
}

} // namespace
