#include "AnalysisWindowTestSupport.h"

#include "app/StringTable.h"
#include "gui/presentation/Chart2D.h"
#include "gui/statistics/OptionsCalculDlg.h"
#include "gui/statistics/SelInterviewsDlg.h"
#include "gui/statistics/SelLignesDlg.h"
#include "gui/statistics/SelNbAxesDlg.h"
#include "gui/statistics/SelNbGroupesDlg.h"
#include "gui/statistics/SelModalitesDlg.h"
#include "app/ModaliteEtendue.h"
#include "app/QuestionEtendue.h"
#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "support/DemoSurveyFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

// The selection dialogs of the analysis windows, driven as the analyst drives them.
namespace statistics_ui_test {
namespace {

using L = ActiveIllustrativeDialog;

std::vector<std::uint32_t> Range(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint32_t> numbers;
    for (std::uint32_t n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

void Select(QTreeWidget& list, const std::vector<int>& rows) {
    for (int row : rows)
        list.topLevelItem(row)->setSelected(true);
}

class SelectionDialogsTest : public AnalysisWindowTest {
protected:
    static constexpr int kInterviews = 12;

    void OpenDemo() {
        m_context.questionnairePath = DemoSurveyFolder::QuestionnairePath(kInterviews);
        ASSERT_TRUE(m_context.OuvrirEtude()) << m_context.GetLastError();
        m_context.PreparerLibellesInterviews();
    }
};

TEST_F(SelectionDialogsTest, LinesMoveBetweenTheListsAndStaySorted) {
    const std::vector<std::string> labels{"A", "B", "C", "D", "E"};
    std::vector<std::uint32_t> active{1, 3};
    std::vector<std::uint32_t> illustrative{4};
    CSelLignesDlg dialog(labels, active, illustrative);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sélection des lignes"));
    EXPECT_EQ(dialog.Numeros(L::kNonSelectionne), (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(dialog.GetListe(L::kActif).topLevelItem(1)->text(0), QStringLiteral("D"));
    // No study-field buttons on a table's lines.
    EXPECT_EQ(dialog.findChild<QPushButton*>(QString::number(L::kChampVersActif)), nullptr);

    struct Step {
        L::Liste from;
        std::vector<int> rows; // empty: the button of every item
        L::Bouton button;
        std::vector<std::uint32_t> nonSelected;
        std::vector<std::uint32_t> actifs;
        std::vector<std::uint32_t> illustratifs;
    };
    const Step steps[] = {
        {L::kNonSelectionne, {1}, L::kVersActif, {0}, {1, 2, 3}, {4}},
        {L::kActif, {0, 2}, L::kActifVersIllustratif, {0}, {2}, {1, 3, 4}},
        {L::kIllustratif, {}, L::kToutIllustratifVersActif, {0}, {1, 2, 3, 4}, {}},
        {L::kActif, {}, L::kToutActifVersNon, {0, 1, 2, 3, 4}, {}, {}},
        {L::kNonSelectionne, {}, L::kToutVersActif, {}, {0, 1, 2, 3, 4}, {}},
        {L::kActif, {4}, L::kActifVersNon, {4}, {0, 1, 2, 3}, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        Select(dialog.GetListe(step.from), step.rows);
        QTest::mouseClick(&dialog.GetBouton(step.button), Qt::LeftButton);
        EXPECT_EQ(dialog.Numeros(L::kNonSelectionne), step.nonSelected);
        EXPECT_EQ(dialog.Numeros(L::kActif), step.actifs);
        EXPECT_EQ(dialog.Numeros(L::kIllustratif), step.illustratifs);
    }
    dialog.accept();
    EXPECT_EQ(active, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_TRUE(illustrative.empty());
}

TEST_F(SelectionDialogsTest, InterviewsNeedThreeActiveOnes) {
    OpenDemo();
    std::vector<std::uint32_t> active = Range(0, kInterviews - 1);
    std::vector<std::uint32_t> illustrative;
    CSelInterviewsDlg dialog(m_context, active, illustrative);
    dialog.show();
    std::string label;
    m_context.DonnerLibelleInterview(0, label);
    EXPECT_EQ(dialog.GetListe(L::kActif).topLevelItem(0)->text(0).toStdString(), label);
    Select(dialog.GetListe(L::kActif), {2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    QTest::mouseClick(&dialog.GetBouton(L::kActifVersIllustratif), Qt::LeftButton);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()) << "two active interviews";
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{"Vous devez sélectionner au moins 3 interviews..."});
    EXPECT_EQ(active.size(), static_cast<std::size_t>(kInterviews)) << "the caller's lists untouched";

    Select(dialog.GetListe(L::kIllustratif), {0});
    QTest::mouseClick(&dialog.GetBouton(L::kIllustratifVersActif), Qt::LeftButton);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(active, (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(illustrative, Range(3, kInterviews - 1));
}

TEST_F(SelectionDialogsTest, InterviewsMoveByStudyField) {
    OpenDemo();
    std::vector<std::uint32_t> active = Range(0, 5);
    std::vector<std::uint32_t> illustrative;
    CSelInterviewsDlg dialog(m_context, active, illustrative);
    bool cancel = true;
    dialog.SetStudyFieldChooser([&cancel](std::int32_t& id) {
        id = -1; // "Toutes les interviews"
        return !cancel;
    });
    QTest::mouseClick(&dialog.GetBouton(L::kChampVersActif), Qt::LeftButton);
    EXPECT_EQ(dialog.Numeros(L::kActif), Range(0, 5)) << "cancelled: nothing moves";
    cancel = false;
    QTest::mouseClick(&dialog.GetBouton(L::kChampVersActif), Qt::LeftButton);
    EXPECT_EQ(dialog.Numeros(L::kActif), Range(0, kInterviews - 1));
    EXPECT_TRUE(dialog.Numeros(L::kNonSelectionne).empty());
    // A field that is not in the survey any more moves nothing, and says why.
    dialog.SetStudyFieldChooser([](std::int32_t& id) {
        id = 987654;
        return true;
    });
    QTest::mouseClick(&dialog.GetBouton(L::kChampActifVersIllustratif), Qt::LeftButton);
    EXPECT_TRUE(dialog.Numeros(L::kIllustratif).empty());
    EXPECT_EQ(ShownTexts().size(), 1u);
}

// The axes offered are those that carry inertia; the bars are shares of the eigenvalues.
TEST_F(SelectionDialogsTest, AxesOfferedAndTheirChart) {
    struct Case {
        std::vector<double> eigenvalues;
        int minimum;
        int maximum;
    };
    const Case cases[] = {
        {{2.0, 0.75, 0.25}, 2, 3},
        {{0.5, 0.3, 0.2, 1e-12}, 2, 3},
        {{0.7}, 1, 1},
        {{0.7, 1e-11}, 1, 1},
    };
    for (const Case& c : cases) {
        CSelNbAxesDlg dialog(c.eigenvalues);
        EXPECT_EQ(dialog.GetMinimum(), c.minimum);
        EXPECT_EQ(dialog.GetMaximum(), c.maximum);
        EXPECT_EQ(dialog.GetSpin().minimum(), c.minimum);
        EXPECT_EQ(dialog.GetSpin().maximum(), c.maximum);
        EXPECT_EQ(dialog.GetSpin().value(), c.minimum) << "proposed";
        const ChartModel& chart = dialog.GetGraphique().Model();
        ASSERT_EQ(chart.series.size(), 1u);
        ASSERT_EQ(chart.series[0].y.size(), c.eigenvalues.size());
        double sum = 0.0;
        for (std::size_t k = 0; k < c.eigenvalues.size(); ++k) {
            sum += chart.series[0].y[k];
            EXPECT_EQ(chart.series[0].x[k], static_cast<double>(k + 1));
        }
        EXPECT_NEAR(sum, 100.0, 1e-9);
    }
    // 2, 0.75, 0.25 are 66.67 %, 25 %, 8.33 % of their sum 3.
    EXPECT_NEAR(CSelNbAxesDlg::PartsInertie({2.0, 0.75, 0.25})[1], 25.0, 1e-12);
    EXPECT_EQ(CSelNbAxesDlg::AxesPortantInertie({0.0, -1e-15}), 0);

    CSelNbAxesDlg dialog({2.0, 0.75, 0.25});
    dialog.GetSpin().setValue(3);
    dialog.accept();
    EXPECT_EQ(dialog.GetNbAxes(), 3);
}

TEST_F(SelectionDialogsTest, OptionsInTypologyAndPlainModes) {
    COptionsCalculDlg typology(true, false, 1234, 1);
    typology.show();
    EXPECT_TRUE(typology.GetNombre().isVisible());
    EXPECT_EQ(typology.GetLibelle().text(), QStringLiteral("Origine pour tirage aléatoire:"));
    QTest::mouseClick(&typology.GetStabilite(), Qt::LeftButton);
    EXPECT_EQ(typology.GetLibelle().text(), QStringLiteral("Nombre d'itérations:")) << "before OK";
    EXPECT_EQ(typology.GetRadio(1).text(), QStringLiteral("Préfixer les modalités par la question"));
    EXPECT_FALSE(typology.GetRadio(2).isVisible());
    typology.GetNombre().setValue(40);
    typology.GetRadio(0).setChecked(true);
    typology.accept();
    bool stability = false;
    int number = 0;
    int radio = -1;
    typology.DonnerOptions(stability, number, radio);
    EXPECT_TRUE(stability);
    EXPECT_EQ(number, 40);
    EXPECT_EQ(radio, 0);

    COptionsCalculDlg plain(false, 2);
    plain.show();
    EXPECT_FALSE(plain.GetNombre().isVisible());
    EXPECT_FALSE(plain.GetLibelle().isVisible());
    EXPECT_FALSE(plain.GetStabilite().isVisible());
    EXPECT_EQ(plain.GetRadio(0).text(), QStringLiteral("Remplacer les valeurs manquantes par la moyenne"));
    EXPECT_TRUE(plain.GetRadio(2).isChecked());
    plain.GetRadio(1).setChecked(true);
    plain.accept();
    EXPECT_EQ(plain.DonnerOptions(), 1);
}

TEST_F(SelectionDialogsTest, ModalitiesStartFromTheSelectionAndNeedOne) {
    OpenDemo();
    CQuestionEtendue& question = *m_context.TrouverQuestionParNom("REGION");
    std::vector<std::unique_ptr<CModaliteEtendue>> all;
    question.DonnerModalites(all, true);
    ASSERT_GE(all.size(), 3u);
    CSelModalitesDlg::Selection selection;
    selection.push_back(std::make_unique<CModaliteEtendue>(*all[1]));
    CSelModalitesDlg dialog(m_context, question, selection);
    dialog.show();
    CModaliteListCtrl& list = dialog.GetPage().GetList();
    ASSERT_EQ(list.TickedLinesInOrder().size(), 1u);
    CPageQuestionsCalculsDlg::Lines lines;
    dialog.GetPage().GetLignes(lines);
    EXPECT_EQ(lines.at(static_cast<std::size_t>(list.TickedLinesInOrder()[0]))->code, all[1]->code);

    list.SetRowTicked(0, false);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{StringTable::Text(StringTable::kSelectionnerUneModalite)});
    ASSERT_EQ(selection.size(), 1u) << "the caller's selection untouched";

    list.SetRowTicked(0, true);
    list.SetRowTicked(1, true);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(selection.size(), 2u);
    EXPECT_EQ(selection[0]->code, all[1]->code);
    EXPECT_NE(selection[1]->code, all[1]->code);
    EXPECT_NE(selection[0].get(), all[1].get()) << "new copies";
}

// Four items classified, with the merge levels as the classification hands them: the bar of g
// groups is level[n - g - 1], the bar of n groups the last level.
TEST_F(SelectionDialogsTest, GroupsOfASmallClassification) {
    CSelNbGroupesDlg dialog({5.0, 12.0}, 4, 40.0);
    // The texts as they read, their misspellings corrected ("groupe", "dendogramme").
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sélection du nombre de groupes"));
    QStringList captions;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        captions << label->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("Nombre de groupes dans le dendrogramme:"))) << captions.join(u'|').toStdString();
    EXPECT_EQ(dialog.GetSpinGroupes().minimum(), 2);
    EXPECT_EQ(dialog.GetSpinGroupes().maximum(), 3);
    EXPECT_EQ(dialog.GetSpinDendogramme().minimum(), 2);
    EXPECT_EQ(dialog.GetSpinDendogramme().maximum(), 4);
    EXPECT_EQ(dialog.GetSpinGroupes().value(), 3);
    EXPECT_EQ(dialog.GetSpinDendogramme().value(), 4);
    const ChartSeries& bars = dialog.GetGraphique().Model().series.at(0);
    EXPECT_EQ(bars.x, (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(bars.y, (std::vector<double>{12.0, 5.0, 40.0}));

    // Typing a count waits before the chart follows it.
    QTest::keyClick(&dialog.GetSpinDendogramme(), Qt::Key_Down);
    EXPECT_EQ(dialog.GetSpinDendogramme().value(), 3);
    EXPECT_EQ(dialog.GetGraphique().Model().series.at(0).x.size(), 3u) << "not yet";
    EXPECT_TRUE(dialog.GetMinuterie().isActive());
    EXPECT_EQ(dialog.GetMinuterie().interval(), 500);
    dialog.OnMinuterie();
    EXPECT_FALSE(dialog.GetMinuterie().isActive());
    EXPECT_EQ(dialog.GetGraphique().Model().series.at(0).x, (std::vector<double>{2, 3}));

    // Three groups in a dendrogram of three: the dendrogram shows one more.
    dialog.accept();
    int groups = 0;
    int shown = 0;
    dialog.GetNbGroupes(groups, shown);
    EXPECT_EQ(groups, 3);
    EXPECT_EQ(shown, 4);
    EXPECT_EQ(dialog.GetSpinDendogramme().value(), 4);
}

} // namespace
} // namespace statistics_ui_test
