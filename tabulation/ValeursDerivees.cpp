#include "tabulation/ValeursDerivees.h"

#include "tabulation/FonctionsStatistiques.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace ValeursDerivees {

namespace {

constexpr std::uint16_t kNotKept = 0xFFFF;
constexpr int kFlatValueCount = 10;
constexpr int kStatisticCount = 11;

// Flat-table kinds written by the grouped flat values.
enum FlatKind : int {
    kCount = 0,
    kPercentage = 1,
    kCumulativePercentage = 2,
    kRespondentFrequency = 3,
    kImportanceRate = 4,
    kInterviewFrequency = 5,
    kLowerBound = 6,
    kUpperBound = 7,
    kTotal = 9,
};

std::size_t Index(int value) {
    return static_cast<std::size_t>(value);
}

void Zeroed(std::vector<double>& buffer, std::size_t count) {
    buffer.assign(count, 0.0);
}

bool IsRow(int row, int rowCount) {
    return row >= 0 && row < rowCount;
}

// ---- Cross planes with grouped rows ----

// The count matrix with its margins, read safely: a cell outside what the caller passed reads 0.
class CountMatrix {
public:
    CountMatrix(std::span<const double> counts, int rows, int sourceColumns)
        : m_counts(counts), m_rows(rows), m_stride(sourceColumns + 1) {}

    double Cell(int r, int c) const {
        const std::size_t at = Index(r) * Index(m_stride) + Index(c);
        return at < m_counts.size() ? m_counts[at] : 0.0;
    }
    double RowTotal(int r) const { return Cell(r, m_stride - 1); }
    double ColumnTotal(int c) const { return Cell(m_rows, c); }
    double GrandTotal() const { return Cell(m_rows, m_stride - 1); }

private:
    std::span<const double> m_counts;
    int m_rows;
    int m_stride;
};

// The test value of one kept cell, when it can be computed.
std::optional<double> TwoProportionTest(double count, double n1, double share2Numerator, double N) {
    const double n2 = N - n1;
    if (!(n1 > 0.0) || !(n2 > 0.0))
        return std::nullopt;
    const double p1 = count / n1;
    const double p2 = share2Numerator / n2;
    const double variance = p1 * (1.0 - p1) / n1 + p2 * (1.0 - p2) / n2;
    if (!(variance > 0.0))
        return std::nullopt;
    return (p1 - p2) / std::sqrt(variance);
}

struct CellFigures {
    double count;
    double rowTotal;
    double columnTotal;
    double expected;
    double keptTotal;  // K
    double grandTotal; // N, the matrix's corner
};

std::optional<double> TestValue(const CellFigures& cell, int significanceType) {
    switch (significanceType) {
    case 0: {
        if (!(cell.grandTotal > 0.0))
            return std::nullopt;
        const double q = cell.expected / cell.keptTotal;
        const double variance = q * (1.0 - q) / cell.grandTotal;
        if (!(variance > 0.0))
            return std::nullopt;
        return (cell.count / cell.keptTotal - q) / std::sqrt(variance);
    }
    case 1:
        return TwoProportionTest(cell.count, cell.columnTotal, cell.rowTotal - cell.count, cell.grandTotal);
    case 2:
        return TwoProportionTest(cell.count, cell.rowTotal, cell.columnTotal - cell.count, cell.grandTotal);
    default:
        return std::nullopt;
    }
}

class GroupedCrossPlanes {
public:
    GroupedCrossPlanes(std::vector<double>& planes, const CountMatrix& matrix, int rows, int resultColumns)
        : m_planes(planes), m_matrix(matrix), m_rows(rows), m_columns(resultColumns),
          m_rowSums(Index(rows), 0.0), m_columnSums(Index(resultColumns), 0.0) {
        Zeroed(m_planes, Index(CrossPlanes::kPlaneCount) * Index(rows + 1) * Index(resultColumns));
    }

