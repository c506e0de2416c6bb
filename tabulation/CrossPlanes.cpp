#include "tabulation/CrossPlanes.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/Enquete.h"
#include "tabulation/FonctionsStatistiques.h"

namespace CrossPlanes {
namespace {

// Which denominators the percentages and the Total cells use.
enum class Base { Respondents, Answers };

// 100 x numerator / denominator; the missing value when the denominator is 0.
double Percentage(double numerator, double denominator) {
    return denominator != 0.0 ? 100.0 * numerator / denominator : kValeurManquante;
}

class PlaneCalculation {
public:
    PlaneCalculation(std::vector<double>& planes, std::span<const double> matrix, int lines, int rowModalities,
                std::span<const std::int16_t> rowMap, int totalLine, int columns,
                int columnModalities, std::span<const std::int16_t> columnMap, int totalColumn,
                const SignificanceSettings& settings, Base base)
        : m_planes(planes), m_matrix(matrix), m_R(lines), m_r(rowModalities), m_C(columns),
          m_c(columnModalities), m_totalLine(InsideTable(totalLine, lines)),
          m_totalColumn(InsideTable(totalColumn, columns)), m_settings(settings), m_base(base) {
        m_linePositions = Positions(rowMap, rowModalities, lines);
        m_columnPositions = Positions(columnMap, columnModalities, columns);
    }

    void Run() {
        m_planes.assign(static_cast<std::size_t>(kPlaneCount) * m_R * m_C, 0.0);
        if (m_matrix.size() < static_cast<std::size_t>(m_r + 1) * (m_c + 1)) {
            return;
        }
        SumKeptCells();
        if (!(m_keptTotal > 0.0)) {
            return;
        }
        WriteCounts();
        WriteTotalLine();
        WriteTotalColumn();
        WriteCorner();
        WriteCellPercentages();
        WriteTests();
        FinishTotals();
    }

private:
    static int InsideTable(int position, int extent) { return position >= 0 && position < extent ? position : -1; }

    // Positions of the kept modalities; entries outside the table count as not kept.
    static std::vector<int> Positions(std::span<const std::int16_t> map, int modalities, int extent) {
        std::vector<int> positions(static_cast<std::size_t>(std::max(modalities, 0)), -1);
        for (int m = 0; m < modalities && m < static_cast<int>(map.size()); ++m) {
            positions[static_cast<std::size_t>(m)] = InsideTable(map[static_cast<std::size_t>(m)], extent);
        }
        return positions;
    }

    double& PlaneAt(int p, int i, int j) { return m_planes[(static_cast<std::size_t>(p) * m_R + i) * m_C + j]; }
    double Cell(int a, int b) const { return m_matrix[static_cast<std::size_t>(a) * (m_c + 1) + b]; }
    double RowMargin(int a) const { return Cell(a, m_c); }
    double ColumnMargin(int b) const { return Cell(m_r, b); }
    double Total() const { return Cell(m_r, m_c); }
    int LineOf(int a) const { return m_linePositions[static_cast<std::size_t>(a)]; }
    int ColumnOf(int b) const { return m_columnPositions[static_cast<std::size_t>(b)]; }
    bool OverAnswers() const { return m_base == Base::Answers; }

    // What the Total cells show and divide by: the respondent margins, or the sums of kept cells.
    double LineValue(int a) const { return OverAnswers() ? m_keptLineSums[static_cast<std::size_t>(a)] : RowMargin(a); }
    double ColumnValue(int b) const {
        return OverAnswers() ? m_keptColumnSums[static_cast<std::size_t>(b)] : ColumnMargin(b);
    }
    double TotalValue() const { return OverAnswers() ? m_keptTotal : Total(); }
    double TotalAffinity() const { return OverAnswers() ? 0.0 : 100.0; }

    template <class F> void ForEachKeptPair(F&& f) {
        for (int a = 0; a < m_r; ++a) {
            if (LineOf(a) < 0) continue;
            for (int b = 0; b < m_c; ++b) {
                if (ColumnOf(b) < 0) continue;
                f(a, b, LineOf(a), ColumnOf(b));
            }
        }
    }

    void SumKeptCells() {
        m_keptLineSums.assign(static_cast<std::size_t>(m_r), 0.0);
        m_keptColumnSums.assign(static_cast<std::size_t>(m_c), 0.0);
        m_keptTotal = 0.0;
        ForEachKeptPair([&](int a, int b, int, int) {
            const double o = Cell(a, b);
            m_keptLineSums[static_cast<std::size_t>(a)] += o;
            m_keptColumnSums[static_cast<std::size_t>(b)] += o;
            m_keptTotal += o;
        });
    }

    void WriteCounts() {
        ForEachKeptPair([&](int a, int b, int i, int j) { PlaneAt(kCount, i, j) = Cell(a, b); });
    }

