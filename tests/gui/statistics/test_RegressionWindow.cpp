#include "StudyWindowTest.h"

#include "app/StringTable.h"
#include "gui/statistics/MorvaneFactorielleDoc.h"
#include "gui/statistics/RlmView.h"
#include "portfolio/ElementDossier.h"
#include "statistics/RegressionAnalysis.h"
#include "support/RegressionFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

// "Régression linéaire multiple" on the regression fixture of the reference data: the tables the
// window lists, and the refusals it tells.
namespace statistics_ui_test {
namespace {

constexpr double kManquante = -999999.99;

class RegressionWindowTest : public StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenSurvey(regression_fixture::kSurvey);
    }

    CRlmView& OpenRegression(std::initializer_list<const char*> explanatory) {
        CRlmView& view = Open<CMorvaneFactorielleDoc, CRlmView>(DocumentSource::None());
        view.GetAnalyse()->cible = &Named("Y");
        for (const char* name : explanatory)
            view.GetAnalyse()->explicativesActives.Add(&Named(name));
        view.AfficherComptes();
        return view;
    }

    static void Recalculate(CRlmView& view) {
        QTest::mouseClick(&view.GetBouton(CRlmView::kRecalculer), Qt::LeftButton);
    }

    static const CTableau& Table(const CRlmView& view, int element) {
        return *view.GetElement(element).GetTableau();
    }
};

TEST_F(RegressionWindowTest, FixtureListsTheReferenceCoefficientsAndFittedValues) {
    CRlmView& view = OpenRegression({"X1", "X2"});
    EXPECT_EQ(view.GetDocument()->GetTitle(), QStringLiteral("RLM"));
    EXPECT_EQ(view.GetTexte(CRlmView::kTexteCible).text(), QStringLiteral("Cible"));
    EXPECT_EQ(view.GetTexte(CRlmView::kCompteExplicatives).text(), QStringLiteral("2"));
    EXPECT_EQ(view.GetTexte(CRlmView::kInterviewsActives).text(), QStringLiteral("11"));
    Recalculate(view);
    EXPECT_TRUE(ShownTexts().empty());
    ASSERT_EQ(view.GetNombreElements(), 2);
    EXPECT_EQ(view.GetArbre().topLevelItem(0)->text(0), QStringLiteral("Coefficients"));
    EXPECT_EQ(view.GetArbre().topLevelItem(1)->text(0), QStringLiteral("Résultats par interview"));

    const CTableau& coefficients = Table(view, 0);
    ASSERT_EQ(coefficients.RowCount(), 3);
    ASSERT_EQ(coefficients.ColumnCount(), 3);
    for (int j = 0; j < 3; ++j)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(coefficients.GetValeur(j, c), regression_fixture::kCoefficients[j][c], c == 2 ? 1e-6 : 1e-8)
                << j << ", " << c;
    EXPECT_EQ(view.DonnerLigne(RegressionAnalysis::kLignesCoefficients, 0, 0).label, "Constante");

    // Row 1: observed 1.5, fitted 1.651915, gap 10.12763 % (the reference, to its digits);
    // interview 11, without target, is the last row, fitted by hand from the reference
    // coefficients: -0.0446126447 + 0.6921193232 x 11 + 0.1040961710 x 6.5.
    const CTableau& rows = Table(view, 1);
    ASSERT_EQ(rows.RowCount(), 11);
    EXPECT_EQ(rows.GetValeur(0, 0), 1.5);
    EXPECT_NEAR(rows.GetValeur(0, 1), 1.651915, 1e-6);
    EXPECT_NEAR(rows.GetValeur(0, 2), 10.12763, 1e-5);
    EXPECT_EQ(rows.GetValeur(10, 0), kManquante);
    EXPECT_NEAR(rows.GetValeur(10, 1), -0.0446126447 + 0.6921193232 * 11 + 0.1040961710 * 6.5, 1e-8);
    EXPECT_EQ(rows.GetValeur(10, 2), kManquante);

    DoubleClick(view.GetArbre(), 0);
    ASSERT_EQ(m_windows.tables.size(), 1u);
    EXPECT_EQ(m_windows.tables[0].title, "Coefficients");
    EXPECT_EQ(m_windows.tables[0].owner, view.GetDocument());
}

TEST_F(RegressionWindowTest, RefusedRunsTellWhyAndListNoTable) {
    struct Case {
        std::initializer_list<const char*> explanatory;
        int message;
    } cases[] = {
        {{"X1"}, StringTable::kAuMoinsDeuxExplicatives},
        {{"X1", "X1BIS"}, StringTable::kMatriceNonInversible},
    };
    for (const Case& c : cases) {
        m_ui->shown.clear();
        CRlmView& view = OpenRegression(c.explanatory);
        Recalculate(view);
        ASSERT_EQ(m_ui->shown.size(), 1u);
        EXPECT_EQ(m_ui->shown[0].message.id, c.message);
        EXPECT_EQ(view.GetNombreElements(), 0);
    }
}

} // namespace
} // namespace statistics_ui_test
