// The pages of the variables made from lists, and the profile dialog of the durations page, driven
// on a survey held in memory: what they refuse, what they ask, and what they store and read back.
#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "framework/MultiTree.h"
#include "gui/requests/SelectionProfilDlg.h"
#include "gui/variables/CalRedressementPage.h"
#include "gui/variables/CalSuperpositionPage.h"
#include "gui/variables/LabelledItemTree.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "variables/ConstructionVariable.h"
#include "variables/ScriptTestSupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace {

class ListPagesTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        m_survey = std::make_unique<script_test::ScriptSurvey>();
        auto recorder = std::make_unique<RecordingUserInterface>();
        m_ui = recorder.get();
        Context().SetUserInterface(std::move(recorder));
    }
    void TearDown() override {
        m_survey.reset();
        SettingsFixture::TearDown();
    }
    CContexteEtude& Context() { return m_survey->Get(); }
    CQuestionEtendue& Named(const std::string& name) { return *Context().TrouverQuestionParNom(name); }

    std::unique_ptr<script_test::ScriptSurvey> m_survey;
    RecordingUserInterface* m_ui = nullptr;
};

std::vector<int> Numbers(const LabelledItemTree& tree) {
    std::vector<int> numbers;
    for (const auto& item : tree.Items())
        numbers.push_back(item.number);
    return numbers;
}

TEST_F(ListPagesTest, SuperposingAsksBeforeAQuestionOfAnotherModalityCountAndStopsAtARepeatedOne) {
    CCalSuperpositionPage page(Context());
    m_ui->ScriptReplies({false, true});
    page.Ajouter({&Named("SEXE"), &Named("M")}); // M has 4 modalities, SEXE 2: asked, refused
    ASSERT_EQ(m_ui->asked.size(), 1u);
    EXPECT_EQ(m_ui->asked[0].id, StringTable::kNombreModalitesDifferent);
    EXPECT_EQ(page.Questions().topLevelItemCount(), 1);
    EXPECT_EQ(Numbers(page.Modalites()), (std::vector<int>{1, 2}));
    page.Ajouter({&Named("M")}); // asked again, accepted: it brings its modalities 3 and 4
    EXPECT_EQ(page.Questions().topLevelItemCount(), 2);
    EXPECT_EQ(Numbers(page.Modalites()), (std::vector<int>{1, 2, 3, 4}));
    page.Ajouter({&Named("SEXE"), &Named("M")}); // already there: said once, nothing added
    ASSERT_FALSE(m_ui->shown.empty());
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kQuestionDejaPresente);
    EXPECT_EQ(m_ui->shown.size(), 1u);
    EXPECT_EQ(page.Questions().topLevelItemCount(), 2);
}

TEST_F(ListPagesTest, ASuperpositionIsStoredAndReadBackWithItsOrderAndCumulateOption) {
    CCalSuperpositionPage page(Context());
    page.Ajouter({&Named("M")});
    page.Modalites().setCurrentItem(page.Modalites().topLevelItem(3));
    page.Modalites().Monter(); // 1 2 4 3
    page.Modalites().setCurrentItem(page.Modalites().topLevelItem(0));
    page.Modalites().Supprimer(); // 2 4 3
    page.CumulerBox().setChecked(true);
    ASSERT_TRUE(page.Verifier());
    PartiesVariable parts;
    page.DonnerParties(parts);
    EXPECT_EQ(parts.superposition, 1);
    CQuestionCalculee stored;
    stored.themes = parts.themes;
    stored.definition = parts.definition;
    stored.superposition = parts.superposition;
    CCalSuperpositionPage reopened(Context());
    reopened.Charger(stored);
    EXPECT_EQ(Numbers(reopened.Modalites()), (std::vector<int>{2, 4, 3}));
    ASSERT_EQ(reopened.Questions().topLevelItemCount(), 1);
    EXPECT_EQ(reopened.Questions().topLevelItem(0)->text(0), QStringLiteral("M"));
    EXPECT_TRUE(reopened.CumulerBox().isChecked());
}

