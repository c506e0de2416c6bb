// Derived values of ranking, grouped flat, grouped cross and mean tables, checked against values
// worked out by hand (the confidence bounds and test values from the textbook formulas on a
// calculator) on inputs small enough to follow.
#include "tabulation/CrossPlanes.h"
#include "tabulation/FonctionsStatistiques.h"
#include "tabulation/ValeursDerivees.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace ValeursDerivees;

constexpr double kTolerance = 1e-6;
constexpr std::uint16_t kDropped = 0xFFFF;

void ExpectRow(const std::vector<double>& values, int row, int width, const std::vector<double>& expected) {
    ASSERT_GE(values.size(), static_cast<std::size_t>((row + 1) * width));
    for (int k = 0; k < width; ++k)
        EXPECT_NEAR(values[static_cast<std::size_t>(row * width + k)], expected[static_cast<std::size_t>(k)],
                    kTolerance)
            << "row " << row << ", value " << k;
}

// ---- Mean ranks ----

// Four modalities ranked over three ranks; B is not kept, nobody ranked C, and the Total row comes
// first. A: ranks 2, 1, 1 times -> sum 4, mean (2 + 2 + 3) / 4; D (weighted): 0.5, 1.5, 2 -> sum 4,
// mean (0.5 + 3 + 6) / 4.
TEST(RangsMoyens, KeptModalitiesGetTheirCountsSumAndMeanRankAndTheTotalRowSumsTheColumns) {
    const std::vector<double> counts = {2, 1, 1, /*B*/ 5, 5, 5, /*C*/ 0, 0, 0, /*D*/ 0.5, 1.5, 2};
    const std::vector<std::uint16_t> map = {2, kDropped, 3, 1};
    std::vector<double> matrix(3, 42.0); // whatever the caller had is replaced
    CalculerRangsMoyens(matrix, counts, 4, 4, map, 0, 3);

    ASSERT_EQ(matrix.size(), 4u * 5u);
    ExpectRow(matrix, 0, 5, {2.5, 2.5, 3, 8, kValeurManquante});
    ExpectRow(matrix, 1, 5, {0.5, 1.5, 2, 4, 2.375});
    ExpectRow(matrix, 2, 5, {2, 1, 1, 4, 1.75});
    // Ranked by nobody: 0 in its Total and in its mean, not the missing value.
    ExpectRow(matrix, 3, 5, {0, 0, 0, 0, 0});
}

TEST(RangsMoyens, WithoutTotalRowNoRowIsSummed) {
    const std::vector<double> counts = {1, 3, /*B*/ 4, 0};
    const std::vector<std::uint16_t> map = {1, 0};
    std::vector<double> matrix;
    CalculerRangsMoyens(matrix, counts, 2, 2, map, -1, 2);

    ExpectRow(matrix, 0, 4, {4, 0, 4, 1});
    ExpectRow(matrix, 1, 4, {1, 3, 4, 1.75});
}

// ---- Ten values of a grouped flat table ----

// Two counted rows (30 and 10) among three, 50 respondents, 80 interviews, 50 answers: the counts
// sum to 40, below the answer total, so importance rates and cumulative shares are measured
// against 50 and the last cumulative share stays at 80.
TEST(ValeursTriRegroupe, CountsBelowTheAnswerTotalAreMeasuredAgainstTheAnswerTotal) {
    const std::vector<double> counts = {30, 10};
    std::vector<double> rows;
    const double total = CalculerValeursTriRegroupe(rows, counts, 50, 80, 3, 2, 50, 1.96);

    EXPECT_DOUBLE_EQ(total, 50);
    ASSERT_EQ(rows.size(), 30u);
    // Bounds: 100 (p -/+ 1.96 sqrt(p (1 - p) / 50)).
    ExpectRow(rows, 0, 10, {30, 60, 60, 60, 60, 37.5, 46.42072166866, 73.57927833134, 0, 100});
    ExpectRow(rows, 1, 10, {10, 20, 80, 20, 20, 12.5, 8.912565670995, 31.087434329005, 0, 100});
    // A row without count: only the running share and the 100 of "Total".
    ExpectRow(rows, 2, 10, {0, 0, 80, 0, 0, 0, 0, 0, 0, 100});
}

