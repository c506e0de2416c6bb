#include "MorvaneAppTestSupport.h"
#include "app/QuestionCalculee.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "framework/FrameworkCommands.h"
#include "framework/MultiDocTemplate.h"
#include "shell/DocumentTemplates.h"
#include "gui/presentation/GraphDoc.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using shell_test::MorvaneAppTest;

bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

// Started on the demo, the program shows its main window maximised with the questionnaire tree,
// the documents' menus and the interview count; the analysis options come from the settings and
// the file joins the recent files.
TEST_F(MorvaneAppTest, StartsMaximisedOnTheDemoWithItsTree) {
    Store().WriteInteger("Options", "CaptionType", 1);
    Store().WriteString("Options", "SignificanceThreshold3", "3.5");
    ASSERT_TRUE(Start(DemoPath()));
    CMainFrame& frame = Frame();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(m_app->GetDocTemplates().size(), 22u);
    ASSERT_NE(frame.GetQuestionnaireView(), nullptr);
    EXPECT_EQ(frame.GetQuestionnaireView()->topLevelItemCount(), 3);
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_TRUE(frame.ShowsDocumentMenus());
    EXPECT_EQ(m_app->questionnairePath, DemoPath());
    EXPECT_EQ(m_app->GetRecentFiles().GetFiles(), std::vector<std::string>{DemoPath()});
    EXPECT_EQ(m_app->CaptionType, 1);
    EXPECT_DOUBLE_EQ(m_app->SignificanceThreshold3, 3.5);
    frame.GetCommandRouter().UpdateActions();
    EXPECT_EQ(frame.GetInterviewCountPane().text(), QStringLiteral("In.: 50"));
    EXPECT_TRUE(m_ui->shown.empty());
}

// Without a file nothing opens: the menus of no document, and no question command.
TEST_F(MorvaneAppTest, StartingWithoutAFileOpensNothing) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_FALSE(Frame().ShowsDocumentMenus());
    EXPECT_EQ(Frame().GetQuestionnaireView(), nullptr);
    EXPECT_TRUE(IsEnabled(FrameworkCommands::kFileOpen));
    EXPECT_FALSE(IsEnabled(32771));
    EXPECT_FALSE(IsEnabled(32795));
}

// A file that is no questionnaire, on the command line or from the menu, is reported and the
// program goes on: the open survey stays open, and another file still opens.
TEST_F(MorvaneAppTest, AFileThatIsNoQuestionnaireIsReportedAndTheProgramGoesOn) {
    const std::filesystem::path notes = s_folder / "notes.qes";
    { std::ofstream(notes) << "pas une base"; }
    ASSERT_TRUE(Start(notes.string()));
    ASSERT_EQ(m_ui->shown.size(), 1u);
    EXPECT_TRUE(StartsWith(m_ui->ShownTexts()[0], "Impossible d'ouvrir le questionnaire '" + notes.string() + "'"));
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(WindowCount(), 0);

    ASSERT_NE(m_app->OpenDocumentFile(DemoPath()), nullptr);
    EXPECT_EQ(m_app->OpenDocumentFile(notes.string()), nullptr);
    EXPECT_EQ(m_ui->shown.size(), 2u);
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_NE(Frame().GetQuestionnaireView(), nullptr);
    EXPECT_EQ(m_app->questionnairePath, DemoPath());
    EXPECT_EQ(m_app->DonnerNbreInterviews(), kInterviews);
}

// Opening another questionnaire closes every document of the first one before it opens.
TEST_F(MorvaneAppTest, OpeningAnotherQuestionnaireClosesEveryDocumentFirst) {
    const std::filesystem::path other = s_folder / "autre.qes";
    std::filesystem::copy_file(DemoPath(), other, std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(Start(DemoPath()));
    CMainFrame::LancerTraitement(Request("type tri-simple\nlignes SEXE\n"));
    EXPECT_EQ(m_app->ActiverFenetreQuestion(&QuestionNamed("REGION")), 1);
    ASSERT_EQ(WindowCount(), 3);

    CDocument* opened = m_app->OpenDocumentFile(other.string());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetTitle(), QStringLiteral("autre.qes"));
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_TRUE(TableDocuments().empty());
    EXPECT_TRUE(m_app->GetTemplate(TemplateKind::kQuestion).GetDocuments().empty());
    EXPECT_EQ(m_app->questionnairePath, other.string());
    EXPECT_EQ(m_app->GetRecentFiles().GetFiles(), (std::vector<std::string>{other.string(), DemoPath()}));
}

