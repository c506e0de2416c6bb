#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app/StringTable.h"
#include "statistics/Acm.h"
#include "statistics/Acp.h"
#include "statistics/Afc.h"
#include "ReferenceData.h"

// Expected values come from the reference package's analyses listed in
// tests/fixtures/README-reference-data.md (children.csv, decathlon.csv), and, for the multiple
// correspondence analysis, from R: a correspondence analysis of the 0/1 indicator table done by
// svd() of the standardised residuals (a transcription of its own, see the MCA tests). Axes
// compare up to their sign: the sign of an axis is taken from one reference value.
namespace {

double Cell(const std::vector<double>& table, int i, int k, int axes) {
    return table[static_cast<std::size_t>(i * axes + k)];
}

// +1 or -1 so that sign · value has the sign of the reference.
double SignOf(double value, double reference) { return value * reference < 0 ? -1.0 : 1.0; }

// ---- Correspondence analysis of children.csv ---------------------------------------------------

class ChildrenCa : public ::testing::Test {
protected:
    void SetUp() override {
        data = ReferenceData::Read("children.csv");
        ASSERT_EQ(data.rows.size(), 18u);
        table = data.Table(0, 8);
        CAfc engine(14, 4, 5, 3, table.data());
        ASSERT_TRUE(engine.Calculer()) << StringTable::Format(engine.GetErreur());
        ASSERT_TRUE(engine.DonnerResultats(4, results));
    }
    double RowCoordinate(const std::string& row, int axis) const {
        return Cell(results.coordonneesLignes, data.Row(row), axis, results.axes);
    }
    double ColumnCoordinate(const std::string& column, int axis) const {
        return Cell(results.coordonneesColonnes, data.Column(column), axis, results.axes);
    }

    ReferenceData data;
    std::vector<double> table;
    ResultatsCorrespondances results;
};

TEST_F(ChildrenCa, EigenvaluesAndSharesWithoutTheTrivialAxis) {
    const double eigenvalues[] = {0.035401539, 0.013114735, 0.007301114, 0.006243913};
    const double shares[] = {57.04286, 21.13190, 11.76436, 10.06088};
    ASSERT_EQ(results.valeursPropres.size(), 12u) << "p - 1 = 4 eigenvalues";
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(Cell(results.valeursPropres, k, 0, 3), eigenvalues[k], 1e-6 * eigenvalues[k]) << k;
        EXPECT_NEAR(Cell(results.valeursPropres, k, 1, 3), shares[k], 1e-6 * shares[k]) << k;
    }
    EXPECT_NEAR(Cell(results.valeursPropres, 3, 2, 3), 100.0, 1e-9);
}

TEST_F(ChildrenCa, ChiSquareOfTheActiveTable) {
    // Total inertia × N is the chi-square: 98.802 on 52 degrees of freedom.
    double inertia = 0.0;
    for (int k = 0; k < 4; ++k)
        inertia += Cell(results.valeursPropres, k, 0, 3);
    EXPECT_NEAR(inertia * 1592, 98.802, 5e-4);
}

TEST_F(ChildrenCa, CoordinatesOfActiveAndIllustrativePoints) {
    const double s1 = SignOf(ColumnCoordinate("university", 0), 0.231233);
    const double s2 = SignOf(ColumnCoordinate("university", 1), 0.317858);
    EXPECT_NEAR(s1 * ColumnCoordinate("university", 0), 0.231233, 1e-5);
    EXPECT_NEAR(s2 * ColumnCoordinate("university", 1), 0.317858, 1e-5);
    EXPECT_NEAR(s1 * ColumnCoordinate("thirty", 0), 0.105413, 1e-5);
    EXPECT_NEAR(s2 * ColumnCoordinate("thirty", 1), -0.059696, 1e-5);
    EXPECT_NEAR(s1 * RowCoordinate("comfort", 0), 0.209670, 1e-5);
    EXPECT_NEAR(s2 * RowCoordinate("comfort", 1), 0.703168, 1e-5);
}

