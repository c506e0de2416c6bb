#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/ContexteEtude.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/CrossPlanes.h"

using namespace CrossPlanes;

namespace {

// One unit of a cross: its row answer, its column answer (modality positions) and its weight.
struct Unite {
    int a;
    int b;
    double poids;
};

// The count matrix of single-answer units as the crossing kernel builds it: cells, margins of the
// units with a kept pair, total in the corner.
std::vector<double> MatriceDe(const std::vector<Unite>& unites, int r, int c) {
    std::vector<double> m(static_cast<std::size_t>((r + 1) * (c + 1)), 0.0);
    auto at = [&](int a, int b) -> double& { return m[static_cast<std::size_t>(a * (c + 1) + b)]; };
    for (const Unite& u : unites) {
        at(u.a, u.b) += u.poids;
        at(u.a, c) += u.poids;
        at(r, u.b) += u.poids;
        at(r, c) += u.poids;
    }
    return m;
}

// A table of the modalities in their order, with a Total line and a Total column last (or none).
struct Table {
    int R;
    int C;
    int ligneTotal;
    int colonneTotal;
    std::vector<double> plans;

    double Plan(int p, int i, int j) const { return plans[static_cast<std::size_t>((p * R + i) * C + j)]; }
};

std::vector<std::int16_t> Identite(int n) {
    std::vector<std::int16_t> map(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) map[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
    return map;
}

Table Croiser(const std::vector<double>& matrice, int r, int c, bool avecTotaux, const SignificanceSettings& p,
              bool surReponses = false) {
    Table t{r + (avecTotaux ? 1 : 0), c + (avecTotaux ? 1 : 0), avecTotaux ? r : -1, avecTotaux ? c : -1, {}};
    const auto lignes = Identite(r);
    const auto colonnes = Identite(c);
    auto calcul = surReponses ? &CalculerPourcentagesReponses : &CalculerPourcentages;
    calcul(t.plans, matrice, t.R, r, lignes, t.ligneTotal, t.C, c, colonnes, t.colonneTotal, p);
    return t;
}

// Rows A, B; columns X, Y; counts (30, 10 / 20, 40), unit weights.
std::vector<double> MatriceDeuxParDeux() {
    return {30, 10, 40, 20, 40, 60, 50, 50, 100};
}

SignificanceSettings Type(int type) {
    SignificanceSettings p;
    p.type = type;
    return p;
}

TEST(CrossPlanes, TwoByTwoCellGivesItsPercentagesExpectedCountAndAffinity) {
    const Table t = Croiser(MatriceDeuxParDeux(), 2, 2, true, Type(0));
    ASSERT_EQ(t.plans.size(), 8u * 3 * 3);
    // Cell (A, X): m(A) = 40, n(X) = 50, N = 100.
    EXPECT_DOUBLE_EQ(t.Plan(kCount, 0, 0), 30.0);
    EXPECT_DOUBLE_EQ(t.Plan(kRowPercentage, 0, 0), 75.0);      // 30 / 40
    EXPECT_DOUBLE_EQ(t.Plan(kColumnPercentage, 0, 0), 60.0);    // 30 / 50
    EXPECT_DOUBLE_EQ(t.Plan(kTotalPercentage, 0, 0), 30.0);      // 30 / 100
    EXPECT_DOUBLE_EQ(t.Plan(kExpectedCount, 0, 0), 20.0);     // 40 x 50 / 100
    EXPECT_DOUBLE_EQ(t.Plan(kAffinity, 0, 0), 150.0);             // 60 / (40 / 100)
    // Total line, Total column and corner.
    EXPECT_DOUBLE_EQ(t.Plan(kCount, 2, 0), 50.0);
    EXPECT_DOUBLE_EQ(t.Plan(kColumnPercentage, 2, 0), 100.0);
    EXPECT_DOUBLE_EQ(t.Plan(kRowPercentage, 2, 0), 50.0);
    EXPECT_DOUBLE_EQ(t.Plan(kRowPercentage, 2, 0), t.Plan(kTotalPercentage, 2, 0));
    EXPECT_DOUBLE_EQ(t.Plan(kCount, 1, 2), 60.0);
    EXPECT_DOUBLE_EQ(t.Plan(kColumnPercentage, 1, 2), 60.0);
    EXPECT_DOUBLE_EQ(t.Plan(kCount, 2, 2), 100.0);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i != 2 && j != 2) continue;
            EXPECT_EQ(t.Plan(kTestValue, i, j), kValeurManquante) << i << "," << j;
            EXPECT_EQ(t.Plan(kMark, i, j), 0.0);
            EXPECT_EQ(t.Plan(kExpectedCount, i, j), t.Plan(kCount, i, j));
            EXPECT_EQ(t.Plan(kAffinity, i, j), 100.0);
        }
    }
}

