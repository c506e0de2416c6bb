#include "MorvaneAppTestSupport.h"
#include "shell/DossierDoc.h"
#include "app/Registre.h"
#include "framework/FrameworkCommands.h"
#include "framework/MultiTree.h"
#include "framework/PageSetup.h"
#include "app/StringTable.h"
#include "tabulation/ExecuteurTraitement.h"
#include "gui/openanswers/OuvTypologieView.h"
#include "gui/requests/SelNiveauDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/tabulation/OptionsTableauxDlg.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMenu>
#include <QPrinter>
#include <QRadioButton>
#include <QTreeWidgetItemIterator>
#include <QToolBar>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

using shell_test::MorvaneAppTest;
using shell_test::ScriptedRequestDialogs;

class MainFrameTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }

    static std::string Printed(const CTableauBase& table) {
        std::ostringstream out;
        qesrun::TablePrinter::Print(table, out);
        return out.str();
    }

    // The tables the runner makes of the request, as qesrun prints them.
    std::vector<std::string> ComputedDirectly(const std::string& text) const {
        CExecuteurTraitement executor(*m_app);
        executor.Executer(Request(text));
        std::vector<std::string> printed;
        for (const auto& table : executor.TakeTableaux())
            printed.push_back(Printed(*table));
        return printed;
    }

    std::vector<std::string> ShownInWindows() const {
        std::vector<std::string> printed;
        for (const CTableauDoc* document : TableDocuments())
            printed.push_back(Printed(*document->GetTableau()));
        return printed;
    }
};

// Which commands the selection enables, with every request dialog offered: each command's rule
// on the selected question, the level left to the level check. "-" no current item, then a closed
// question, a numeric one, an open one, a ranking, and a closed question of the members' level.
TEST_F(MainFrameTest, TheSelectionEnablesTheCommandsThatSuitIt) {
    InstallDialogs();
    const std::vector<std::string> selections = {"", "SEXE", "AGE", "SERVICE", "CLASSEMENT", "LIEN"};
    struct Case {
        unsigned id;
        const char* name;
        // One mark per selection: 'x' enabled, '.' disabled.
        const char* enabled;
    };
    const Case cases[] = {
        {32771, "Tris simple", ".x..xx"},
        {32804, "Tris avec regroupement", "......"},
        {32793, "Statistiques", "..x..."},
        {32892, "Traitement mixte", "......"},
        {32846, "Morvane de classement", "....x."},
        {32795, "Profils simples", "xxxxxx"},
        {32796, "Profils statistiques", "xxxxxx"},
        {32844, "Comparaison de modalités", "xxxxxx"},
        {32789, "Tri Croisé", ".x..xx"},
        {32917, "Taux d'importance croisé", ".x..xx"},
        {32859, "Tri Croisé avec regroupement", "......"},
        {32797, "Tableau de moyenne", ".x..xx"},
        {32798, "Profils croisés", "xxxxxx"},
        {32874, "Profils croisés de moyenne", "xxxxxx"},
        {32890, "Tableaux évolués", "xxxxxx"},
        {32918, "Ouverte/Profils", "xxxxxx"},
        {32884, "Test d'indépendance", ".x..xx"},
        // The open-answer windows, on an open question.
        {32814, "Dictionnaire", "...x.."},
        {32826, "Correspondances des réponses ouvertes", "...x.."},
        {32881, "Typologie des réponses ouvertes", "...x.."},
        // The recode dialogs, on the questions each kind recodes; editing needs a recoded question.
        {32802, "Regrouper en sous-totaux", ".x..xx"},
        {32836, "Regrouper en intervalles", "..x..."},
        {32837, "Regrouper en valeurs discrètes", "..x..."},
        {32888, "Changer le niveau, question à modalités", ".....x"},
        {32889, "Changer le niveau, question numérique", "......"},
        {32911, "Changer le niveau, question ouverte", "......"},
        {32803, "Modifier", "......"},
        // Open their dialog, or run, whatever is selected.
        {32822, "Créer une variable", "xxxxxx"},
        {32903, "Recalculer toutes les variables", "xxxxxx"},
        {32887, "Sélectionner le niveau courant", "xxxxxx"},
        {32920, "Nom des interviews", "xxxxxx"},
        {32863, "A. C. P.", "xxxxxx"},
        {32864, "AFC Disjonctive", "xxxxxx"},
        {32886, "Régression linéaire multiple", "xxxxxx"},
        {32893, "Tableaux croisés significatifs", "xxxxxx"},
        {32913, "Seuils de significativité", "xxxxxx"},
        // Runs at once on a closed question.
        {32912, "Créer un champ d'étude par modalité", ".x..xx"},
    };
    for (std::size_t s = 0; s < selections.size(); ++s) {
        Select(selections[s]);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " on '" + selections[s] + "'");
            EXPECT_EQ(IsEnabled(c.id), c.enabled[s] == 'x');
        }
    }
}

