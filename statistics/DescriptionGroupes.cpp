#include "statistics/DescriptionGroupes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "tabulation/FonctionsStatistiques.h"

namespace {

using Index = std::size_t;

// Mean and population deviation of column j over the listed rows (all rows when `rows` is null),
// from centred values and clamped at 0.
void MeanDeviation(const double* table, int columns, int j, int count, const std::int32_t* rows, double& mean,
                   double& deviation) {
    auto cell = [&](int r) {
        const Index row = rows != nullptr ? static_cast<Index>(rows[r]) : static_cast<Index>(r);
        return table[row * static_cast<Index>(columns) + static_cast<Index>(j)];
    };
    mean = 0.0;
    for (int r = 0; r < count; ++r)
        mean += cell(r);
    mean /= count;
    double squares = 0.0;
    for (int r = 0; r < count; ++r)
        squares += (cell(r) - mean) * (cell(r) - mean);
    deviation = std::sqrt(std::max(0.0, squares / count));
}

} // namespace

std::vector<double> DescriptionGroupeModalites(const std::uint8_t* tableau, int lignes, int colonnes,
                                               const std::vector<std::int32_t>& membres) {
    std::vector<double> values;
    const double ng = static_cast<double>(membres.size());
    for (int j = 0; j < colonnes; ++j) {
        double nj = 0.0;
        for (int r = 0; r < lignes; ++r)
            nj += tableau[static_cast<Index>(r) * static_cast<Index>(colonnes) + static_cast<Index>(j)];
        double ngj = 0.0;
        for (std::int32_t r : membres)
            ngj += tableau[static_cast<Index>(r) * static_cast<Index>(colonnes) + static_cast<Index>(j)];
        const double p = lignes > 0 ? nj / lignes : 0.0;
        const double q = ng > 0 ? ngj / ng : 0.0;
        const double test = ng > 0 && p != 0.0 && p != 1.0 ? (q - p) / std::sqrt(p * (1 - p) / ng) : 0.0;
        values.insert(values.end(), {test, ngj, q * 100.0, p * 100.0});
    }
    return values;
}

std::vector<double> DescriptionGroupeNumerique(const double* tableau, int lignes, int colonnes,
                                               const std::vector<std::int32_t>& membres) {
    std::vector<double> values;
    const int ng = static_cast<int>(membres.size());
    for (int j = 0; j < colonnes; ++j) {
        double m = 0.0;
        double s = 0.0;
        if (lignes > 0)
            MeanDeviation(tableau, colonnes, j, lignes, nullptr, m, s);
        if (ng == 0) {
            values.insert(values.end(), {kValeurManquante, kValeurManquante, kValeurManquante, m, s});
            continue;
        }
        double mg = 0.0;
        double sg = 0.0;
        MeanDeviation(tableau, colonnes, j, ng, membres.data(), mg, sg);
        const double test = s != 0.0 ? std::sqrt(static_cast<double>(ng)) * (mg - m) / s : 0.0;
        values.insert(values.end(), {test, mg, sg, m, s});
    }
    return values;
}
