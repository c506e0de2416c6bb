#include "StudyWindowTest.h"

#include "app/DataAccess.h"
#include "app/MatriceCodes.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionCalculee.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "gui/statistics/ClassificationView.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/SelNbGroupesDlg.h"
#include "gui/statistics/TypologieView.h"
#include "portfolio/ElementDossier.h"
#include "statistics/Dendogramme.h"
#include "support/FlatCountTable.h"

#include <QInputDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

// The typology and classification windows over six interviews whose answers fall in three
// obvious groups, so that every figure of their tables can be worked out by hand.
namespace statistics_ui_test {
namespace {

// Interviews 1-2, 3-4 and 5-6 have the same numbers; their closed answers are (A,X), (A,X),
// (A,Y), (B,Y), (B,Y), (B,Y): three distinct rows, so three groups take one each.
const char* const kSurvey = R"(
questionnaire "Groupes" language=fr
language 1036 fr "Français"
question 1 C closed
  caption fr "Première"
  modality 1 fr "A"
  modality 2 fr "B"
question 2 D closed
  caption fr "Seconde"
  modality 1 fr "X"
  modality 2 fr "Y"
question 3 NX numeric
  caption fr "Valeur x"
question 4 NY numeric
  caption fr "Valeur y"
records
Cle1,1;1,2;1,3;1,4;1
1,1,1,1,10
2,1,1,1,10
3,1,2,5,20
4,2,2,5,20
5,2,2,9,60
6,2,2,9,60
end
)";

class GroupAnalysisWindowsTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(kSurvey);
    }

    template <class View> View& Open(std::uint16_t type) {
        CMultiDocTemplate& docTemplate = AddTemplate<CMorvaneFactorielleDoc, View>();
        CDocument* document = docTemplate.OpenDocumentFile(DocumentSource::FromObject(&type));
        EXPECT_NE(document, nullptr);
        return *dynamic_cast<View*>(document->GetViews().front());
    }

    void Choose(GroupAnalysisView& view, bool numeric) {
        for (const char* name : numeric ? std::vector<const char*>{"NX", "NY"} : std::vector<const char*>{"C", "D"}) {
            CQuestionEtendue* question = m_context.TrouverQuestionParNom(name);
            ASSERT_NE(question, nullptr) << name;
            if (numeric) {
                view.GetProfilActif().Add(question);
                continue;
            }
            std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
            question->DonnerModalites(modalities, true);
            std::erase_if(modalities, [](const auto& modality) { return modality->code < 0; });
            view.GetProfilActif().Add(question, modalities);
        }
        view.AfficherComptes();
    }

    static void Click(QPushButton& button, std::vector<ModalAnswers::Step> steps) {
        const std::size_t expected = steps.size();
        ModalAnswers answers(std::move(steps));
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), expected);
    }

    // The values of the description table of the group holding row `row`.
    static std::vector<double> Description(const AnalysisFormView& view, int firstDescription, int group) {
        const CTableau* table = view.GetElement(firstDescription + group - 1).GetTableau();
        std::vector<double> values;
        for (int i = 0; i < table->RowCount(); ++i)
            for (int j = 0; j < table->ColumnCount(); ++j)
                values.push_back(table->GetValeur(i, j));
        return values;
    }

    static void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(actual[i], expected[i], 1e-9) << "value " << i;
    }

};

// The group of each pair of interviews, as the run numbered them.
std::vector<int> GroupsOfPairs(const CTypologieView& view) {
    const std::vector<double>& rows = view.GetParIndividu();
    return {static_cast<int>(rows[0]), static_cast<int>(rows[4]), static_cast<int>(rows[8])};
}

TEST_F(GroupAnalysisWindowsTest, ATypologyOfModalitiesDescribesEachGroup) {
    auto& view = Open<CTypologieView>(0);
    Choose(view, false);
    view.GetNombreGroupes().setValue(3);
    Click(view.GetBouton(CTypologieView::kRecalculer), {});
    ASSERT_TRUE(view.EstCalcule()) << (ShownTexts().empty() ? "" : ShownTexts().front());
    ASSERT_EQ(view.GetNombreElements(), 5); // per group, per interview, three groups
    const std::vector<double>& rows = view.GetParIndividu();
    EXPECT_EQ(rows[0], rows[2]) << "interviews 1 and 2 answer alike";
    EXPECT_EQ(rows[6], rows[8]);
    EXPECT_EQ(rows[8], rows[10]);
    const int first = static_cast<int>(rows[0]);
    const int third = static_cast<int>(rows[4]);
    // Columns A, B, X, Y; values: test value, count in the group, % in the group, % overall.
    // Group {1, 2}: A p = 1/2, q = 1: z = 0.5 / sqrt(0.25 / 2) = sqrt(2); X p = 1/3, q = 1:
    // z = (2/3) / sqrt((2/9) / 2) = 2.
    ExpectValues(Description(view, 2, first), {std::sqrt(2.0), 2, 100, 50, -std::sqrt(2.0), 0, 0, 50,
                                               2, 2, 100, 100.0 / 3, -2, 0, 0, 200.0 / 3});
    // Group {3}: n = 1; A z = 0.5 / sqrt(0.25) = 1; X z = (-1/3) / sqrt(2/9) = -1/sqrt(2).
    ExpectValues(Description(view, 2, third), {1, 1, 100, 50, -1, 0, 0, 50, -1 / std::sqrt(2.0), 0, 0, 100.0 / 3,
                                               1 / std::sqrt(2.0), 1, 100, 200.0 / 3});
    EXPECT_EQ(view.GetElement(2).GetTableau()->base, 0 + (first == 1 ? 2 : third == 1 ? 1 : 3));
}