// "Fermer tout" closes the table windows, and only them.
TEST_F(MorvaneAppTest, FermerToutClosesTheTableWindowsOnly) {
    ASSERT_TRUE(Start(DemoPath()));
    CMainFrame::LancerTraitement(Request("type tri-croise\nlignes SEXE\ncolonnes REGION\ncalculs 0 1\nfusion 0\n"));
    ASSERT_EQ(TableDocuments().size(), 2u);
    EXPECT_EQ(m_app->ActiverFenetreQuestion(&QuestionNamed("SATISF")), 1);
    ASSERT_EQ(WindowCount(), 4);

    EXPECT_TRUE(Run(CMorvaneApp::kFermerTout));
    EXPECT_TRUE(TableDocuments().empty());
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_NE(Frame().GetQuestionnaireView(), nullptr);
    EXPECT_EQ(m_app->GetTemplate(TemplateKind::kQuestion).GetDocuments().size(), 1u);
}

// A question's form opens once: asked again, the open one comes to the front. A question the
// survey does not hold opens nothing.
TEST_F(MorvaneAppTest, AQuestionsFormOpensOnceAndComesToTheFront) {
    ASSERT_TRUE(Start(DemoPath()));
    EXPECT_EQ(m_app->ActiverFenetreQuestion(&QuestionNamed("SEXE")), 1);
    QMdiSubWindow* sexe = Frame().GetMdiArea().activeSubWindow();
    EXPECT_EQ(m_app->ActiverFenetreQuestion(&QuestionNamed("AGE")), 1);
    EXPECT_NE(Frame().GetMdiArea().activeSubWindow(), sexe);
    EXPECT_EQ(m_app->ActiverFenetreQuestion(&QuestionNamed("SEXE")), 1);
    EXPECT_EQ(Frame().GetMdiArea().activeSubWindow(), sexe);
    EXPECT_EQ(WindowCount(), 3);

    CQuestionEtendue stranger(m_app.get());
    EXPECT_EQ(m_app->ActiverFenetreQuestion(&stranger), 0);
    EXPECT_EQ(m_app->ActiverFenetreQuestion(nullptr), 0);
    EXPECT_EQ(WindowCount(), 3);
}

// The recent files come back at the next start; the first one opens from the menu.
TEST_F(MorvaneAppTest, TheRecentFilesOpenFromTheMenu) {
    CRegistre::SetString("Recent File List", "File1", DemoPath());
    ASSERT_TRUE(Start());
    const unsigned first = FrameworkCommands::kFileMruFirst;
    EXPECT_TRUE(IsEnabled(first));
    EXPECT_FALSE(IsEnabled(first + 1));
    Frame().GetCommandRouter().UpdateActions();
    EXPECT_EQ(Frame().GetCommandRouter().GetAction(first)->text(),
              QStringLiteral("&1 ") + QString::fromStdString(DemoPath()));
    EXPECT_TRUE(Run(first));
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_EQ(m_app->questionnairePath, DemoPath());
}

