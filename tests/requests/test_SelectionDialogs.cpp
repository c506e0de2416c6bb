// The question, level and item selection dialogs on the demo questionnaire: what each filter
// offers, what OK accepts and what it refuses with which message.
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/StringTable.h"
#include "platform/ui/MultiTree.h"
#include "requests/SelNiveauDlg.h"
#include "requests/SelQuestionDlg.h"
#include "requests/SelectionnerDlg.h"
#include "support/RecordingUserInterface.h"
#include "support/SettingsFixture.h"
#include "tools/qesbuild/DemoSurvey.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kInterviews = 20;

class SelectionDialogsTest : public SettingsFixture {
protected:
    static void SetUpTestSuite() {
        // The folder's tests share one application object; this suite makes one only when run alone.
        if (QApplication::instance() == nullptr)
            s_application = new QApplication(s_argc, s_argv);
        s_folder =
            std::filesystem::temp_directory_path() / ("morvane-selection-" + std::to_string(::getpid()));
        qesbuild::DemoSurvey::Write(s_folder, qesbuild::DemoSurvey::kSeed, kInterviews);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(s_folder);
        delete s_application;
        s_application = nullptr;
    }

    void SetUp() override {
        SettingsFixture::SetUp();
        auto ui = std::make_unique<RecordingUserInterface>();
        m_ui = ui.get();
        m_context.SetUserInterface(std::move(ui));
        CContexteEtude::RegisterContext(&m_context);
        m_context.questionnairePath = (s_folder / "demo.qes").string();
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
        m_ui->shown.clear();
    }
    void TearDown() override {
        CContexteEtude::RegisterContext(nullptr);
        SettingsFixture::TearDown();
    }

    CQuestionEtendue* Question(const std::string& name) const {
        return m_context.TrouverQuestionParNom(name);
    }

    static QTreeWidgetItem* ItemNamed(QTreeWidget& tree, const std::string& name) {
        for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
            if ((*it)->text(0).toStdString() == name)
                return *it;
        }
        ADD_FAILURE() << "no item " << name;
        return nullptr;
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

    std::vector<int> ShownIds() const {
        std::vector<int> ids;
        for (const auto& shown : m_ui->shown)
            ids.push_back(shown.message.id);
        return ids;
    }

    static inline QApplication* s_application = nullptr;
    static inline int s_argc = 1;
    static inline char s_name[] = "test_requests";
    static inline char* s_argv[] = {s_name, nullptr};
    static inline std::filesystem::path s_folder;
    CContexteEtude m_context;
    RecordingUserInterface* m_ui = nullptr;
};

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
        QWidget* viewport = tree.viewport();
        const QRect rect = tree.visualItemRect(ItemNamed(tree, "REGION"));
        const QPoint point(rect.left() + 24, rect.center().y());
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, point, viewport->mapToGlobal(point), Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
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
    EXPECT_EQ(dialog.windowTitle(), QString("Selectionner"));
    std::vector<std::string> names;
    for (int row = 0; row < list.count(); ++row)
        names.push_back(list.item(row)->text().toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Bison", "Élan", "zèbre"}));

    list.clearSelection();
    dialog.accept();
    EXPECT_EQ(ShownIds(), std::vector<int>{StringTable::kSelectionnerElement});
    EXPECT_TRUE(dialog.isVisible());

    list.setCurrentRow(2);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetChosenId(), 7);
}

} // namespace
