#include "StudyWindowTest.h"

#include "app/Registre.h"
#include "gui/statistics/SeuilsSignificativiteDlg.h"
#include "statistics/IndependenceTest.h"
#include "support/IndependenceFixture.h"
#include "support/WeightByQuestion.h"
#include "tabulation/CrossPlanes.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

// "Seuils de significativité" typed as the analyst types it: what OK writes into the context and
// the settings, what it refuses, and what the next opening shows.
namespace statistics_ui_test {
namespace {

using D = CSeuilsSignificativiteDlg;

// R qnorm(1 - d / 200): 10 % 1.644854, 5 % 1.959964, 1 % 2.575829 (the program's inverse of the
// normal law is good to about 1e-5).
constexpr double kZ10 = 1.644854;
constexpr double kZ5 = 1.959964;
constexpr double kZ1 = 2.575829;

class SignificanceThresholdsDialogTest : public StudyWindowTest {
protected:
    static void Type(D& dialog, const char* haut, const char* moyen, const char* bas, const char* intervalle) {
        dialog.GetSeuil(D::kHaut).setText(QString::fromUtf8(haut));
        dialog.GetSeuil(D::kMoyen).setText(QString::fromUtf8(moyen));
        dialog.GetSeuil(D::kBas).setText(QString::fromUtf8(bas));
        dialog.GetSeuil(D::kIntervalle).setText(QString::fromUtf8(intervalle));
    }
    static QString Shown(D& dialog, D::Controle id) { return dialog.GetSeuil(id).text(); }
};

TEST_F(SignificanceThresholdsDialogTest, DecreasingRisksGoIntoTheContextAndTheSettings) {
    D dialog(m_context);
    ASSERT_EQ(dialog.GetType().count(), 3);
    EXPECT_EQ(dialog.GetType().itemText(0), QStringLiteral("Comparaison des cellules (khi2)"));
    dialog.GetType().setCurrentIndex(1);
    Type(dialog, "10", "5", "1", "2,5");
    dialog.show();
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(m_context.SignificanceType, 1);
    EXPECT_NEAR(m_context.SignificanceThreshold1, kZ10, 1e-5);
    EXPECT_NEAR(m_context.SignificanceThreshold2, kZ5, 1e-5);
    EXPECT_NEAR(m_context.SignificanceThreshold3, kZ1, 1e-5);
    // R qnorm(1 - 2.5 / 200) = 2.241403; the decimal comma is taken.
    EXPECT_NEAR(m_context.ConfidenceIntervalThreshold, 2.241403, 1e-5);
    EXPECT_EQ(CRegistre::GetSignificanceType(), 1);
    EXPECT_NEAR(CRegistre::GetSignificanceThreshold1(), kZ10, 2e-5);
    EXPECT_NEAR(CRegistre::GetConfidenceIntervalThreshold(), 2.241403, 2e-5);

    // Reopened: the risks again, rounded through the quantiles to two decimals before doubling.
    D reopened(m_context);
    EXPECT_EQ(reopened.GetType().currentIndex(), 1);
    EXPECT_EQ(Shown(reopened, D::kHaut), QStringLiteral("10"));
    EXPECT_EQ(Shown(reopened, D::kMoyen), QStringLiteral("5"));
    EXPECT_EQ(Shown(reopened, D::kBas), QStringLiteral("1"));
    EXPECT_EQ(Shown(reopened, D::kIntervalle), QStringLiteral("2.5"));
}

// Refused (the dialog stays) or cancelled, nothing is written: the context keeps its quantiles
// and the settings stay empty.
TEST_F(SignificanceThresholdsDialogTest, RefusalsAndAnnulerWriteNothing) {
    const double before = m_context.SignificanceThreshold1;
    D refused(m_context);
    Type(refused, "5", "10", "1", "5");
    refused.show();
    refused.accept();
    EXPECT_TRUE(refused.isVisible());
    ASSERT_EQ(m_ui->shown.size(), 1u);
    EXPECT_EQ(m_ui->shown[0].message.id, 63455);
    refused.GetSeuil(D::kHaut).setText(QStringLiteral("dix"));
    refused.accept();
    EXPECT_TRUE(refused.isVisible());
    refused.reject();

    D cancelled(m_context);
    Type(cancelled, "20", "10", "2", "5");
    cancelled.show();
    cancelled.reject();
    EXPECT_EQ(m_context.SignificanceThreshold1, before);
    EXPECT_EQ(CRegistre::GetStore()->ReadString("Options", "SignificanceThreshold1"), std::nullopt);
}

// A2 x B3 of the weighted fixture (nobody, expected 0.75) tests by cells at z = -0.894 (by
// hand): no mark with the default 10 %; with risks of 100 % every quantile is 0 and the cell is
// marked 3 times below.
TEST_F(SignificanceThresholdsDialogTest, ACrossTableIsMarkedWithTheNewThresholds) {
    OpenSurvey(independence_fixture::kSurvey);
    m_context.weightingCode = WeightByQuestion(m_context, Named("W"), 3);
    m_context.EffectifSignificativite = 0;
    m_context.SignificanceType = 0;
    const auto markOfA2B3 = [this] {
        IndependenceTest test(m_context, Named("A"), Named("B"));
        EXPECT_TRUE(test.Calculer()) << test.GetErreur();
        return test.GetCroisement().Plan(CrossPlanes::kMark)[static_cast<std::size_t>(1 * test.GetColonnes() + 2)];
    };
    EXPECT_EQ(markOfA2B3(), 0.0);
    D dialog(m_context);
    Type(dialog, "100", "100", "100", "5");
    dialog.show();
    dialog.accept();
    EXPECT_EQ(markOfA2B3(), -3.0);
}

} // namespace
} // namespace statistics_ui_test