TEST(ValeursTriRegroupe, CountsAboveTheAnswerTotalAreTheirOwnBaseAndBoundsStayWithinZeroAndHundred) {
    const std::vector<double> counts = {1, 3};
    std::vector<double> rows;
    const double total = CalculerValeursTriRegroupe(rows, counts, 4, 4, 2, 2, 2, 1.96);

    EXPECT_DOUBLE_EQ(total, 4);
    // p = 0.25 over 4: the lower bound 100 (0.25 - 0.4243...) is below 0 and reads 0.
    ExpectRow(rows, 0, 10, {1, 25, 25, 25, 25, 25, 0, 67.4352447854375, 0, 100});
    // p = 0.75 over 4: the upper bound is above 100 and reads 100.
    ExpectRow(rows, 1, 10, {3, 75, 100, 75, 75, 75, 32.5647552145625, 100, 0, 100});
}

TEST(ValeursTriRegroupe, EmptyBasesGiveZerosAndNoBounds) {
    const std::vector<double> counts = {0, 0};
    std::vector<double> rows;
    const double total = CalculerValeursTriRegroupe(rows, counts, 0, 0, 2, 2, 0, 1.96);

    EXPECT_DOUBLE_EQ(total, 0);
    ExpectRow(rows, 0, 10, {0, 0, 0, 0, 0, 0, 0, 0, 0, 100});
    ExpectRow(rows, 1, 10, {0, 0, 0, 0, 0, 0, 0, 0, 0, 100});
}

// ---- Eight planes of a cross table with grouped rows ----

// Two grouped rows over three source columns; the middle source column is dropped and the Total
// column is the third result column.
//             c0   c1   c2 | row total
//   row 0     10    5   20 |  35
//   row 1     30    5   10 |  45
//   totals    40   10   30 |  80
// Kept cells: row sums 30 and 40, column sums 40 and 30, K = 70.
class PlansCroisesRegroupes : public ::testing::Test {
protected:
    static constexpr int kRows = 2;
    static constexpr int kColumns = 3;
    const std::vector<double> counts = {10, 5, 20, 35, 30, 5, 10, 45, 40, 10, 30, 80};
    const std::vector<std::int16_t> map = {0, -1, 1};

    double At(int plane, int i, int j) const {
        return planes[static_cast<std::size_t>((plane * (kRows + 1) + i) * kColumns + j)];
    }
    void Compute(int significanceType, std::vector<double>& bases) {
        CrossPlanes::SignificanceSettings settings;
        settings.type = significanceType;
        settings.minimumExpectedCount = 15;
        CalculerPlansCroisesRegroupes(planes, counts, 80, kRows, kColumns, 3, map, 2, bases, settings);
    }

    std::vector<double> planes;
};

TEST_F(PlansCroisesRegroupes, CountsPercentagesAndExpectedCountsOfKeptCellsAndTotalColumn) {
    std::vector<double> bases;
    Compute(2, bases);

    ASSERT_EQ(planes.size(), 8u * 3u * 3u);
    const struct {
        int plane;
        std::vector<std::vector<double>> cells; // rows 0, 1 and the totals row
    } expected[] = {
        {CrossPlanes::kCount, {{10, 20, 35}, {30, 10, 45}, {40, 30, 0}}},
        {CrossPlanes::kRowPercentage,
         {{100.0 * 10 / 35, 100.0 * 20 / 35, 100}, {100.0 * 30 / 45, 100.0 * 10 / 45, 100}}},
        {CrossPlanes::kColumnPercentage, {{25, 100.0 * 20 / 30, 43.75}, {75, 100.0 * 10 / 30, 56.25}}},
        {CrossPlanes::kTotalPercentage, {{12.5, 25, 43.75}, {37.5, 12.5, 56.25}}},
        {CrossPlanes::kExpectedCount,
         {{40.0 * 30 / 70, 30.0 * 30 / 70, 0}, {40.0 * 40 / 70, 30.0 * 40 / 70, 0}}},
    };
    for (const auto& plane : expected) {
        for (int i = 0; i < static_cast<int>(plane.cells.size()); ++i) {
            for (int j = 0; j < kColumns; ++j)
                EXPECT_NEAR(At(plane.plane, i, j),
                            plane.cells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], kTolerance)
                    << "plane " << plane.plane << " cell " << i << "," << j;
        }
    }
    for (int i = 0; i <= kRows; ++i) {
        for (int j = 0; j < kColumns; ++j)
            EXPECT_EQ(At(CrossPlanes::kAffinity, i, j), 0.0);
    }
}

