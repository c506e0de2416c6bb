#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "statistics/NumericKernels.h"
#include "ReferenceJacobi.h"

namespace {

double Entry(const std::vector<double>& m, int i, int j, int n) { return m[static_cast<std::size_t>(i * n + j)]; }

// The rotated matrix after sorting: V·diag(D)·Vᵀ must give A back whatever the rotations did.
void ExpectReconstructs(const std::vector<double>& a, const std::vector<double>& d, const std::vector<double>& v, int n) {
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k)
                sum += Entry(v, i, k, n) * Entry(d, k, k, n) * Entry(v, j, k, n);
            EXPECT_NEAR(sum, Entry(a, i, j, n), 1e-6) << i << "," << j;
        }
}

struct EigenCase {
    const char* name;
    int n;
    std::vector<double> a;
    std::vector<double> eigenvalues; // decreasing
    double tolerance;
};

// Diagonal, identity and tie cases are exact by hand; the tridiagonal 3 × 3 has the closed form
// 3 + √3, 3, 3 − √3 (R's eigen() gives 4.73205080756888, 3, 1.26794919243112).
TEST(JacobiEigen, EigenvaluesOfKnownMatrices) {
    const EigenCase cases[] = {
        {"diagonal", 3, {3, 0, 0, 0, 1, 0, 0, 0, 2}, {3, 2, 1}, 0.0},
        {"identity", 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}, {1, 1, 1}, 1e-12},
        {"2x2", 2, {2, 1, 1, 2}, {3, 1}, 1e-9},
        {"tridiagonal", 3, {4, 1, 0, 1, 3, 1, 0, 1, 2}, {4.73205080756888, 3.0, 1.26794919243112}, 1e-9},
        {"zero column", 3, {2, 0, 1, 0, 0, 0, 1, 0, 2}, {3, 1, 0}, 1e-9},
    };
    for (const EigenCase& c : cases) {
        std::vector<double> d;
        std::vector<double> v;
        ASSERT_EQ(JacobiEigen(c.a, d, v, c.n), EigenStatus::Ok) << c.name;
        for (int k = 0; k < c.n; ++k)
            EXPECT_NEAR(Entry(d, k, k, c.n), c.eigenvalues[static_cast<std::size_t>(k)], c.tolerance) << c.name << " " << k;
        ExpectReconstructs(c.a, d, v, c.n);
    }
}

