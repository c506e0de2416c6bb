// "Champ d'étude" and "Définition d'une condition" driven as the analyst drives them, on the
// households of the fixture: what the dialogs store is read back from the questionnaire database
// and applied to the interviews, the households kept counted by hand.
#include "app/DBQuestionnaire.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "recodes/AppliquerChampEtude.h"
#include "recodes/ChampEtudeTestSupport.h"
#include "recodes/StockageChampsEtude.h"
#include "gui/recodes/ChampEtudeDlg.h"
#include "gui/recodes/ConditionModaliteDlg.h"
#include "gui/recodes/ConditionNumeriqueDlg.h"
#include "gui/recodes/DefinitionConditionDlg.h"
#include "gui/recodes/EmplacementConditionDlg.h"
#include "tools/screenshot/ModalAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace champ_etude_test;

namespace {

using Reply = UserInterface::Reply;
using Stored = std::vector<std::pair<std::int32_t, std::string>>;

class ChampEtudeDlgTest : public HouseholdsFixture {
protected:
    void SetUp() override {
        HouseholdsFixture::SetUp();
        CContexteEtude::RegisterContext(&context);
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        HouseholdsFixture::TearDown();
    }

    // The fields of the database as a fresh read gives them, after "Toutes les interviews".
    Stored InDatabase() {
        CDBQuestionnaire file(context);
        std::vector<std::unique_ptr<CChampEtude>> fields;
        EXPECT_TRUE(file.ReadSubPopulationList(fields)) << file.GetLastError();
        Stored out;
        for (std::size_t i = 1; i < fields.size(); ++i)
            out.emplace_back(fields[i]->id, fields[i]->name);
        return out;
    }

    std::vector<int> Kept(std::int32_t id) {
        CVecteurDouble weights(context.DonnerNbreInterviews());
        weights.Remplir(1.0);
        std::string error;
        EXPECT_TRUE(AppliquerChampEtude(id, 0, weights, context, error)) << error;
        std::vector<int> kept;
        for (int i = 0; i < weights.GetSize(); ++i)
            kept.push_back(weights.GetAt(i) != 0.0 ? 1 : 0);
        return kept;
    }

    std::int32_t Store(CChampEtude field) {
        std::string error;
        EXPECT_TRUE(EnregistrerChampEtude(field, context, error)) << error;
        return field.id;
    }

    static std::vector<std::string> Names(const QComboBox& combo) {
        std::vector<std::string> names;
        for (int i = 0; i < combo.count(); ++i)
            names.push_back(combo.itemText(i).toStdString());
        return names;
    }

    // Types the name as the analyst does, over the one shown.
    static void TypeName(CChampEtudeDlg& dialog, const QString& name) {
        QLineEdit& edit = *dialog.NameCombo().lineEdit();
        edit.selectAll();
        QTest::keyClicks(&edit, name);
    }

    // The step of "Définition d'une condition": the question chosen, then the page filled, then OK.
    static ModalAnswers::Step Define(const CQuestionEtendue* question,
                                     std::function<void(CDefinitionConditionDlg&)> fill) {
        return [question, fill = std::move(fill)](QDialog& shown) {
            auto* dialog = qobject_cast<CDefinitionConditionDlg*>(&shown);
            ASSERT_NE(dialog, nullptr);
            dialog->SelectionnerQuestion(question);
            fill(*dialog);
            dialog->accept();
        };
    }

    // Defines slot `slot` through its "&Définir..." button.
    static void DefineSlot(CChampEtudeDlg& dialog, int slot, ModalAnswers::Step step) {
        ModalAnswers answers({std::move(step)});
        dialog.Emplacement(slot).DefinirButton().click();
        EXPECT_EQ(answers.Answered(), 1u);
        EXPECT_EQ(answers.Unexpected(), 0);
    }