// A table handed to the table opener belongs to its window: a table window, or a chart window for
// a table that asks for a chart.
TEST_F(MorvaneAppTest, TheTableOpenerGivesTheTableToItsWindow) {
    ASSERT_TRUE(Start(DemoPath()));
    auto table = std::make_unique<CTableau>();
    table->title = "Tableau";
    table->deleteWithWindow = 0;
    CTableau* shown = table.get();
    auto* document = dynamic_cast<CTableauDoc*>(m_app->OuvrirTableau(std::move(table)));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTableau(), shown);
    EXPECT_EQ(shown->deleteWithWindow, 1);

    auto chart = std::make_unique<CTableau>();
    chart->title = "Graphique";
    chart->deleteWithWindow = 0;
    chart->openAsChart = 1;
    CTableau* charted = chart.get();
    auto* chartDocument = dynamic_cast<CGraphDoc*>(m_app->OuvrirTableau(std::move(chart)));
    ASSERT_NE(chartDocument, nullptr);
    EXPECT_EQ(chartDocument->GetTableau(), charted);
    EXPECT_EQ(charted->deleteWithWindow, 1);
    EXPECT_EQ(m_app->OuvrirTableau(nullptr), nullptr);
}

// A window the program does not have yet opens nothing and says which one it is. Every window
// of the program is there today: a definition of its own stands for one still to come.
TEST_F(MorvaneAppTest, AWindowStillToComeSaysSo) {
    ASSERT_TRUE(Start(DemoPath()));
    for (const DocumentTemplates::Definition& definition : DocumentTemplates::InCreationOrder()) {
        SCOPED_TRACE(definition.windowName);
        EXPECT_TRUE(DocumentTemplates::IsAvailable(definition.kind));
    }
    const DocumentTemplates::Definition toCome{TemplateKind::kOuvTypologie, DocumentTemplates::kDocumentResource,
                                               "Fenêtre à venir", nullptr};
    CDocTemplate& docTemplate = m_app->AddDocTemplate(DocumentTemplates::Create(toCome));
    EXPECT_EQ(docTemplate.OpenDocumentFile(DocumentSource::None()), nullptr);
    EXPECT_EQ(m_ui->ShownTexts(), std::vector<std::string>{"Cette fenêtre n'est pas encore disponible : Fenêtre à venir."});
    EXPECT_EQ(WindowCount(), 1);
}

// A recode's questions come and go in the survey and in the tree together: inserted under their
// source, renamed when the recode changes, removed with it.
TEST_F(MorvaneAppTest, ARecodesQuestionsFollowItInTheTree) {
    ASSERT_TRUE(Start(DemoPath()));
    CQuestionnaireView& tree = *Frame().GetQuestionnaireView();
    const auto itemOf = [&tree](const char* name) {
        const QList<QTreeWidgetItem*> found =
            tree.findItems(QString::fromUtf8(name), Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    };
    CQuestionEtendue& region = QuestionNamed("REGION");
    std::unique_ptr<CRecodage> recode = CRecodage::CreerRecodage(CRecodage::kModalite, m_app.get());
    ASSERT_NE(recode, nullptr);
    recode->id = 9;
    recode->sourceQuestionCode = region.code;
    recode->label = "Grandes régions";
    const int questionCount = m_app->DonnerNbreQuestions();
    int regionIndex = -1;
    ASSERT_TRUE(m_app->TrouverIndexQuestion(&region, regionIndex));

    m_app->InsererQuestionsRecodage(*recode, true);
    ASSERT_EQ(m_app->DonnerNbreQuestions(), questionCount + 1);
    CQuestionEtendue* recoded = m_app->DonnerQuestion(regionIndex + 1);
    ASSERT_NE(recoded, nullptr);
    EXPECT_EQ(recoded->name, "Grandes régions");
    ASSERT_NE(itemOf("Grandes régions"), nullptr);
    EXPECT_EQ(itemOf("Grandes régions")->parent(), itemOf("REGION"));
    EXPECT_EQ(CQuestionnaireView::IndexOf(itemOf("CSP")), regionIndex + 2);

    recode->label = "Régions";
    m_app->MettreAJourQuestionsRecodage(*recode, &region);
    EXPECT_EQ(recoded->name, "Régions");
    EXPECT_NE(itemOf("Régions"), nullptr);

    m_app->SupprimerQuestionsRecodage(*recode);
    EXPECT_EQ(m_app->DonnerNbreQuestions(), questionCount);
    EXPECT_EQ(itemOf("Régions"), nullptr);
    EXPECT_EQ(itemOf("REGION")->childCount(), 0);
    EXPECT_EQ(CQuestionnaireView::IndexOf(itemOf("CSP")), regionIndex + 1);
}

// New computed questions go under the group "Questions calculées", which the first one creates
// at the end of the tree.
TEST_F(MorvaneAppTest, NewComputedQuestionsStandUnderTheirGroup) {
    ASSERT_TRUE(Start(DemoPath()));
    CQuestionnaireView& tree = *Frame().GetQuestionnaireView();
    const auto itemOf = [&tree](const char* name) {
        const QList<QTreeWidgetItem*> found =
            tree.findItems(QString::fromUtf8(name), Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    };
    ASSERT_EQ(itemOf("Questions calculées"), nullptr);
    const int questionCount = m_app->DonnerNbreQuestions();
    for (const char* label : {"Première", "Seconde"}) {
        std::unique_ptr<CQuestionCalculee> definition = CQuestionCalculee::Creer();
        definition->code = m_app->NouveauCodeQuestion();
        definition->label = label;
        definition->kind = 2;
        definition->themes = "a|b|";
        definition->maxAnswers = 1;
        CQuestionEtendue* added =
            m_app->AjouterQuestionCalculee(CQuestionCalculee::CreerQuestion(std::move(definition), *m_app));
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->GetNbreModalite(), 2);
    }
    EXPECT_EQ(m_app->DonnerNbreQuestions(), questionCount + 3);
    QTreeWidgetItem* group = itemOf("Questions calculées");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->parent(), nullptr);
    EXPECT_EQ(tree.indexOfTopLevelItem(group), tree.topLevelItemCount() - 1);
    ASSERT_NE(itemOf("Première"), nullptr);
    ASSERT_NE(itemOf("Seconde"), nullptr);
    EXPECT_EQ(itemOf("Première")->parent(), group);
    EXPECT_EQ(itemOf("Seconde")->parent(), group);
    EXPECT_EQ(CQuestionnaireView::IndexOf(itemOf("Seconde")), questionCount + 2);
}

