// The portfolio window, driven as the analyst drives it: tables sent from a request or a table
// window, chapters inserted, items moved with Alt and the arrows, renamed with F2, deleted with
// the Delete key (the sub-items kept, deleted, or the walk stopped), copied into another portfolio
// and pasted there (computed again), and the study field or weighting of every table changed,
// which computes their bases again. On a small survey whose numbers are counted by hand.
#include "DesktopOpenings.h"
#include "MorvaneAppTestSupport.h"
#include "app/ChampEtude.h"
#include "app/Redressement.h"
#include "app/StringTable.h"
#include "export/XlsxReader.h"
#include "framework/FrameworkCommands.h"
#include "framework/MDIChildWnd.h"
#include "framework/UtilArbre.h"
#include "framework/WindowListMenu.h"
#include "portfolio/ElementDossier.h"
#include "recodes/ObjectifRedressement.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/recodes/RedressementDlg.h"
#include "shell/DossierDoc.h"
#include "shell/DossierView.h"
#include "gui/openanswers/OuvDictionnaireView.h"
#include "gui/openanswers/OuvSegmentView.h"
#include "portfolio/RecalculDossier.h"
#include "statistics/Dendogramme.h"
#include "PresentationDialogSteps.h"
#include "gui/tabulation/TableLayout.h"
#include "gui/tabulation/TableauView.h"
#include "framework/View.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using shell_test::MorvaneAppTest;

// Six interviews. Men: 1, 2, 6; women: 3, 4, 5. POIDS weighs interview n by n, so the whole
// survey weighs 21 and the men 1 + 2 + 6 = 9.
constexpr const char* kSurvey = R"(
questionnaire "Dossier" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 REGION closed noanswer
  modality 1 fr "Nord"
  modality 2 fr "Sud"
question 3 POIDS numeric min=0 max=100
records
Cle1,1;1,2;1,3;1
1,1,1,1
2,1,2,2
3,2,1,3
4,2,2,4
5,2,1,5
6,1,,6
end
)";

constexpr unsigned kAjouterAuDossier = 32786;
constexpr unsigned kCopier = 57634;
constexpr unsigned kColler = 57637;

class DossierViewTest : public MorvaneAppTest {
protected:
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_path = s_folder /
                 ("dossier-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  ".qes");
        qesbuild::FixtureDescription fixture =
            qesbuild::DescriptionParser::Parse(Description(), "dossier.txt", s_folder);
        qesbuild::WriteFixture(fixture, m_path.string());
        ASSERT_TRUE(Start(m_path.string()));
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        std::filesystem::remove(m_path);
        std::filesystem::remove(m_path.string() + ".dos");
    }

    virtual const char* Description() const { return kSurvey; }

    // Sends the request's tables to the portfolio, as a request whose destination is "Dossier".
    void SendToPortfolio(const std::string& text) {
        std::unique_ptr<CTraitement> request = Request(text);
        ASSERT_NE(request, nullptr);
        request->SetVersDossier(true);
        ASSERT_TRUE(CMainFrame::LancerTraitement(std::move(request)));
        QApplication::processEvents();
    }

    std::vector<CDossierDoc*> Portfolios() const {
        std::vector<CDossierDoc*> portfolios;
        for (CDocument* document : m_app->GetTemplate(TemplateKind::kDossier).GetDocuments())
            portfolios.push_back(dynamic_cast<CDossierDoc*>(document));
        return portfolios;
    }

    CDossierView& View(std::size_t which = 0) const { return *Portfolios().at(which)->GetPremiereVue(); }

