#include "StudyWindowTest.h"

#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/MorvaneFactorielleView.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <sqlite3.h>

// What the factor analysis of questions does with data it cannot analyse: it says why, or runs
// on what can be analysed, and never shows a window of numbers that are not numbers.
namespace statistics_ui_test {
namespace {

// Six interviews; VIDE was never answered, UN1 and UN2 offer one modality each.
const char* const kSurvey = R"(
questionnaire "Mauvaises données" language=fr
language 1036 fr "Français"
question 1 POIDS numeric
  caption fr "Poids"
question 2 TAILLE numeric
  caption fr "Taille"
question 3 VIDE numeric
  caption fr "Jamais répondue"
question 4 UN1 closed
  caption fr "Une modalité"
  modality 1 fr "Oui"
question 5 UN2 closed
  caption fr "Une autre modalité"
  modality 1 fr "Toujours"
records
Cle1,1;1,2;1,3;1,4;1,5;1
1,60,170,,1,1
2,72,180,,1,1
3,55,160,,1,1
4,90,185,,1,1
5,68,175,,1,1
6,81,178,,1,1
end
)";

class FactorAnalysisOfQuestionsTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(kSurvey);
    }

    CMorvaneFactorielleView& Open(std::uint16_t type) {
        return StudyWindowTest::Open<CMorvaneFactorielleDoc, CMorvaneFactorielleView>(DocumentSource::FromObject(&type));
    }

    void AddNumeric(CMorvaneFactorielleView& view, const char* name) {
        view.GetProfilActif().Add(m_context.TrouverQuestionParNom(name));
    }

    void AddClosed(CMorvaneFactorielleView& view, const char* name) {
        CQuestionEtendue* question = m_context.TrouverQuestionParNom(name);
        std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
        question->DonnerModalites(modalities, true);
        std::erase_if(modalities, [](const auto& modality) { return modality->code < 0; });
        view.GetProfilActif().Add(question, modalities);
    }

    void Recalculate(CMorvaneFactorielleView& view, std::vector<ModalAnswers::Step> steps) {
        const std::size_t expected = steps.size();
        ModalAnswers answers(std::move(steps));
        QTest::mouseClick(&view.GetBouton(CMorvaneFactorielleView::kRecalculer), Qt::LeftButton);
        EXPECT_EQ(answers.Unexpected(), 0);
        EXPECT_EQ(answers.Answered(), expected);
    }
};

TEST_F(FactorAnalysisOfQuestionsTest, RemovingTheInterviewsWithMissingValuesLeavesNoneToAnalyse) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAcp);
    AddNumeric(view, "POIDS");
    AddNumeric(view, "VIDE");
    view.SetOptions(2);
    Recalculate(view, {});
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{"Trop de non-réponses ... Impossible de créer la matrice..."});
    EXPECT_FALSE(view.GetResultats().Existe());
    EXPECT_FALSE(view.GetBouton(CMorvaneFactorielleView::kGenerer).isEnabled());
}

// Replaced by its mean, a question never answered is a constant: no inertia, no NaN, and the
// one axis left is the only one offered.
TEST_F(FactorAnalysisOfQuestionsTest, AQuestionNeverAnsweredAddsNothing) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAcp);
    AddNumeric(view, "POIDS");
    AddNumeric(view, "TAILLE");
    AddNumeric(view, "VIDE");
    bool offeredOne = false;
    Recalculate(view, {[&offeredOne](QDialog& shown) {
                    auto& dialog = dynamic_cast<CSelNbAxesDlg&>(shown);
                    offeredOne = dialog.GetMinimum() == 2 && dialog.GetMaximum() == 2;
                    dialog.accept();
                }});
    EXPECT_TRUE(offeredOne) << "two axes carry inertia, the third none";
    const FactorResults& results = view.GetResultats();
    ASSERT_TRUE(results.Existe());
    for (const std::vector<double>* table : {&results.ValeursPropres(), &results.CoordonneesLignes(),
                                             &results.Acp().qualitesLignes, &results.Acp().contributionsLignes,
                                             &results.Acp().correlations})
        for (double value : *table)
            EXPECT_TRUE(std::isfinite(value));
    EXPECT_NEAR(results.ValeursPropres()[6], 0.0, 1e-12);
    EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(FactorAnalysisOfQuestionsTest, QuestionsOfOneModalityEachCarryNoInertia) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAfcDisjonctive);
    AddClosed(view, "UN1");
    AddClosed(view, "UN2");
    view.AfficherComptes();
    EXPECT_EQ(view.GetCompte(CMorvaneFactorielleView::kActives).text(), QStringLiteral("2"));
    Recalculate(view, {});
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{StringTable::Text(StringTable::kAucunAxe)});
    EXPECT_EQ(view.GetArbre().topLevelItemCount(), 0);
}

TEST_F(FactorAnalysisOfQuestionsTest, FewerThanTwoActiveColumnsAreRefused) {
    for (std::uint16_t type : {CMorvaneFactorielleDoc::kAcp, CMorvaneFactorielleDoc::kAfcDisjonctive}) {
        m_ui->shown.clear();
        CMorvaneFactorielleView& view = Open(type);
        if (type == CMorvaneFactorielleDoc::kAcp)
            AddNumeric(view, "POIDS");
        else
            AddClosed(view, "UN1");
        Recalculate(view, {});
        EXPECT_EQ(ShownTexts(), std::vector<std::string>{"Vous devez sélectionner au moins 2 colonnes actives..."});
        view.GetDocument()->OnCloseDocument();
    }
}

// Another program commits to the file after the survey was read: the data table is not built from
// a state the window's survey never saw.
TEST_F(FactorAnalysisOfQuestionsTest, AFileChangedByAnotherProgramIsNotAnalysed) {
    CMorvaneFactorielleView& view = Open(CMorvaneFactorielleDoc::kAcp);
    AddNumeric(view, "POIDS");
    AddNumeric(view, "TAILLE");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_context.questionnairePath.c_str(), &other), SQLITE_OK);
    const std::string table = "\"VEL Reponse" + std::to_string(m_context.TrouverQuestionParNom("POIDS")->responseTable) + "\"";
    EXPECT_EQ(sqlite3_exec(other, ("UPDATE " + table + " SET \"1;1\" = 61 WHERE Cle1 = 1").c_str(), nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    Recalculate(view, {});
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{StringTable::Format(
                                Message(StringTable::kQuestionnaireModifieAilleurs, {m_context.questionnairePath}))});
    EXPECT_FALSE(view.GetResultats().Existe());
}

} // namespace
} // namespace statistics_ui_test