TEST(CrossPlanes, ThreeTestTypesGiveTheHandComputedValuesAndMarks) {
    // Cell (A, X) = 30, m(A) = 40, n(X) = 50, N = 100, E = 20, default thresholds 1.645/1.96/2.576.
    // Type 0: p = E/N = 0.2, f = 0.3, z = 0.1 / sqrt(0.2 x 0.8 / 100) = 0.1 / 0.04 = 2.5 -> +2.
    // Type 1: c1 = 50, c2 = 50, p1 = 30/50 = 0.6, p2 = (40-30)/50 = 0.2,
    //         s = sqrt(0.2 x 0.8 / 50 + 0.6 x 0.4 / 50) = sqrt(0.008) = 0.0894427,
    //         z = 0.4 / 0.0894427 = 4.472136 -> +3.
    // Type 2: c1 = 40, c2 = 60, p1 = 30/40 = 0.75, p2 = (50-30)/60 = 0.333333,
    //         s = sqrt(0.333333 x 0.666667 / 60 + 0.75 x 0.25 / 40) = sqrt(0.0083912) = 0.0916034,
    //         z = 0.416667 / 0.0916034 = 4.548588 -> +3.
    // Cell (B, X) = 20, E = 30: type 0 z = (0.2 - 0.3) / sqrt(0.3 x 0.7 / 100) = -2.182179 -> -2.
    const struct {
        int type;
        double zAX;
        int marqueAX;
        double zBX;
        int marqueBX;
    } cas[] = {
        {0, 2.5, 2, -2.182178902359923, -2},
        {1, 4.472135954999579, 3, -4.47213595499958, -3},
        {2, 4.548588261473421, 3, -4.548588261473421, -3},
    };
    for (const auto& c : cas) {
        const Table t = Croiser(MatriceDeuxParDeux(), 2, 2, true, Type(c.type));
        EXPECT_NEAR(t.Plan(kTestValue, 0, 0), c.zAX, 1e-12) << "type " << c.type;
        EXPECT_EQ(t.Plan(kMark, 0, 0), c.marqueAX) << "type " << c.type;
        EXPECT_NEAR(t.Plan(kTestValue, 1, 0), c.zBX, 1e-12) << "type " << c.type;
        EXPECT_EQ(t.Plan(kMark, 1, 0), c.marqueBX) << "type " << c.type;
    }
    const Table sansTest = Croiser(MatriceDeuxParDeux(), 2, 2, true, Type(7));
    EXPECT_EQ(sansTest.Plan(kTestValue, 0, 0), 0.0);
    EXPECT_EQ(sansTest.Plan(kMark, 0, 0), 0.0);
}

TEST(CrossPlanes, MarkNeedsTheMinimumExpectedCountAndStrictThresholds) {
    SignificanceSettings p = Type(0);
    p.minimumExpectedCount = 20; // E of (A, X) is exactly 20: tested and marked
    EXPECT_EQ(Croiser(MatriceDeuxParDeux(), 2, 2, true, p).Plan(kMark, 0, 0), 2.0);
    p.minimumExpectedCount = 21; // below the minimum: the value is kept, the mark is not
    const Table sousMinimum = Croiser(MatriceDeuxParDeux(), 2, 2, true, p);
    EXPECT_NEAR(sousMinimum.Plan(kTestValue, 0, 0), 2.5, 1e-12);
    EXPECT_EQ(sousMinimum.Plan(kMark, 0, 0), 0.0);

    // z exactly on a threshold takes the next lower mark.
    p.minimumExpectedCount = 5;
    const double z = sousMinimum.Plan(kTestValue, 0, 0);
    p.threshold2 = z;
    EXPECT_EQ(Croiser(MatriceDeuxParDeux(), 2, 2, true, p).Plan(kMark, 0, 0), 1.0);
    SignificanceSettings defaut;
    EXPECT_EQ(SignificanceMark(1.96, defaut), 1);
    EXPECT_EQ(SignificanceMark(-1.96, defaut), -1);
    EXPECT_EQ(SignificanceMark(-2.6, defaut), -3);
    EXPECT_EQ(SignificanceMark(1.645, defaut), 0);
    EXPECT_EQ(SignificanceMark(0.0, defaut), 0);
}