    QTreeWidgetItem* Item(const std::string& text, std::size_t which = 0) const {
        const QList<QTreeWidgetItem*> found =
            View(which).findItems(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    }

    // The tree as "text/depth" in display order.
    static std::vector<std::string> Outline(CDossierView& view) {
        std::vector<std::string> outline;
        for (QTreeWidgetItemIterator it(&view); *it != nullptr; ++it)
            outline.push_back((*it)->text(0).toStdString() + "/" +
                              std::to_string(CUtilArbre::Profondeur(*it) - 1));
        return outline;
    }

    void Click(const std::string& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               std::size_t which = 0) {
        QTreeWidgetItem* item = Item(text, which);
        ASSERT_NE(item, nullptr) << text;
        CDossierView& view = View(which);
        view.scrollToItem(item);
        const QRect place = view.visualItemRect(item);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers,
                          QPoint(place.left() + 30, place.center().y()));
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, std::size_t which = 0) {
        QTest::keyClick(&View(which), key, modifiers);
        QApplication::processEvents();
    }

    // Base of the portfolio's table element of that name.
    double Base(const std::string& name, std::size_t which = 0) const {
        const CElementDossier* element = View(which).GetElement(Item(name, which));
        EXPECT_NE(element, nullptr) << name;
        EXPECT_NE(element != nullptr ? element->GetTableau() : nullptr, nullptr) << name;
        return element != nullptr && element->GetTableau() != nullptr ? element->GetTableau()->base : -1;
    }

    // "Chapitre 1" holding "Sexe", then "Chapitre 2" holding "Région", built as the analyst
    // builds them: tables sent, chapters inserted after the caret, Alt and the arrows.
    void BuildTwoChapters() {
        SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
        ASSERT_EQ(Portfolios().size(), 1u);
        Click("Sexe");
        ASSERT_TRUE(Run(CDossierDoc::kInserer));
        Key(Qt::Key_Up, Qt::AltModifier);
        Click("Sexe");
        Key(Qt::Key_Right, Qt::AltModifier);
        Click("Chapitre 1");
        ASSERT_TRUE(Run(CDossierDoc::kInserer));
        SendToPortfolio("type tri-simple\nlignes REGION total\ncalculs 0\ntitre Région\n");
        Click("Région");
        Key(Qt::Key_Right, Qt::AltModifier);
    }

    // Saves the portfolio beside the survey, closes it and opens the file again; answers the file.
    std::string SaveAndReopen() {
        const std::string saved = m_path.string() + ".dos";
        EXPECT_TRUE(Portfolios().front()->OnSaveDocument(saved));
        CloseAllPortfolios();
        EXPECT_NE(m_app->OpenDocumentFile(saved), nullptr);
        QApplication::processEvents();
        EXPECT_EQ(Portfolios().size(), 1u);
        return saved;
    }

    void CloseAllPortfolios() {
        for (CDossierDoc* portfolio : Portfolios()) {
            portfolio->SetModifiedFlag(false);
            portfolio->OnCloseDocument();
        }
        QApplication::processEvents();
    }

    std::filesystem::path m_path;
};

TEST_F(DossierViewTest, ARequestForThePortfolioAndTheTableWindowsCommandFillOnePortfolio) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    ASSERT_EQ(Portfolios().size(), 1u);
    EXPECT_TRUE(TableDocuments().empty());
    EXPECT_EQ(Base("Sexe"), 6.0);

    // From a table window: "Edition/Ajouter au Dossier" puts a copy in the same portfolio.
    std::unique_ptr<CTraitement> request =
        Request("type tri-simple\nlignes REGION total\ncalculs 0\ntitre Région\n");
    ASSERT_TRUE(CMainFrame::LancerTraitement(std::move(request)));
    QApplication::processEvents();
    ASSERT_EQ(TableDocuments().size(), 1u);
    ASSERT_TRUE(IsEnabled(kAjouterAuDossier));
    ASSERT_TRUE(Run(kAjouterAuDossier));
    ASSERT_EQ(Portfolios().size(), 1u);
    EXPECT_EQ(Outline(View()), (std::vector<std::string>{"Sexe/0", "Région/0"}));
    EXPECT_TRUE(Portfolios().front()->IsModified());
    // The portfolio came to the front.
    EXPECT_EQ(Frame().MDIGetActive()->GetActiveDocument(), Portfolios().front());
}

