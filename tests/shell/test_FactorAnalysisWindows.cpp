#include "MorvaneAppTestSupport.h"
#include "app/DataAccess.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "framework/MultiTree.h"
#include "gui/requests/ProfilNumeriqueDlg.h"
#include "gui/requests/ProfilsActifsIllustratifsDlg.h"
#include "statistics/Mapping.h"
#include "gui/statistics/GenererVariableDlg.h"
#include "gui/statistics/MorvaneDirecteDoc.h"
#include "gui/statistics/MorvaneDirecteView.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/MorvaneFactorielleView.h"
#include "gui/statistics/SelInterviewsDlg.h"
#include "gui/statistics/SelNbAxesDlg.h"
#include "tools/screenshot/ModalAnswers.h"
#include "tools/statrun/StatisticsCommand.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sstream>

// The factor-analysis windows reached as the analyst reaches them: a table sent to an analysis
// from its window's "Edition" menu, and the analyses of questions from the "Morvane" menu, on
// the demo questionnaire; their dialogs answered as he answers them.
namespace shell_test {
namespace {

constexpr unsigned kEnvoyerVersAcp = 32875;
constexpr unsigned kEnvoyerVersAfc = 32876;
constexpr unsigned kAcp = 32863;
constexpr unsigned kAfcDisjonctive = 32864;

std::unique_ptr<CTableau> CountTable(int rows, int columns) {
    auto table = std::make_unique<CTableau>(1, 1, rows, columns, CTableauBase::kMarqueParColonne);
    table->title = "Comptes";
    for (int i = 0; i < rows; ++i) {
        const CLigne label("Ligne " + std::to_string(i + 1));
        table->SetLibelleLigne(0, i, &label);
        for (int j = 0; j < columns; ++j)
            table->SetValeur(i, j, 1 + (i * 7 + j * 3) % 11);
    }
    for (int j = 0; j < columns; ++j) {
        const CLigne label("Colonne " + std::to_string(j + 1));
        table->SetLibelleColonne(0, j, &label);
    }
    return table;
}

ModalAnswers::Step Axes(int axes) {
    return [axes](QDialog& shown) {
        auto* dialog = qobject_cast<CSelNbAxesDlg*>(&shown);
        ASSERT_NE(dialog, nullptr);
        dialog->GetSpin().setValue(axes);
        dialog->accept();
    };
}

void DoubleClick(QTreeWidget& tree, int row) {
    QTreeWidgetItem* item = tree.topLevelItem(row);
    ASSERT_NE(item, nullptr) << row;
    tree.scrollToItem(item);
    const QRect rect = tree.visualItemRect(item);
    QWidget* viewport = tree.viewport();
    const QPoint point(rect.left() + 24, rect.center().y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, point, viewport->mapToGlobal(point), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

int ItemNamed(const QTreeWidget& tree, const std::string& text) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (tree.topLevelItem(i)->text(0).toStdString() == text)
            return i;
    return -1;
}

// The eigenvalues statistics-run prints for the same analysis, read back exactly.
std::vector<double> ToolEigenvalues(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(statrun::Run(arguments, out, err), 0) << err.str();
    std::istringstream lines(out.str());
    std::string line;
    std::vector<double> values;
    while (std::getline(lines, line) && line != "Valeurs propres") {
    }
    std::getline(lines, line); // the headings
    while (std::getline(lines, line) && line.rfind("Axe ", 0) == 0) {
        std::istringstream cells(line.substr(line.find('\t') + 1));
        double value = 0;
        cells >> value;
        values.push_back(value);
    }
    return values;
}

class FactorAnalysisWindowsTest : public MorvaneAppTest {
protected:
    // The analyses generate questions: they go to a copy of the demo, which the other tests of
    // the process share.
    void SetUp() override {
        MorvaneAppTest::SetUp();
        m_copy = s_folder / ("factor-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                             ".qes");
        std::filesystem::copy_file(DemoPath(), m_copy, std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(Start(m_copy.string()));
    }
    void TearDown() override {
        MorvaneAppTest::TearDown();
        std::filesystem::remove(m_copy);
    }

    std::filesystem::path m_copy;

    template <class View> View* OnlyView(TemplateKind kind) const {
        const std::vector<CDocument*> documents = m_app->GetTemplate(kind).GetDocuments();
        if (documents.size() != 1 || documents.front()->GetViews().empty())
            return nullptr;
        return dynamic_cast<View*>(documents.front()->GetViews().front());
    }

    void ClickWithAnswers(QPushButton& button, std::vector<ModalAnswers::Step> steps) {
        const std::size_t expected = steps.size();
        ModalAnswers answers(std::move(steps));
        QTest::mouseClick(&button, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), expected);
    }

    // The pair dialog's step: the active questions moved to the active side, the illustrative ones
    // to the active side then down to the illustrative one, then OK.
    template <class Dialog>
    ModalAnswers::Step ChooseQuestions(std::vector<std::string> actives, std::vector<std::string> illustratives = {}) {
        return [this, actives, illustratives](QDialog& shown) {
            auto* dialog = qobject_cast<Dialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            // The closed questions' trees show their names, the numeric questions' their captions.
            const auto find = [this](CMultiTree& tree, const std::string& name) {
                QList<QTreeWidgetItem*> found = tree.findItems(QString::fromStdString(name), Qt::MatchExactly);
                if (found.isEmpty())
                    found = tree.findItems(QString::fromStdString(QuestionNamed(name).GetCaption()), Qt::MatchExactly);
                return found;
            };
            const auto toActives = [&](const std::string& name) {
                const QList<QTreeWidgetItem*> found = find(dialog->QuestionnaireTree(), name);
                ASSERT_EQ(found.size(), 1) << name;
                dialog->QuestionnaireTree().SelectItem(found.front());
                QTest::mouseClick(&dialog->Bouton(Dialog::kVersActives), Qt::LeftButton);
            };
            for (const std::string& name : actives)
                toActives(name);
            for (const std::string& name : illustratives) {
                toActives(name);
                const QList<QTreeWidgetItem*> found = find(dialog->ActiveTree(), name);
                ASSERT_EQ(found.size(), 1) << name;
                dialog->ActiveTree().SelectItem(found.front());
                QTest::mouseClick(&dialog->Bouton(Dialog::kVersIllustratives), Qt::LeftButton);
            }
            dialog->accept();
        };
    }

    // "&Générer..." answered with a label, a result and an axis (from 1).
    ModalAnswers::Step Generate(const std::string& label, int result, int axis) {
        return [label, result, axis](QDialog& shown) {
            auto* dialog = qobject_cast<CGenererVariableDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->GetEditLibelle().setText(QString::fromStdString(label));
            dialog->GetComboResultat().setCurrentIndex(result);
            dialog->GetSpinAxe().setValue(axis);
            dialog->accept();
            if (dialog->isVisible())
                dialog->reject();
        };
    }

    std::vector<double> ReadValues(const std::string& name) {
        CQuestionEtendue& question = QuestionNamed(name);
        CDataAccess access(*m_app, false);
        CVecteurDouble values;
        EXPECT_TRUE(access.LireValeursNumeriquesNiveau(question, 0, values)) << access.GetErrorText();
        return std::vector<double>(values.Valeurs().begin(), values.Valeurs().end());
    }
};

TEST_F(FactorAnalysisWindowsTest, ATableGoesToAnAnalysisWhoseRerunClosesItsTableWindows) {
    ASSERT_NE(m_app->OuvrirTableau(CountTable(2, 5)), nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(IsEnabled(kEnvoyerVersAcp)) << "2 x 5";
    ASSERT_NE(m_app->OuvrirTableau(CountTable(4, 3)), nullptr);
    QApplication::processEvents();
    ASSERT_TRUE(IsEnabled(kEnvoyerVersAcp));
    ASSERT_TRUE(IsEnabled(kEnvoyerVersAfc));
    ASSERT_TRUE(Run(kEnvoyerVersAfc));
    auto* view = OnlyView<CMorvaneDirecteView>(TemplateKind::kMorvaneDirecte);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetTitle(), QStringLiteral("AFC"));
    EXPECT_EQ(dynamic_cast<CMorvaneDirecteDoc*>(view->GetDocument())->GetType(), CMorvaneDirecteDoc::kAfc);

    ClickWithAnswers(view->GetBouton(CMorvaneDirecteView::kRecalculer), {Axes(2)});
    const int coordinates = ItemNamed(view->GetArbre(), "Coordonnées des lignes");
    ASSERT_GE(coordinates, 0);
    const std::size_t before = TableDocuments().size();
    DoubleClick(view->GetArbre(), coordinates);
    QApplication::processEvents();
    ASSERT_EQ(TableDocuments().size(), before + 1);
    const CTableau* shown = TableDocuments().back()->GetTableau();
    EXPECT_EQ(shown->title, "Coordonnées des lignes");
    EXPECT_EQ(shown->ownerDocument, view->GetDocument());
    EXPECT_EQ(shown->GetLibelleLigne(0, 3), "Ligne 4");

    ClickWithAnswers(view->GetBouton(CMorvaneDirecteView::kRecalculer), {Axes(2)});
    EXPECT_EQ(TableDocuments().size(), before) << "the window on the previous results closed";
    // Closing the analysis closes what it opened.
    DoubleClick(view->GetArbre(), coordinates);
    QApplication::processEvents();
    ASSERT_EQ(TableDocuments().size(), before + 1);
    view->GetDocument()->OnCloseDocument();
    QApplication::processEvents();
    EXPECT_EQ(TableDocuments().size(), before);
}

TEST_F(FactorAnalysisWindowsTest, PrincipalComponentsOfTheDemoAgreeWithTheStatisticsTool) {
    ASSERT_TRUE(IsEnabled(kAcp));
    ASSERT_TRUE(Run(kAcp));
    auto* view = OnlyView<CMorvaneFactorielleView>(TemplateKind::kMorvaneFactorielle);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetTitle(), QStringLiteral("ACP"));
    EXPECT_EQ(view->GetCompte(CMorvaneFactorielleView::kInterviewsActives).text(), QString::number(kInterviews));
    EXPECT_FALSE(view->GetBouton(CMorvaneFactorielleView::kGenerer).isEnabled());

    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kSelection),
                     {ChooseQuestions<CProfilNumeriqueDlg>({"AGE", "FOYER", "REVENU"})});
    EXPECT_EQ(view->GetCompte(CMorvaneFactorielleView::kActives).text(), QStringLiteral("3"));
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kRecalculer), {Axes(3)});

    const FactorResults& results = view->GetResultats();
    ASSERT_TRUE(results.Existe());
    const std::vector<double> tool = ToolEigenvalues(
        {"pca", DemoPath(), "--questions", "AGE,FOYER,REVENU", "--axes", "3", "--digits", "17"});
    ASSERT_EQ(tool.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(results.ValeursPropres()[3 * k], tool[k], 1e-10) << k;
    const std::vector<std::string> expected{"Valeurs propres",         "Matrice de corrélation",
                                            "Coordonnées des lignes",  "Qualité des lignes",
                                            "Contribution des lignes", "Corrélations Questions x Axes",
                                            "Mapping Axe 1 x 2",       "Mapping Axe 1 x 3",
                                            "Mapping Axe 2 x 3"};
    ASSERT_EQ(view->GetArbre().topLevelItemCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < view->GetArbre().topLevelItemCount(); ++i)
        EXPECT_EQ(view->GetArbre().topLevelItem(i)->text(0).toStdString(), expected[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(view->GetBouton(CMorvaneFactorielleView::kGenerer).isEnabled());

    // The generated coordinate question holds the result table's column, read back through the
    // data layer.
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kGenerer), {Generate("Axe 2 de l'ACP", 0, 2)});
    const std::vector<double> generated = ReadValues("Axe 2 de l'ACP");
    ASSERT_EQ(generated.size(), static_cast<std::size_t>(kInterviews));
    const std::vector<double> column = results.Coordonnees(FactorResults::kLignes, 1);
    const std::vector<std::int32_t>& rows = view->GetInterviewsLignes();
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_DOUBLE_EQ(generated[static_cast<std::size_t>(rows[i])], column[i]) << i;
}