// Deleting a recoded question from the tree goes through the application: the question leaves the
// survey and the tree, and the others keep their items.
TEST_F(MorvaneAppTest, DeletingARecodedQuestionRemovesItFromTheTreeAndTheSurvey) {
    ASSERT_TRUE(Start(DemoPath()));
    CQuestionEtendue& sexe = QuestionNamed("SEXE");
    std::unique_ptr<CRecodage> recode = CRecodage::CreerRecodage(CRecodage::kModalite, m_app.get());
    ASSERT_NE(recode, nullptr);
    recode->id = 7;
    recode->sourceQuestionCode = sexe.code;
    recode->label = "SEXE2";
    int index = -1;
    ASSERT_TRUE(m_app->TrouverIndexQuestion(&sexe, index));
    auto derived = std::make_unique<CQuestionEtendue>(sexe);
    derived->name = "SEXE2";
    derived->depth = static_cast<std::int16_t>(sexe.depth + 1);
    derived->recodeId = recode->id;
    derived->SetRecodage(recode.get());
    m_app->questions.insert(m_app->questions.begin() + index + 1, std::move(derived));
    CQuestionnaireView& tree = *Frame().GetQuestionnaireView();
    tree.InsererQuestionRenumeroter(index);
    ASSERT_EQ(tree.GetQuestionSelectionnee()->name, "SEXE2");
    const int questionCount = m_app->DonnerNbreQuestions();

    m_ui->ScriptReplies({true});
    QKeyEvent deleteKey(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&tree, &deleteKey);
    EXPECT_EQ(m_app->DonnerNbreQuestions(), questionCount - 1);
    EXPECT_EQ(m_app->TrouverQuestionParNom("SEXE2"), nullptr);
    EXPECT_TRUE(tree.findItems(QStringLiteral("SEXE2"), Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    const QList<QTreeWidgetItem*> age = tree.findItems(QStringLiteral("AGE"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(age.size(), 1);
    EXPECT_EQ(CQuestionnaireView::IndexOf(age.front()), index + 1);
}

} // namespace
