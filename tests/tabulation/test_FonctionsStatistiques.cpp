#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "app/ContexteEtude.h"
#include "app/VecteurDouble.h"
#include "tabulation/FonctionsStatistiques.h"

// Reference values below were computed with SciPy 1.10 (scipy.stats.norm, chi2, t), an
// implementation independent of ours.

namespace {

struct ValeurReference {
    double argument;
    double attendu;
};

TEST(FonctionsStatistiques, FormaterDoubleGivesShortestTextUpToFifteenDigitsWithAPoint) {
    const char* ancienne = std::setlocale(LC_NUMERIC, nullptr);
    const std::string sauvegarde = ancienne ? ancienne : "C";
    std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"); // a decimal comma must not leak in
    const struct {
        double valeur;
        const char* texte;
    } cas[] = {{0.1, "0.1"}, {2.5, "2.5"}, {1.0 / 3.0, "0.333333333333333"}, {-999999.99, "-999999.99"},
               {1e20, "1e+20"}, {123456789012345678.0, "1.23456789012346e+17"}, {0.0, "0"}};
    for (const auto& c : cas) {
        std::string texte;
        FormaterDouble(texte, c.valeur);
        EXPECT_EQ(texte, c.texte) << c.valeur;
    }
    std::setlocale(LC_NUMERIC, sauvegarde.c_str());
}

TEST(FonctionsStatistiques, TrierDoublesSortsAscendingAndLeavesEqualValuesAlone) {
    CVecteurDouble valeurs(6);
    const double entree[] = {3.0, -1.0, 2.5, -999999.99, 3.0, 0.0};
    for (int i = 0; i < 6; ++i) valeurs.SetAt(i, entree[i]);
    TrierDoubles(valeurs);
    const double attendu[] = {-999999.99, -1.0, 0.0, 2.5, 3.0, 3.0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(valeurs.GetAt(i), attendu[i]);

    CVecteurDouble egales(5);
    egales.Remplir(7.25);
    TrierDoubles(egales);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(egales.GetAt(i), 7.25);
}

TEST(FonctionsStatistiques, TrierDoublesSortsAMillionSortedValuesWithoutDeepRecursion) {
    // Already sorted input is the worst case of a first-element pivot partition: a recursive
    // sort would nest a million calls deep here.
    constexpr int n = 1'000'000;
    CVecteurDouble valeurs(n);
    for (int i = 0; i < n; ++i) valeurs.SetAt(i, static_cast<double>(i));
    TrierDoubles(valeurs);
    EXPECT_EQ(valeurs.GetAt(0), 0.0);
    EXPECT_EQ(valeurs.GetAt(n - 1), n - 1.0);
    for (int i = 1; i < n; i += 9973) EXPECT_LE(valeurs.GetAt(i - 1), valeurs.GetAt(i));
}

TEST(FonctionsStatistiques, LoiNormaleMatchesTheReferenceWithinThePolynomialError) {
    // The polynomial's absolute error is below 7.5e-8.
    const ValeurReference cas[] = {{-3.0, 0.0013498980316300933}, {-1.5, 0.06680720126885807},
                                   {-0.5, 0.3085375387259869},   {0.0, 0.5},
                                   {0.3, 0.6179114221889526},    {1.0, 0.8413447460685429},
                                   {2.5, 0.9937903346742238},    {4.0, 0.9999683287581669}};
    for (const auto& c : cas) EXPECT_NEAR(LoiNormale(c.argument), c.attendu, 7.5e-8) << c.argument;
    EXPECT_EQ(LoiNormale(5.0), 1.0);
    EXPECT_EQ(LoiNormale(-5.0), 0.0);
}

TEST(FonctionsStatistiques, InverseLoiNormaleGivesTheQuantilesWithinTheBisectionWidth) {
    // Tolerance: the bracket width 1e-5 plus the distribution's error 7.5e-8 over the density at
    // the quantile (at most 5e-6 up to p = 0.995).
    const ValeurReference cas[] = {{0.5, 0.0},
                                   {0.8, 0.8416212335729143},
                                   {0.9, 1.2815515655446004},
                                   {0.95, 1.6448536269514722},
                                   {0.975, 1.959963984540054},
                                   {0.99, 2.3263478740408408},
                                   {0.995, 2.5758293035489004}};
    for (const auto& c : cas) EXPECT_NEAR(InverseLoiNormale(c.argument), c.attendu, 1.5e-5) << c.argument;
    EXPECT_NEAR(InverseLoiNormale(0.975), 1.96, 1e-4);
    EXPECT_EQ(InverseLoiNormale(0.3), 0.0);
    EXPECT_EQ(InverseLoiNormale(0.0), 0.0);
}

TEST(FonctionsStatistiques, ProbaKhiDeuxMatchesTheReferenceForEvenAndOddDegrees) {
    const struct {
        double x;
        int n;
        double attendu;
    } cas[] = {
        {0.5, 1, 0.5204998778130466},   {3.841459, 1, 0.9500000053468044}, {2.0, 2, 0.6321205588285577},
        {4.5765, 2, 0.8985561666831089}, {7.814728, 3, 0.9500000021680338}, {1.0, 4, 0.09020401043104986},
        {9.487729, 4, 0.94999999924056}, {11.070498, 5, 0.950000005922687}, {15.0, 7, 0.9640005952365712},
        {20.0, 10, 0.9707473119230389}, {23.209251, 10, 0.9899999994520626}, {50.0, 30, 0.9875979392810995},
        {30.0, 31, 0.4827034506851038}, // large degrees: the series' terms outgrow exp(-x/2)
        {1200.0, 1200, 0.5054289668796126}, {1000.0, 999, 0.5148685107250985},
    };
    for (const auto& c : cas) {
        // Even degrees are a finite exact series (1e-10); odd ones carry twice the normal
        // polynomial's error (1.5e-7).
        const double tolerance = c.n % 2 == 0 ? 1e-10 : 2e-7;
        const double p = ProbaKhiDeux(c.x, c.n);
        EXPECT_NEAR(p, c.attendu, tolerance) << c.x << " with " << c.n;
        EXPECT_TRUE(std::isfinite(p));
    }
    for (double x : {0.3, 1.0, 6.0, 40.0}) EXPECT_NEAR(ProbaKhiDeux(x, 2), 1.0 - std::exp(-x / 2.0), 1e-14);
    EXPECT_EQ(ProbaKhiDeux(0.0, 3), 0.0);
    EXPECT_EQ(ProbaKhiDeux(5.0, 0), 1.0);
    EXPECT_EQ(ProbaKhiDeux(5000.0, 3), 1.0);
}

TEST(FonctionsStatistiques, ProbaStudentGivesTheReferenceProbabilitiesAtTheQuantiles) {
    // The Student quantiles of the reference; the series is exact (1e-9).
    const struct {
        double t;
        int n;
        double p;
    } cas[] = {
        {12.706204736432095, 1, 0.975}, {4.302652729911275, 2, 0.975}, {2.5705818366147395, 5, 0.975},
        {2.2281388519649385, 10, 0.975}, {5.84090929975643, 3, 0.995}, {1.6972608943617378, 30, 0.95},
        {1.4149239276488585, 7, 0.9}, {1.5, 4, 0.896}, {-2.0, 9, 0.03827641188535046},
        {-2.2281388519649385, 10, 0.025},
    };
    for (const auto& c : cas) EXPECT_NEAR(ProbaStudent(c.t, c.n), c.p, 1e-9) << c.t << " with " << c.n;
    for (int n : {1, 2, 3, 8, 51}) EXPECT_DOUBLE_EQ(ProbaStudent(0.0, n), 0.5);
    for (double t : {-3.0, 0.7, 10.0}) EXPECT_NEAR(ProbaStudent(t, 1), 0.5 + std::atan(t) / M_PI, 1e-15);
    EXPECT_EQ(ProbaStudent(1.0, 0), 0.0);
}

// The upper tails down to the smallest doubles, where 1 minus the lower tail is exactly 0.
// Reference values: R 4.2.2, pchisq(x, n, lower.tail = FALSE) and pt(t, n, lower.tail = FALSE),
// printed with format(..., digits = 17).
TEST(FonctionsStatistiques, UpperTailsKeepTheirDigitsDownToTheSmallestDoubles) {
    const struct {
        double x;
        int n;
        double upper;
    } chiSquares[] = {
        {86.96, 1, 1.1073835678269808e-20}, {460.0, 1, 4.8071897649703585e-102}, {1376.0, 1, 3.4491513001151682e-301},
        {100.0, 3, 1.5541594313896051e-21}, {480.0, 3, 1.0298808741888918e-103}, {1400.0, 3, 2.9456193610163185e-303},
        {100.0, 4, 9.8366242246159821e-21}, {480.0, 4, 1.4169071302771101e-102}, {1400.0, 4, 6.9116332571757217e-302},
        {500.0, 20, 2.91026687302731e-93},  {1420.0, 20, 5.7281232492061868e-289}, {4.5765, 2, 0.10144383331689115},
    };
    for (const auto& c : chiSquares) {
        EXPECT_NEAR(ProbaKhiDeuxSuperieure(c.x, c.n) / c.upper, 1.0, 1e-12) << c.x << " with " << c.n;
        EXPECT_EQ(1.0 - ProbaKhiDeux(c.x, c.n) == 0.0, c.upper < 1e-17) << "the lower tail rounds to 1";
    }
    const struct {
        double t;
        int n;
        double upper;
    } students[] = {
        {100.0, 10, 1.2248447777099239e-16}, {1e10, 10, 1.2304687500000011e-96}, {1e30, 10, 1.2304687499999038e-296},
        {30.0, 50, 6.190011397993646e-34},   {60.0, 200, 3.8557892920282603e-130}, {25.0, 1000, 7.6017706916609826e-108},
        {1e20, 1, 3.1830988618379063e-21},   {3e6, 3, 4.0839177438635004e-20},    {2.0, 30, 0.02731252248149155},
        {3.0, 1000, 0.001383354522119095},
    };
    for (const auto& c : students)
        EXPECT_NEAR(ProbaStudentSuperieure(c.t, c.n) / c.upper, 1.0, 1e-10) << c.t << " with " << c.n;
    // Below zero the tail is the rest of the distribution; the edges as the header says.
    EXPECT_NEAR(ProbaStudentSuperieure(-2.0, 30), 1.0 - 0.02731252248149155, 1e-14);
    EXPECT_DOUBLE_EQ(ProbaStudentSuperieure(0.0, 7), 0.5);
    EXPECT_EQ(ProbaStudentSuperieure(2.0, 0), 1.0);
    EXPECT_EQ(ProbaKhiDeuxSuperieure(0.0, 3), 1.0);
    EXPECT_EQ(ProbaKhiDeuxSuperieure(5.0, 0), 0.0);
}

TEST(FonctionsStatistiques, PercentageBoundsUseTheContextThresholdAndAreClamped) {
    CContexteEtude contexte;
    // 50 % of 100 units: 50 -/+ 1.96 x sqrt(0.25 / 100) x 100 = 50 -/+ 9.8 (hand computation).
    EXPECT_NEAR(BorneInferieurePourcentage(50.0, 100.0, contexte), 40.2, 1e-12);
    EXPECT_NEAR(BorneSuperieurePourcentage(50.0, 100.0, contexte), 59.8, 1e-12);
    contexte.ConfidenceIntervalThreshold = 2.576;
    EXPECT_NEAR(BorneInferieurePourcentage(50.0, 100.0, contexte), 50.0 - 12.88, 1e-12);
    EXPECT_EQ(BorneInferieurePourcentage(2.0, 10.0, 1.96), 0.0);
    EXPECT_EQ(BorneSuperieurePourcentage(98.0, 10.0, 1.96), 100.0);
    EXPECT_EQ(BorneInferieurePourcentage(0.0, 10.0, 1.96), 0.0);
    EXPECT_EQ(BorneSuperieurePourcentage(100.0, 10.0, 1.96), 100.0);
    EXPECT_EQ(BorneInferieurePourcentage(50.0, 0.0, 1.96), kValeurManquante);
    EXPECT_EQ(BorneSuperieurePourcentage(50.0, 0.0, 1.96), kValeurManquante);
}

} // namespace