TEST_F(DossierViewTest, ChaptersAreNumberedAndItemsMoveWithAltAndTheArrows) {
    BuildTwoChapters();
    EXPECT_EQ(Outline(View()),
              (std::vector<std::string>{"Chapitre 1/0", "Sexe/1", "Chapitre 2/0", "Région/1"}));
    EXPECT_TRUE(m_ui->shown.empty());
    // Up out of its chapter, under the first one; then one level out, after it.
    Click("Région");
    Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Outline(View()),
              (std::vector<std::string>{"Chapitre 1/0", "Sexe/1", "Région/1", "Chapitre 2/0"}));
    Key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Outline(View()),
              (std::vector<std::string>{"Chapitre 1/0", "Sexe/1", "Région/0", "Chapitre 2/0"}));
    Click("Chapitre 2");
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Outline(View()),
              (std::vector<std::string>{"Chapitre 1/0", "Sexe/1", "Région/0", "Chapitre 2/0"}));
}

TEST_F(DossierViewTest, F2RenamesAnItemAndAnEmptyNameKeepsTheOldOne) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"Répartition par sexe", "Répartition par sexe"},
                 {"", "Répartition par sexe"},
                 {"   ", "Répartition par sexe"}};
    for (const auto& rename : cases) {
        SCOPED_TRACE(rename.typed);
        CDossierView& view = View();
        view.setFocus();
        view.setCurrentItem(view.topLevelItem(0));
        Key(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        editor->insert(QString::fromUtf8(rename.typed));
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        const CElementDossier* element = view.GetElement(view.topLevelItem(0));
        EXPECT_EQ(view.topLevelItem(0)->text(0).toStdString(), rename.kept);
        EXPECT_EQ(element->name, rename.kept);
        EXPECT_EQ(element->GetTableau()->title, rename.kept);
    }
}

// Delete on a chapter with sub-items asks twice: the deletion, then whether the sub-items go too.
TEST_F(DossierViewTest, DeletingAChapterAsksAboutItsSubItems) {
    using Reply = UserInterface::Reply;
    const struct {
        const char* name;
        Reply reply;
        std::vector<std::string> outline;
    } cases[] = {
        {"No keeps the tables at the chapter's place", Reply::No, {"Sexe/0", "Chapitre 2/0", "Région/1"}},
        {"Yes deletes them", Reply::Yes, {"Chapitre 2/0", "Région/1"}},
        {"Cancel stops", Reply::Cancel, {"Chapitre 1/0", "Sexe/1", "Chapitre 2/0", "Région/1"}},
    };
    for (const auto& tested : cases) {
        SCOPED_TRACE(tested.name);
        CloseAllPortfolios();
        BuildTwoChapters();
        ASSERT_EQ(Outline(View()),
                  (std::vector<std::string>{"Chapitre 1/0", "Sexe/1", "Chapitre 2/0", "Région/1"}));
        m_ui->asked.clear();
        m_ui->ScriptReplies({true});
        m_ui->ScriptThreeWayReplies({tested.reply});
        Click("Chapitre 1");
        Key(Qt::Key_Delete);
        ASSERT_EQ(m_ui->asked.size(), 2u);
        EXPECT_EQ(m_ui->asked[0].id, StringTable::kSupprimerEnregistrements);
        EXPECT_EQ(m_ui->asked[1].id, StringTable::kSupprimerSousItems);
        EXPECT_EQ(Outline(View()), tested.outline);
    }
}

TEST_F(DossierViewTest, AnsweringNoToTheFirstQuestionDeletesNothing) {
    BuildTwoChapters();
    const std::vector<std::string> before = Outline(View());
    m_ui->ScriptReplies({false});
    Click("Sexe");
    Key(Qt::Key_Delete);
    EXPECT_EQ(Outline(View()), before);
}

