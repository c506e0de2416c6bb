// The question, level, item and calculation selection dialogs on the demo questionnaire: what each
// filter offers, what OK accepts and what it refuses with which message.
#include "RequestDialogTestSupport.h"
#include "framework/MultiTree.h"
#include "gui/requests/SelCalculDlg.h"
#include "gui/requests/SelNiveauDlg.h"
#include "gui/requests/SelQuestionDlg.h"
#include "gui/requests/SelectionnerDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using requests_test::DemoRequestTest;

class SelectionDialogsTest : public DemoRequestTest {
protected:
    static QTreeWidgetItem* ItemNamed(QTreeWidget& tree, const std::string& name) {
        for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
            if ((*it)->text(0).toStdString() == name)
                return *it;
        }
        ADD_FAILURE() << "no item " << name;
        return nullptr;
    }

    // A double click on the text of the item drawn in `rect`, as the mouse gives it.
    static void DoubleClick(QAbstractItemView& view, const QRect& rect) {
        QWidget* viewport = view.viewport();
        const QPoint point(rect.left() + 24, rect.center().y());
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, point, viewport->mapToGlobal(point), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    }

    // The names of the items the user may choose, in tree order.
    static std::string Offered(QTreeWidget& tree) {
        std::string names;
        for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
            if ((*it)->data(0, CSelQuestionDlg::kImageRole).toInt() != CSelQuestionDlg::kImageInterdite)
                names += (names.empty() ? "" : " ") + (*it)->text(0).toStdString();
        }
        return names;
    }
};

// A request's calculations in its own order, not the alphabet's.
CSelCalculDlg::Calculs RowCalculations() {
    CSelCalculDlg::Calculs calculations;
    calculations.push_back(std::make_unique<CCalcul>(2, "Pourcentage", true));
    calculations.push_back(std::make_unique<CCalcul>(0, "Effectifs", true));
    calculations.push_back(std::make_unique<CCalcul>(7, "Moyenne", true));
    return calculations;
}

// The texts of a list's lines, top to bottom.
std::vector<std::string> Lines(const QListWidget& list) {
    std::vector<std::string> lines;
    for (int row = 0; row < list.count(); ++row)
        lines.push_back(list.item(row)->text().toStdString());
    return lines;
}

TEST_F(SelectionDialogsTest, EachFilterOffersItsQuestions) {
    const std::string closed = "SEXE TRANCHE REGION CSP SATISF MARQUES CLASSEMENT CONNU LIEN";
    const std::string closedWithoutRanking = "SEXE TRANCHE REGION CSP SATISF MARQUES CONNU LIEN";
    const std::string everything =
        "SIGNALETIQUE SEXE AGE TRANCHE REGION CSP FOYER REVENU OPINION SATISF MARQUES "
        "CLASSEMENT ACHAT SERVICE CONNU MEMBRES PRENOM AGEMEMBRE LIEN";
    const struct {
        std::int16_t filter;
        std::string offered;
    } cases[] = {
        {CSelQuestionDlg::kFermees, closed},
        {CSelQuestionDlg::kTout, everything},
        {CSelQuestionDlg::kNumeriques, "AGE FOYER REVENU MEMBRES AGEMEMBRE"},
        {CSelQuestionDlg::kFermeesSansClassement, closedWithoutRanking},
        {CSelQuestionDlg::kFermeesSansClassementOuNumeriques,
         "SEXE AGE TRANCHE REGION CSP FOYER REVENU SATISF MARQUES CONNU MEMBRES AGEMEMBRE LIEN"},
        {CSelQuestionDlg::kHorsChapitres,
         "SEXE AGE TRANCHE REGION CSP FOYER REVENU SATISF MARQUES CLASSEMENT ACHAT "
         "SERVICE CONNU MEMBRES PRENOM AGEMEMBRE LIEN"},
        {CSelQuestionDlg::kOuvertes, "SERVICE PRENOM"},
        {7, everything},
        {-1, everything},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        CSelQuestionDlg dialog(c.filter);
        dialog.show();
        EXPECT_EQ(Offered(dialog.GetTree()), c.offered);
    }
}