    double& At(int plane, int i, int j) {
        return m_planes[(Index(plane) * Index(m_rows + 1) + Index(i)) * Index(m_columns) + Index(j)];
    }

    // Counts of the kept cells, the totals row, and the sums of the kept cells.
    void PlaceCounts(const std::vector<int>& resultColumnOf) {
        for (int c = 0; c < static_cast<int>(resultColumnOf.size()); ++c) {
            const int j = resultColumnOf[Index(c)];
            if (j < 0)
                continue;
            for (int r = 0; r < m_rows; ++r) {
                const double count = m_matrix.Cell(r, c);
                At(CrossPlanes::kCount, r, j) = count;
                m_rowSums[Index(r)] += count;
                m_columnSums[Index(j)] += count;
                m_keptTotal += count;
            }
            At(CrossPlanes::kCount, m_rows, j) = m_matrix.ColumnTotal(c);
        }
    }

    double KeptTotal() const { return m_keptTotal; }

    void FillTotalColumn(int totalColumn, double grandTotal) {
        for (int r = 0; r < m_rows; ++r) {
            const double rowTotal = m_matrix.RowTotal(r);
            At(CrossPlanes::kCount, r, totalColumn) = rowTotal;
            At(CrossPlanes::kRowPercentage, r, totalColumn) = 100.0;
            if (grandTotal > 0.0) {
                At(CrossPlanes::kColumnPercentage, r, totalColumn) = 100.0 * rowTotal / grandTotal;
                At(CrossPlanes::kTotalPercentage, r, totalColumn) = 100.0 * rowTotal / grandTotal;
            }
        }
    }

    void FillKeptCells(const std::vector<int>& resultColumnOf, std::span<const double> columnBases,
                       double grandTotal, const CrossPlanes::SignificanceSettings& settings) {
        for (int c = 0; c < static_cast<int>(resultColumnOf.size()); ++c) {
            const int j = resultColumnOf[Index(c)];
            if (j < 0)
                continue;
            const double base = Index(c) < columnBases.size() ? columnBases[Index(c)] : 0.0;
            for (int r = 0; r < m_rows; ++r)
                FillCell(r, c, j, base, grandTotal, settings);
        }
    }

private:
    void FillCell(int r, int c, int j, double columnBase, double grandTotal,
                  const CrossPlanes::SignificanceSettings& settings) {
        const double count = m_matrix.Cell(r, c);
        const double rowTotal = m_matrix.RowTotal(r);
        if (rowTotal > 0.0)
            At(CrossPlanes::kRowPercentage, r, j) = 100.0 * count / rowTotal;
        if (columnBase > 0.0)
            At(CrossPlanes::kColumnPercentage, r, j) = 100.0 * count / columnBase;
        if (grandTotal > 0.0)
            At(CrossPlanes::kTotalPercentage, r, j) = 100.0 * count / grandTotal;

        const double expected = m_columnSums[Index(j)] * m_rowSums[Index(r)] / m_keptTotal;
        At(CrossPlanes::kExpectedCount, r, j) = expected;
        const CellFigures figures{count,    rowTotal,    m_matrix.ColumnTotal(c),
                                  expected, m_keptTotal, m_matrix.GrandTotal()};
        const std::optional<double> z = TestValue(figures, settings.type);
        if (!z)
            return;
        At(CrossPlanes::kTestValue, r, j) = *z;
        if (expected >= settings.minimumExpectedCount)
            At(CrossPlanes::kMark, r, j) = CrossPlanes::SignificanceMark(*z, settings);
    }