// A chapter and one of its tables copied: the table once. Pasted into another portfolio after its
// caret, computed again there, with their depths.
TEST_F(DossierViewTest, CopyAndPasteBetweenTwoPortfolios) {
    SendToPortfolio("type tri-croise\nlignes REGION\ncolonnes SEXE\ncalculs 0\ntitre Croisé\n");
    const std::string saved = m_path.string() + ".dos";
    ASSERT_TRUE(Portfolios().front()->OnSaveDocument(saved));
    CloseAllPortfolios();

    BuildTwoChapters();
    ASSERT_NE(m_app->OpenDocumentFile(saved), nullptr);
    QApplication::processEvents();
    ASSERT_EQ(Portfolios().size(), 2u);
    EXPECT_EQ(Outline(View(1)), (std::vector<std::string>{"Croisé/0"}));

    Frame().GetMdiArea().setActiveSubWindow(View(0).GetParentFrame());
    Click("Chapitre 1", Qt::NoModifier, 0);
    Click("Sexe", Qt::ControlModifier, 0);
    ASSERT_TRUE(IsEnabled(kCopier));
    ASSERT_TRUE(Run(kCopier));

    Frame().GetMdiArea().setActiveSubWindow(View(1).GetParentFrame());
    QApplication::processEvents();
    Click("Croisé", Qt::NoModifier, 1);
    ASSERT_TRUE(IsEnabled(kColler));
    ASSERT_TRUE(Run(kColler));
    EXPECT_EQ(Outline(View(1)), (std::vector<std::string>{"Croisé/0", "Chapitre 1/0", "Sexe/1"}));
    EXPECT_EQ(Base("Sexe", 1), 6.0);
    EXPECT_TRUE(Portfolios()[1]->IsModified());
    EXPECT_TRUE(m_ui->shown.empty());
}

// Another program's bytes under our format are refused with the message, the portfolio unchanged.
TEST_F(DossierViewTest, PastingForeignBytesUnderOurFormatIsRefused) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    auto* data = new QMimeData();
    data->setData(QString::fromUtf8(CMorvaneApp::kPortfolioMimeType), QByteArray("pas un dossier"));
    QApplication::clipboard()->setMimeData(data);
    ASSERT_TRUE(Run(kColler));
    ASSERT_EQ(m_ui->shown.size(), 1u);
    EXPECT_EQ(m_ui->shown[0].message.id, StringTable::kLirePressePapiersImpossible);
    EXPECT_EQ(Outline(View()), (std::vector<std::string>{"Sexe/0"}));
}

// Nothing selected: the change applies to every table, computed again with the new base (6
// interviews; 3 men; weighted by POIDS, 21; the men weighted, 9). A window on a portfolio table
// is closed first.
TEST_F(DossierViewTest, ChangingTheStudyFieldAndTheWeightingComputesTheBasesAgain) {
    CChampEtude men;
    men.name = "Hommes";
    men.complexCondition = true;
    men.complexConditionText = "??SEXE?? = 1";
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(men, *m_app, error)) << error;
    std::int32_t code = 0;
    std::string keys;
    std::int32_t recode = 0;
    CEnquete::DonnerReferenceQuestion(&QuestionNamed("POIDS"), code, keys, recode);
    CRedressement weighting;
    weighting.id = 5;
    weighting.name = "Par poids";
    weighting.definition = std::to_string(code) + "@" + keys + "@" + std::to_string(recode) + "~" +
                           CObjectifRedressement().EcrireDefinition(*m_app, false, 0);
    m_app->MettreAJourRedressement(weighting);

    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    SendToPortfolio("type tri-simple\nlignes REGION total\ncalculs 0\ntitre Région\n");
    EXPECT_EQ(Base("Sexe"), 6.0);
    View().SelectAll(false);
    // A table of the portfolio shown in a window.
    emit View().itemDoubleClicked(Item("Sexe"), 0);
    QApplication::processEvents();
    ASSERT_EQ(TableDocuments().size(), 1u);
    // Back to the portfolio, nothing selected.
    Frame().GetMdiArea().setActiveSubWindow(View().GetParentFrame());
    View().SelectAll(false);

    {
        ModalAnswers field({[](QDialog& shown) {
            auto* dialog = qobject_cast<CChampEtudeDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->NameCombo().setCurrentIndex(dialog->NameCombo().findText(QStringLiteral("Hommes")));
            dialog->OkButton().click();
        }});
        ASSERT_TRUE(Run(CDossierView::kChangerChampEtude));
        EXPECT_EQ(field.Unexpected(), 0);
        EXPECT_TRUE(TableDocuments().empty());
        EXPECT_EQ(Base("Sexe"), 3.0);
        EXPECT_EQ(Base("Région"), 3.0);
    }

    {
        ModalAnswers weights({[](QDialog& shown) {
            auto* dialog = qobject_cast<CRedressementDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Redressement");
            const int index = dialog->NameCombo().findText(QStringLiteral("Par poids"));
            ASSERT_GE(index, 0);
            dialog->NameCombo().setCurrentIndex(index);
            dialog->OkButton().click();
        }});
        ASSERT_TRUE(Run(CDossierView::kChangerRedressement));
        EXPECT_EQ(weights.Unexpected(), 0);
        EXPECT_EQ(Base("Sexe"), 9.0);
        EXPECT_EQ(Base("Région"), 9.0);
    }
    EXPECT_TRUE(Portfolios().front()->IsModified());
}