    // Adults of the North or East, defined through the dialogs: AGE >= 18, REGION Nord or Est.
    void DefineAdultsNorthEast(CChampEtudeDlg& dialog) {
        DefineSlot(dialog, 0, Define(&Named("AGE"), [](CDefinitionConditionDlg& d) {
                       d.PageNumerique().TypeButton(7).click();
                       QLineEdit& a = d.PageNumerique().BorneA();
                       a.clear();
                       QTest::keyClicks(&a, "18");
                   }));
        DefineSlot(dialog, 1, Define(&Named("REGION"), [](CDefinitionConditionDlg& d) {
                       QListWidget& list = d.PageModalite().Modalites();
                       list.item(0)->setSelected(true);
                       list.item(2)->setSelected(true);
                       d.PageModalite().TypeButton(0).click();
                   }));
    }
};

TEST_F(ChampEtudeDlgTest, AFieldCreatedIsSavedOnceWhateverTheSavesAndReopens) {
    std::int32_t id = 0;
    {
        CChampEtudeDlg dialog(context, -1);
        dialog.show();
        EXPECT_EQ(Names(dialog.NameCombo()), (std::vector<std::string>{"Toutes les interviews"}));
        // "Toutes les interviews" cannot be edited.
        EXPECT_FALSE(dialog.Emplacement(0).isEnabled());
        EXPECT_TRUE(dialog.NameCombo().lineEdit()->isReadOnly());
        dialog.NouveauButton().click();
        EXPECT_EQ(dialog.NameCombo().currentText(), "Nouveau champ d'étude");
        EXPECT_TRUE(dialog.Emplacement(0).isEnabled());
        TypeName(dialog, "Adultes");
        QTest::keyClicks(&dialog.DescriptionEdit(), "Majeurs du Nord et de l'Est");
        DefineAdultsNorthEast(dialog);
        EXPECT_EQ(dialog.Emplacement(0).Description().text(), "Si 'AGE' >= 18 ");
        EXPECT_EQ(dialog.Emplacement(1).Description().text(), "Si 'REGION' = (au moins une) {'Nord' 'Est' }");
        EXPECT_TRUE(dialog.EstModifie());
        // Saved once here, and once more by OK after a change.
        ASSERT_TRUE(dialog.Enregistrer());
        id = dialog.NameCombo().currentData().toInt();
        EXPECT_GT(id, 0);
        QTest::keyClicks(&dialog.DescriptionEdit(), ".");
        ui->ScriptThreeWayReplies({Reply::Yes});
        dialog.OkButton().click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.DonnerChampChoisi().id, id);
        EXPECT_EQ(dialog.DonnerChampChoisi().name, "Adultes");
    }
    EXPECT_EQ(InDatabase(), (Stored{{id, "Adultes"}}));
    EXPECT_EQ(Kept(id), (std::vector<int>{1, 0, 0, 0, 1, 1}));
    // Reopened on it, the field shows as it was stored, and is not changed by showing it.
    CChampEtudeDlg again(context, id);
    again.show();
    EXPECT_EQ(again.NameCombo().currentText(), "Adultes");
    EXPECT_EQ(again.DescriptionEdit().text(), "Majeurs du Nord et de l'Est.");
    EXPECT_EQ(again.Emplacement(1).Description().text(), "Si 'REGION' = (au moins une) {'Nord' 'Est' }");
    EXPECT_TRUE(again.ConnecteurButton(0, true).isChecked());
    EXPECT_FALSE(again.FormuleEdit().isVisibleTo(&again));
    EXPECT_FALSE(again.EstModifie());
}

TEST_F(ChampEtudeDlgTest, ANameAnotherFieldHasIsRefused) {
    const std::int32_t first = Store(ConditionsField("Adultes"));
    CChampEtudeDlg dialog(context, first);
    dialog.show();
    dialog.NouveauButton().click();
    TypeName(dialog, "Adultes");
    ui->ScriptThreeWayReplies({Reply::Yes});
    dialog.OkButton().click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_FALSE(ui->shown.empty());
    EXPECT_EQ(ui->shown.back().message, Message(StringTable::kNomDejaUtilise));
    EXPECT_EQ(InDatabase(), (Stored{{first, "Adultes"}}));
    // Another name is taken.
    TypeName(dialog, "Adultes bis");
    ui->ScriptThreeWayReplies({Reply::Yes});
    dialog.OkButton().click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(InDatabase().size(), 2u);
}

