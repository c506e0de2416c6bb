// The request dialogs as the program opens them: from the main frame's commands, with the
// question picker before a cross table, and from a table window to edit its definition. The
// dialogs are the real ones, modal, answered as the analyst answers them; the tables they give are
// compared with what the qesrun command prints for the same request written as text.
#include "MorvaneAppTestSupport.h"
#include "RequestDialogSteps.h"
#include "framework/MDIChildWnd.h"
#include "framework/MultiTree.h"
#include "framework/View.h"
#include "gui/requests/CalculListCtrl.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageCalculsDlg.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/requests/RequestDialog.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/tabulation/TableDefinitionEditor.h"
#include "tools/qesrun/Command.h"
#include "tools/qesrun/TablePrinter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QDialog>
#include <QPushButton>
#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using shell_test::MorvaneAppTest;
using namespace shell_test::steps;
using T = CTraitement;

constexpr unsigned kTriSimple = 32771;
constexpr unsigned kStatistiques = 32793;
constexpr unsigned kTriCroise = 32789;
constexpr unsigned kTableauMoyenne = 32797;

class RequestDialogsFromFrameTest : public shell_test::RequestCommandTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        ASSERT_TRUE(Start(DemoPath()));
    }

    std::string Qesrun(const std::string& text) const {
        return QesrunPrints(DemoPath(), s_folder / "frame-request.req", text);
    }

    // The one table window open, with the title of its request added to the text.
    void ExpectOneTableLike(const std::string& text) {
        const std::vector<CTableauDoc*> tables = TableDocuments();
        ASSERT_EQ(tables.size(), 1u);
        const CTraitement* request = tables.front()->GetTableau()->GetTraitement();
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(Printed(*tables.front()), Qesrun(text + "titre " + request->title + "\n"));
    }
};

// ---- The commands' dialogs give the tables qesrun gives ---------------------------------------

TEST_F(RequestDialogsFromFrameTest, EachCommandsDialogGivesTheTableOfTheSameRequestAsText) {
    struct Case {
        const char* name;
        const char* question;
        unsigned command;
        std::vector<ModalAnswers::Step> steps;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"Tri Croisé with counts, row and column percentages and marks",
         "SATISF",
         kTriCroise,
         {Pick("REGION"), Define([](RequestDialog& dialog) {
              Tick(dialog.GetPageCalculs(0)->GetList(), "Profil colonne", true);
              Tick(dialog.GetPageCalculs(0)->GetList(), "Significativité", true);
          })},
         "type tri-croise\nlignes SATISF total\ncolonnes REGION total\ncalculs 0 1 2 4\n"},
        {"Tris simple with cumulated percentages",
         "CSP",
         kTriSimple,
         {Define([](RequestDialog& dialog) {
             Tick(dialog.GetPageCalculs(0)->GetList(), "Pourcentages cumulés", true);
         })},
         "type tri-simple\nlignes CSP total\ncalculs 0 1 2\n"},
        {"Statistiques with the median in place of the mean",
         "AGE",
         kStatistiques,
         {Define([](RequestDialog& dialog) {
             Tick(dialog.GetPageCalculs(0)->GetList(), "Moyenne", false);
             Tick(dialog.GetPageCalculs(0)->GetList(), "Médiane", true);
         })},
         "type statistiques\nlignes AGE\ncalculs 1 10\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_app->GetTemplate(TemplateKind::kTableau).CloseAllDocuments();
        Select(c.question);
        RunAnswered(c.command, c.steps);
        ExpectOneTableLike(c.text);
        EXPECT_TRUE(m_ui->shown.empty());
    }
}

// The picker lets the analyst choose what the command's mode allows: closed questions for the
// columns of a cross table, numeric ones for a mean table. Its Cancel opens no dialog.
TEST_F(RequestDialogsFromFrameTest, ThePickerFiltersTheSecondQuestionByTheCommand) {
    struct Case {
        unsigned command;
        const char* allowed;
        const char* refused;
    };
    for (const Case& c : {Case{kTriCroise, "REGION", "REVENU"}, Case{kTableauMoyenne, "REVENU", "REGION"}}) {
        SCOPED_TRACE(c.command);
        Select("SATISF");
        RunAnswered(c.command, {[this, c](QDialog& shown) {
                        auto* picker = qobject_cast<CSelQuestionDlg*>(&shown);
                        ASSERT_NE(picker, nullptr);
                        EXPECT_EQ(picker->windowTitle(), QStringLiteral("Sélection d'une question"));
                        EXPECT_TRUE(picker->EstAutorisee(QuestionNamed(c.allowed)));
                        EXPECT_FALSE(picker->EstAutorisee(QuestionNamed(c.refused)));
                        picker->reject();
                    }});
        EXPECT_TRUE(TableDocuments().empty());
    }
}