// "Présentation des tableaux" opens on the defaults; the tables concerned take the presentation
// chosen, their requests too, and are not computed again.
ModalAnswers::Step UnderlinedCellsWithDigits(const char* digits, bool ok) {
    return shell_test::steps::CellsStyledWithDigits(CPagePoliceDlg::kSouligne, digits, ok, [](CPresentationTableauDlg& dialog) {
        EXPECT_TRUE(dialog.GetPresentation() == CPresentationTableau());
    });
}

TEST_F(DossierViewTest, ChangingThePresentationRestylesTheConcernedTablesWithoutComputingThem) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    SendToPortfolio("type tri-simple\nlignes REGION total\ncalculs 0\ntitre Région\n");
    CDossierDoc& portfolio = *Portfolios().front();
    const auto presentationOf = [this](const std::string& name) -> const CPresentationTableau& {
        return View().GetElement(Item(name))->GetTableau()->GetPresentation();
    };
    const auto requestOf = [this](const std::string& name) -> const CPresentationTableau& {
        return View().GetElement(Item(name))->GetTableau()->GetTraitement()->presentation;
    };
    const CTableau* sexe = View().GetElement(Item("Sexe"))->GetTableau();
    const CPresentationTableau before = presentationOf("Sexe");
    ASSERT_EQ(before.GetEffectif(), 0);
    // "Sexe" shown in a window, laid out as it is.
    View().SelectAll(false);
    emit View().itemDoubleClicked(Item("Sexe"), 0);
    QApplication::processEvents();
    ASSERT_EQ(TableDocuments().size(), 1u);
    auto& window = *dynamic_cast<CTableauView*>(TableDocuments().front()->GetViews().front());
    window.ScreenLayout();
    Frame().GetMdiArea().setActiveSubWindow(View().GetParentFrame());

    // Annuler: nothing changes.
    portfolio.SetModifiedFlag(false);
    View().SelectAll(false);
    Click("Région");
    {
        ModalAnswers answers({UnderlinedCellsWithDigits("2", false)});
        ASSERT_TRUE(Run(CDossierView::kChangerPresentation));
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
    }
    EXPECT_TRUE(presentationOf("Région") == before);
    EXPECT_FALSE(portfolio.IsModified());

    // The selected table only.
    {
        ModalAnswers answers({UnderlinedCellsWithDigits("2", true)});
        ASSERT_TRUE(Run(CDossierView::kChangerPresentation));
        EXPECT_EQ(answers.Unexpected(), 0);
    }
    EXPECT_EQ(presentationOf("Région").GetEffectif(), 2);
    EXPECT_TRUE(presentationOf("Région").GetCellule().GetSouligne());
    EXPECT_TRUE(requestOf("Région") == presentationOf("Région"));
    EXPECT_TRUE(presentationOf("Sexe") == before);
    EXPECT_TRUE(portfolio.IsModified());

    // Nothing selected: every table; the table window stays open on the same table, drawn anew.
    View().SelectAll(false);
    {
        ModalAnswers answers({UnderlinedCellsWithDigits("3", true)});
        ASSERT_TRUE(Run(CDossierView::kChangerPresentation));
        EXPECT_EQ(answers.Unexpected(), 0);
    }
    for (const char* name : {"Sexe", "Région"}) {
        EXPECT_EQ(presentationOf(name).GetEffectif(), 3) << name;
        EXPECT_TRUE(requestOf(name) == presentationOf(name)) << name;
    }
    // Not computed again: the same table, with its base.
    EXPECT_EQ(View().GetElement(Item("Sexe"))->GetTableau(), sexe);
    EXPECT_EQ(Base("Sexe"), 6.0);
    ASSERT_EQ(TableDocuments().size(), 1u);
    const std::vector<CPoliceAna>& fonts = window.ScreenLayout().Fonts();
    EXPECT_NE(std::find(fonts.begin(), fonts.end(), presentationOf("Sexe").GetCellule()), fonts.end());
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A dendrogram in a portfolio keeps its node only (its tree is the classification's): saved and
// reopened it comes back under its chapter with its name and type, without a tree and without a
// word to the user, opens nothing when double-clicked, and saving it again writes the same file.
TEST_F(DossierViewTest, ADendrogramSavedAndReopenedKeepsItsNode) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    Click("Sexe");
    ASSERT_TRUE(Run(CDossierDoc::kInserer));
    auto tree = std::make_unique<CDendogramme>();
    tree->titre = "Dendrogramme";
    tree->AjouterNoeudArbre(std::make_unique<CClassificationGroupe>());
    std::vector<std::unique_ptr<CElementDossier>> elements;
    elements.push_back(std::make_unique<CElementDossier>(std::move(tree)));
    RecalculDossier report(*m_app);
    // As a paste does it: computed (a dendrogram stays as it is), appended, then shown after the
    // caret.
    View().InsererElementArbre(Portfolios().front()->InsererElements(std::move(elements), report));
    EXPECT_TRUE(report.AucunEchec());
    Click("Dendrogramme");
    Key(Qt::Key_Right, Qt::AltModifier);
    const std::vector<std::string> outline{"Sexe/0", "Chapitre 1/0", "Dendrogramme/1"};
    ASSERT_EQ(Outline(View()), outline);

    const std::string saved = SaveAndReopen();
    ASSERT_EQ(Portfolios().size(), 1u);
    EXPECT_EQ(Outline(View()), outline);
    const CElementDossier* element = View().GetElement(Item("Dendrogramme"));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->type, CElementDossier::kDendogramme);
    EXPECT_EQ(element->GetDendogramme(), nullptr);
    EXPECT_EQ(element->GetTableau(), nullptr);
    EXPECT_EQ(Base("Sexe"), 6.0);
    EXPECT_TRUE(m_ui->shown.empty()) << m_ui->ShownTexts().front();
    const int windows = WindowCount();
    emit View().itemDoubleClicked(Item("Dendrogramme"), 0);
    QApplication::processEvents();
    EXPECT_EQ(WindowCount(), windows);

    const std::string again = m_path.string() + ".2.dos";
    ASSERT_TRUE(Portfolios().front()->OnSaveDocument(again));
    EXPECT_EQ(FileBytes(again), FileBytes(saved));
    std::filesystem::remove(again);
}

