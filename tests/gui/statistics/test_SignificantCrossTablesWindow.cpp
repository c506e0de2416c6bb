#include "StudyWindowTest.h"

#include "app/ModaliteEtendue.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/TrisSignificatifsView.h"
#include "statistics/SignificantCrossTables.h"
#include "support/IndependenceFixture.h"
#include "support/WeightByQuestion.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

// "Tableaux croisés significatifs" on the weighted fixture: what the list shows for a threshold,
// how its headers sort it, what Annuler keeps and what a double click opens.
namespace statistics_ui_test {
namespace {

class SignificantCrossTablesWindowTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(independence_fixture::kSurvey);
        m_context.weightingCode = WeightByQuestion(m_context, Named("W"), 3);
    }

    CTrisSignificatifsView& OpenScan(std::initializer_list<const char*> rows, std::initializer_list<const char*> columns) {
        CTrisSignificatifsView& view = Open<CMorvaneFactorielleDoc, CTrisSignificatifsView>(DocumentSource::None());
        Fill(view.GetRecherche()->GetProfilLignes(), rows);
        Fill(view.GetRecherche()->GetProfilColonnes(), columns);
        return view;
    }

    void Fill(CProfil& profile, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            std::vector<std::unique_ptr<CModaliteEtendue>> modalities;
            Named(name).DonnerModalites(modalities, true);
            profile.Add(&Named(name), modalities);
        }
    }

    static void Scan(CTrisSignificatifsView& view, int threshold) {
        view.GetSeuil().setValue(threshold);
        QTest::mouseClick(&view.GetBouton(CTrisSignificatifsView::kRecalculer), Qt::LeftButton);
    }

    static std::vector<std::string> Column(const CTrisSignificatifsView& view, int column) {
        std::vector<std::string> texts;
        for (int i = 0; i < view.GetListe().topLevelItemCount(); ++i)
            texts.push_back(view.GetListe().topLevelItem(i)->text(column).toStdString());
        return texts;
    }
};

// Risks, R 100 * chisq.test(xtabs(w ~ r + c))$p.value: A x B 53.94064, A x D 3.206469,
// C x B 21.17291, C x D 50.08443; E has one non-empty modality, so no test, never listed.
// Sorted as numbers, 3.206 comes before 21.173 (as text it would not).
TEST_F(SignificantCrossTablesWindowTest, ThresholdHundredListsEveryTestedPairByNumericRisk) {
    CTrisSignificatifsView& view = OpenScan({"A", "C", "E"}, {"B", "D"});
    Scan(view, 100);
    EXPECT_EQ(Column(view, 0), (std::vector<std::string>{"Question A x Question D", "Question C x Question B",
                                                          "Question C x Question D", "Question A x Question B"}));
    EXPECT_EQ(Column(view, 1), (std::vector<std::string>{"3.206", "21.173", "50.084", "53.941"}));
    EXPECT_EQ(view.GetDocument()->GetTitle(), QStringLiteral("Tableaux croisés significatifs"));

    view.GetListe().header()->sectionClicked(0);
    EXPECT_EQ(Column(view, 0).front(), "Question A x Question B");
    view.GetListe().header()->sectionClicked(1);
    EXPECT_EQ(Column(view, 1).front(), "3.206");
}

// Threshold 0 keeps only a risk of exactly 0: none weighted by W; weighted by W x 1000, A x B
// and C x B (R's p.value is 0).
TEST_F(SignificantCrossTablesWindowTest, ThresholdZeroKeepsOnlyNullRisks) {
    CTrisSignificatifsView& view = OpenScan({"A", "C"}, {"B", "D"});
    Scan(view, 0);
    EXPECT_EQ(view.GetListe().topLevelItemCount(), 0);
    m_context.weightingCode = WeightByQuestion(m_context, Named("WK"), 4);
    CTrisSignificatifsView& heavy = OpenScan({"A", "C"}, {"B"});
    Scan(heavy, 0);
    EXPECT_EQ(Column(heavy, 1), (std::vector<std::string>{"0.000", "0.000"}));
}

// Annuler at the third of four pairs keeps the two tested before.
TEST_F(SignificantCrossTablesWindowTest, AnnulerKeepsTheTablesFoundSoFar) {
    CTrisSignificatifsView& view = OpenScan({"A", "C"}, {"B", "D"});
    m_ui->cancelAtStep = 2;
    Scan(view, 100);
    EXPECT_EQ(Column(view, 0), (std::vector<std::string>{"Question A x Question D", "Question A x Question B"}));
}

// A double click opens the listed table, left to this window's document; a new scan closes the
// windows of the tables it replaces.
TEST_F(SignificantCrossTablesWindowTest, DoubleClickOpensTheListedTable) {
    CTrisSignificatifsView& view = OpenScan({"A"}, {"D"});
    Scan(view, 100);
    ASSERT_EQ(view.GetListe().topLevelItemCount(), 1);
    DoubleClick(view.GetListe(), 0);
    ASSERT_EQ(m_windows.tables.size(), 1u);
    const CTableau& listed = *view.GetRecherche()->GetResultats()[0].tableau;
    EXPECT_EQ(m_windows.tables[0].owner, view.GetDocument());
    EXPECT_EQ(m_windows.tables[0].rows, listed.RowCount());
    EXPECT_EQ(m_windows.tables[0].columns, listed.ColumnCount());
    // Interviews 1, 2 and 7 answered A1 and D1, weighing 1.0 + 2.0 + 1.0 (by hand).
    EXPECT_DOUBLE_EQ(listed.GetValeur(0, 0), 4.0);
    m_windows.closed.clear();
    Scan(view, 100);
    EXPECT_EQ(m_windows.closed, std::vector<const void*>{view.GetDocument()});
}

TEST_F(SignificantCrossTablesWindowTest, BothSidesNeedAQuestion) {
    CTrisSignificatifsView& view = OpenScan({}, {"B"});
    Scan(view, 10);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{"Vous devez sélectionner des questions en ligne"});
}

} // namespace
} // namespace statistics_ui_test