// A diagonal matrix still gets one rotation on (1, 0): with distinct entries its angle is 0 and
// the eigenvectors are the unit vectors, sorted with their eigenvalues.
TEST(JacobiEigen, DiagonalMatrixKeepsUnitEigenvectors) {
    std::vector<double> d;
    std::vector<double> v;
    ASSERT_EQ(JacobiEigen({3, 0, 0, 0, 1, 0, 0, 0, 2}, d, v, 3), EigenStatus::Ok);
    const double expected[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_DOUBLE_EQ(Entry(v, i, j, 3), expected[i][j]);
}

// Equal eigenvalues keep the order in which they stood on the diagonal: of the two 3s of
// diag(1, 3, 3) the one of the second unit vector comes first.
TEST(JacobiEigen, TiedEigenvaluesKeepTheirOrder) {
    std::vector<double> d;
    std::vector<double> v;
    ASSERT_EQ(JacobiEigen({1, 0, 0, 0, 3, 0, 0, 0, 3}, d, v, 3), EigenStatus::Ok);
    const double expected[3][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_DOUBLE_EQ(Entry(v, i, j, 3), expected[i][j]) << i << "," << j;
    EXPECT_EQ(Entry(d, 2, 2, 3), 1.0);
}

// Equal first diagonal entries take the stored angle 0.78539382: the first two eigenvectors are
// mixed by cos and sin of that angle, the eigenvalues stay in their places.
TEST(JacobiEigen, EqualDiagonalEntriesMixTheirEigenvectors) {
    std::vector<double> d;
    std::vector<double> v;
    ASSERT_EQ(JacobiEigen({1, 0, 0, 0, 1, 0, 0, 0, 1}, d, v, 3), EigenStatus::Ok);
    const double c = std::cos(0.78539382);
    const double s = std::sin(0.78539382);
    EXPECT_DOUBLE_EQ(Entry(v, 0, 0, 3), c);
    EXPECT_DOUBLE_EQ(Entry(v, 1, 0, 3), -s);
    EXPECT_DOUBLE_EQ(Entry(v, 0, 1, 3), s);
    EXPECT_DOUBLE_EQ(Entry(v, 1, 1, 3), c);
    EXPECT_DOUBLE_EQ(Entry(v, 2, 2, 3), 1.0);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(Entry(d, k, k, 3), 1.0, 1e-12);
}

// Eigenvectors of the tridiagonal case, up to the sign of each (R's eigen()).
TEST(JacobiEigen, EigenvectorsUpToSign) {
    std::vector<double> d;
    std::vector<double> v;
    ASSERT_EQ(JacobiEigen({4, 1, 0, 1, 3, 1, 0, 1, 2}, d, v, 3), EigenStatus::Ok);
    const double expected[3][3] = {{0.788675134594813, 0.577350269189625, 0.211324865405188},
                                   {0.577350269189626, -0.577350269189625, -0.577350269189627},
                                   {0.211324865405187, -0.577350269189627, 0.788675134594812}};
    for (int k = 0; k < 3; ++k) {
        const double sign = Entry(v, 0, k, 3) * expected[0][k] < 0 ? -1.0 : 1.0;
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(sign * Entry(v, i, k, 3), expected[i][k], 1e-5) << i << "," << k;
    }
}

TEST(JacobiEigen, RefusesNonFiniteEntriesAndKeepsOrderOne) {
    std::vector<double> d;
    std::vector<double> v;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(JacobiEigen({1, nan, nan, 1}, d, v, 2), EigenStatus::NonFinite);
    EXPECT_EQ(JacobiEigen({1, std::numeric_limits<double>::infinity(), 0, 1}, d, v, 2), EigenStatus::NonFinite);
    EXPECT_FALSE(MessageValeursPropres(EigenStatus::NonFinite).id == 0);

    ASSERT_EQ(JacobiEigen({7.5}, d, v, 1), EigenStatus::Ok);
    EXPECT_EQ(d, std::vector<double>{7.5});
    EXPECT_EQ(v, std::vector<double>{1.0});
}

// Matrices of the kinds the engines diagonalise, and a few that stress the pivot search: the
// solver must make exactly the classical rotations, so its numbers equal a plain transcription's
// to the last bit.
std::vector<double> CrossProducts(int rows, int n, std::uint64_t seed, bool integers) {
    std::uint64_t state = seed;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 40) / 16777216.0;
    };
    std::vector<double> x(static_cast<std::size_t>(rows) * n);
    for (double& value : x)
        value = integers ? std::floor(next() * 20.0) : next() - 0.5;
    std::vector<double> a(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int r = 0; r < rows; ++r)
                a[static_cast<std::size_t>(i * n + j)] +=
                    x[static_cast<std::size_t>(r * n + i)] * x[static_cast<std::size_t>(r * n + j)] / (rows * 20.0);
    return a;
}

TEST(JacobiEigen, MakesTheClassicalRotationsToTheLastBit) {
    struct Case {
        const char* name;
        int n;
        std::vector<double> a;
    };
    std::vector<double> skewed = CrossProducts(12, 7, 5, false);
    skewed[1] += 1e-9; // not exactly symmetric
    const std::vector<Case> cases = {
        {"2 x 2", 2, {2, 1, 1, 3}},
        {"equal diagonal entries", 3, {1, 0.5, 0.25, 0.5, 1, 0.5, 0.25, 0.5, 1}},
        {"diagonal", 3, {3, 0, 0, 0, 1, 0, 0, 0, 2}},
        {"block diagonal", 4, {2, 1, 0, 0, 1, 2, 0, 0, 0, 0, 5, -1, 0, 0, -1, 5}},
        {"cross products of counts 49 x 49", 49, CrossProducts(200, 49, 2, true)},
        {"cross products of reals 20 x 20", 20, CrossProducts(30, 20, 3, false)},
        {"rank-deficient 15 x 15", 15, CrossProducts(6, 15, 4, false)},
        {"not exactly symmetric", 7, skewed},
    };
    for (const Case& c : cases) {
        std::vector<double> d, v, expectedD, expectedV;
        ASSERT_EQ(JacobiEigen(c.a, d, v, c.n), EigenStatus::Ok) << c.name;
        ASSERT_GT(reference::JacobiEigen(c.a, expectedD, expectedV, c.n), 0) << c.name;
        EXPECT_EQ(d, expectedD) << c.name;
        EXPECT_EQ(v, expectedV) << c.name;
    }
}