TEST_F(FactorAnalysisWindowsTest, MultipleCorrespondenceOfFiveClosedQuestionsWithIllustrativeOnes) {
    ASSERT_TRUE(Run(kAfcDisjonctive));
    auto* view = OnlyView<CMorvaneFactorielleView>(TemplateKind::kMorvaneFactorielle);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetTitle(), QStringLiteral("AFC Disjonctive"));
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kSelection),
                     {ChooseQuestions<CProfilsActifsIllustratifsDlg>({"SEXE", "TRANCHE", "REGION", "CSP", "SATISF"},
                                                                     {"MARQUES"})});
    EXPECT_GT(view->GetCompte(CMorvaneFactorielleView::kIllustratives).text().toInt(), 0);

    // The first five interviews become illustrative.
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kInterviews), {[](QDialog& shown) {
                         auto& dialog = dynamic_cast<CSelInterviewsDlg&>(shown);
                         QTreeWidget& active = dialog.GetListe(CSelInterviewsDlg::kActif);
                         for (int i = 0; i < 5; ++i)
                             active.topLevelItem(i)->setSelected(true);
                         QTest::mouseClick(&dialog.GetBouton(CSelInterviewsDlg::kActifVersIllustratif),
                                           Qt::LeftButton);
                         dialog.accept();
                     }});
    EXPECT_EQ(view->GetCompte(CMorvaneFactorielleView::kInterviewsIllustratives).text(), QStringLiteral("5"));
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kRecalculer), {Axes(2)});
    const FactorResults& results = view->GetResultats();
    ASSERT_TRUE(results.Existe());
    EXPECT_EQ(results.LignesActives(), kInterviews - 5);
    EXPECT_EQ(results.Lignes(), kInterviews);
    EXPECT_EQ(ItemNamed(view->GetArbre(), "Mapping Axe 1 x 2"), view->GetArbre().topLevelItemCount() - 1);

    // A duplicate label is refused and the dialog stays; then a contribution question, not
    // asked of the illustrative interviews.
    m_ui->shown.clear();
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kGenerer), {Generate("SEXE", 2, 1)});
    EXPECT_EQ(m_ui->ShownTexts(), std::vector<std::string>{StringTable::Text(StringTable::kLibelleDejaUtilise)});
    EXPECT_EQ(m_app->TrouverQuestionParNom("SEXE")->GetQuestionCalculee(), nullptr);
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kGenerer), {Generate("Contribution axe 1", 2, 1)});
    const std::vector<double> generated = ReadValues("Contribution axe 1");
    ASSERT_EQ(generated.size(), static_cast<std::size_t>(kInterviews));
    const std::vector<double> contributions = results.Contributions(FactorResults::kLignes, 0);
    const std::vector<std::int32_t>& rows = view->GetInterviewsLignes();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double value = generated[static_cast<std::size_t>(rows[i])];
        if (static_cast<int>(i) < results.LignesActives())
            EXPECT_DOUBLE_EQ(value, contributions[i]) << i;
        else
            EXPECT_EQ(value, -888888.88) << i;
    }
}

TEST_F(FactorAnalysisWindowsTest, MultipleCorrespondenceAgreesWithTheStatisticsTool) {
    ASSERT_TRUE(Run(kAfcDisjonctive));
    auto* view = OnlyView<CMorvaneFactorielleView>(TemplateKind::kMorvaneFactorielle);
    ASSERT_NE(view, nullptr);
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kSelection),
                     {ChooseQuestions<CProfilsActifsIllustratifsDlg>({"SEXE", "TRANCHE", "REGION", "CSP", "SATISF"},
                                                                     {"MARQUES"})});
    ClickWithAnswers(view->GetBouton(CMorvaneFactorielleView::kRecalculer), {Axes(3)});
    const FactorResults& results = view->GetResultats();
    ASSERT_TRUE(results.Existe());
    const std::vector<double> tool =
        ToolEigenvalues({"mca", DemoPath(), "--questions", "SEXE,TRANCHE,REGION,CSP,SATISF", "--extra-questions",
                         "MARQUES", "--axes", "3", "--digits", "17"});
    ASSERT_GE(tool.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(results.ValeursPropres()[3 * k], tool[k], 1e-10) << k;
}

} // namespace
} // namespace shell_test