TEST_F(SelectionDialogsTest, TheTreeFollowsTheOutlineAndOpensOnTheInitialQuestion) {
    CSelQuestionDlg dialog(CSelQuestionDlg::kFermees);
    dialog.show();
    CMultiTree& tree = dialog.GetTree();
    EXPECT_EQ(dialog.windowTitle(), QString("Sélection d'une question"));
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "SIGNALETIQUE");
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 7);
    EXPECT_EQ(ItemNamed(tree, "LIEN")->parent(), ItemNamed(tree, "MEMBRES"));
    EXPECT_TRUE(ItemNamed(tree, "MEMBRES")->isExpanded());
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(0));
    // A question's icon is its own; a refused one shows the icon of what may not be chosen.
    EXPECT_EQ(ItemNamed(tree, "SEXE")->data(0, CSelQuestionDlg::kImageRole).toInt(), 7);
    EXPECT_EQ(ItemNamed(tree, "AGE")->data(0, CSelQuestionDlg::kImageRole).toInt(),
              CSelQuestionDlg::kImageInterdite);
    EXPECT_FALSE(ItemNamed(tree, "AGE")->icon(0).isNull());

    CSelQuestionDlg titled(CSelQuestionDlg::kFermees, Question("CSP"));
    titled.SetTitle("Question en colonne");
    titled.SetWithNone(true);
    titled.show();
    EXPECT_EQ(titled.windowTitle(), QString("Question en colonne"));
    EXPECT_EQ(titled.GetTree().topLevelItem(0)->text(0), "Aucune");
    EXPECT_EQ(titled.GetTree().topLevelItem(0)->data(0, CSelQuestionDlg::kImageRole).toInt(),
              CSelQuestionDlg::kImageAucune);
    EXPECT_EQ(titled.GetTree().currentItem(), ItemNamed(titled.GetTree(), "CSP"));
    EXPECT_TRUE(titled.GetTree().currentItem()->isSelected());
}