    void WriteTotalLine() {
        if (m_totalLine < 0) return;
        for (int b = 0; b < m_c; ++b) {
            const int j = ColumnOf(b);
            if (j < 0) continue;
            const double value = ColumnValue(b);
            PlaneAt(kCount, m_totalLine, j) = value;
            PlaneAt(kRowPercentage, m_totalLine, j) = Percentage(value, TotalValue());
            // An empty column has no profile: its Total shows nothing rather than 100 %.
            PlaneAt(kColumnPercentage, m_totalLine, j) = Percentage(value, value);
            PlaneAt(kTotalPercentage, m_totalLine, j) = Percentage(value, TotalValue());
            PlaneAt(kAffinity, m_totalLine, j) = TotalAffinity();
        }
    }

    void WriteTotalColumn() {
        if (m_totalColumn < 0) return;
        for (int a = 0; a < m_r; ++a) {
            const int i = LineOf(a);
            if (i < 0) continue;
            const double value = LineValue(a);
            PlaneAt(kCount, i, m_totalColumn) = value;
            PlaneAt(kRowPercentage, i, m_totalColumn) = Percentage(value, value);
            PlaneAt(kColumnPercentage, i, m_totalColumn) = Percentage(value, TotalValue());
            PlaneAt(kTotalPercentage, i, m_totalColumn) = Percentage(value, TotalValue());
            PlaneAt(kAffinity, i, m_totalColumn) = TotalAffinity();
        }
    }

    void WriteCorner() {
        if (m_totalLine < 0 || m_totalColumn < 0) return;
        PlaneAt(kCount, m_totalLine, m_totalColumn) = TotalValue();
        for (int p : {kRowPercentage, kColumnPercentage, kTotalPercentage}) {
            PlaneAt(p, m_totalLine, m_totalColumn) = Percentage(TotalValue(), TotalValue());
        }
        PlaneAt(kAffinity, m_totalLine, m_totalColumn) = TotalAffinity();
    }

    void WriteCellPercentages() {
        const double n = Total();
        ForEachKeptPair([&](int a, int b, int i, int j) {
            const double o = Cell(a, b);
            // A line or column that nobody answered has no profile: its shares are the missing value.
            PlaneAt(kRowPercentage, i, j) = Percentage(o, LineValue(a));
            PlaneAt(kColumnPercentage, i, j) = Percentage(o, ColumnValue(b));
            if (!OverAnswers() && n > 0.0) {
                // The column percentage of the cell over the share of its line in the total; a line
                // or column nobody answered has no profile to compare, so no affinity either.
                const bool profiled = RowMargin(a) > 0.0 && ColumnValue(b) > 0.0;
                PlaneAt(kAffinity, i, j) =
                    profiled ? 100.0 * PlaneAt(kColumnPercentage, i, j) / (100.0 * RowMargin(a) / n) : kValeurManquante;
            }
            PlaneAt(kTotalPercentage, i, j) = Percentage(o, n);
        });
    }

    // Two proportions compared: the cell's share of its group against the share of the rest.
    static std::optional<double> TwoGroupTest(double cell, double group, double otherMargin, double total) {
        const double c1 = group;
        const double c2 = total - c1;
        if (!(c1 > 0.0) || !(c2 > 0.0)) return std::nullopt;
        const double p1 = cell / c1;
        const double p2 = (otherMargin - cell) / c2;
        const double variance = p2 * (1.0 - p2) / c2 + p1 * (1.0 - p1) / c1;
        if (!(variance > 0.0)) return std::nullopt;
        return (p1 - p2) / std::sqrt(variance);
    }

    std::optional<double> TestValue(int a, int b, double expected) const {
        const double n = Total();
        const double o = Cell(a, b);
        switch (m_settings.type) {
        case 0: {
            const double p = expected / n;
            const double variance = p * (1.0 - p) / n;
            if (!(variance > 0.0)) return std::nullopt;
            return (o / n - p) / std::sqrt(variance);
        }
        case 1:
            return TwoGroupTest(o, ColumnMargin(b), RowMargin(a), n);
        case 2:
            return TwoGroupTest(o, RowMargin(a), ColumnMargin(b), n);
        default:
            return std::nullopt;
        }
    }

    void WriteTests() {
        const double n = Total();
        ForEachKeptPair([&](int a, int b, int i, int j) {
            if (!(n > 0.0)) {
                PlaneAt(kExpectedCount, i, j) = kValeurManquante;
                return;
            }
            const double expected = RowMargin(a) * ColumnMargin(b) / n;
            PlaneAt(kExpectedCount, i, j) = expected;
            const std::optional<double> z = TestValue(a, b, expected);
            if (!z) return;
            PlaneAt(kTestValue, i, j) = *z;
            if (expected >= m_settings.minimumExpectedCount) {
                PlaneAt(kMark, i, j) = SignificanceMark(*z, m_settings);
            }
        });
    }

    void FinishTotalCell(int i, int j) {
        PlaneAt(kExpectedCount, i, j) = PlaneAt(kCount, i, j);
        PlaneAt(kMark, i, j) = 0.0;
        PlaneAt(kTestValue, i, j) = kValeurManquante;
    }