TEST_F(GroupAnalysisWindowsTest, ATypologyOfNumbersDescribesEachGroup) {
    auto& view = Open<CTypologieView>(1);
    Choose(view, true);
    view.GetNombreGroupes().setValue(3);
    Click(view.GetBouton(CTypologieView::kRecalculer), {});
    ASSERT_TRUE(view.EstCalcule()) << (ShownTexts().empty() ? "" : ShownTexts().front());
    const std::vector<int> groups = GroupsOfPairs(view);
    // x: mean 5, population deviation sqrt(64 / 6); y: mean 30, deviation
    // sqrt((2 x 400 + 2 x 100 + 2 x 900) / 6).
    // Pair {1, 2}: z_x = sqrt(2) (1 - 5) / sqrt(32 / 3) = -sqrt(3), z_y = sqrt(2) (-20) / s_y.
    const double sx = std::sqrt(64.0 / 6);
    const double sy = std::sqrt(2800.0 / 6);
    ExpectValues(Description(view, 2, groups[0]),
                 {-std::sqrt(3.0), 1, 0, 5, sx, -std::sqrt(2.0) * 20 / sy, 10, 0, 30, sy});
    ExpectValues(Description(view, 2, groups[2]),
                 {std::sqrt(3.0), 9, 0, 5, sx, std::sqrt(2.0) * 30 / sy, 60, 0, 30, sy});
    // Every pair is its group's centre: no inertia within, all of it explained.
    const std::vector<double>& perGroup = view.GetParGroupe();
    EXPECT_NEAR(perGroup[3 * 4 + 3], 100.0, 1e-9);
}

TEST_F(GroupAnalysisWindowsTest, GenererWritesTheGroupsAsAClosedQuestion) {
    auto& view = Open<CTypologieView>(1);
    Click(view.GetBouton(CTypologieView::kGenerer), {});  // before any run: nothing
    Choose(view, true);
    view.GetNombreGroupes().setValue(3);
    Click(view.GetBouton(CTypologieView::kRecalculer), {});
    ASSERT_TRUE(view.EstCalcule());
    auto answer = [](const char* text) {
        return [text](QDialog& shown) {
            auto& prompt = dynamic_cast<QInputDialog&>(shown);
            EXPECT_EQ(prompt.labelText(), QStringLiteral("Entrer le libellé de la question:"));
            prompt.setTextValue(QString::fromUtf8(text));
            prompt.accept();
        };
    };
    // A question's name is refused and asked again.
    Click(view.GetBouton(CTypologieView::kGenerer), {answer("NX"), answer("Groupes")});
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{"Ce libellé est déjà utilisé... Veuillez en changer."});
    CQuestionEtendue* made = m_context.TrouverQuestionParNom("Groupes");
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made->GetQuestionCalculee(), nullptr);
    EXPECT_EQ(made->GetQuestionCalculee()->definition, "1|2|3|");
    EXPECT_EQ(made->GetQuestionCalculee()->themes, "Groupe 1|Groupe 2|Groupe 3|");
    // Each interview answers its group's modality.
    CDataAccess access(m_context, true);
    CMatriceCodes codes;
    ASSERT_TRUE(access.LireReponsesFermeesNiveau(*made, 0, codes));
    const std::vector<int> groups = GroupsOfPairs(view);
    for (int interview = 0; interview < 6; ++interview)
        EXPECT_EQ(codes.GetAt(interview, 0), groups[static_cast<std::size_t>(interview / 2)] - 1) << interview;
    // Crossed with itself by the tabulation engine, as "Tri croisé" would: diagonal with the
    // group sizes (2, 2, 2), the six interviews in the Totals.
    const std::unique_ptr<CTableau> cross = test_support::CrossTable(m_context, *made, *made);
    ASSERT_NE(cross, nullptr) << (ShownTexts().empty() ? "" : ShownTexts().front());
    ASSERT_GE(cross->RowCount(), 4);
    ASSERT_EQ(cross->ColumnCount(), cross->RowCount());
    const int total = cross->RowCount() - 1;
    EXPECT_EQ(cross->GetLibelleLigne(0, total), cross->GetLibelleColonne(0, total));
    for (int i = 0; i < total; ++i) {
        const double size = i < 3 ? 2.0 : 0.0;
        if (i < 3) {
            EXPECT_EQ(cross->GetLibelleLigne(0, i), "Groupe " + std::to_string(i + 1));
        }
        for (int j = 0; j < total; ++j)
            EXPECT_EQ(cross->GetValeur(i, j), i == j ? size : 0.0) << i << ", " << j;
        EXPECT_EQ(cross->GetValeur(i, total), size) << i;
        EXPECT_EQ(cross->GetValeur(total, i), size) << i;
    }
    EXPECT_EQ(cross->GetValeur(total, total), 6.0);
    EXPECT_EQ(cross->base, 6.0);
}