TEST_F(SelectionDialogsTest, OkTakesOneAllowedQuestionOfTheCurrentLevel) {
    const struct {
        const char* what;
        std::int16_t filter;
        bool withNone;
        int currentLevel;
        const char* selected; // nullptr: no item selected
        int message;          // 0: none
        const char* chosen;   // nullptr: no question; ignored when refused
    } cases[] = {
        {"an allowed question", CSelQuestionDlg::kFermees, false, 0, "SEXE", 0, "SEXE"},
        {"a non-closed numeric question under filter 4", CSelQuestionDlg::kFermeesSansClassementOuNumeriques,
         false, 0, "AGE", 0, "AGE"},
        {"a chapter", CSelQuestionDlg::kFermees, false, 0, "SIGNALETIQUE",
         StringTable::kSelectionnerQuestionAutorisee, nullptr},
        {"a ranking question under filter 3", CSelQuestionDlg::kFermeesSansClassement, false, 0, "CLASSEMENT",
         StringTable::kSelectionnerQuestionAutorisee, nullptr},
        {"a ranking question under filter 4", CSelQuestionDlg::kFermeesSansClassementOuNumeriques, false, 0,
         "CLASSEMENT", StringTable::kSelectionnerQuestionAutorisee, nullptr},
        {"a question of the loop seen from the interviews", CSelQuestionDlg::kFermees, false, 0, "LIEN",
         StringTable::kQuestionHorsNiveauCourant, nullptr},
        {"a question of the loop at the loop's level", CSelQuestionDlg::kFermees, false, 1, "LIEN", 0,
         "LIEN"},
        {"a question of the interviews at the loop's level", CSelQuestionDlg::kFermees, false, 1, "SEXE", 0,
         "SEXE"},
        {"nothing, without Aucune", CSelQuestionDlg::kFermees, false, 0, nullptr,
         StringTable::kSelectionnerQuestionAutorisee, nullptr},
        {"nothing, with Aucune", CSelQuestionDlg::kFermees, true, 0, nullptr, 0, nullptr},
        {"Aucune", CSelQuestionDlg::kFermees, true, 0, "Aucune", 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_ui->shown.clear();
        m_context.currentLevel = c.currentLevel;
        CSelQuestionDlg dialog(c.filter);
        dialog.SetWithNone(c.withNone);
        dialog.show();
        if (c.selected != nullptr)
            dialog.GetTree().SelectItem(ItemNamed(dialog.GetTree(), c.selected));
        else
            dialog.GetTree().setCurrentItem(nullptr);
        dialog.accept();

        if (c.message != 0) {
            EXPECT_EQ(ShownIds(), std::vector<int>{c.message});
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            continue;
        }
        EXPECT_TRUE(m_ui->shown.empty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.GetQuestion(), c.chosen != nullptr ? Question(c.chosen) : nullptr);
    }
}

TEST_F(SelectionDialogsTest, OkTakesSeveralQuestionsInTreeOrder) {
    CSelQuestionDlg dialog(CSelQuestionDlg::kFermees);
    dialog.SetMultipleSelection(true);
    dialog.SetWithNone(true);
    dialog.show();
    CMultiTree& tree = dialog.GetTree();
    EXPECT_TRUE(tree.IsMultiSelect());
    auto select = [&tree](QTreeWidgetItem* item) {
        tree.SetItemState(item, CMultiTree::kSelected, CMultiTree::kSelected);
    };

    // A refused item keeps the dialog open and chooses nothing.
    tree.SelectItem(ItemNamed(tree, "CSP"));
    select(ItemNamed(tree, "AGE"));
    dialog.accept();
    EXPECT_EQ(ShownIds(), std::vector<int>{StringTable::kSelectionnerQuestionAutorisee});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.GetQuestions().empty());

    m_ui->shown.clear();
    tree.SelectItem(ItemNamed(tree, "CSP"));
    select(ItemNamed(tree, "LIEN"));
    dialog.accept();
    EXPECT_EQ(ShownIds(), std::vector<int>{StringTable::kQuestionHorsNiveauCourant});

    // "Aucune" among the selection stands for nothing.
    m_ui->shown.clear();
    tree.SelectItem(ItemNamed(tree, "CSP"));
    select(ItemNamed(tree, "SEXE"));
    select(ItemNamed(tree, "Aucune"));
    dialog.accept();
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetQuestions(), (std::vector<CQuestionEtendue*>{Question("SEXE"), Question("CSP")}));
}

TEST_F(SelectionDialogsTest, SeveralWithNothingSelectedGivesNoQuestion) {
    CSelQuestionDlg dialog(CSelQuestionDlg::kTout);
    dialog.SetMultipleSelection(true);
    dialog.show();
    dialog.GetTree().SelectAll(false);
    dialog.accept();
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.GetQuestions().empty());
}

TEST_F(SelectionDialogsTest, ADoubleClickActsAsOk) {
    for (bool multiple : {false, true}) {
        SCOPED_TRACE(multiple);
        CSelQuestionDlg dialog(CSelQuestionDlg::kFermees);
        dialog.SetMultipleSelection(multiple);
        dialog.show();
        CMultiTree& tree = dialog.GetTree();
        DoubleClick(tree, tree.visualItemRect(ItemNamed(tree, "REGION")));
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        if (multiple)
            EXPECT_EQ(dialog.GetQuestions(), std::vector<CQuestionEtendue*>{Question("REGION")});
        else
            EXPECT_EQ(dialog.GetQuestion(), Question("REGION"));
    }
}