TEST(CrossPlanes, ColumnTestIsNotMadeWhenTheColumnHoldsEveryone) {
    // Everyone answered X: c2 = N - n(X) = 0 for X, c1 = 0 for Y.
    const std::vector<double> m = {30, 0, 30, 20, 0, 20, 50, 0, 50};
    const Table t = Croiser(m, 2, 2, true, Type(1));
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            EXPECT_EQ(t.Plan(kTestValue, i, j), 0.0);
            EXPECT_EQ(t.Plan(kMark, i, j), 0.0);
        }
    }
    // Type 0 with p (1 - p) = 0 (one cell holds everyone) is not tested either.
    const std::vector<double> plein = {10, 0, 10, 0, 0, 0, 10, 0, 10};
    const Table t0 = Croiser(plein, 2, 2, false, Type(0));
    EXPECT_EQ(t0.Plan(kTestValue, 0, 0), 0.0);
    for (double v : t0.plans) EXPECT_TRUE(std::isfinite(v));
}

TEST(CrossPlanes, EmptyTableHasAllPlanesZeroAndNoChiSquare) {
    const std::vector<double> vide(9, 0.0);
    const Table t = Croiser(vide, 2, 2, true, Type(0));
    for (double v : t.plans) EXPECT_EQ(v, 0.0);
    double khi = 0;
    int ddl = 0;
    double proba = 0;
    CalculerKhiDeux(t.plans, 3, 3, 2, 2, khi, ddl, proba);
    // No line or column holds an expected count: no degree of freedom, no test.
    EXPECT_EQ(ddl, 0);
    EXPECT_EQ(khi, kValeurManquante);
    EXPECT_EQ(proba, kValeurManquante);
}

TEST(CrossPlanes, TableWithoutTotalsHasNoMissingTestValueAndMapsPlaceTheCells) {
    // Row map reversed and the second column not kept: a 2 x 1 table.
    const std::vector<std::int16_t> lignes = {1, 0};
    const std::vector<std::int16_t> colonnes = {0, -1};
    std::vector<double> plans;
    CalculerPourcentages(plans, MatriceDeuxParDeux(), 2, 2, lignes, -1, 1, 2, colonnes, -1, Type(0));
    ASSERT_EQ(plans.size(), 16u);
    const Table t{2, 1, -1, -1, plans};
    EXPECT_EQ(t.Plan(kCount, 0, 0), 20.0); // B comes first
    EXPECT_EQ(t.Plan(kCount, 1, 0), 30.0);
    EXPECT_NEAR(t.Plan(kRowPercentage, 1, 0), 75.0, 1e-12); // over m(A), not over the kept cells
    for (int i = 0; i < 2; ++i) EXPECT_NE(t.Plan(kTestValue, i, 0), kValeurManquante);
}