// At start-up the program offers the commands whose dialogs it has, and those only.
TEST_F(RequestDialogsFromFrameTest, TheProgramOffersTheCommandsWhoseDialogsItHas) {
    Select("SATISF");
    EXPECT_TRUE(IsEnabled(kTriSimple));
    EXPECT_TRUE(IsEnabled(kTriCroise));
    EXPECT_TRUE(IsEnabled(kTableauMoyenne));
    EXPECT_TRUE(IsEnabled(32795));  // "Profils simples"
    EXPECT_TRUE(IsEnabled(32798));  // "Profils croisés"
    EXPECT_FALSE(IsEnabled(32814)); // "Ouverte/Dictionnaire": not for a closed question
    Select("AGE");
    EXPECT_TRUE(IsEnabled(kStatistiques));
}

// ---- The analyst's choices open the next dialog ------------------------------------------------

TEST_F(RequestDialogsFromFrameTest, TheChoicesOfADialogOpenTheNextOne) {
    Select("SATISF");
    RunAnswered(kTriCroise, {Pick("REGION"), Define([](RequestDialog& dialog) {
                                 Tick(dialog.GetPageLignes(0)->GetList(), "Ni satisfait ni insatisfait",
                                      false);
                                 Tick(dialog.GetPageLignes(1)->GetList(), "Sud-Est", false);
                                 Tick(dialog.GetPageCalculs(0)->GetList(), "Profil ligne", false);
                                 Tick(dialog.GetPageCalculs(0)->GetList(), "Valeur test", true);
                             })});
    ASSERT_EQ(TableDocuments().size(), 1u);

    std::vector<std::string> rows;
    std::vector<std::string> columns;
    std::vector<std::string> calculations;
    RunAnswered(kTriCroise,
                {Pick("REGION"), Define(
                                     [&](RequestDialog& dialog) {
                                         rows = TickedLabels(dialog.GetPageLignes(0)->GetList());
                                         columns = TickedLabels(dialog.GetPageLignes(1)->GetList());
                                         calculations = TickedLabels(dialog.GetPageCalculs(0)->GetList());
                                     },
                                     false)});
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Ni satisfait ni insatisfait"), 0);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Très satisfait"), 1);
    EXPECT_EQ(columns, (std::vector<std::string>{"Île-de-France", "Nord-Est", "Nord-Ouest", "Sud-Ouest",
                                                 "Non interrogé", "Total"}));
    EXPECT_EQ(calculations, (std::vector<std::string>{"Effectifs", "Valeur test"}));
    // The cancelled dialog ran nothing.
    EXPECT_EQ(TableDocuments().size(), 1u);
}

// ---- A table's definition edited from its window ------------------------------------------------

class TableDefinitionTest : public RequestDialogsFromFrameTest {
protected:
    // A cross table of SATISF by REGION with counts, row and column percentages, in its window.
    CTableauDoc* OpenCrossTable() {
        Select("SATISF");
        RunAnswered(kTriCroise, {Pick("REGION"), Define([](RequestDialog& dialog) {
                                     Tick(dialog.GetPageCalculs(0)->GetList(), "Profil colonne", true);
                                 })});
        const std::vector<CTableauDoc*> tables = TableDocuments();
        return tables.size() == 1 ? tables.front() : nullptr;
    }

    static constexpr const char* kCross = "type tri-croise\nlignes SATISF total\ncolonnes REGION total\n";
};

TEST_F(TableDefinitionTest, TheDefinitionEditedWithoutACalculationGivesTheTableWithoutIt) {
    const CTableauDoc* original = OpenCrossTable();
    ASSERT_NE(original, nullptr);
    ASSERT_TRUE(IsEnabled(CTableauDoc::kRetourDefinition));
    std::vector<std::string> offered;
    RunAnswered(CTableauDoc::kRetourDefinition, {Define([this, &offered](RequestDialog& dialog) {
                    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tri croisé"));
                    EXPECT_EQ(dialog.parentWidget(), &Frame());
                    offered = TickedLabels(dialog.GetPageCalculs(0)->GetList());
                    Tick(dialog.GetPageCalculs(0)->GetList(), "Profil ligne", false);
                })});
    EXPECT_EQ(offered, (std::vector<std::string>{"Effectifs", "Profil ligne", "Profil colonne"}));
    const std::vector<CTableauDoc*> tables = TableDocuments();
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_NE(tables.front(), original);
    EXPECT_EQ(WindowCount(), 2);
    ExpectOneTableLike(std::string(kCross) + "calculs 0 2\n");
}