TEST_F(ChildrenCa, ContributionsAndQualities) {
    EXPECT_NEAR(Cell(results.contributionsLignes, data.Row("unemployment"), 0, 4), 22.6165, 1e-3);
    // Contributions of the active points make 100 % per axis; qualities of an active point over
    // all p - 1 axes make 100 %.
    for (int k = 0; k < 4; ++k) {
        double rows = 0.0;
        double columns = 0.0;
        for (int i = 0; i < 14; ++i)
            rows += Cell(results.contributionsLignes, i, k, 4);
        for (int j = 0; j < 5; ++j)
            columns += Cell(results.contributionsColonnes, j, k, 4);
        EXPECT_NEAR(rows, 100.0, 1e-6);
        EXPECT_NEAR(columns, 100.0, 1e-6);
    }
    for (int i = 0; i < 14; ++i) {
        double quality = 0.0;
        for (int k = 0; k < 4; ++k)
            quality += Cell(results.qualitesLignes, i, k, 4);
        EXPECT_NEAR(quality, 100.0, 1e-6) << data.rows[static_cast<std::size_t>(i)];
    }
}

struct RefusedCell {
    double value;
    int message;
};

TEST(Afc, RefusesMissingAndNegativeCellsNamingThem) {
    const RefusedCell cases[] = {{-999999.99, StringTable::kCelluleManquante},
                                 {-888888.88, StringTable::kCelluleManquante},
                                 {-1.0, StringTable::kCelluleNegative}};
    for (const RefusedCell& c : cases) {
        std::vector<double> table = {1, 2, 3, 4, 5, 6};
        table[4] = c.value; // row 2, column 2
        CAfc engine(2, 0, 3, 0, table.data());
        EXPECT_FALSE(engine.Calculer());
        EXPECT_EQ(engine.GetErreur(), Message(c.message, {"2", "2"}));
        ResultatsCorrespondances results;
        EXPECT_FALSE(engine.DonnerResultats(1, results));
    }
}

// A block-diagonal table has one real axis of eigenvalue 1 (rows and columns split in two
// groups); only the trivial axis goes, the real one stays. Hand calculation: with the table
// [[2,0],[0,3]] the two columns are perfectly associated, inertia 1 on the one axis.
TEST(Afc, BlockDiagonalTableKeepsItsRealAxis) {
    const std::vector<double> table = {2, 0, 0, 3};
    CAfc engine(2, 0, 2, 0, table.data());
    ASSERT_TRUE(engine.Calculer());
    ASSERT_EQ(engine.ValeursPropres().size(), 1u);
    EXPECT_NEAR(engine.ValeursPropres()[0], 1.0, 1e-9);
}

// A row without any active count gets 0 everywhere; the eigenvalue table of p columns has p - 1
// rows whose running share ends at 100.
TEST(Afc, EmptyRowAndCumulativeShare) {
    const std::vector<double> table = {10, 2, 3, //
                                       2, 10, 3, //
                                       3, 3, 10, //
                                       0, 0, 0};
    CAfc engine(4, 0, 3, 0, table.data());
    ASSERT_TRUE(engine.Calculer());
    ResultatsCorrespondances r;
    ASSERT_TRUE(engine.DonnerResultats(2, r));
    ASSERT_EQ(r.valeursPropres.size(), 6u);
    EXPECT_NEAR(r.valeursPropres[5], 100.0, 1e-9);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(Cell(r.coordonneesLignes, 3, k, 2), 0.0);
        EXPECT_EQ(Cell(r.qualitesLignes, 3, k, 2), 0.0);
        EXPECT_EQ(Cell(r.contributionsLignes, 3, k, 2), 0.0);
    }
}

// ---- Principal component analysis of decathlon.csv -----------------------------------------------