    std::vector<double>& m_planes;
    const CountMatrix& m_matrix;
    int m_rows;
    int m_columns;
    std::vector<double> m_rowSums;    // Rr
    std::vector<double> m_columnSums; // Cj
    double m_keptTotal = 0.0;         // K
};

// ---- Markers ----

constexpr std::uint16_t kMarkerCount = 0;
constexpr std::uint16_t kMarkerPercentage = 1;
constexpr std::uint16_t kMarkerReal = 2;
constexpr std::uint16_t kMarkerSignificance = 3;

struct KindMarker {
    std::int32_t kind;
    std::uint16_t marker;
};

// The kinds a table shows apart; every other kind takes the table's usual marker.
// Flat tables: counts as counts, the weighting coefficient as a real, everything else a share.
constexpr KindMarker kFlatKinds[] = {{0, kMarkerCount}, {8, kMarkerReal}};
// Statistics: the numbers of answers and of non-answers are counts.
constexpr KindMarker kStatisticsKinds[] = {{2, kMarkerCount}, {3, kMarkerCount}};
// Mean tables: as the statistics, and the significance line shows its symbol.
constexpr KindMarker kMeanKinds[] = {{2, kMarkerCount}, {3, kMarkerCount}, {10, kMarkerSignificance}};

std::uint16_t MarkerOf(std::span<const KindMarker> kinds, std::uint16_t otherwise, std::int32_t kind) {
    const auto found =
        std::find_if(kinds.begin(), kinds.end(), [kind](const KindMarker& k) { return k.kind == kind; });
    return found != kinds.end() ? found->marker : otherwise;
}

} // namespace

void CalculerRangsMoyens(std::vector<double>& matrix, std::span<const double> counts, int resultRows,
                         int sourceCount, std::span<const std::uint16_t> codeMap, int totalRow, int ranks) {
    ranks = std::max(ranks, 0);
    resultRows = std::max(resultRows, 0);
    const int width = ranks + 2;
    Zeroed(matrix, Index(resultRows) * Index(width));
    const auto cell = [&](int row, int column) -> double& {
        return matrix[Index(row) * Index(width) + Index(column)];
    };

    const int modalities = std::min<int>(sourceCount, static_cast<int>(codeMap.size()));
    for (int m = 0; m < modalities; ++m) {
        const int row = codeMap[Index(m)];
        if (codeMap[Index(m)] == kNotKept || !IsRow(row, resultRows) || row == totalRow)
            continue;
        double given = 0.0;         // S
        double weightedRanks = 0.0; // W
        for (int k = 0; k < ranks; ++k) {
            const std::size_t at = Index(m) * Index(ranks) + Index(k);
            const double count = at < counts.size() ? counts[at] : 0.0;
            cell(row, k) = count;
            given += count;
            weightedRanks += (k + 1) * count;
        }
        if (given > 0.0) {
            cell(row, ranks) = given;
            cell(row, ranks + 1) = weightedRanks / given;
        }
    }

    if (!IsRow(totalRow, resultRows))
        return;
    for (int k = 0; k < ranks; ++k) {
        double columnSum = 0.0;
        for (int row = 0; row < resultRows; ++row) {
            if (row != totalRow)
                columnSum += cell(row, k);
        }
        cell(totalRow, k) = columnSum;
        cell(totalRow, ranks) += columnSum;
    }
    cell(totalRow, ranks + 1) = kValeurManquante;
}

double CalculerValeursTriRegroupe(std::vector<double>& rows, std::span<const double> counts, double base1,
                                  double base2, int resultRows, int countRows, double answerTotal, double z) {
    resultRows = std::max(resultRows, 0);
    countRows = std::clamp(countRows, 0, std::min(resultRows, static_cast<int>(counts.size())));
    Zeroed(rows, Index(resultRows) * Index(kFlatValueCount));
    const auto value = [&](int row, int kind) -> double& {
        return rows[Index(row) * Index(kFlatValueCount) + Index(kind)];
    };

    double total = 0.0;
    for (int i = 0; i < countRows; ++i)
        total += counts[Index(i)];
    if (total < answerTotal)
        total = answerTotal;

    for (int i = 0; i < countRows; ++i) {
        const double c = counts[Index(i)];
        value(i, kCount) = c;
        if (base1 > 0.0) {
            const double percentage = 100.0 * c / base1;
            value(i, kPercentage) = percentage;
            value(i, kRespondentFrequency) = percentage;
            value(i, kLowerBound) = BorneInferieurePourcentage(percentage, base1, z);
            value(i, kUpperBound) = BorneSuperieurePourcentage(percentage, base1, z);
        }
        if (total > 0.0)
            value(i, kImportanceRate) = 100.0 * c / total;
        if (base2 > 0.0)
            value(i, kInterviewFrequency) = 100.0 * c / base2;
    }

    double cumulative = 0.0;
    for (int i = 0; i < resultRows; ++i) {
        if (total != 0.0)
            cumulative += 100.0 * value(i, kCount) / total;
        value(i, kCumulativePercentage) = cumulative;
        value(i, kTotal) = 100.0;
    }
    return total;
}