// "Ouverte/Typologie" opens the typology of the open question chosen, no form chosen yet.
TEST_F(MainFrameTest, TheOpenAnswerTypologyOpensOnTheChosenQuestion) {
    Select("SERVICE");
    ASSERT_TRUE(Run(32881));
    const auto& documents = m_app->GetTemplate(TemplateKind::kOuvTypologie).GetDocuments();
    ASSERT_EQ(documents.size(), 1u);
    CDocument* document = documents.front();
    EXPECT_EQ(document->GetTitle(), QStringLiteral("Typologie"));
    auto* view = dynamic_cast<COuvTypologieView*>(document->GetViews().front());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetCompte(COuvTypologieView::kFormesActives).text(), QStringLiteral("0"));
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_TRUE(m_ui->ShownTexts().empty());
}

// The table commands wait for their dialogs: without them only what runs by itself is offered,
// and with no survey open no question command is.
TEST_F(MainFrameTest, CommandsWaitForTheirDialogsAndForASurvey) {
    Frame().SetRequestDialogs(nullptr);
    Select("SEXE");
    EXPECT_FALSE(IsEnabled(32771));
    EXPECT_FALSE(IsEnabled(32795));
    EXPECT_TRUE(IsEnabled(32912));
    EXPECT_FALSE(Run(32771));

    // Closing the survey closes its tables too, and the menus of no document come back.
    InstallDialogs();
    CMainFrame::LancerTraitement(Request("type tri-simple\nlignes SEXE\n"));
    ASSERT_EQ(WindowCount(), 2);
    m_app->GetTemplate(TemplateKind::kQuestionnaire).GetDocuments().front()->OnFileClose();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    ASSERT_EQ(Frame().GetQuestionnaireView(), nullptr);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(TableDocuments().empty());
    EXPECT_EQ(m_app->DonnerNbreQuestions(), 0);
    EXPECT_FALSE(Frame().ShowsDocumentMenus());
    for (const MainFrameCommands::Command& command : MainFrameCommands::All()) {
        SCOPED_TRACE(command.text);
        EXPECT_FALSE(IsEnabled(command.id));
    }
}

// A question of another level: the user is asked to change the level; No leaves the level and
// opens no dialog, Yes makes the question's level current and goes on to the dialog.
TEST_F(MainFrameTest, AQuestionOfAnotherLevelAsksToChangeTheLevel) {
    ScriptedRequestDialogs& dialogs = InstallDialogs();
    Select("LIEN");
    const CQuestionEtendue& lien = QuestionNamed("LIEN");
    ASSERT_NE(lien.level, 0);
    ASSERT_EQ(m_app->currentLevel, 0);

    m_ui->ScriptReplies({false});
    Run(32771);
    ASSERT_EQ(m_ui->asked.size(), 1u);
    EXPECT_EQ(StringTable::Format(m_ui->asked[0]),
              "Cette question n'est pas compatible avec le niveau courant. Voulez-vous changer de niveau ?");
    EXPECT_EQ(m_app->currentLevel, 0);
    EXPECT_TRUE(dialogs.calls.empty());

    m_ui->ScriptReplies({true});
    Run(32771);
    EXPECT_EQ(m_ui->asked.size(), 2u);
    EXPECT_EQ(m_app->currentLevel, lien.level);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].type, CTraitement::kTriSimple);
    EXPECT_EQ(dialogs.calls[0].questions.question, &lien);

    // Now at its level, the question is used without a question; a question of the interviews
    // is usable at the members' level too.
    Run(32771);
    Select("SEXE");
    Run(32771);
    EXPECT_EQ(m_ui->asked.size(), 2u);
    EXPECT_EQ(dialogs.calls.size(), 3u);
}