class DecathlonPca : public ::testing::Test {
protected:
    void SetUp() override {
        data = ReferenceData::Read("decathlon.csv");
        ASSERT_EQ(data.rows.size(), 41u);
        table = data.Table(0, 12); // ten events active, Rank and Points illustrative
        CAcp engine(41, 0, 10, 2, table.data());
        ASSERT_TRUE(engine.Calculer()) << StringTable::Format(engine.GetErreur());
        ASSERT_TRUE(engine.DonnerResultats(5, results));
    }
    ReferenceData data;
    std::vector<double> table;
    ResultatsAcp results;
};

TEST_F(DecathlonPca, EigenvaluesAndShares) {
    const double eigenvalues[] = {3.271906, 1.737131, 1.404917, 1.056850};
    ASSERT_EQ(results.valeursPropres.size(), 30u);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(Cell(results.valeursPropres, k, 0, 3), eigenvalues[k], 1e-6 * eigenvalues[k]) << k;
    EXPECT_NEAR(Cell(results.valeursPropres, 0, 1, 3), 32.719055, 1e-6 * 32.719055);
    EXPECT_NEAR(Cell(results.valeursPropres, 1, 1, 3), 17.371310, 1e-6 * 17.371310);
    EXPECT_NEAR(Cell(results.valeursPropres, 9, 2, 3), 100.0, 1e-9);
}

TEST_F(DecathlonPca, CorrelationOfAVariableWithTheFirstAxis) {
    const double correlation = Cell(results.correlations, data.Column("100m"), 0, 5);
    EXPECT_NEAR(std::fabs(correlation), 0.774720, 1e-5);
}

TEST_F(DecathlonPca, ContributionsAndQualitiesAddUp) {
    for (int k = 0; k < 5; ++k) {
        double sum = 0.0;
        for (int i = 0; i < 41; ++i)
            sum += Cell(results.contributionsLignes, i, k, 5);
        EXPECT_NEAR(sum, 100.0, 1e-6);
    }
}

// A variable constant over the active rows has deviation 0, standardised values 0 and adds only
// a zero row and column to the correlation matrix; an illustrative row is standardised with the
// active means and gets no contribution.
TEST(Acp, ConstantVariableAndIllustrativeRow) {
    const std::vector<double> table = {1, 0.1, 2, //
                                       2, 0.1, 1, //
                                       3, 0.1, 5, //
                                       4, 0.1, 3, //
                                       9, 7.0, 9};
    CAcp engine(4, 1, 3, 0, table.data());
    ASSERT_TRUE(engine.Calculer());
    ResultatsAcp r;
    ASSERT_TRUE(engine.DonnerResultats(2, r));
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(r.matriceCorrelation[static_cast<std::size_t>(1 * 3 + j)], 0.0);
        EXPECT_EQ(r.matriceCorrelation[static_cast<std::size_t>(j * 3 + 1)], 0.0);
    }
    EXPECT_EQ(engine.ValeurCentreeReduite(4, 1), 0.0);
    EXPECT_DOUBLE_EQ(engine.ValeurCentreeReduite(4, 0), (9 - 2.5) / std::sqrt(1.25));
    EXPECT_EQ(r.contributionsLignes.size(), 8u);
    EXPECT_EQ(r.coordonneesLignes.size(), 10u);
    // Correlation of columns 1 and 3 over the active rows by hand: centred values below,
    // 3.5 / √(5 × 8.75) = 0.529150.
    const double x[] = {-1.5, -0.5, 0.5, 1.5};
    const double y[] = {-0.75, -1.75, 2.25, 0.25};
    double xy = 0;
    double xx = 0;
    double yy = 0;
    for (int i = 0; i < 4; ++i) {
        xy += x[i] * y[i];
        xx += x[i] * x[i];
        yy += y[i] * y[i];
    }
    EXPECT_NEAR(r.matriceCorrelation[2], xy / std::sqrt(xx * yy), 1e-12);
    EXPECT_NEAR(r.matriceCorrelation[2], 0.529150, 1e-6);
}

} // namespace