TEST(CrossPlanes, PlanesOverAnswersUseTheKeptCellsWhereRespondentsUseTheMargins) {
    // Multiple answers: the margins count units (m = 38, 55; n = 48, 47; N = 90) while the cells
    // sum to 40, 60 by line, 50, 50 by column and 100 in all.
    const std::vector<double> m = {30, 10, 38, 20, 40, 55, 48, 47, 90};
    const Table rep = Croiser(m, 2, 2, true, Type(0), true);
    EXPECT_DOUBLE_EQ(rep.Plan(kRowPercentage, 0, 0), 75.0);           // 30 / 40
    EXPECT_DOUBLE_EQ(rep.Plan(kColumnPercentage, 0, 0), 60.0);         // 30 / 50
    EXPECT_DOUBLE_EQ(rep.Plan(kTotalPercentage, 0, 0), 100.0 * 30 / 90); // over N
    EXPECT_DOUBLE_EQ(rep.Plan(kExpectedCount, 0, 0), 38.0 * 48 / 90);
    EXPECT_DOUBLE_EQ(rep.Plan(kCount, 2, 0), 50.0);
    EXPECT_DOUBLE_EQ(rep.Plan(kRowPercentage, 2, 0), 50.0);
    EXPECT_DOUBLE_EQ(rep.Plan(kCount, 0, 2), 40.0);
    EXPECT_DOUBLE_EQ(rep.Plan(kColumnPercentage, 0, 2), 40.0);
    EXPECT_DOUBLE_EQ(rep.Plan(kCount, 2, 2), 100.0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(rep.plans[static_cast<std::size_t>(kAffinity * 9 + i)], 0.0);

    const Table resp = Croiser(m, 2, 2, true, Type(0));
    EXPECT_DOUBLE_EQ(resp.Plan(kRowPercentage, 0, 0), 100.0 * 30 / 38);
    EXPECT_DOUBLE_EQ(resp.Plan(kColumnPercentage, 0, 0), 62.5);
    EXPECT_DOUBLE_EQ(resp.Plan(kAffinity, 0, 0), 62.5 / (38.0 / 90));
    EXPECT_DOUBLE_EQ(resp.Plan(kCount, 2, 0), 48.0);
    EXPECT_DOUBLE_EQ(resp.Plan(kRowPercentage, 2, 0), 100.0 * 48 / 90);
    EXPECT_DOUBLE_EQ(resp.Plan(kCount, 2, 2), 90.0);
}

struct CasKhiDeux {
    const char* nom;
    std::vector<Unite> unites;
    int r;
    int c;
    double khiDeux;
    int degres;
    double probabilite; // of the chi-square being at most the value; < 0 when not checked
};

// Builds unit-weight units from a table of counts.
std::vector<Unite> UnitesDe(const std::vector<std::vector<int>>& effectifs) {
    std::vector<Unite> unites;
    for (int a = 0; a < static_cast<int>(effectifs.size()); ++a) {
        for (int b = 0; b < static_cast<int>(effectifs[static_cast<std::size_t>(a)].size()); ++b) {
            unites.insert(unites.end(), static_cast<std::size_t>(effectifs[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]),
                          Unite{a, b, 1.0});
        }
    }
    return unites;
}

TEST(CrossPlanes, ChiSquareMatchesAnIndependentPackage) {
    // Reference: scipy.stats.chi2_contingency without continuity correction (SciPy 1.10).
    // The 2 x 2 fixture by hand: E = 20, 20, 30, 30; 100/20 + 100/20 + 100/30 + 100/30 = 16.6667.
    const CasKhiDeux cas[] = {
        {"2x2 fixture", UnitesDe({{30, 10}, {20, 40}}), 2, 2, 16.666666666666668, 1, 1 - 4.455709060405612e-05},
        {"77 91 / 14 18", UnitesDe({{77, 91}, {14, 18}}), 2, 2, 0.04704775346977183, 1, 1 - 0.8282824268403395},
        {"2 x 3", UnitesDe({{15, 47, 29}, {32, 48, 29}}), 2, 3, 4.576532398429519, 2, 0.8985578099802407},
        {"weighted",
         {{0, 0, 1}, {0, 1, 2}, {1, 0, 1}, {1, 1, 1.5}, {2, 0, 1}, {2, 1, 0.5}, {0, 0, 1}, {1, 1, 2}, {2, 2, 1}, {0, 2, 1}},
         3, 3, 3.1111111111111107, 4, 1 - 0.5394064465772306},
    };
    for (const auto& c : cas) {
        const Table t = Croiser(MatriceDe(c.unites, c.r, c.c), c.r, c.c, true, Type(2));
        double khi = 0;
        int ddl = 0;
        double proba = 0;
        CalculerKhiDeux(t.plans, t.R, t.C, t.ligneTotal, t.colonneTotal, khi, ddl, proba);
        EXPECT_NEAR(khi, c.khiDeux, 1e-9) << c.nom;
        EXPECT_EQ(ddl, c.degres) << c.nom;
        // Odd degrees carry the normal approximation's error (2e-7); even ones are exact.
        EXPECT_NEAR(proba, c.probabilite, 2e-7) << c.nom;
    }
    // The 2 x 3 case: upper tail 0.1014 by the reference, so ProbaKhiDeux gives 0.8986.
    EXPECT_NEAR(ProbaKhiDeux(4.5765, 2), 0.8986, 5e-5);
}

TEST(CrossPlanes, ZeroDegreesOfFreedomGiveNoTest) {
    // One row modality only: (C - 2) x (R - 2) = 1 x 0.
    const std::vector<double> m = {30, 10, 40, 30, 10, 40};
    const Table t = Croiser(m, 1, 2, true, Type(0));
    double khi = 0;
    int ddl = -1;
    double proba = 0;
    CalculerKhiDeux(t.plans, t.R, t.C, t.ligneTotal, t.colonneTotal, khi, ddl, proba);
    EXPECT_EQ(ddl, 0);
    EXPECT_EQ(proba, kValeurManquante);
    // A table of only its Total line and column never turns (-1) x (-1) into 1 degree.
    CalculerKhiDeux(std::vector<double>(8, 1.0), 1, 1, 0, 0, khi, ddl, proba);
    EXPECT_EQ(ddl, 0);
    EXPECT_EQ(proba, kValeurManquante);
}

TEST(CrossPlanes, LinesAndColumnsNobodyChoseAddNoDegreeOfFreedom) {
    // The 2 x 3 reference case of scipy above, with an empty third line (a "Non interrogé" that
    // nobody holds) and an empty fourth column: the same chi-square over the same cells, and
    // (2 - 1) x (3 - 1) = 2 degrees of freedom, not 3 x 3.
    const std::vector<Unite> unites = UnitesDe({{15, 47, 29, 0}, {32, 48, 29, 0}, {0, 0, 0, 0}});
    const Table t = Croiser(MatriceDe(unites, 3, 4), 3, 4, true, Type(2));
    double khi = 0;
    int ddl = 0;
    double proba = 0;
    CalculerKhiDeux(t.plans, t.R, t.C, t.ligneTotal, t.colonneTotal, khi, ddl, proba);
    EXPECT_NEAR(khi, 4.576532398429519, 1e-9);
    EXPECT_EQ(ddl, 2);
    EXPECT_NEAR(proba, 0.8985578099802407, 2e-7);
    // One line holding everyone: no test, whatever the number of columns.
    const Table une = Croiser(MatriceDe(UnitesDe({{3, 4, 5}, {0, 0, 0}}), 2, 3), 2, 3, true, Type(2));
    CalculerKhiDeux(une.plans, une.R, une.C, une.ligneTotal, une.colonneTotal, khi, ddl, proba);
    EXPECT_EQ(ddl, 0);
    EXPECT_NEAR(khi, 0.0, 1e-12);
    EXPECT_EQ(proba, kValeurManquante);
}

TEST(CrossPlanes, SettingsComeFromTheStudyContext) {
    CContexteEtude contexte;
    contexte.EffectifSignificativite = 12;
    contexte.SignificanceType = 1;
    contexte.SignificanceThreshold1 = 1.0;
    contexte.SignificanceThreshold2 = 2.0;
    contexte.SignificanceThreshold3 = 3.0;
    const SignificanceSettings p = SignificanceSettings::FromSurvey(contexte);
    EXPECT_EQ(p.minimumExpectedCount, 12);
    EXPECT_EQ(p.type, 1);
    EXPECT_EQ(p.threshold1, 1.0);
    EXPECT_EQ(p.threshold2, 2.0);
    EXPECT_EQ(p.threshold3, 3.0);
}

} // namespace