TEST_F(GroupAnalysisWindowsTest, AClassificationAsksWhereToCutAndDrawsTheTree) {
    auto& view = Open<CClassificationView>(3);
    Choose(view, true);
    int offered = 0;
    Click(view.GetBouton(CClassificationView::kRecalculer), {[&offered](QDialog& shown) {
                                                                 auto& dialog = dynamic_cast<CSelNbGroupesDlg&>(shown);
                                                                 offered = dialog.GetSpinGroupes().maximum();
                                                                 dialog.GetSpinGroupes().setValue(3);
                                                                 dialog.GetSpinDendogramme().setValue(4);
                                                                 dialog.accept();
                                                             }});
    EXPECT_EQ(offered, 5) << "six interviews";
    ASSERT_EQ(view.GetNombreElements(), 4) << (ShownTexts().empty() ? "" : ShownTexts().front());
    const CElementDossier& tree = view.GetElement(0);
    EXPECT_EQ(tree.type, CElementDossier::kDendogramme);
    EXPECT_EQ(tree.name, "Dendrogramme");
    ASSERT_NE(tree.GetDendogramme(), nullptr);
    EXPECT_EQ(tree.GetDendogramme()->NombreGroupes(), 3);
    // Identical interviews merge first: each group is a pair, described as the typology's.
    for (int g = 1; g <= 3; ++g)
        EXPECT_EQ(view.GetElement(g).GetTableau()->base, 2.0) << g;
    view.OuvrirElement(0);
    EXPECT_TRUE(m_windows.tables.empty());
}

TEST_F(GroupAnalysisWindowsTest, AClassificationRefusesTooLittle) {
    auto& view = Open<CClassificationView>(2);
    CQuestionEtendue* question = m_context.TrouverQuestionParNom("C");
    std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
    question->DonnerModalites(modalities, true);
    std::erase_if(modalities, [](const auto& modality) { return modality->code < 0; });
    modalities.resize(1);
    view.GetProfilActif().Add(question, modalities);
    Click(view.GetBouton(CClassificationView::kRecalculer), {});
    view.GetInterviewsActives().resize(2);
    Click(view.GetBouton(CClassificationView::kRecalculer), {});
    EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"Vous devez sélectionner au moins 2 modalités actives...",
                                                      "Vous devez sélectionner au moins 3 interviews..."}));
    EXPECT_EQ(view.GetArbre().topLevelItemCount(), 0);
}

TEST_F(GroupAnalysisWindowsTest, CancellingTheCutLeavesTheTreeEmpty) {
    auto& view = Open<CClassificationView>(2);
    Choose(view, false);
    Click(view.GetBouton(CClassificationView::kRecalculer), {[](QDialog& shown) { shown.reject(); }});
    EXPECT_EQ(view.GetArbre().topLevelItemCount(), 0);
    EXPECT_TRUE(ShownTexts().empty());
}

// "Annuler" in the progress of a long classification stops it: no cut is asked, nothing is told,
// and the previous run's results are gone with their windows rather than left beside half of a
// new tree.
TEST_F(GroupAnalysisWindowsTest, CancellingTheProgressLeavesTheWindowEmpty) {
    auto& view = Open<CClassificationView>(3);
    Choose(view, true);
    Click(view.GetBouton(CClassificationView::kRecalculer), {[](QDialog& shown) { shown.accept(); }});
    ASSERT_EQ(view.GetNombreElements(), 6) << "the dendrogram and five groups by default";
    const std::size_t closedBefore = m_windows.closed.size();

    m_ui->cancelAtStep = 3; // within the six rows of distances
    Click(view.GetBouton(CClassificationView::kRecalculer), {});
    EXPECT_EQ(m_ui->lastProgress, 3);
    EXPECT_EQ(m_ui->progressTitles.size(), 2u);
    EXPECT_EQ(view.GetNombreElements(), 0);
    EXPECT_EQ(view.GetArbre().topLevelItemCount(), 0);
    EXPECT_EQ(view.GetNbGroupes(), 0);
    EXPECT_TRUE(ShownTexts().empty());
    ASSERT_GT(m_windows.closed.size(), closedBefore);
    EXPECT_EQ(m_windows.closed.back(), view.GetDocument());

    // The next run, not cancelled, gives the whole tree again.
    m_ui->cancelAtStep = 0;
    Click(view.GetBouton(CClassificationView::kRecalculer), {[](QDialog& shown) { shown.accept(); }});
    EXPECT_EQ(view.GetNombreElements(), 6);
}

} // namespace
} // namespace statistics_ui_test