// The survey above with the opinions of four interviews.
constexpr const char* kSurveyWithOpinions = R"(
questionnaire "Dossier" language=fr
language 1036 fr "Français"
question 1 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 2 AVIS open
  caption fr "Votre avis"
records
Cle1,1;1,2;1
1,1,"Très bon produit, livraison rapide."
2,1,"Bon produit mais livraison lente"
3,2,""
4,2,"livraison rapide, bon produit"
end
)";

class OpenAnswerDossierTest : public DossierViewTest {
protected:
    const char* Description() const override { return kSurveyWithOpinions; }

    // Rows (labels and values), title and base of the table, to compare a table with its copy.
    static std::vector<std::string> Contents(const CTableau& table) {
        std::vector<std::string> contents{table.title, std::to_string(table.base)};
        for (std::int32_t r = 0; r < table.RowCount(); ++r)
            contents.push_back(table.GetLibelleLigne(0, r) + "=" + std::to_string(table.GetValeur(r, 0)));
        return contents;
    }
};

// The dictionary and the segment inventory sent from their windows: the portfolio saved, closed
// and reopened computes them again from their requests into the same tables, counted by hand.
TEST_F(OpenAnswerDossierTest, ADictionaryAndASegmentTableFromTheirWindowsComeBackEqual) {
    CQuestionEtendue& avis = QuestionNamed("AVIS");
    CDocument* dictionary = m_app->OuvrirOuvDictionnaire(avis);
    ASSERT_NE(dictionary, nullptr);
    auto* words = dynamic_cast<COuvDictionnaireView*>(dictionary->GetViews().front());
    ASSERT_NE(words, nullptr);
    words->FrequenceMinimale().setValue(2);
    words->TrierPar(COuvDictionnaireView::kFrequence);
    ASSERT_TRUE(words->HandleOwnCommand(COuvDictionnaireView::kAjouterAuDossier, CmdMsg::kCommand, nullptr));
    CDocument* segments = m_app->OuvrirOuvSegment(avis);
    ASSERT_NE(segments, nullptr);
    auto* inventory = dynamic_cast<COuvSegmentView*>(segments->GetViews().front());
    ASSERT_NE(inventory, nullptr);
    inventory->Trier(2);
    inventory->OnAjouterAuDossier();
    QApplication::processEvents();
    ASSERT_EQ(Portfolios().size(), 1u);
    ASSERT_EQ(View().topLevelItemCount(), 2);
    const CTableau* sentWords = View().GetElement(View().topLevelItem(0))->GetTableau();
    const CTableau* sentSegments = View().GetElement(View().topLevelItem(1))->GetTableau();
    ASSERT_TRUE(sentWords != nullptr && sentSegments != nullptr);
    // By hand: bon, livraison and produit 3 times each, rapide twice; «bon produit» 3 times,
    // «livraison rapide» twice.
    const std::vector<std::string> sentWordContents = Contents(*sentWords);
    EXPECT_EQ(sentWords->title, "Dictionnaire de 'Votre avis'");
    EXPECT_EQ(std::vector<std::string>(sentWordContents.begin() + 2, sentWordContents.end()),
              (std::vector<std::string>{"bon=" + std::to_string(3.0), "livraison=" + std::to_string(3.0),
                                        "produit=" + std::to_string(3.0), "rapide=" + std::to_string(2.0)}));
    const std::vector<std::string> sentSegmentContents = Contents(*sentSegments);
    EXPECT_NE(std::find(sentSegmentContents.begin(), sentSegmentContents.end(), "bon produit=" + std::to_string(3.0)),
              sentSegmentContents.end());
    EXPECT_NE(std::find(sentSegmentContents.begin(), sentSegmentContents.end(),
                        "livraison rapide=" + std::to_string(2.0)),
              sentSegmentContents.end());

    SaveAndReopen();
    ASSERT_EQ(Portfolios().size(), 1u);
    ASSERT_EQ(View().topLevelItemCount(), 2);
    const CTableau* readWords = View().GetElement(View().topLevelItem(0))->GetTableau();
    const CTableau* readSegments = View().GetElement(View().topLevelItem(1))->GetTableau();
    ASSERT_TRUE(readWords != nullptr && readSegments != nullptr);
    EXPECT_EQ(Contents(*readWords), sentWordContents);
    EXPECT_EQ(Contents(*readSegments), sentSegmentContents);
    EXPECT_TRUE(m_ui->shown.empty()) << m_ui->ShownTexts().front();
}