// Test values by hand for each significance type; with at least 15 expected units asked for, the
// cell (0, 1) (12.86 expected) keeps its test value but carries no mark.
TEST_F(PlansCroisesRegroupes, TestValuesAndMarksForEachSignificanceType) {
    const struct {
        int type;
        double z[2][2];
        int mark[2][2];
    } cases[] = {
        {0,
         {{-2.1223817998900443, 2.3570226039551576}, {1.9462473604038062, -2.1223817998900443}},
         {{-2, 0}, {1, -2}}},
        {1,
         {{-3.651483716701107, 3.4033280757320075}, {3.651483716701107, -3.4033280757320075}},
         {{-3, 0}, {3, -3}}},
        {2,
         {{-3.670958434643057, 3.35434949231668}, {3.670958434643057, -3.35434949231668}},
         {{-3, 0}, {3, -3}}},
        {3, {{0, 0}, {0, 0}}, {{0, 0}, {0, 0}}}, // no such test
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "significance type " << test.type);
        std::vector<double> bases;
        Compute(test.type, bases);
        for (int i = 0; i < kRows; ++i) {
            for (int j = 0; j < 2; ++j) {
                EXPECT_NEAR(At(CrossPlanes::kTestValue, i, j), test.z[i][j], kTolerance) << i << "," << j;
                EXPECT_EQ(At(CrossPlanes::kMark, i, j), test.mark[i][j]) << i << "," << j;
            }
            EXPECT_EQ(At(CrossPlanes::kTestValue, i, 2), 0.0);
            EXPECT_EQ(At(CrossPlanes::kMark, i, 2), 0.0);
        }
    }
}

TEST_F(PlansCroisesRegroupes, ColumnBasesAreMadeFromTheTotalsRowAndHandedBack) {
    std::vector<double> bases;
    Compute(2, bases);
    EXPECT_EQ(bases, (std::vector<double>{40, 10, 30}));
}

TEST_F(PlansCroisesRegroupes, ColumnBasesGivenAreUsedAndLeftAsTheyWere) {
    std::vector<double> bases = {80, 80, 50};
    Compute(2, bases);
    EXPECT_EQ(bases, (std::vector<double>{80, 80, 50}));
    EXPECT_NEAR(At(CrossPlanes::kColumnPercentage, 0, 0), 12.5, kTolerance);
    EXPECT_NEAR(At(CrossPlanes::kColumnPercentage, 1, 1), 20, kTolerance);
}

// Every kept cell is empty: nothing is measured, only the counts and the totals row are placed.
TEST(PlansCroisesRegroupesVides, NoKeptUnitLeavesPercentagesAndTestsAtZero) {
    const std::vector<double> counts = {0, 5, 5, 0, 5, 5, 0, 10, 10};
    const std::vector<std::int16_t> map = {0, -1};
    std::vector<double> planes;
    std::vector<double> bases;
    CalculerPlansCroisesRegroupes(planes, counts, 10, 2, 2, 2, map, 1, bases,
                                  CrossPlanes::SignificanceSettings{});

    ASSERT_EQ(planes.size(), 8u * 3u * 2u);
    for (std::size_t at = 0; at < planes.size(); ++at)
        EXPECT_EQ(planes[at], 0.0) << "cell " << at;
    EXPECT_EQ(bases, (std::vector<double>{0, 10}));
}