    void FinishTotals() {
        if (m_totalLine >= 0) {
            for (int j = 0; j < m_C; ++j) FinishTotalCell(m_totalLine, j);
        }
        if (m_totalColumn >= 0) {
            for (int i = 0; i < m_R; ++i) FinishTotalCell(i, m_totalColumn);
        }
    }

    std::vector<double>& m_planes;
    std::span<const double> m_matrix;
    int m_R;
    int m_r;
    int m_C;
    int m_c;
    int m_totalLine;
    int m_totalColumn;
    const SignificanceSettings& m_settings;
    Base m_base;
    std::vector<int> m_linePositions;
    std::vector<int> m_columnPositions;
    std::vector<double> m_keptLineSums;
    std::vector<double> m_keptColumnSums;
    double m_keptTotal = 0.0;
};

} // namespace

SignificanceSettings SignificanceSettings::FromSurvey(const CEnquete& survey) {
    SignificanceSettings settings;
    settings.minimumExpectedCount = survey.EffectifSignificativite;
    settings.type = survey.SignificanceType;
    settings.threshold1 = survey.SignificanceThreshold1;
    settings.threshold2 = survey.SignificanceThreshold2;
    settings.threshold3 = survey.SignificanceThreshold3;
    return settings;
}

int SignificanceMark(double z, const SignificanceSettings& settings) {
    if (z > 0.0) {
        if (z > settings.threshold3) return 3;
        if (z > settings.threshold2) return 2;
        if (z > settings.threshold1) return 1;
        return 0;
    }
    if (z < -settings.threshold3) return -3;
    if (z < -settings.threshold2) return -2;
    if (z < -settings.threshold1) return -1;
    return 0;
}

void CalculerPourcentages(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                          int rowModalityCount, std::span<const std::int16_t> rowMap,
                          int totalLinePosition, int columnCount, int columnModalityCount,
                          std::span<const std::int16_t> columnMap, int totalColumnPosition,
                          const SignificanceSettings& settings) {
    PlaneCalculation(planes, matrix, lineCount, rowModalityCount, rowMap, totalLinePosition,
                columnCount, columnModalityCount, columnMap, totalColumnPosition, settings,
                Base::Respondents)
        .Run();
}

void CalculerPourcentagesReponses(std::vector<double>& planes, std::span<const double> matrix, int lineCount,
                                  int rowModalityCount, std::span<const std::int16_t> rowMap,
                                  int totalLinePosition, int columnCount, int columnModalityCount,
                                  std::span<const std::int16_t> columnMap, int totalColumnPosition,
                                  const SignificanceSettings& settings) {
    PlaneCalculation(planes, matrix, lineCount, rowModalityCount, rowMap, totalLinePosition,
                columnCount, columnModalityCount, columnMap, totalColumnPosition, settings,
                Base::Answers)
        .Run();
}

void CalculerKhiDeux(std::span<const double> planes, int lineCount, int columnCount, int excludedLine,
                     int excludedColumn, double& chiSquare, int& degreesOfFreedom, double& probability) {
    const bool lineExcluded = excludedLine >= 0 && excludedLine < lineCount;
    const bool columnExcluded = excludedColumn >= 0 && excludedColumn < columnCount;
    const std::size_t planeSize = static_cast<std::size_t>(std::max(lineCount, 0)) * std::max(columnCount, 0);
    chiSquare = kValeurManquante;
    probability = kValeurManquante;
    degreesOfFreedom = 0;
    if (planes.size() < planeSize * kPlaneCount) return;
    // Only the lines and columns that hold a summed cell count in the degrees of freedom: a
    // modality nobody chose (the "Non interrogé" line of a question asked of everyone) has no
    // expected count, adds nothing to the sum and constrains nothing.
    std::vector<bool> lineSummed(static_cast<std::size_t>(std::max(lineCount, 0)), false);
    std::vector<bool> columnSummed(static_cast<std::size_t>(std::max(columnCount, 0)), false);
    double sum = 0.0;
    for (int i = 0; i < lineCount; ++i) {
        if (lineExcluded && i == excludedLine) continue;
        for (int j = 0; j < columnCount; ++j) {
            if (columnExcluded && j == excludedColumn) continue;
            const std::size_t position = static_cast<std::size_t>(i) * columnCount + j;
            const double expected = planes[kExpectedCount * planeSize + position];
            if (!(expected > 0.0)) continue;
            const double deviation = expected - planes[kCount * planeSize + position];
            sum += deviation * deviation / expected;
            lineSummed[static_cast<std::size_t>(i)] = true;
            columnSummed[static_cast<std::size_t>(j)] = true;
        }
    }
    const auto lines = std::count(lineSummed.begin(), lineSummed.end(), true);
    const auto columns = std::count(columnSummed.begin(), columnSummed.end(), true);
    if (lines == 0) return;
    chiSquare = sum;
    // Fewer than two such lines or columns: no test (0 degrees of freedom, no probability).
    if (lines < 2 || columns < 2) return;
    degreesOfFreedom = static_cast<int>((lines - 1) * (columns - 1));
    probability = ProbaKhiDeux(chiSquare, degreesOfFreedom);
}

} // namespace CrossPlanes
