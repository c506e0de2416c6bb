#pragma once

#include <cstdint>
#include <span>
#include <vector>

class CEnquete;

// The eight planes of a cross table derived from the weighted count matrix of two questions, and
// the chi-square of a table built from them. These are the cross-table operations of the
// tabulation engine, written as free functions over the count arrays so that the engine forwards
// to them with the significance settings of its study context.
//
// Inputs: the count matrix of (r + 1) x (c + 1) doubles in the questions' modality order, row r
// and column c holding the margins and cell (r, c) the total of units; one signed 16-bit entry per
// modality of each question giving its line (column) position in the table, -1 when the modality is
// not kept (a 0xFFFF entry of an unsigned map reads as -1); the positions of the Total line and the
// Total column, -1 when the table has none.
//
// Output: 8 planes of R x C doubles, plane p of cell (i, j) at (p x R + i) x C + j.
namespace CrossPlanes {

enum Plane : int {
    kCount = 0,
    kRowPercentage = 1,
    kColumnPercentage = 2,
    kTotalPercentage = 3,
    kMark = 4,
    kExpectedCount = 5,
    kTestValue = 6,
    kAffinity = 7,
    kPlaneCount = 8,
};

// The significance settings of the study context, with their defaults.
struct SignificanceSettings {
    int minimumExpectedCount = 5; // EffectifSignificativite: the smallest expected count that is marked
    int type = 2;            // SignificanceType: 0 cell, 1 column, 2 line; any other: no test
    double threshold1 = 1.645;   // SignificanceThreshold1
    double threshold2 = 1.96;    // SignificanceThreshold2
    double threshold3 = 2.576;   // SignificanceThreshold3

    static SignificanceSettings FromSurvey(const CEnquete& survey);
};

// The mark of a test value: +3/+2/+1 above the thresholds, -3/-2/-1 below their opposites, 0
// otherwise (strict comparisons).
int SignificanceMark(double z, const SignificanceSettings& settings);

// The planes over respondents.
void CalculerPourcentages(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                          int rowModalityCount, std::span<const std::int16_t> rowMap,
                          int totalLinePosition, int columnCount, int columnModalityCount,
                          std::span<const std::int16_t> columnMap, int totalColumnPosition,
                          const SignificanceSettings& settings);

// The planes over answers: percentages and Total cells over the sums of the kept cells; the
// percentage of the total, the expected counts and the tests over the matrix margins; no affinity.
void CalculerPourcentagesReponses(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                                  int rowModalityCount, std::span<const std::int16_t> rowMap,
                                  int totalLinePosition, int columnCount, int columnModalityCount,
                                  std::span<const std::int16_t> columnMap, int totalColumnPosition,
                                  const SignificanceSettings& settings);

// Chi-square of the table outside the excluded line and column (-1 for none), over the cells whose
// expected count is above 0. Degrees of freedom: (r - 1) x (c - 1), r and c counting the lines and
// columns that hold such a cell, so that an empty modality adds none; with r or c below 2 there is
// no test: 0 degrees of freedom and the probability is the missing value. With no cell to sum (an
// empty table) the chi-square is missing too.
void CalculerKhiDeux(std::span<const double> planes, int lineCount, int columnCount, int excludedLine,
                     int excludedColumn, double& chiSquare, int& degreesOfFreedom, double& probability);

} // namespace CrossPlanes