TEST_F(ChampEtudeDlgTest, AFieldGivenByAFormulaKeepsItsFormulaThroughTheDialog) {
    const std::string formula = "??AGE?? >= 18 ET ??REGION?? IN {1;3}  OU ??SEXE:2?? ";
    const std::int32_t id = Store(FormulaField("Formule", formula));
    {
        CChampEtudeDlg dialog(context, id);
        dialog.show();
        EXPECT_TRUE(dialog.FormuleEdit().isVisibleTo(&dialog));
        EXPECT_TRUE(dialog.FormuleEdit().isReadOnly());
        // Shown with word joiners between its characters, so that its lines break at blanks only.
        EXPECT_EQ(dialog.FormuleEdit().toPlainText().remove(QChar(0x2060)).toStdString(), formula);
        QTest::keyClicks(&dialog.DescriptionEdit(), "Description revue");
        dialog.ConnecteurButton(1, false).click();
        ui->ScriptThreeWayReplies({Reply::Yes});
        dialog.OkButton().click();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    CDBQuestionnaire file(context);
    std::vector<std::unique_ptr<CChampEtude>> fields;
    ASSERT_TRUE(file.ReadSubPopulationList(fields));
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1]->description, "Description revue");
    EXPECT_TRUE(fields[1]->complexCondition);
    EXPECT_EQ(fields[1]->complexConditionText, formula);
    // Households 1, 5, 6 by the first part, and every woman (2, 3, 6) by the second.
    EXPECT_EQ(Kept(id), (std::vector<int>{1, 1, 1, 0, 1, 1}));
}

TEST_F(ChampEtudeDlgTest, CopyingOverTheLoopAddsOneFieldPerIterationAndLeavesTheFieldShown) {
    CChampEtudeDlg dialog(context, -1);
    dialog.show();
    dialog.NouveauButton().click();
    TypeName(dialog, "Adulte");
    DefineSlot(dialog, 0, Define(&Named("AGEP"), [](CDefinitionConditionDlg& d) {
                   ASSERT_EQ(d.PageAffichee(), &d.PageNumerique());
                   d.PageNumerique().TypeButton(7).click();
                   QLineEdit& a = d.PageNumerique().BorneA();
                   a.clear();
                   QTest::keyClicks(&a, "18");
               }));
    dialog.CopierBoucleButton().click();
    EXPECT_EQ(Names(dialog.NameCombo()),
              (std::vector<std::string>{"Toutes les interviews", "Nouveau champ d'étude", "Adulte - 1",
                                        "Adulte - 2", "Adulte - 3"}));
    ASSERT_FALSE(ui->shown.empty());
    EXPECT_EQ(ui->shown.back().message, Message(StringTable::kChampsEtudeCrees, {"3"}));
    // The field shown is still the one edited, not saved.
    EXPECT_EQ(dialog.NameCombo().currentIndex(), 1);
    EXPECT_EQ(dialog.NameCombo().currentText(), "Adulte");
    EXPECT_TRUE(dialog.EstModifie());
    EXPECT_EQ(dialog.Emplacement(0).Description().text(), "Si 'AGEP' >= 18 ");
    const Stored stored = InDatabase();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[1].second, "Adulte - 2");
    // The second person is of age in household 3 alone.
    EXPECT_EQ(Kept(stored[1].first), (std::vector<int>{0, 0, 1, 0, 0, 0}));
}