void CalculerPlansCroisesRegroupes(std::vector<double>& planes, std::span<const double> counts,
                                   double grandTotal, int rows, int resultColumns, int sourceColumns,
                                   std::span<const std::int16_t> columnMap, int totalColumn,
                                   std::vector<double>& columnBases,
                                   const CrossPlanes::SignificanceSettings& settings) {
    rows = std::max(rows, 0);
    resultColumns = std::max(resultColumns, 0);
    sourceColumns = std::max(sourceColumns, 0);
    const CountMatrix matrix(counts, rows, sourceColumns);

    if (columnBases.empty()) {
        columnBases.resize(Index(sourceColumns));
        for (int c = 0; c < sourceColumns; ++c)
            columnBases[Index(c)] = matrix.ColumnTotal(c);
    }

    // Kept source columns with their result column (-1 dropped, or outside the result).
    std::vector<int> resultColumnOf(Index(sourceColumns), -1);
    for (int c = 0; c < sourceColumns && Index(c) < columnMap.size(); ++c) {
        const int j = columnMap[Index(c)];
        if (j >= 0 && j < resultColumns && j != totalColumn)
            resultColumnOf[Index(c)] = j;
    }

    GroupedCrossPlanes output(planes, matrix, rows, resultColumns);
    output.PlaceCounts(resultColumnOf);
    if (!(output.KeptTotal() > 0.0))
        return;
    if (totalColumn >= 0 && totalColumn < resultColumns)
        output.FillTotalColumn(totalColumn, grandTotal);
    output.FillKeptCells(resultColumnOf, columnBases, grandTotal, settings);
}

void PlacerLignesStatistiques(std::vector<double>& rows, std::span<const double> statistics, int resultRows,
                              int sourceCount, std::span<const std::uint16_t> codeMap, int totalRow) {
    resultRows = std::max(resultRows, 0);
    Zeroed(rows, Index(resultRows) * Index(kStatisticCount));
    const auto place = [&](int sourceRecord, int row) {
        const std::size_t from = Index(sourceRecord) * Index(kStatisticCount);
        if (!IsRow(row, resultRows) || from + Index(kStatisticCount) > statistics.size())
            return;
        std::copy_n(statistics.begin() + static_cast<std::ptrdiff_t>(from), kStatisticCount,
                    rows.begin() + static_cast<std::ptrdiff_t>(Index(row) * Index(kStatisticCount)));
    };

    const int modalities = std::max(0, std::min<int>(sourceCount, static_cast<int>(codeMap.size())));
    for (int m = 0; m < modalities; ++m) {
        if (codeMap[Index(m)] != kNotKept)
            place(m, codeMap[Index(m)]);
    }
    if (totalRow != -1)
        place(std::max(sourceCount, 0), totalRow);
}

std::uint16_t MarqueCalculTri(std::int32_t kind) {
    return MarkerOf(kFlatKinds, kMarkerPercentage, kind);
}

std::uint16_t MarqueCalculStatistique(std::int32_t kind) {
    return MarkerOf(kStatisticsKinds, kMarkerReal, kind);
}

std::uint16_t MarqueCalculMoyenne(std::int32_t kind) {
    return MarkerOf(kMeanKinds, kMarkerReal, kind);
}

} // namespace ValeursDerivees