TEST_F(ListPagesTest, ASuperpositionNeedsModalitiesAndQuestions) {
    CCalSuperpositionPage page(Context());
    EXPECT_FALSE(page.Verifier());
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kAucuneModaliteDefinie);
    page.Ajouter({&Named("SEXE")});
    page.Questions().clear();
    EXPECT_FALSE(page.Verifier());
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kAucuneQuestionSelectionnee);
}

TEST_F(ListPagesTest, AWeightingCodeNoneCarriesIsNotKept) {
    CCalRedressementPage page(Context());
    CQuestionCalculee stored;
    stored.definition = "987654";
    page.Charger(stored);
    EXPECT_EQ(page.Redressement(), -1);
    EXPECT_FALSE(page.Verifier());
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kSelectionnerRedressement);
}

TEST_F(ListPagesTest, TheProfileSelectionKeepsTheQuestionnaireOrderAndRefusesAnEmptyProfile) {
    Named("B").recodeId = 4; // a recode has no entry durations of its own: not offered
    CProfil given;
    given.id = 12;
    given.label = "Signalétique";
    given.Add(&Named("AGE"));
    given.AddSeparator();
    given.Add(&Named("A"));
    CSelectionProfilDlg dialog(Context(), given);
    EXPECT_EQ(dialog.OkButton().text(), QStringLiteral("OK"));
    CMultiTree& questionnaire = dialog.QuestionnaireTree();
    CMultiTree& profile = dialog.ProfileTree();
    ASSERT_EQ(profile.topLevelItemCount(), 2);
    EXPECT_EQ(Context().DonnerQuestion(profile.topLevelItem(0)->data(0, Qt::UserRole).toInt()), &Named("A"));
    EXPECT_EQ(questionnaire.topLevelItemCount(), Context().DonnerNbreQuestions() - 3);

    dialog.Bouton(CSelectionProfilDlg::kToutRetour).click();
    EXPECT_EQ(profile.topLevelItemCount(), 0);
    dialog.accept();
    EXPECT_EQ(m_ui->shown.back().message.id, StringTable::kSelectionnerUneQuestion);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // Chosen in the reverse order, the lines take their questionnaire places.
    for (const char* name : {"SEXE", "C"}) {
        questionnaire.SelectAll(false);
        for (int i = 0; i < questionnaire.topLevelItemCount(); ++i)
            if (Context().DonnerQuestion(questionnaire.topLevelItem(i)->data(0, Qt::UserRole).toInt()) == &Named(name))
                questionnaire.topLevelItem(i)->setSelected(true);
        dialog.Bouton(CSelectionProfilDlg::kVersProfil).click();
    }
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CProfil& chosen = dialog.GetProfil();
    ASSERT_EQ(chosen.GetCount(), 2);
    EXPECT_EQ(chosen.GetQuestion(0), &Named("C"));
    EXPECT_EQ(chosen.GetQuestion(1), &Named("SEXE"));
    EXPECT_EQ(chosen.id, 12);
    EXPECT_EQ(chosen.label, "Signalétique");
}

// The keys of "Profils" move the selection between the trees. It has no line moves: Alt+Up and
// Alt+Down do nothing, where they once clicked OK, and asking for their buttons is a fault.
TEST_F(ListPagesTest, TheProfileSelectionKeysMoveTheSelectionAndNothingElse) {
    CSelectionProfilDlg dialog(Context(), CProfil());
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CMultiTree& questionnaire = dialog.QuestionnaireTree();
    CMultiTree& profile = dialog.ProfileTree();
    const int offered = questionnaire.topLevelItemCount();
    ASSERT_GT(offered, 1);
    questionnaire.topLevelItem(1)->setSelected(true);
    QTest::keyClick(&questionnaire, Qt::Key_Right, Qt::AltModifier);
    ASSERT_EQ(profile.topLevelItemCount(), 1);
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(&profile, key, Qt::AltModifier);
        EXPECT_TRUE(dialog.isVisible()) << key;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << key;
    }
    EXPECT_TRUE(m_ui->shown.empty());
    QTest::keyClick(&profile, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(profile.topLevelItemCount(), 0);
    EXPECT_EQ(questionnaire.topLevelItemCount(), offered);
    EXPECT_THROW(dialog.Bouton(static_cast<CSelectionProfilDlg::Button>(1001)), std::logic_error);
}

} // namespace