TEST_F(SelectionDialogsTest, TheLevelDialogOffersTheLevelsAboveTheReference) {
    const struct {
        const char* what;
        int reference;
        int selected; // -1: none
        int message;  // 0: accepted
    } cases[] = {
        {"without a reference, the loop", CSelNiveauDlg::kAucunNiveau, 1, 0},
        {"without a reference, the interviews", CSelNiveauDlg::kAucunNiveau, 0, 0},
        {"the interviews above the loop", 1, 0, 0},
        {"the loop itself", 1, 1, StringTable::kSelectionnerNiveauParent},
        {"the interviews have no parent", 0, 0, StringTable::kSelectionnerNiveauParent},
        {"nor does anything lie above them", 0, 1, StringTable::kSelectionnerNiveauParent},
        {"nothing selected", CSelNiveauDlg::kAucunNiveau, -1, StringTable::kSelectionnerQuestion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_ui->shown.clear();
        CSelNiveauDlg dialog(1, c.reference);
        dialog.show();
        QTreeWidget& tree = dialog.GetTree();
        EXPECT_EQ(tree.currentItem(), ItemNamed(tree, "MEMBRES"));
        tree.setCurrentItem(c.selected < 0 ? nullptr
                                           : ItemNamed(tree, c.selected == 0 ? "Interviews" : "MEMBRES"));
        dialog.accept();
        if (c.message != 0) {
            EXPECT_EQ(ShownIds(), std::vector<int>{c.message});
            EXPECT_TRUE(dialog.isVisible());
            continue;
        }
        EXPECT_TRUE(m_ui->shown.empty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.GetChosenLevel(), c.selected);
    }
}

TEST_F(SelectionDialogsTest, TheLevelTreeNestsTheLoopUnderTheInterviews) {
    CSelNiveauDlg dialog(0);
    dialog.show();
    QTreeWidget& tree = dialog.GetTree();
    EXPECT_EQ(dialog.windowTitle(), QString("Sélection d'un niveau"));
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Interviews");
    ASSERT_EQ(tree.topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->text(0), "MEMBRES");
    EXPECT_TRUE(tree.topLevelItem(0)->isExpanded());
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(0));
    EXPECT_FALSE(tree.topLevelItem(0)->child(0)->icon(0).isNull());
}

TEST_F(SelectionDialogsTest, TheListIsAlphabeticalAndOkGivesTheId) {
    CSelectionnerDlg dialog({{3, "zèbre"}, {7, "Élan"}, {5, "alpha"}, {9, "Bison"}});
    dialog.show();
    QListWidget& list = dialog.GetList();
    EXPECT_EQ(dialog.windowTitle(), QString("Sélectionner"));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"alpha", "Bison", "Élan", "zèbre"}));

    list.clearSelection();
    dialog.accept();
    EXPECT_EQ(ShownIds(), std::vector<int>{StringTable::kSelectionnerElement});
    EXPECT_TRUE(dialog.isVisible());

    list.setCurrentRow(2);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetChosenId(), 7);
}

TEST_F(SelectionDialogsTest, TheCalculationDialogGivesTheChosenCode) {
    auto calculations = RowCalculations();
    CSelCalculDlg dialog(calculations);
    // The dialog keeps nothing of the caller's calculations.
    calculations.clear();
    dialog.show();
    QListWidget& list = dialog.GetList();
    EXPECT_EQ(dialog.windowTitle(), QString("Sélectionner un calcul"));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Pourcentage", "Effectifs", "Moyenne"}));
    EXPECT_EQ(list.selectedItems().size(), 0);

    list.setCurrentRow(2);
    dialog.accept();
    EXPECT_TRUE(m_ui->shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetCode(), 7);

    CSelCalculDlg clicked(RowCalculations());
    clicked.show();
    DoubleClick(clicked.GetList(), clicked.GetList().visualItemRect(clicked.GetList().item(1)));
    EXPECT_EQ(clicked.result(), QDialog::Accepted);
    EXPECT_EQ(clicked.GetCode(), 0);
}

TEST_F(SelectionDialogsTest, TheCalculationDialogRefusesOkWithoutALine) {
    const struct {
        const char* what;
        bool withCalculations;
    } cases[] = {{"no line selected", true}, {"no line at all", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_ui->shown.clear();
        CSelCalculDlg dialog(c.withCalculations ? RowCalculations() : CSelCalculDlg::Calculs{});
        dialog.show();
        dialog.accept();
        EXPECT_EQ(ShownIds(), std::vector<int>{StringTable::kSelectionnerUnCalcul});
        EXPECT_EQ(m_ui->ShownTexts(), std::vector<std::string>{"Vous devez sélectionner  un calcul..."});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
}

} // namespace