// Only the first question of a cross table is checked for its level: a second question of another
// level asks nothing.
TEST_F(MainFrameTest, ACrossTableChecksTheLevelOfItsFirstQuestionOnly) {
    ScriptedRequestDialogs& dialogs = InstallDialogs();
    dialogs.picked = &QuestionNamed("LIEN");
    Select("SEXE");
    Run(32789);
    EXPECT_TRUE(m_ui->asked.empty());
    EXPECT_EQ(dialogs.pickerModes, std::vector<int>{0});
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].questions.second, &QuestionNamed("LIEN"));
}

// The whole road of "Tri Croisé": the second question from the picker, the request from the
// dialog, the analyst's modalities and calculations kept as the next defaults, and the table in a
// window of its own. A cancelled picker or dialog changes nothing.
TEST_F(MainFrameTest, TheCrossTableCommandRunsTheRequestAndKeepsTheChoices) {
    ScriptedRequestDialogs& dialogs = InstallDialogs();
    CQuestionEtendue& sexe = QuestionNamed("SEXE");
    CQuestionEtendue& region = QuestionNamed("REGION");
    Select("SEXE");

    Run(32789);
    EXPECT_TRUE(dialogs.calls.empty());
    dialogs.picked = &region;
    Run(32789);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(TableDocuments().empty());
    EXPECT_TRUE(sexe.GetModaliteEtendue(1)->selected);

    const std::string text = "type tri-croise\nlignes SEXE 1\ncolonnes REGION 1 2 total\ncalculs 0 2\n";
    dialogs.makeRequest = [this, text] { return Request(text); };
    Run(32789);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    const ScriptedRequestDialogs::Call& call = dialogs.calls[1];
    EXPECT_EQ(call.type, CTraitement::kTriCroise);
    EXPECT_EQ(call.questions.question, &sexe);
    EXPECT_EQ(call.questions.parent, &QuestionNamed("SIGNALETIQUE"));
    EXPECT_EQ(call.questions.second, &region);

    EXPECT_TRUE(sexe.GetModaliteEtendue(0)->selected);
    EXPECT_FALSE(sexe.GetModaliteEtendue(1)->selected);
    EXPECT_TRUE(region.GetModaliteEtendue(1)->selected);
    EXPECT_FALSE(region.GetModaliteEtendue(2)->selected);
    EXPECT_FALSE(m_app->DonnerModaliteTotal(0)->selected);
    EXPECT_TRUE(m_app->DonnerModaliteTotal(1)->selected);
    std::vector<std::unique_ptr<CCalcul>> defaults;
    m_app->DonnerCalculsCroises(defaults);
    std::vector<std::int32_t> chosen;
    for (const auto& calculation : defaults) {
        if (calculation->kept != 0)
            chosen.push_back(calculation->code);
    }
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{0, 2}));

    EXPECT_EQ(ShownInWindows(), ComputedDirectly(text));
    EXPECT_EQ(WindowCount(), 2);
}

// Each table of a request opens in a window of its own, with the numbers the runner gives.
TEST_F(MainFrameTest, EachTableOfARequestOpensInItsOwnWindow) {
    const std::string text = "type tri-croise\nlignes SATISF\ncolonnes REGION\ncalculs 0 1 2\nfusion 0\n";
    CMainFrame::LancerTraitement(Request(text));
    ASSERT_EQ(TableDocuments().size(), 3u);
    EXPECT_EQ(WindowCount(), 4);
    const std::vector<std::string> expected = ComputedDirectly(text);
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(ShownInWindows(), expected);
    EXPECT_NE(expected[0], expected[1]);
    EXPECT_TRUE(m_ui->shown.empty());

    CMainFrame::LancerTraitement(nullptr);
    EXPECT_EQ(TableDocuments().size(), 3u);
}

