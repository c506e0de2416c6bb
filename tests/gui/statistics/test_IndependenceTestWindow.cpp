#include "StudyWindowTest.h"

#include "gui/requests/ModaliteListCtrl.h"
#include "gui/requests/PageQuestionsCalculsDlg.h"
#include "gui/statistics/SelModalitesDlg.h"
#include "gui/statistics/TstIndependanceDoc.h"
#include "gui/statistics/TstIndependanceView.h"
#include "support/IndependenceFixture.h"
#include "support/WeightByQuestion.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

// The independence test window on the weighted fixture of the reference data: what the analyst
// reads in its edits, its verdict (text and colour) and its tabs.
namespace statistics_ui_test {
namespace {

class IndependenceTestWindowTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(independence_fixture::kSurvey);
    }

    void Weighted() { m_context.weightingCode = WeightByQuestion(m_context, Named("W"), 3); }

    CTstIndependanceView& OpenTest(const char* row, const char* column) {
        const CTstIndependanceDoc::Questions questions{&Named(row), &Named(column)};
        return Open<CTstIndependanceDoc, CTstIndependanceView>(DocumentSource::FromObject(&questions));
    }

    static QColor VerdictColour(const CTstIndependanceView& view) {
        return view.GetVerdict().palette().color(QPalette::WindowText);
    }

    // The text of the cell under the row and column headers given.
    static QString Cell(const CTstIndependanceView& view, const QString& row, const QString& column) {
        const QTableWidget& table = view.GetTableau();
        for (int i = 0; i < table.rowCount(); ++i)
            for (int j = 0; j < table.columnCount(); ++j)
                if (table.verticalHeaderItem(i)->text() == row && table.horizontalHeaderItem(j)->text() == column)
                    return table.item(i, j)->text();
        ADD_FAILURE() << row.toStdString() << " x " << column.toStdString();
        return {};
    }
};

// PSPP and R: chi-square 3.111111111, df 4, risk 53.94064 %; the contribution of A1 x B1 is
// 2.142857 % and that of A2 x B3 -24.107143 % (wave-3 references).
TEST_F(IndependenceTestWindowTest, WeightedFixtureShowsTheReferenceTestInBlack) {
    Weighted();
    CTstIndependanceView& view = OpenTest("A", "B");
    EXPECT_EQ(view.GetKhiDeux().text(), QStringLiteral("3.11111"));
    EXPECT_EQ(view.GetDegresLibertes().text(), QStringLiteral("4"));
    EXPECT_EQ(view.GetVerdict().text(),
              QStringLiteral("En refusant l'hypothèse, vous avez 53.9 % de chances de vous tromper."));
    EXPECT_EQ(VerdictColour(view), QColor(0, 0, 0));
    EXPECT_EQ(view.GetDocument()->GetTitle(), QStringLiteral("Test d'indépendance"));

    const QTabBar& tabs = view.GetOnglets();
    ASSERT_EQ(tabs.count(), 5);
    EXPECT_EQ(tabs.tabText(3), QStringLiteral("Contribution au Khi 2"));
    // A1 x B1 weighs 1.0 + 1.0 (interviews 1 and 7).
    EXPECT_EQ(Cell(view, "A1", "B1"), QStringLiteral("2.00"));
    view.GetOnglets().setCurrentIndex(3);
    EXPECT_EQ(Cell(view, "A1", "B1"), QStringLiteral("2.1 %"));
    EXPECT_EQ(Cell(view, "A2", "B3"), QStringLiteral("-24.1 %"));
    // Expected count of A1 x B1: margins 5.0 and 4.0 of a total of 12 (by hand), 1.67.
    view.GetOnglets().setCurrentIndex(4);
    EXPECT_EQ(Cell(view, "A1", "B1"), QStringLiteral("1.67"));
}

// C by D crosses as 2 3 / 2 3, chi-square 0: a risk of 100 % in green. A by itself, weighted,
// is strongly dependent (chi-square 24 on 4 df, R: 1 - pchisq(24, 4) = 8.0e-5): red.
TEST_F(IndependenceTestWindowTest, VerdictColourOfIndependentAndDependentQuestions) {
    CTstIndependanceView& independent = OpenTest("C", "D");
    EXPECT_EQ(independent.GetKhiDeux().text(), QStringLiteral("0"));
    EXPECT_EQ(VerdictColour(independent), QColor(0, 127, 0));
    Weighted();
    CTstIndependanceView& dependent = OpenTest("A", "A");
    EXPECT_EQ(dependent.GetKhiDeux().text(), QStringLiteral("24"));
    EXPECT_EQ(VerdictColour(dependent), QColor(200, 0, 0));
}

// Without A1 the rows A2, A3 by B1..B3 (B3 still answered by interview 9) leave 1 x 2 degrees.
TEST_F(IndependenceTestWindowTest, DeselectingARowModalityLowersTheDegreesOfFreedom) {
    Weighted();
    CTstIndependanceView& view = OpenTest("A", "B");
    ModalAnswers answers({[](QDialog& shown) {
        auto& dialog = dynamic_cast<CSelModalitesDlg&>(shown);
        CModaliteListCtrl& list = dialog.GetPage().GetList();
        list.SetRowTicked(0, false); // A1
        dialog.accept();
    }});
    QTest::mouseClick(&view.GetBouton(0), Qt::LeftButton);
    EXPECT_EQ(answers.Answered(), 1u);
    EXPECT_EQ(view.GetDegresLibertes().text(), QStringLiteral("2"));
    EXPECT_EQ(view.GetTableau().rowCount(), 3) << "A2, A3 and the Total";
}

// E is always E1: one non-empty row, no test; the sentence says why, in black.
TEST_F(IndependenceTestWindowTest, OneNonEmptyModalityGivesNoVerdict) {
    CTstIndependanceView& view = OpenTest("E", "B");
    EXPECT_EQ(view.GetDegresLibertes().text(), QStringLiteral("0"));
    EXPECT_EQ(view.GetVerdict().text(),
              QStringLiteral("Test impossible : il faut au moins deux modalités non vides en ligne et en colonne."));
    EXPECT_EQ(VerdictColour(view), QColor(0, 0, 0));
}

} // namespace
} // namespace statistics_ui_test