TEST_F(ChampEtudeDlgTest, DeletingTheDefaultFieldMakesAllInterviewsTheDefault) {
    const std::int32_t id = Store(ConditionsField("Adultes"));
    context.universeCode = id;
    context.universeLabel = "Adultes";
    CChampEtudeDlg dialog(context, id);
    dialog.show();
    ui->ScriptReplies({true});
    dialog.SupprimerButton().click();
    ASSERT_FALSE(ui->asked.empty());
    EXPECT_EQ(ui->asked.back(), Message(StringTable::kSupprimerEnregistrement));
    EXPECT_EQ(Names(dialog.NameCombo()), (std::vector<std::string>{"Toutes les interviews"}));
    EXPECT_EQ(dialog.NameCombo().currentIndex(), 0);
    EXPECT_FALSE(dialog.Emplacement(0).isEnabled());
    EXPECT_TRUE(InDatabase().empty());
    EXPECT_EQ(context.universeCode, -1);
    EXPECT_EQ(context.universeLabel, "Toutes les interviews");
    // "Toutes les interviews" itself cannot be deleted: nothing is asked.
    const std::size_t asked = ui->asked.size();
    dialog.SupprimerButton().click();
    EXPECT_EQ(ui->asked.size(), asked);
}

TEST_F(ChampEtudeDlgTest, LeavingAChangedFieldAsksWhetherToSaveIt) {
    const std::int32_t stored = Store(ConditionsField("Adultes"));
    CChampEtudeDlg dialog(context, -1);
    dialog.show();
    dialog.NouveauButton().click();
    TypeName(dialog, "Essai");
    // Cancel: the new field stays on screen.
    ui->ScriptThreeWayReplies({Reply::Cancel});
    dialog.NameCombo().setCurrentIndex(1);
    EXPECT_EQ(dialog.NameCombo().currentIndex(), 2);
    EXPECT_EQ(dialog.NameCombo().currentText(), "Essai");
    EXPECT_TRUE(dialog.EstModifie());
    // No: the new field, never saved, leaves the list, and the field chosen is shown.
    ui->ScriptThreeWayReplies({Reply::No});
    dialog.NameCombo().setCurrentIndex(1);
    EXPECT_EQ(Names(dialog.NameCombo()), (std::vector<std::string>{"Toutes les interviews", "Adultes"}));
    EXPECT_EQ(dialog.NameCombo().currentData().toInt(), stored);
    EXPECT_EQ(dialog.Emplacement(0).Description().text(), "Si 'AGE' >= 18 ");
    EXPECT_FALSE(dialog.EstModifie());
    EXPECT_EQ(InDatabase(), (Stored{{stored, "Adultes"}}));
}

TEST_F(ChampEtudeDlgTest, OpenedOnAFieldThatIsGoneItShowsAllInterviews) {
    const std::int32_t id = Store(ConditionsField("Adultes"));
    std::string error;
    ASSERT_TRUE(EffacerChampEtude(id, context, error)) << error;
    CChampEtudeDlg dialog(context, id);
    dialog.show();
    EXPECT_EQ(dialog.NameCombo().currentIndex(), 0);
    EXPECT_EQ(dialog.NameCombo().currentText(), "Toutes les interviews");
    EXPECT_FALSE(dialog.DescriptionEdit().isEnabled());
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_FALSE(dialog.Emplacement(slot).DefinirButton().isEnabled());
    EXPECT_FALSE(dialog.ConnecteurButton(1, true).isEnabled());
    dialog.OkButton().click();
    EXPECT_EQ(dialog.DonnerChampChoisi().id, -1);
}

TEST_F(ChampEtudeDlgTest, DefaultBoxMakesTheFieldChosenTheStudysDefault) {
    const std::int32_t id = Store(ConditionsField("Adultes"));
    CChampEtudeDlg dialog(context, id);
    dialog.show();
    dialog.DefautBox().setChecked(true);
    dialog.OkButton().click();
    EXPECT_EQ(context.universeCode, id);
    EXPECT_EQ(context.universeLabel, "Adultes");
}