// A request for the portfolio opens no table window: its tables go to a new portfolio, which comes
// to the front.
TEST_F(MainFrameTest, ARequestForThePortfolioAddsItsTablesToAPortfolio) {
    std::unique_ptr<CTraitement> request = Request("type tri-croise\nlignes SEXE\ncolonnes REGION\nfusion 0\n");
    request->SetVersDossier(true);
    CMainFrame::LancerTraitement(std::move(request));
    EXPECT_TRUE(TableDocuments().empty());
    const std::vector<CDocument*> portfolios = m_app->GetTemplate(TemplateKind::kDossier).GetDocuments();
    ASSERT_EQ(portfolios.size(), 1u);
    const auto* portfolio = dynamic_cast<CDossierDoc*>(portfolios.front());
    ASSERT_NE(portfolio, nullptr);
    // The request gives two tables, as in windows.
    EXPECT_EQ(portfolio->GetNbreElements(), 2);
    EXPECT_TRUE(m_ui->shown.empty());
}

// The tool bar holds the buttons in their order, separators included.
TEST_F(MainFrameTest, TheToolBarHoldsItsButtonsInOrder) {
    std::vector<unsigned> buttons;
    for (QAction* action : Frame().GetToolBar().actions()) {
        unsigned id = 0;
        for (unsigned candidate : MainMenus::ToolBar()) {
            if (candidate != 0 && Frame().GetCommandRouter().GetAction(candidate) == action)
                id = candidate;
        }
        buttons.push_back(id);
    }
    const std::span<const unsigned> expected = MainMenus::ToolBar();
    EXPECT_EQ(buttons, std::vector<unsigned>(expected.begin(), expected.end()));
    EXPECT_EQ(expected.size(), 26u);
}

// The standard actions show the desktop theme's icons (deps installs the theme), the program's own
// commands their drawn ones; every button says in French what it does.
TEST_F(MainFrameTest, TheToolBarsStandardActionsTakeTheThemesIcons) {
    CommandRouter& router = Frame().GetCommandRouter();
    const std::pair<unsigned, const char*> standard[] = {
        {FrameworkCommands::kFileOpen, "document-open"},   {32800, "x-office-document"},
        {32801, "x-office-spreadsheet"},                   {FrameworkCommands::kFilePrint, "document-print"},
        {FrameworkCommands::kFilePrintPreview, "document-print-preview"}, {32811, "edit-delete"},
    };
    for (const auto& [id, name] : standard) {
        ASSERT_TRUE(QIcon::hasThemeIcon(QString::fromUtf8(name))) << name;
        EXPECT_EQ(router.GetAction(id)->icon().name(), QString::fromUtf8(name)) << id;
    }
    const std::map<unsigned, QString> tips = {
        {FrameworkCommands::kFilePrint, QStringLiteral("Imprimer")},
        {FrameworkCommands::kFilePrintPreview, QStringLiteral("Aperçu avant l'impression")},
        {32800, QStringLiteral("Exporter vers Word")},
    };
    for (QAction* action : Frame().GetToolBar().actions()) {
        if (action->isSeparator())
            continue;
        EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
        EXPECT_FALSE(action->toolTip().isEmpty()) << action->text().toStdString();
    }
    for (const auto& [id, tip] : tips)
        EXPECT_EQ(router.GetAction(id)->toolTip(), tip) << id;
}

// The letter Alt takes in a text: the one after its "&" ("&&" is a plain "&"); none without.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// The items of one menu (or of the menu bar) whose letters are taken twice: "letter: a, b".
std::vector<std::string> SharedMnemonics(const QList<QAction*>& actions) {
    std::map<QChar, QStringList> byLetter;
    for (const QAction* action : actions)
        if (!action->isSeparator() && action->isVisible())
            if (const QChar letter = Mnemonic(action->text()); !letter.isNull())
                byLetter[letter] << action->text();
    std::vector<std::string> shared;
    for (const auto& [letter, texts] : byLetter)
        if (texts.size() > 1)
            shared.push_back(QString(letter).toStdString() + ": " + texts.join(QStringLiteral(", ")).toStdString());
    return shared;
}