TEST(CrossPlanes, ColumnThatNobodyAnsweredHasNoProfile) {
    // Rows A, B; columns X, Y and an empty Z: its column percentages are the missing value, shown
    // empty, not 0 % in its cells and 100 % on its Total line.
    const std::vector<double> matrice = {30, 10, 0, 40, 20, 40, 0, 60, 50, 50, 0, 100};
    const Table t = Croiser(matrice, 2, 3, true, Type(0));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t.Plan(kColumnPercentage, i, 2), kValeurManquante) << i;
        EXPECT_EQ(t.Plan(kCount, i, 2), 0.0) << i;
    }
    EXPECT_DOUBLE_EQ(t.Plan(kRowPercentage, 0, 2), 0.0); // 0 of line A's 40
    EXPECT_DOUBLE_EQ(t.Plan(kColumnPercentage, 2, 0), 100.0);
    EXPECT_DOUBLE_EQ(t.Plan(kRowPercentage, 0, 3), 100.0);
    EXPECT_DOUBLE_EQ(t.Plan(kColumnPercentage, 3 - 1, 3), 100.0);
    // Its affinity compares a column percentage it does not have: missing, not 0 x 100 / 40 % of
    // the missing value.
    EXPECT_EQ(t.Plan(kAffinity, 0, 2), kValeurManquante);
    EXPECT_EQ(t.Plan(kAffinity, 1, 2), kValeurManquante);
    EXPECT_DOUBLE_EQ(t.Plan(kAffinity, 0, 0), 150.0); // 60 / (40 / 100), beside the empty column
}

TEST(CrossPlanes, LineThatNobodyAnsweredHasNoAffinity) {
    // Rows A, B and an empty C; columns X, Y. C's share of the total is 0: its affinity would
    // divide by it.
    const std::vector<double> matrice = {30, 10, 40, 20, 40, 60, 0, 0, 0, 50, 50, 100};
    const Table t = Croiser(matrice, 3, 2, true, Type(0));
    EXPECT_EQ(t.Plan(kAffinity, 2, 0), kValeurManquante);
    EXPECT_EQ(t.Plan(kAffinity, 2, 1), kValeurManquante);
    EXPECT_DOUBLE_EQ(t.Plan(kAffinity, 1, 1), 80.0 / 0.6); // 40 / 50 of X over B's 60 / 100
}
