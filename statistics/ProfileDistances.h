#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// The two distances of the typology and the classification, between a row of the data table
// (bytes or doubles) and another row or a centre (doubles). Both take the weights of the columns
// already inverted, so that a column the distance ignores has weight 0 and costs no test.

// Chi-square distance between two profiles: the sum over the columns of
// (a_j / sa - b_j / sb)^2 x weight_j, with weight_j = 1 / c_j (0 for an empty column). A vector of
// zero sum has the profile 0: it adds no term of its own. No square root: the value is already a
// sum of squares.
template <typename A, typename B>
double DistanceKhi2Profils(const A* a, double sa, const B* b, double sb, const double* weights, int columns) {
    const double ia = sa != 0.0 ? 1.0 / sa : 0.0;
    const double ib = sb != 0.0 ? 1.0 / sb : 0.0;
    double sum = 0.0;
    for (int j = 0; j < columns; ++j) {
        const double d = static_cast<double>(a[j]) * ia - static_cast<double>(b[j]) * ib;
        sum += d * d * weights[j];
    }
    return sum;
}

// The squared standardised Euclidean distance: sum over the columns of (a_j - b_j)^2 x weight_j,
// weight_j = 1 / s_j^2 (0 for a constant column). Centring cancels between two points.
inline double CarreDistanceReduite(const double* a, const double* b, const double* weights, int columns) {
    double sum = 0.0;
    for (int j = 0; j < columns; ++j) {
        const double d = a[j] - b[j];
        sum += d * d * weights[j];
    }
    return sum;
}

// 1 / c for every c, 0 where c is 0.
inline std::vector<double> InversesNonNuls(const std::vector<double>& values, int count) {
    std::vector<double> inverses(static_cast<std::size_t>(count), 0.0);
    for (int j = 0; j < count; ++j)
        if (values[static_cast<std::size_t>(j)] != 0.0)
            inverses[static_cast<std::size_t>(j)] = 1.0 / values[static_cast<std::size_t>(j)];
    return inverses;
}

// 1 / s^2 for every deviation s, 0 where s is 0.
inline std::vector<double> PoidsReduction(const std::vector<double>& deviations, int count) {
    std::vector<double> weights(static_cast<std::size_t>(count), 0.0);
    for (int j = 0; j < count; ++j) {
        const double s = deviations[static_cast<std::size_t>(j)];
        if (s != 0.0)
            weights[static_cast<std::size_t>(j)] = 1.0 / (s * s);
    }
    return weights;
}