// "Enregistrer" of a new portfolio asks for its file; saved, the portfolio takes the file's name
// everywhere it shows one: its window, the window list and the main window's title; "Enregistrer
// sous..." names it again.
TEST_F(DossierViewTest, SavedUnderANameThePortfolioShowsThatNameEverywhere) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    ASSERT_EQ(Portfolios().size(), 1u);
    CDossierDoc& portfolio = *Portfolios().front();
    CMDIChildWnd* window = View().GetParentFrame();
    ASSERT_NE(window, nullptr);
    Frame().GetMdiArea().setActiveSubWindow(window);
    QApplication::processEvents();
    EXPECT_EQ(portfolio.GetTitle().toStdString(), "Dossier1");
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Morvane - Dossier1");

    const auto saveAs = [this](unsigned command, const std::filesystem::path& path) {
        ModalAnswers answers({[&path](QDialog& shown) {
            auto* dialog = qobject_cast<QFileDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(QString::fromStdString(path.string()));
            QMetaObject::invokeMethod(dialog, "accept");
        }});
        EXPECT_TRUE(Run(command));
        EXPECT_EQ(answers.Answered(), 1u);
    };
    const std::filesystem::path first = s_folder / "Ventes du printemps.dos";
    const std::filesystem::path second = s_folder / "ventes-ete.dos";
    for (const auto& [command, path] : {std::pair{unsigned{FrameworkCommands::kFileSave}, first},
                                        std::pair{unsigned{FrameworkCommands::kFileSaveAs}, second}}) {
        saveAs(command, path);
        const std::string name = path.filename().string();
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_FALSE(portfolio.IsModified());
        EXPECT_EQ(portfolio.GetPathName(), path.string());
        EXPECT_EQ(portfolio.GetTitle().toStdString(), name);
        EXPECT_EQ(window->windowTitle().toStdString(), name);
        EXPECT_EQ(WindowListMenu::ListedTitle(*window).toStdString(), name);
        EXPECT_EQ(Frame().windowTitle().toStdString(), "Morvane - " + name);
        std::filesystem::remove(path);
    }
}