void CollectSharedMnemonics(const QMenu& menu, std::vector<std::string>& shared) {
    for (const std::string& clash : SharedMnemonics(menu.actions()))
        shared.push_back(menu.title().toStdString() + " / " + clash);
    for (const QAction* action : menu.actions())
        if (const QMenu* sub = action->menu())
            CollectSharedMnemonics(*sub, shared);
}

// Alt with a letter opens one menu, and in a menu chooses one item.
TEST_F(MainFrameTest, EveryMenuHasDistinctMnemonics) {
    std::vector<std::string> shared = SharedMnemonics(Frame().menuBar()->actions());
    for (const QAction* action : Frame().menuBar()->actions())
        if (const QMenu* menu = action->menu())
            CollectSharedMnemonics(*menu, shared);
    EXPECT_EQ(shared, std::vector<std::string>{});
}

// A key of the frame does what its command does, or is not bound: the keys of commands that have
// no handler in this program (New, Undo, the panes) are free, and F1 opens the help.
TEST_F(MainFrameTest, EveryBoundKeyHasACommandThatRuns) {
    const auto boundTo = [this](const char* key) -> QAction* {
        const QKeySequence sequence(QString::fromUtf8(key));
        for (QAction* action : Frame().findChildren<QAction*>())
            if (action->shortcuts().contains(sequence))
                return action;
        return nullptr;
    };
    for (const char* key : {"Ctrl+N", "Ctrl+Z", "Alt+Backspace", "F6", "Shift+F6"})
        EXPECT_EQ(boundTo(key), nullptr) << key;
    EXPECT_EQ(boundTo("F1"), Frame().GetCommandRouter().GetAction(FrameworkCommands::kHelp));
    EXPECT_TRUE(IsEnabled(FrameworkCommands::kHelp));
    for (const MainMenus::Accelerator& accelerator : MainMenus::Accelerators())
        EXPECT_NE(Frame().GetCommandRouter().GetAction(accelerator.id), nullptr) << accelerator.first;
}

// "Outils/Tableaux..." needs no question: it opens the table options, whose OK stores them.
TEST_F(MainFrameTest, ToolsTablesOpensTheTableOptions) {
    Select("");
    ASSERT_TRUE(IsEnabled(32916));
    QString title;
    ModalAnswers answers({[&title](QDialog& shown) {
        title = shown.windowTitle();
        auto* options = qobject_cast<COptionsTableauxDlg*>(&shown);
        ASSERT_NE(options, nullptr);
        options->GetEdit(COptionsTableauxDlg::kLignesPortrait)->setText(QStringLiteral("20"));
        options->accept();
    }});
    EXPECT_TRUE(Run(32916));
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_EQ(title, QStringLiteral("Options tableaux"));
    EXPECT_EQ(CRegistre::GetLinesPerTableInWord(false), 20);
}

// "Edition/Sélectionner le niveau courant...": the dialog opens on the current level, its OK
// makes the chosen level current, Cancel leaves it.
TEST_F(MainFrameTest, SelectingTheCurrentLevelSetsItFromTheLevelDialog) {
    Select("");
    ASSERT_EQ(m_app->currentLevel, 0);
    int shownCurrent = -1;
    const auto chooseMembers = [&shownCurrent](QDialog& shown) {
        auto* dialog = qobject_cast<CSelNiveauDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        shownCurrent = dialog->GetTree().currentItem()->data(0, Qt::UserRole).toInt();
        for (QTreeWidgetItemIterator it(&dialog->GetTree()); *it != nullptr; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() == 1)
                dialog->GetTree().setCurrentItem(*it);
        dialog->accept();
    };
    {
        ModalAnswers choose({chooseMembers});
        EXPECT_TRUE(Run(32887));
        EXPECT_EQ(choose.Answered(), 1u);
    }
    EXPECT_EQ(shownCurrent, 0);
    EXPECT_EQ(m_app->currentLevel, 1);

    ModalAnswers cancel({[&shownCurrent](QDialog& shown) {
        auto* dialog = qobject_cast<CSelNiveauDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        shownCurrent = dialog->GetTree().currentItem()->data(0, Qt::UserRole).toInt();
        dialog->reject();
    }});
    EXPECT_TRUE(Run(32887));
    EXPECT_EQ(shownCurrent, 1);
    EXPECT_EQ(m_app->currentLevel, 1);
}

