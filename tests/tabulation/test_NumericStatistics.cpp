#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/MatriceCodes.h"
#include "app/VecteurDouble.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/NumericStatistics.h"

using namespace NumericStatistics;

namespace {

constexpr double kNonReponse = CVecteurDouble::kNoAnswer;
constexpr double kNonInterroge = CVecteurDouble::kNotAsked;

CVecteurDouble Vecteur(const std::vector<double>& valeurs) {
    CVecteurDouble v(static_cast<int>(valeurs.size()));
    for (std::size_t i = 0; i < valeurs.size(); ++i) v.SetAt(static_cast<int>(i), valeurs[i]);
    return v;
}

Statistics StatistiquesDe(std::vector<double> valeurs, std::vector<double> poids, double nonReponses = 0.0) {
    Statistics s{};
    CalculerStatistiquesValeurs(valeurs, poids, nonReponses, 1.96, s);
    return s;
}

TEST(NumericStatistics, StatisticsOfOneToFourAndTen) {
    // Unsorted on purpose. Reference by hand and with NumPy/SciPy (population moments):
    // mean 4, variance 50/5 = 10, s = 3.16227766; skewness 36 / 10^1.5 = 1.13841996 (scipy.stats.skew);
    // kurtosis 278.8 / 100 = 2.788 (scipy.stats.kurtosis, fisher=False); median the 3rd value;
    // Gini (-4x1 - 2x2 + 0x3 + 2x4 + 4x10) / (5 x 4 x 4) = 40 / 80 = 0.5;
    // bounds 4 -/+ 1.96 x 3.16227766 / sqrt(5) = 1.22814142, 6.77185858.
    const Statistics s = StatistiquesDe({10, 3, 1, 4, 2}, {1, 1, 1, 1, 1}, 2.0);
    const double tolerance = 1e-12;
    EXPECT_NEAR(s[kMean], 4.0, tolerance);
    EXPECT_NEAR(s[kStandardDeviation], 3.1622776601683795, tolerance);
    EXPECT_NEAR(s[kAnswerWeight], 5.0, tolerance);
    EXPECT_EQ(s[kNonResponseWeight], 2.0);
    EXPECT_NEAR(s[kSum], 20.0, tolerance);
    EXPECT_EQ(s[kMinimum], 1.0);
    EXPECT_EQ(s[kMaximum], 10.0);
    EXPECT_NEAR(s[kLowerBound], 1.2281414177487338, tolerance);
    EXPECT_NEAR(s[kUpperBound], 6.771858582251266, tolerance);
    EXPECT_NEAR(s[kVariance], 10.0, tolerance);
    EXPECT_EQ(s[kMedian], 3.0);
    EXPECT_NEAR(s[kKurtosis], 2.788, tolerance);
    EXPECT_NEAR(s[kSkewness], 1.1384199576606167, tolerance);
    EXPECT_NEAR(s[kGini], 0.5, tolerance);
}

TEST(NumericStatistics, SmallAndDegenerateSamples) {
    // Two values 1 and 3: median the lower middle value, mean 2, s = 1.
    const Statistics deux = StatistiquesDe({3, 1}, {1, 1});
    EXPECT_EQ(deux[kMedian], 1.0);
    EXPECT_DOUBLE_EQ(deux[kMean], 2.0);
    EXPECT_DOUBLE_EQ(deux[kStandardDeviation], 1.0);

    // One value: s = 0, no moments, no Gini, median the value.
    const Statistics un = StatistiquesDe({7.5}, {2});
    EXPECT_EQ(un[kStandardDeviation], 0.0);
    EXPECT_EQ(un[kSkewness], kValeurManquante);
    EXPECT_EQ(un[kKurtosis], kValeurManquante);
    EXPECT_EQ(un[kGini], kValeurManquante);
    EXPECT_EQ(un[kMedian], 7.5);

    // Constant data with values whose squares cancel badly: exactly 0, never NaN or -0.
    const Statistics constantes = StatistiquesDe(std::vector<double>(1000, 1e8 + 0.1), std::vector<double>(1000, 0.37));
    EXPECT_EQ(constantes[kStandardDeviation], 0.0);
    EXPECT_FALSE(std::signbit(constantes[kStandardDeviation]));
    EXPECT_EQ(constantes[kVariance], 0.0);
    EXPECT_EQ(constantes[kSkewness], kValeurManquante);

    // Weights: values 2 (w 1) and 4 (w 3): mean 3.5, s = 0.8660254 (NumPy weighted average); the
    // bounds use the sum of the weights (4), not the number of values (2).
    const Statistics ponderees = StatistiquesDe({4, 2}, {3, 1});
    EXPECT_NEAR(ponderees[kMean], 3.5, 1e-12);
    EXPECT_NEAR(ponderees[kStandardDeviation], 0.8660254037844386, 1e-12);
    EXPECT_NEAR(ponderees[kLowerBound], 3.5 - 1.96 * 0.8660254037844386 / 2.0, 1e-12);

    // No value: every entry but the two weights is missing.
    const Statistics vide = StatistiquesDe({}, {}, 3.0);
    for (int i = 0; i < kStatisticCount; ++i) {
        if (i == kAnswerWeight) EXPECT_EQ(vide[i], 0.0);
        else if (i == kNonResponseWeight) EXPECT_EQ(vide[i], 3.0);
        else EXPECT_EQ(vide[i], kValeurManquante) << i;
    }
}

TEST(NumericStatistics, FilterKeepsAnswersCountsNonResponsesAndDropsTheRest) {
    const CVecteurDouble valeurs = Vecteur({5, kNonReponse, kNonInterroge, 8, 9, kNonReponse});
    const CVecteurDouble poids = Vecteur({1, 2, 4, 0, 1.5, 3});
    std::vector<double> v;
    std::vector<double> w;
    double nonReponses = -1;
    double total = -1;
    FiltrerValeurs(valeurs, poids, v, w, nonReponses, total);
    EXPECT_EQ(v, (std::vector<double>{5, 9}));
    EXPECT_EQ(w, (std::vector<double>{1, 1.5}));
    EXPECT_EQ(nonReponses, 5.0);
    EXPECT_EQ(total, 7.5);

    const std::uint8_t filtre[] = {0, 1, 1, 1, 1, 0};
    FiltrerValeurs(valeurs, poids, v, w, nonReponses, total, filtre);
    EXPECT_EQ(v, (std::vector<double>{9}));
    EXPECT_EQ(nonReponses, 2.0);
    EXPECT_EQ(total, 3.5);

    // Only "not asked" answers: nothing kept, every statistic missing, no non-response.
    FiltrerValeurs(Vecteur({kNonInterroge, kNonInterroge}), Vecteur({1, 1}), v, w, nonReponses, total);
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(nonReponses, 0.0);
    Statistics s{};
    CalculerStatistiquesValeurs(v, w, nonReponses, 1.96, s);
    EXPECT_EQ(s[kMean], kValeurManquante);
    EXPECT_EQ(s[kNonResponseWeight], 0.0);
}

TEST(NumericStatistics, SortMovesWeightsWithValuesAndCopesWithAMillionSortedValues) {
    std::vector<double> v = {3, 1, 2, 1};
    std::vector<double> w = {30, 10, 20, 11};
    TrierValeursPoids(v, w);
    EXPECT_EQ(v, (std::vector<double>{1, 1, 2, 3}));
    EXPECT_EQ(w, (std::vector<double>{10, 11, 20, 30}));

    // Sorted input: a first-element-pivot recursion would nest a million deep.
    std::vector<double> grandes(1'000'000);
    for (std::size_t i = 0; i < grandes.size(); ++i) grandes[i] = static_cast<double>(i);
    std::vector<double> poids(grandes.size(), 1.0);
    Statistics s{};
    CalculerStatistiquesValeurs(grandes, poids, 0.0, 1.96, s);
    EXPECT_EQ(s[kMedian], 499'999.0);
    EXPECT_NEAR(s[kMean], 499'999.5, 1e-6);
}

// A closed question of 3 modalities (single answers) and a numeric question.
struct CasMoyennes {
    CMatriceCodes codes{1};
    CVecteurDouble valeurs;
    CVecteurDouble poids;

    void Ajouter(std::int16_t modalite, double valeur, double poidsUnite = 1.0) {
        const int u = codes.AjouterLigne();
        codes.SetAt(u, 0, modalite);
        valeurs.SetSize(u + 1);
        valeurs.SetAt(u, valeur);
        poids.SetSize(u + 1);
        poids.SetAt(u, poidsUnite);
    }
};

TEST(NumericStatistics, MeansByModalityWithTheirTest) {
    CasMoyennes c;
    for (double x : {1, 2, 3}) c.Ajouter(0, x);
    for (double x : {4, 5, 6, 7}) c.Ajouter(1, x);
    c.Ajouter(2, kNonReponse, 2.0);   // modality 2 has only a non-response
    c.Ajouter(1, kNonInterroge, 5.0); // dropped altogether
    c.Ajouter(-5, 100.0);             // empty slot: no kept answer
    c.Ajouter(3, 50.0);               // modality 3 not kept by the map
    const std::vector<std::uint16_t> map = {0, 1, 2, kNotKept};
    std::vector<double> e;
    double total = 0;
    std::vector<std::uint8_t> marques;
    CalculerMoyennesModalites(c.codes, c.valeurs, c.poids, map, 4, 1.96, {}, e, total, &marques);
    ASSERT_EQ(e.size(), 5u * kMeanRecordSize);
    auto at = [&](int k, int i) { return e[static_cast<std::size_t>(k * kMeanRecordSize + i)]; };

    EXPECT_DOUBLE_EQ(at(0, kMean), 2.0);
    EXPECT_DOUBLE_EQ(at(0, kVariance), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(at(1, kMean), 5.5);
    EXPECT_DOUBLE_EQ(at(1, kVariance), 1.25);
    EXPECT_EQ(at(1, kMinimum), 4.0);
    EXPECT_EQ(at(1, kMaximum), 7.0);
    EXPECT_EQ(at(1, kSum), 22.0);
    // Modality 0 against modality 1 (the only other with weight), by hand:
    // s = sqrt((1.25 x 3 + 2/3 x 2) / 5) = 1.0082988, t = -3.5 / s / sqrt(1/4 + 1/3) = -4.5448584 -> -3.
    EXPECT_EQ(at(0, kMeanMark), -3.0);
    EXPECT_EQ(at(1, kMeanMark), 3.0);
    // Modality 2: W = 0, its non-response weight kept, its statistics missing, no test.
    EXPECT_EQ(at(2, kAnswerWeight), 0.0);
    EXPECT_EQ(at(2, kNonResponseWeight), 2.0);
    for (int i : {kMean, kStandardDeviation, kMinimum, kMaximum, kLowerBound, kUpperBound, kVariance}) {
        EXPECT_EQ(at(2, i), kValeurManquante) << i;
    }
    EXPECT_EQ(at(2, kMeanMark), 0.0);
    EXPECT_EQ(at(3, kAnswerWeight), 0.0);
    // Total record: values 1 to 7 (mean 4, variance 4), bounds 4 -/+ 1.96 x 2 / sqrt(7).
    EXPECT_DOUBLE_EQ(at(4, kMean), 4.0);
    EXPECT_NEAR(at(4, kStandardDeviation), 2.0, 1e-12);
    EXPECT_NEAR(at(4, kLowerBound), 2.518379265803829, 1e-12);
    EXPECT_EQ(at(4, kNonResponseWeight), 2.0);
    EXPECT_EQ(at(4, kMeanMark), 0.0);
    EXPECT_EQ(total, 9.0);
    EXPECT_EQ(marques, (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}));
}

TEST(NumericStatistics, MeansOfConstantModalitiesHaveZeroDeviationAndNoMark) {
    CasMoyennes c;
    for (int i = 0; i < 4; ++i) c.Ajouter(0, 1e8 + 0.1);
    for (int i = 0; i < 4; ++i) c.Ajouter(1, 1e8 + 0.1);
    const std::vector<std::uint16_t> map = {0, 1};
    std::vector<double> e;
    double total = 0;
    CalculerMoyennesModalites(c.codes, c.valeurs, c.poids, map, 2, 1.96, {}, e, total);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(e[static_cast<std::size_t>(k * kMeanRecordSize + kStandardDeviation)], 0.0);
        EXPECT_EQ(e[static_cast<std::size_t>(k * kMeanRecordSize + kMeanMark)], 0.0);
    }
    for (double v : e) EXPECT_TRUE(std::isfinite(v));
}

// 1e308 twice: the sum, the squares and the higher powers pass the largest double. What overflows
// has no value; what does not (counts, extremes, median, a mean taken by running updates) stays
// exact.
TEST(NumericStatistics, ResultsThatOverflowAreMissingAndTheOthersStayExact) {
    const Statistics s = StatistiquesDe({1e308, 20, 1e308, 40}, {1, 1, 1, 1}, 3.0);
    EXPECT_EQ(s[kAnswerWeight], 4.0);
    EXPECT_EQ(s[kNonResponseWeight], 3.0);
    EXPECT_EQ(s[kMinimum], 20.0);
    EXPECT_EQ(s[kMaximum], 1e308);
    EXPECT_EQ(s[kMedian], 40.0);
    EXPECT_NEAR(s[kMean], 5e307, 5e295); // (2e308 + 60) / 4
    for (int i : {kSum, kStandardDeviation, kVariance, kLowerBound, kUpperBound, kKurtosis, kSkewness, kGini})
        EXPECT_EQ(s[i], kValeurManquante) << i;

    // By modality: 1e308 twice in modality 0 (no spread: deviation 0, bounds at the mean), 20 in
    // modality 1; the Total record spreads 1e308 against 20.
    CasMoyennes c;
    c.Ajouter(0, 1e308);
    c.Ajouter(0, 1e308);
    c.Ajouter(1, 20);
    std::vector<double> e;
    double total = 0;
    CalculerMoyennesModalites(c.codes, c.valeurs, c.poids, std::vector<std::uint16_t>{0, 1}, 2, 1.96, {}, e,
                              total);
    ASSERT_EQ(e.size(), 3u * kMeanRecordSize);
    auto at = [&](int k, int i) { return e[static_cast<std::size_t>(k * kMeanRecordSize + i)]; };
    EXPECT_EQ(at(0, kSum), kValeurManquante);
    EXPECT_EQ(at(0, kMean), 1e308);
    EXPECT_EQ(at(0, kMinimum), 1e308); // every kept value counts, however large
    EXPECT_EQ(at(0, kMaximum), 1e308);
    EXPECT_EQ(at(0, kStandardDeviation), 0.0);
    EXPECT_EQ(at(0, kUpperBound), 1e308);
    EXPECT_EQ(at(1, kSum), 20.0);
    EXPECT_EQ(at(1, kVariance), 0.0);
    EXPECT_EQ(at(2, kAnswerWeight), 3.0);
    EXPECT_EQ(at(2, kMinimum), 20.0);
    EXPECT_EQ(at(2, kMaximum), 1e308);
    for (int i : {kSum, kStandardDeviation, kVariance, kLowerBound, kUpperBound})
        EXPECT_EQ(at(2, i), kValeurManquante) << i;
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(at(k, kMeanMark), 0.0) << k;
    EXPECT_EQ(total, 3.0);
}

} // namespace