#include "McaFixture.h"

namespace {

class SmallSurveyMca : public ::testing::Test {
protected:
    void SetUp() override {
        CAcm engine(10, 2, 9, 3, mca_fixture::kTable.data());
        ASSERT_TRUE(engine.Calculer()) << StringTable::Format(engine.GetErreur());
        ASSERT_TRUE(engine.DonnerResultats(2, results));
        eigenvalues = engine.ValeursPropres();
    }
    ResultatsCorrespondances results;
    std::vector<double> eigenvalues;
};

TEST_F(SmallSurveyMca, EigenvaluesOfTheIndicatorTableAndATrivialZero) {
    ASSERT_EQ(eigenvalues.size(), 9u);
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(eigenvalues[static_cast<std::size_t>(k)], mca_fixture::kEigenvalues[k], 1e-9) << k;
    for (int k = 6; k < 9; ++k)
        EXPECT_NEAR(eigenvalues[static_cast<std::size_t>(k)], 0.0, 1e-9) << k;
}

TEST_F(SmallSurveyMca, CoordinatesOfActiveAndIllustrativePoints) {
    double sign[2];
    for (int k = 0; k < 2; ++k)
        sign[k] = SignOf(Cell(results.coordonneesLignes, 0, k, 2), mca_fixture::kRows[0][k]);
    for (int i = 0; i < 12; ++i)
        for (int k = 0; k < 2; ++k)
            EXPECT_NEAR(sign[k] * Cell(results.coordonneesLignes, i, k, 2), mca_fixture::kRows[i][k], 1e-5) << i << "," << k;
    for (int j = 0; j < 12; ++j)
        for (int k = 0; k < 2; ++k)
            EXPECT_NEAR(sign[k] * Cell(results.coordonneesColonnes, j, k, 2), mca_fixture::kColumns[j][k], 1e-5) << j << "," << k;
}

TEST_F(SmallSurveyMca, ContributionsAndQualities) {
    for (int i = 0; i < 10; ++i) {
        EXPECT_NEAR(Cell(results.contributionsLignes, i, 0, 2), mca_fixture::kRowContributionsAxis1[i], 1e-3) << i;
        EXPECT_NEAR(Cell(results.qualitesLignes, i, 0, 2), mca_fixture::kRowQualitiesAxis1[i], 1e-3) << i;
    }
    for (int j = 0; j < 9; ++j)
        EXPECT_NEAR(Cell(results.contributionsColonnes, j, 0, 2), mca_fixture::kColumnContributionsAxis1[j], 1e-3) << j;
}

// A modality chosen by no active interview has margin 0: it takes no part in the matrix and its
// coordinates stay 0, as do coordinates on an axis without inertia.
TEST(Acm, ModalityChosenByNobodyAndAxesWithoutInertia) {
    // Two questions of two modalities plus an unused third modality of the second question.
    const std::vector<std::uint8_t> table = {1, 0, 1, 0, 0, //
                                             0, 1, 0, 1, 0, //
                                             1, 0, 1, 0, 0, //
                                             0, 1, 0, 1, 0};
    CAcm engine(4, 0, 5, 0, table.data());
    ASSERT_TRUE(engine.Calculer());
    ResultatsCorrespondances r;
    ASSERT_TRUE(engine.DonnerResultats(5, r));
    // The two questions say the same: one axis of eigenvalue 1, the rest 0.
    EXPECT_NEAR(engine.ValeursPropres()[0], 1.0, 1e-9);
    for (int k = 1; k < 5; ++k)
        EXPECT_NEAR(engine.ValeursPropres()[static_cast<std::size_t>(k)], 0.0, 1e-9);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(Cell(r.coordonneesColonnes, 4, k, 5), 0.0);
    for (int j = 0; j < 5; ++j)
        for (int k = 1; k < 5; ++k)
            EXPECT_EQ(Cell(r.coordonneesColonnes, j, k, 5), 0.0);
}

} // namespace