// The new table opens where the old one stood, as large, maximised or not, and the old window
// goes.
TEST_F(TableDefinitionTest, TheNewTableTakesThePlaceOfTheOldWindow) {
    const QRect place(37, 23, 430, 290);
    for (const bool maximised : {false, true}) {
        SCOPED_TRACE(maximised ? "maximised" : "normal");
        m_app->GetTemplate(TemplateKind::kTableau).CloseAllDocuments();
        CTableauDoc* original = OpenCrossTable();
        ASSERT_NE(original, nullptr);
        CMDIChildWnd* old = original->GetViews().front()->GetParentFrame();
        old->showNormal();
        old->setGeometry(place);
        if (maximised)
            old->showMaximized();
        RunAnswered(CTableauDoc::kRetourDefinition, {Define([](RequestDialog&) {})});
        const std::vector<CTableauDoc*> tables = TableDocuments();
        ASSERT_EQ(tables.size(), 1u);
        ASSERT_NE(tables.front(), original);
        CMDIChildWnd* replacing = tables.front()->GetViews().front()->GetParentFrame();
        EXPECT_EQ(Frame().MDIGetActive(), replacing);
        EXPECT_EQ(replacing->isMaximized(), maximised);
        replacing->showNormal();
        EXPECT_EQ(replacing->geometry(), place);
        EXPECT_EQ(WindowCount(), 2);
    }
}

TEST_F(TableDefinitionTest, CancellingTheDefinitionLeavesTheWindowAsItWas) {
    CTableauDoc* original = OpenCrossTable();
    ASSERT_NE(original, nullptr);
    const std::string before = Printed(*original);
    RunAnswered(
        CTableauDoc::kRetourDefinition,
        {Define([](RequestDialog& dialog) { Tick(dialog.GetPageCalculs(0)->GetList(), "Effectifs", false); },
                false)});
    ASSERT_EQ(TableDocuments(), std::vector<CTableauDoc*>{original});
    EXPECT_EQ(Printed(*original), before);
    EXPECT_EQ(WindowCount(), 2);
}

// A new definition whose request gives no table (its reasons told) leaves the analyst the table
// he had, in its window.
TEST_F(TableDefinitionTest, ADefinitionThatGivesNoTableKeepsTheWindow) {
    class NoTableEditor : public TableDefinitionEditor {
    public:
        bool HasDefinitionDialog(std::int16_t /*type*/) const override { return true; }
        std::unique_ptr<CTraitement> ModifierTraitement(const CTraitement& existing) override {
            return std::make_unique<CTraitement>(existing);
        }
        bool LancerTraitement(std::unique_ptr<CTraitement> request) override {
            ran = request != nullptr;
            return false;
        }
        bool ran = false;
    };
    CTableauDoc* original = OpenCrossTable();
    ASSERT_NE(original, nullptr);
    TableDefinitionEditor* installed = CTableauDoc::GetDefinitionEditor();
    NoTableEditor editor;
    CTableauDoc::SetDefinitionEditor(&editor);
    Run(CTableauDoc::kRetourDefinition);
    CTableauDoc::SetDefinitionEditor(installed);
    EXPECT_TRUE(editor.ran);
    EXPECT_EQ(TableDocuments(), std::vector<CTableauDoc*>{original});
    EXPECT_EQ(WindowCount(), 2);
}

// The command is offered when a dialog defines the table's request: not for a table without a
// request, nor for a kind of table whose dialog the program does not have, nor before the program
// has installed its dialogs.
TEST_F(TableDefinitionTest, TheDefinitionIsOfferedWhenADialogDefinesTheRequest) {
    CTableauDoc* cross = OpenCrossTable();
    ASSERT_NE(cross, nullptr);
    EXPECT_TRUE(IsEnabled(CTableauDoc::kRetourDefinition));

    TableDefinitionEditor* installed = CTableauDoc::GetDefinitionEditor();
    CTableauDoc::SetDefinitionEditor(nullptr);
    EXPECT_FALSE(IsEnabled(CTableauDoc::kRetourDefinition));
    CTableauDoc::SetDefinitionEditor(installed);

    cross->GetTableau()->GetTraitement()->type = T::kOuvertesDictionnaire;
    EXPECT_FALSE(IsEnabled(CTableauDoc::kRetourDefinition));
    // Called all the same, it opens nothing.
    RunAnswered(CTableauDoc::kRetourDefinition, {});
    EXPECT_EQ(TableDocuments(), std::vector<CTableauDoc*>{cross});

    auto bare = std::make_unique<CTableau>();
    bare->Dimensionner(1, 1, 2, 2, CTableauBase::kMarqueParColonne);
    bare->title = "Sans définition";
    ASSERT_NE(m_app->OuvrirTableau(std::move(bare)), nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(IsEnabled(CTableauDoc::kRetourDefinition));
}

} // namespace