TEST(MoyennesEcartsTypes, MeansAndPopulationDeviations) {
    // Columns: 1 2 3 4 (mean 2.5, sd √1.25); a constant 0.1 (sd exactly 0, however the sum drifts);
    // a zero column.
    const std::vector<double> table = {1, 0.1, 0, 2, 0.1, 0, 3, 0.1, 0, 4, 0.1, 0};
    std::vector<double> means;
    std::vector<double> sds;
    MoyennesEcartsTypes(means, sds, table.data(), 4, 3);
    EXPECT_DOUBLE_EQ(means[0], 2.5);
    EXPECT_DOUBLE_EQ(sds[0], std::sqrt(1.25));
    EXPECT_EQ(means[1], 0.1);
    EXPECT_EQ(sds[1], 0.0);
    EXPECT_FALSE(std::signbit(sds[1]));
    EXPECT_EQ(sds[2], 0.0);

    // Ten rows of 0.1: their sum is not 1 in binary, the deviation must still be 0.
    const std::vector<double> tenths(10, 0.1);
    MoyennesEcartsTypes(means, sds, tenths.data(), 10, 1);
    EXPECT_EQ(sds[0], 0.0);

    MoyennesEcartsTypes(means, sds, table.data(), 0, 3);
    EXPECT_EQ(means, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(sds, (std::vector<double>{0, 0, 0}));
}

TEST(MargesTableauOctets, ActiveBlockOnlyMakesTheMargins) {
    // 2 active + 1 illustrative rows, 2 active + 1 illustrative columns.
    const std::vector<std::uint8_t> table = {1, 0, 1, //
                                             1, 1, 0, //
                                             0, 1, 1};
    std::vector<double> rows;
    std::vector<double> columns;
    double total = 0.0;
    MargesTableauOctets(rows, columns, total, table.data(), 2, 1, 2, 1);
    EXPECT_EQ(rows, (std::vector<double>{1, 2, 1}));
    EXPECT_EQ(columns, (std::vector<double>{2, 1, 1}));
    EXPECT_EQ(total, 3.0);
}

TEST(TableauValeursPropres, SharesAndCumulativeShares) {
    const std::vector<double> d = {3, 9, 9, 9, 2, 9, 9, 9, 0.5}; // off-diagonal entries are ignored
    const std::vector<double> table = TableauValeursPropres(d, 3);
    ASSERT_EQ(table.size(), 9u);
    EXPECT_DOUBLE_EQ(table[1], 3 / 5.5 * 100);
    EXPECT_DOUBLE_EQ(table[4], 2 / 5.5 * 100);
    EXPECT_NEAR(table[8], 100.0, 1e-12);
    // No inertia at all: the shares have no value.
    const std::vector<double> empty = TableauValeursPropresListe({0.0, 0.0});
    EXPECT_EQ(empty[1], kValeurManquante);
    EXPECT_EQ(empty[5], kValeurManquante);
}

// The first column's largest entry is in the third row, so the rows are exchanged; the inverse
// is R's solve() of the same matrix (exact ninths).
TEST(InverserMatrice, PermutedPivotsGiveTheTrueInverse) {
    std::vector<double> a = {1, 2, 0, 0, 1, 1, 4, 0, 1};
    std::vector<double> inverse;
    ASSERT_TRUE(InverserMatrice(inverse, a, 3));
    const double expected[9] = {1.0 / 9, -2.0 / 9, 2.0 / 9, 4.0 / 9, 1.0 / 9, -1.0 / 9, -4.0 / 9, 8.0 / 9, 1.0 / 9};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(inverse[static_cast<std::size_t>(i)], expected[i], 1e-14) << i;
}

TEST(InverserMatrice, SingularAndNearlySingularMatricesAreRefused) {
    struct Case {
        const char* name;
        std::vector<double> a;
        int n;
    } cases[] = {
        {"zero column", {1, 0, 2, 0}, 2},
        {"equal rows", {1, 2, 1, 2}, 2},
        {"collinear up to rounding", {1, 1, 1, 1 + 1e-15}, 2},
        {"cross products of two equal columns", {3, 6, 6, 6, 14, 14, 6, 14, 14}, 3},
    };
    for (Case& c : cases) {
        std::vector<double> inverse = {42};
        EXPECT_FALSE(InverserMatrice(inverse, c.a, c.n)) << c.name;
        EXPECT_TRUE(inverse.empty()) << c.name;
    }
    std::vector<double> tiny = {1e-20, 0, 0, 1e-20};
    std::vector<double> inverse;
    EXPECT_TRUE(InverserMatrice(inverse, tiny, 2)) << "a small scale is not a small pivot";
    EXPECT_DOUBLE_EQ(inverse[0], 1e20);
}

} // namespace