// The workbook of a portfolio holds its tables; its charts are left out, and the analyst is told
// which ones, before the workbook opens. Without a chart nothing is said.
TEST_F(DossierViewTest, TheWorkbookExportSaysWhichChartsItLeavesOut) {
    SendToPortfolio("type tri-simple\nlignes SEXE total\ncalculs 0\ntitre Sexe\n");
    ASSERT_EQ(Portfolios().size(), 1u);
    CDossierDoc& portfolio = *Portfolios().front();
    shell_test::DesktopOpenings desktop;
    const std::filesystem::path path = s_folder / "dossier-graphiques.xlsx";
    ASSERT_TRUE(portfolio.ExporterExcel(path.string()));
    EXPECT_TRUE(m_ui->shown.empty());

    std::unique_ptr<CTraitement> chart = Request("type tri-simple\nlignes REGION\ncalculs 0\ntitre Région\n");
    chart->openAsChart = 1;
    chart->SetVersDossier(true);
    ASSERT_TRUE(CMainFrame::LancerTraitement(std::move(chart)));
    QApplication::processEvents();
    ASSERT_EQ(portfolio.GetNbreElements(), 2);
    ASSERT_EQ(portfolio.GetElement(1)->type, CElementDossier::kGraphique);
    ASSERT_TRUE(portfolio.ExporterExcel(path.string()));
    ASSERT_EQ(m_ui->shown.size(), 1u);
    EXPECT_EQ(m_ui->shown[0].icon, UserInterface::Icon::Information);
    EXPECT_EQ(m_ui->ShownTexts().front(),
              "Le classeur ne contient que les tableaux du dossier ; ces éléments n'y sont pas :\nRégion");
    EXPECT_EQ(desktop.opened.size(), 2);

    // The table alone in the workbook: "Sexe" and its rows, no "Région" anywhere.
    const xlsx_test::Workbook workbook(path.string());
    ASSERT_EQ(workbook.SheetNames(), std::vector<std::string>{"Feuil1"});
    EXPECT_EQ(workbook.At("Feuil1", "A1")->text, "Sexe");
    for (int row = 1; row <= 30; ++row) {
        for (const char* column : {"A", "B", "C"}) {
            if (const std::optional<xlsx_test::Cell> cell = workbook.At("Feuil1", column + std::to_string(row))) {
                EXPECT_EQ(cell->text.find("Région"), std::string::npos) << column << row;
            }
        }
    }
    std::filesystem::remove(path);
}

} // namespace