// "Outils/Nom des interviews...": an open question chosen in the picker labels the interviews
// with its answers from then on, and the picker opens on it the next time.
TEST_F(MainFrameTest, NamingTheInterviewsTakesTheChosenOpenQuestion) {
    Select("");
    std::string label;
    ASSERT_TRUE(m_app->DonnerLibelleInterview(0, label));
    ASSERT_EQ(label, "Intvw 1");
    const auto pick = [](const std::string& name) {
        return [name](QDialog& shown) {
            auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
            ASSERT_NE(picker, nullptr);
            const QList<QTreeWidgetItem*> found =
                picker->GetTree().findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchRecursive);
            ASSERT_EQ(found.size(), 1) << name;
            picker->GetTree().SelectItem(found.front());
            picker->accept();
        };
    };
    {
        ModalAnswers answers({pick("SERVICE")});
        EXPECT_TRUE(Run(32920));
        EXPECT_EQ(answers.Answered(), 1u);
    }
    ASSERT_NE(m_app->GetLabelQuestion(), nullptr);
    EXPECT_EQ(m_app->GetLabelQuestion()->name, "SERVICE");
    // Some of the demo's interviews answered SERVICE: their labels are no longer numbers.
    int named = 0;
    for (int i = 0; m_app->DonnerLibelleInterview(i, label); ++i)
        named += label != "Intvw " + std::to_string(i + 1) ? 1 : 0;
    EXPECT_GT(named, 0);

    QString preset;
    ModalAnswers again({[&preset](QDialog& shown) {
        auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
        ASSERT_NE(picker, nullptr);
        preset = picker->GetTree().currentItem()->text(0);
        picker->reject();
    }});
    EXPECT_TRUE(Run(32920));
    EXPECT_EQ(preset, QStringLiteral("SERVICE"));
    EXPECT_EQ(m_app->GetLabelQuestion()->name, "SERVICE");
}

// "Fichier/Configuration de l'impression...": the orientation chosen there is the one of the next
// printer; Cancel keeps the earlier choice.
TEST_F(MainFrameTest, ThePageSetUpChoosesThePagesOfTheNextPrints) {
    CPageSetup::Oublier();
    ASSERT_TRUE(IsEnabled(FrameworkCommands::kFilePrintSetup));
    QString title;
    {
        ModalAnswers answers({[&title](QDialog& shown) {
            title = shown.windowTitle();
            auto* landscape = shown.findChild<QRadioButton*>(QStringLiteral("landscape"));
            ASSERT_NE(landscape, nullptr);
            landscape->click();
            shown.accept();
        }});
        EXPECT_TRUE(Run(FrameworkCommands::kFilePrintSetup));
        EXPECT_EQ(answers.Answered(), 1u);
    }
    EXPECT_EQ(title, QStringLiteral("Configuration de l'impression"));
    ASSERT_TRUE(CPageSetup::EstChoisie());
    QPrinter next(QPrinter::HighResolution);
    CPageSetup::Appliquer(next);
    EXPECT_EQ(next.pageLayout().orientation(), QPageLayout::Landscape);

    ModalAnswers cancel({[](QDialog& shown) {
        if (auto* portrait = shown.findChild<QRadioButton*>(QStringLiteral("portrait")))
            portrait->click();
        shown.reject();
    }});
    EXPECT_TRUE(Run(FrameworkCommands::kFilePrintSetup));
    EXPECT_EQ(cancel.Answered(), 1u);
    EXPECT_EQ(CPageSetup::GetLayout().orientation(), QPageLayout::Landscape);
    CPageSetup::Oublier();
}

} // namespace
