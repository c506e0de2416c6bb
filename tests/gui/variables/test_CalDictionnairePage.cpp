// The "Par dictionnaire" page driven as the analyst drives it: modalities added, renamed, moved and
// removed with their word lists, the checks on OK, and the stored texts read back.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/QuestionCalculee.h"
#include "app/StringTable.h"
#include "gui/variables/CalDictionnairePage.h"
#include "support/FixtureStudyTest.h"
#include "variables/ConstructionVariable.h"
#include "variables/EnregistrerQuestionsCalculees.h"
#include "variables/VariableCalculee.h"

namespace {

constexpr const char* kSurvey = R"(
questionnaire "Avis" language=fr
language 1036 fr "Français"
question 1 AVIS open
  caption fr "Votre avis"
question 2 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
records
Cle1,1;1,2;1
1,"Trop cher",1
2,"Bon prix",2
end
)";

class CalDictionnairePageTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        EnregistrerQuestionsCalculees();
        OpenFixture(kSurvey, "dictionnaire");
    }
    void TearDown() override {
        CQuestionCalculee::EnregistrerFabrique(nullptr);
        FixtureStudyTest::TearDown();
    }

    // Adds a modality and types its word list.
    static void AddWithWords(CCalDictionnairePage& page, const QString& words) {
        page.AjouterButton().click();
        page.ListeMots().setPlainText(words);
    }

    static std::vector<std::string> Labels(const CCalDictionnairePage& page) {
        std::vector<std::string> labels;
        for (int i = 0; i < page.Arbre().topLevelItemCount(); ++i)
            labels.push_back(page.Arbre().topLevelItem(i)->text(0).toStdString());
        return labels;
    }

    static PartiesVariable Parts(const CCalDictionnairePage& page) {
        PartiesVariable parts;
        page.DonnerParties(parts);
        return parts;
    }

    std::vector<std::string> Shown() const { return ui->ShownTexts(); }
};

TEST_F(CalDictionnairePageTest, ModalitiesCarryTheirWordListsThroughMovesAndRemovals) {
    CCalDictionnairePage page(context);
    page.ChoisirQuestion(&Named("AVIS"));
    AddWithWords(page, "prix \"trop cher\"");
    AddWithWords(page, "service");
    page.Arbre().setCurrentItem(page.Arbre().topLevelItem(1));
    QTest::keyClick(&page.Arbre(), Qt::Key_Insert); // a third, from the keyboard
    page.ListeMots().setPlainText("bon");
    EXPECT_EQ(Labels(page), (std::vector<std::string>{"Sous total 1", "Sous total 2", "Sous total 3"}));

    // The second goes up: its list goes with it; then the first is removed.
    page.Arbre().setCurrentItem(page.Arbre().topLevelItem(1));
    page.MonterButton().click();
    EXPECT_EQ(page.ListeMots().toPlainText(), "service");
    page.Arbre().setCurrentItem(page.Arbre().topLevelItem(2));
    QTest::keyClick(&page.Arbre(), Qt::Key_Up, Qt::AltModifier);
    page.Arbre().setCurrentItem(page.Arbre().topLevelItem(2));
    page.SupprimerButton().click();
    EXPECT_EQ(Parts(page).themes, "Sous total 2|Sous total 3|");
    EXPECT_EQ(Parts(page).definition, "service|bon|");
    EXPECT_EQ(Parts(page).source1, &Named("AVIS"));

    // Labels are renamed in place; an empty one, or one holding the separator, is not taken.
    QTreeWidgetItem* first = page.Arbre().topLevelItem(0);
    first->setText(0, "Service");
    EXPECT_EQ(first->text(0), "Service");
    first->setText(0, "  ");
    EXPECT_EQ(first->text(0), "Service");
    first->setText(0, "A|B");
    EXPECT_EQ(first->text(0), "Service");
    EXPECT_EQ(Shown(), std::vector<std::string>{StringTable::Text(StringTable::kLibelleSansBarre)});
}

TEST_F(CalDictionnairePageTest, OkIsRefusedWithoutAnOpenQuestionAModalityOrAWordList) {
    CCalDictionnairePage page(context);
    page.ChoisirQuestion(&Named("SEXE")); // not an open question: not taken
    EXPECT_EQ(page.Question(), nullptr);
    EXPECT_FALSE(page.Verifier());
    page.ChoisirQuestion(&Named("AVIS"));
    EXPECT_FALSE(page.Verifier());
    AddWithWords(page, "prix");
    AddWithWords(page, "   ");
    page.Arbre().setCurrentItem(page.Arbre().topLevelItem(0));
    EXPECT_FALSE(page.Verifier());
    // The faulty modality is the one shown.
    EXPECT_EQ(page.Arbre().currentItem(), page.Arbre().topLevelItem(1));
    EXPECT_EQ(Shown(), (std::vector<std::string>{StringTable::Text(StringTable::kSelectionnerQuestionAutorisee),
                                                 StringTable::Text(StringTable::kCreerAuMoinsUnItem),
                                                 StringTable::Text(StringTable::kEntrerListeMots)}));
    page.ListeMots().setPlainText("service");
    EXPECT_TRUE(page.Verifier());
}

TEST_F(CalDictionnairePageTest, AStoredDefinitionIsShownAsItWasWritten) {
    CVariableCalculee stored;
    stored.kind = CVariableCalculee::kDictionnaire;
    stored.themes = "Prix|Service|";
    stored.definition = "prix \"trop cher\"|service accueil|";
    stored.source1 = &Named("AVIS");
    CCalDictionnairePage page(context);
    page.Charger(stored);
    EXPECT_EQ(page.Question(), &Named("AVIS"));
    EXPECT_EQ(Labels(page), (std::vector<std::string>{"Prix", "Service"}));
    page.Arbre().setCurrentItem(page.Arbre().topLevelItem(1));
    EXPECT_EQ(page.ListeMots().toPlainText(), "service accueil");
    EXPECT_EQ(Parts(page).themes, stored.themes);
    EXPECT_EQ(Parts(page).definition, stored.definition);
    // Loading leaves the counter of new labels where it was.
    page.AjouterButton().click();
    EXPECT_EQ(Labels(page).back(), "Sous total 1");
}

} // namespace