// One kept column holding every unit: by column the other side weighs nothing, and by line the
// shares on both sides are 1, so no test can be made: the test value and the mark stay 0.
TEST(PlansCroisesRegroupesVides, TestsThatCannotBeComputedStayAtZeroWithoutMark) {
    const std::vector<double> counts = {10, 10, 20, 20, 30, 30};
    const std::vector<std::int16_t> map = {0};
    for (int type : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "significance type " << type);
        CrossPlanes::SignificanceSettings settings;
        settings.type = type;
        settings.minimumExpectedCount = 0;
        std::vector<double> planes;
        std::vector<double> bases;
        CalculerPlansCroisesRegroupes(planes, counts, 30, 2, 1, 1, map, -1, bases, settings);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(planes[static_cast<std::size_t>(CrossPlanes::kTestValue * 3 + i)], 0.0);
            EXPECT_EQ(planes[static_cast<std::size_t>(CrossPlanes::kMark * 3 + i)], 0.0);
            EXPECT_NEAR(planes[static_cast<std::size_t>(CrossPlanes::kRowPercentage * 3 + i)], 100,
                        kTolerance);
        }
    }
}

// ---- Statistic rows of mean tables ----

TEST(LignesStatistiques, EachKeptModalityGoesToItsRowAndTheExtraRecordToTheTotalRow) {
    // Record m holds 100 m + k for k = 0..10; record 3 is the extra one after the modalities.
    std::vector<double> statistics;
    for (int m = 0; m < 4; ++m) {
        for (int k = 0; k < 11; ++k)
            statistics.push_back(100 * m + k);
    }
    const std::vector<std::uint16_t> map = {2, kDropped, 0};
    const auto record = [](int m) {
        std::vector<double> values;
        for (int k = 0; k < 11; ++k)
            values.push_back(100 * m + k);
        return values;
    };

    std::vector<double> rows;
    PlacerLignesStatistiques(rows, statistics, 3, 3, map, 1);
    ExpectRow(rows, 0, 11, record(2));
    ExpectRow(rows, 1, 11, record(3));
    ExpectRow(rows, 2, 11, record(0));

    PlacerLignesStatistiques(rows, statistics, 4, 3, map, -1);
    ExpectRow(rows, 0, 11, record(2));
    ExpectRow(rows, 1, 11, std::vector<double>(11, 0.0));
    ExpectRow(rows, 2, 11, record(0));
    ExpectRow(rows, 3, 11, std::vector<double>(11, 0.0));
}

// ---- Cell markers of calculation kinds ----

TEST(MarquesCalcul, EachKindGivesTheMarkerOfItsTable) {
    constexpr std::uint16_t kCount = 0, kPercentage = 1, kReal = 2, kSymbol = 3;
    const struct {
        std::int32_t kind;
        std::uint16_t flat;
        std::uint16_t statistics;
        std::uint16_t mean;
    } cases[] = {
        {0, kCount, kReal, kReal},        {1, kPercentage, kReal, kReal},  {2, kPercentage, kCount, kCount},
        {3, kPercentage, kCount, kCount}, {4, kPercentage, kReal, kReal},  {7, kPercentage, kReal, kReal},
        {8, kReal, kReal, kReal},         {9, kPercentage, kReal, kReal},  {10, kPercentage, kReal, kSymbol},
        {13, kPercentage, kReal, kReal},  {-1, kPercentage, kReal, kReal},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(MarqueCalculTri(test.kind), test.flat) << "kind " << test.kind;
        EXPECT_EQ(MarqueCalculStatistique(test.kind), test.statistics) << "kind " << test.kind;
        EXPECT_EQ(MarqueCalculMoyenne(test.kind), test.mean) << "kind " << test.kind;
    }
}

} // namespace
