#include "StudyWindowTest.h"

#include "gui/requests/ProfilNumeriqueDlg.h"
#include "gui/requests/ProfilsActifsIllustratifsDlg.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/MorvaneFactorielleView.h"
#include "statistics/Acm.h"
#include "statistics/Acp.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

// The factor window's "&Sélection..." chooses both sides in one pair dialog: numeric questions
// for a PCA, modalities of closed questions for an MCA. The analysis then runs on what was chosen,
// as the engines fed directly with the same table do.
namespace statistics_ui_test {
namespace {

// Six interviews, every answer given.
const char* const kSurvey = R"(
questionnaire "Mesures" language=fr
language 1036 fr "Français"
question 1 POIDS numeric
  caption fr "Poids"
question 2 TAILLE numeric
  caption fr "Taille"
question 3 AGE numeric
  caption fr "Âge"
question 4 SPORT closed
  caption fr "Sportif"
  modality 1 fr "Oui"
  modality 2 fr "Non"
question 5 VILLE closed
  caption fr "Habitat"
  modality 1 fr "Ville"
  modality 2 fr "Campagne"
records
Cle1,1;1,2;1,3;1,4;1,5;1
1,60,170,25,1,1
2,72,180,31,1,2
3,55,160,47,2,1
4,90,185,52,2,2
5,68,175,38,1,1
6,81,178,29,2,2
end
)";

// The same answers, interview by interview, in the order the questions are chosen.
const double kMesures[6][3] = {{60, 170, 25}, {72, 180, 31}, {55, 160, 47},
                               {90, 185, 52}, {68, 175, 38}, {81, 178, 29}};
// SPORT Oui, Non, VILLE Ville, Campagne.
const std::uint8_t kDisjonctif[6][4] = {{1, 0, 1, 0}, {1, 0, 0, 1}, {0, 1, 1, 0},
                                        {0, 1, 0, 1}, {1, 0, 1, 0}, {0, 1, 0, 1}};

class FactorSelectionTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(kSurvey);
    }

    CMorvaneFactorielleView& Open(std::uint16_t type) {
        CMultiDocTemplate& docTemplate = AddTemplate<CMorvaneFactorielleDoc, CMorvaneFactorielleView>();
        CDocument* document = docTemplate.OpenDocumentFile(DocumentSource::FromObject(&type));
        EXPECT_NE(document, nullptr);
        return *dynamic_cast<CMorvaneFactorielleView*>(document->GetViews().front());
    }

    // Clicks the button of the view with the dialogs it opens answered in turn.
    static void Run(QPushButton& button, std::vector<ModalAnswers::Step> steps) {
        const std::size_t expected = steps.size();
        ModalAnswers answers(std::move(steps));
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), expected);
    }

};

// Every question of the questionnaire tree goes to the actives; the missing answers are taken
// out of the closed ones.
template <class Dialog>
ModalAnswers::Step ToutEnActives(std::vector<int> buttons) {
    return [buttons](QDialog& shown) {
        auto* dialog = qobject_cast<Dialog*>(&shown);
        ASSERT_NE(dialog, nullptr);
        for (int id : buttons)
            QTest::mouseClick(&dialog->Bouton(static_cast<typename Dialog::Button>(id)), Qt::LeftButton);
        QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);
    };
}

TEST_F(FactorSelectionTest, APcaOnTheQuestionsChosenInThePairDialogMatchesTheEngine) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAcp);
    Run(view.GetBouton(CMorvaneFactorielleView::kSelection),
        {ToutEnActives<CProfilNumeriqueDlg>({CProfilNumeriqueDlg::kToutVersActives})});
    EXPECT_EQ(view.GetProfilActif().GetCount(), 3);
    EXPECT_EQ(view.GetProfilIllustratif().GetCount(), 0);
    Run(view.GetBouton(CMorvaneFactorielleView::kRecalculer), {Axes(2)});

    CAcp engine(6, 0, 3, 0, &kMesures[0][0]);
    ASSERT_TRUE(engine.Calculer());
    const std::vector<double> expected = engine.ValeursPropres();
    const FactorResults& results = view.GetResultats();
    ASSERT_TRUE(results.Existe());
    ASSERT_EQ(results.NombreValeursPropres(), 3);
    double total = 0;
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(results.ValeursPropres()[3 * k], expected[k], 1e-9) << k;
        total += results.ValeursPropres()[3 * k];
    }
    // Three standardised variables: the inertia is their number.
    EXPECT_NEAR(total, 3.0, 1e-9);
}

TEST_F(FactorSelectionTest, AnMcaOnTheModalitiesChosenInThePairDialogMatchesTheEngine) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAfcDisjonctive);
    Run(view.GetBouton(CMorvaneFactorielleView::kSelection),
        {ToutEnActives<CProfilsActifsIllustratifsDlg>(
            {CProfilsActifsIllustratifsDlg::kToutVersActives, CProfilsActifsIllustratifsDlg::kSansManquantes})});
    EXPECT_EQ(view.GetProfilActif().GetNbreModalitesTotal(), 4);
    Run(view.GetBouton(CMorvaneFactorielleView::kRecalculer), {Axes(2)});

    CAcm engine(6, 0, 4, 0, &kDisjonctif[0][0]);
    ASSERT_TRUE(engine.Calculer());
    const std::vector<double>& expected = engine.ValeursPropres();
    const FactorResults& results = view.GetResultats();
    ASSERT_TRUE(results.Existe());
    ASSERT_GE(results.NombreValeursPropres(), 2);
    for (int k = 0; k < 2; ++k)
        EXPECT_NEAR(results.ValeursPropres()[3 * k], expected[static_cast<std::size_t>(k)], 1e-9) << k;
    // Two questions of two modalities: the eigenvalues are (1 + r) / 2 and (1 - r) / 2, r the
    // correlation of the two indicators; here SPORT Oui and VILLE Ville agree on 4 of 6
    // interviews (phi = 1/3 by hand), so 2/3 and 1/3.
    EXPECT_NEAR(results.ValeursPropres()[0], 2.0 / 3.0, 1e-9);
    EXPECT_NEAR(results.ValeursPropres()[3], 1.0 / 3.0, 1e-9);
}

TEST_F(FactorSelectionTest, CancellingThePairDialogKeepsTheProfiles) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAcp);
    view.GetProfilActif().Add(m_context.TrouverQuestionParNom("POIDS"));
    Run(view.GetBouton(CMorvaneFactorielleView::kSelection), {[](QDialog& shown) {
            auto* dialog = qobject_cast<CProfilNumeriqueDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            QTest::mouseClick(&dialog->Bouton(CProfilNumeriqueDlg::kToutVersActives), Qt::LeftButton);
            dialog->reject();
        }});
    EXPECT_EQ(view.GetProfilActif().GetCount(), 1);
}

} // namespace
} // namespace statistics_ui_test