// What does not show whole in the dialog as it opened: a button outside it, a list that scrolls,
// the dialog outside the screen's work area; empty when all does.
std::vector<std::string> NotWhole(const QDialog& dialog) {
    std::vector<std::string> faults;
    if (!dialog.screen()->availableGeometry().contains(QRect(QPoint(0, 0), dialog.size())))
        faults.push_back("the dialog is larger than the screen");
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(&dialog) &&
            !dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size())))
            faults.push_back("button " + button->text().toStdString() + " outside the dialog");
    }
    for (const QAbstractItemView* list : dialog.findChildren<QAbstractItemView*>()) {
        if (!list->isVisibleTo(&dialog))
            continue;
        if (list->verticalScrollBar()->isVisible() || list->horizontalScrollBar()->isVisible())
            faults.push_back("a list of " + std::to_string(list->model()->rowCount()) + " rows scrolls");
    }
    return faults;
}

TEST_F(ChampEtudeDlgTest, TheDialogsShowTheirListsAndButtonsWhole) {
    const std::int32_t id = Store(ConditionsField("Adultes"));
    CChampEtudeDlg dialog(context, id);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(NotWhole(dialog), std::vector<std::string>{});
    // The slots show their descriptions whole.
    for (int slot = 0; slot < 2; ++slot) {
        const QLineEdit& description = dialog.Emplacement(slot).Description();
        EXPECT_LE(description.fontMetrics().horizontalAdvance(description.text()) + 8, description.width())
            << description.text().toStdString();
    }
    for (const char* question : {"REGION", "AGE"}) {
        SCOPED_TRACE(question);
        CChampCondition condition;
        condition.SetQuestion(&Named(question));
        CDefinitionConditionDlg definition(context, condition);
        definition.show();
        QApplication::processEvents();
        EXPECT_EQ(NotWhole(definition), std::vector<std::string>{});
    }
}

// A survey of many questions, some with long names, in chapters, one with many modalities of
// long captions: a tree and a list that would not show whole at their default sizes.
class ManyQuestionsTest : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        std::string description = "questionnaire \"Grande\" language=fr\nlanguage 1036 fr \"Français\"\n";
        int code = 1;
        for (int chapter = 1; chapter <= 3; ++chapter) {
            description += "chapter " + std::to_string(100 + chapter) + " CHAPITRE_" + std::to_string(chapter) + "\n";
            for (int q = 1; q <= 9; ++q, ++code) {
                description += "question " + std::to_string(code) + " QUESTION_AU_NOM_ASSEZ_LONG_" +
                               std::to_string(code) + " closed\n";
                const int modalities = code == 1 ? 24 : 2;
                for (int m = 1; m <= modalities; ++m)
                    description += "modality " + std::to_string(m) + " fr \"Une modalité au libellé long numéro " +
                                   std::to_string(m) + "\"\n";
            }
            description += "end\n";
        }
        OpenFixture(description.c_str(), "grande");
        CContexteEtude::RegisterContext(&context);
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        FixtureStudyTest::TearDown();
    }
};

TEST_F(ManyQuestionsTest, TheConditionDialogShowsItsTreeAndListWholeUpToTwentyRows) {
    CChampCondition condition;
    condition.SetQuestion(&Named("QUESTION_AU_NOM_ASSEZ_LONG_1"));
    CDefinitionConditionDlg dialog(context, condition);
    dialog.show();
    QApplication::processEvents();
    // The tree of 31 items scrolls down, never across, showing twenty rows at least; the list of
    // 25 modalities shows twenty at least, and its captions whole.
    QTreeWidget& tree = dialog.GetTree();
    EXPECT_TRUE(tree.verticalScrollBar()->isVisible());
    EXPECT_FALSE(tree.horizontalScrollBar()->isVisible());
    EXPECT_GE(tree.viewport()->height(), 20 * tree.visualItemRect(tree.topLevelItem(0)).height());
    QListWidget& list = dialog.PageModalite().Modalites();
    EXPECT_FALSE(list.horizontalScrollBar()->isVisible());
    EXPECT_GE(list.viewport()->height(), 20 * list.visualItemRect(list.item(0)).height());
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(&dialog)) {
            EXPECT_TRUE(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size())))
                << button->text().toStdString();
        }
    }
}

// ---- "Définition d'une condition" ----------------------------------------------------------------

TEST_F(ChampEtudeDlgTest, TheConditionPageFollowsTheQuestionChosen) {
    CChampCondition condition;
    CDefinitionConditionDlg dialog(context, condition);
    dialog.show();
    EXPECT_EQ(dialog.GetTree().currentItem()->text(0), "Aucune");
    EXPECT_EQ(dialog.PageAffichee(), nullptr);
    // A question with one answer offers two kinds; a kind it cannot have falls back to the first.
    dialog.SelectionnerQuestion(&Named("SEXE"));
    ASSERT_EQ(dialog.PageAffichee(), &dialog.PageModalite());
    // Its modalities, with the not-asked one the program adds.
    QListWidget& modalities = dialog.PageModalite().Modalites();
    ASSERT_EQ(modalities.count(), 3);
    EXPECT_EQ(modalities.item(0)->text(), "Homme");
    EXPECT_EQ(modalities.item(1)->text(), "Femme");
    EXPECT_EQ(modalities.item(2)->text(), "Non interrogé");
    EXPECT_TRUE(dialog.PageModalite().TypeButton(1).isEnabled());
    EXPECT_FALSE(dialog.PageModalite().TypeButton(2).isEnabled());
    dialog.PageModalite().Modalites().item(1)->setSelected(true);
    dialog.PageModalite().TypeButton(1).click();
    EXPECT_EQ(dialog.GetCondition().kind, 1);
    EXPECT_EQ(dialog.GetCondition().modalities, (std::vector<std::int32_t>{1}));
    // A numeric question keeps the kind and the modalities; its bounds must read as numbers.
    dialog.SelectionnerQuestion(&Named("AGE"));
    ASSERT_EQ(dialog.PageAffichee(), &dialog.PageNumerique());
    EXPECT_EQ(dialog.GetCondition().question, &Named("AGE"));
    EXPECT_TRUE(dialog.PageNumerique().TypeButton(1).isChecked());
    EXPECT_FALSE(dialog.PageNumerique().BorneA().isEnabled());
    dialog.PageNumerique().TypeButton(8).click();
    EXPECT_TRUE(dialog.PageNumerique().BorneB().isEnabled());
    QLineEdit& b = dialog.PageNumerique().BorneB();
    b.clear();
    QTest::keyClicks(&b, "douze");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui->shown.back().message, Message(StringTable::kEntrerUnNombre));
    b.clear();
    QTest::keyClicks(&b, "65.5");
    EXPECT_EQ(dialog.GetCondition().b, 65.5);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(DecrireCondition(dialog.GetCondition()), "Si 'AGE' >= 0 et <= 65.5 ");
}

TEST_F(ChampEtudeDlgTest, OnlyAQuestionOfAKindAConditionTakesOrNoneIsAccepted) {
    CChampCondition condition;
    condition.SetQuestion(&Named("SEXE"));
    CDefinitionConditionDlg dialog(context, condition);
    dialog.show();
    EXPECT_EQ(dialog.GetTree().currentItem()->text(0), "SEXE");
    // An open question is neither closed nor numeric: no page, and no question to accept.
    const QList<QTreeWidgetItem*> open =
        dialog.GetTree().findItems("REMARQUE", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(open.size(), 1);
    dialog.GetTree().setCurrentItem(open.front());
    EXPECT_EQ(dialog.PageAffichee(), nullptr);
    EXPECT_EQ(dialog.GetCondition().question, nullptr);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui->shown.back().message, Message(StringTable::kSelectionnerQuestionAutorisee));
    dialog.SelectionnerQuestion(nullptr);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(DecrireCondition(dialog.GetCondition()), "");
}

} // namespace
