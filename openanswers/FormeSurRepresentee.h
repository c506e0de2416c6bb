#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The specific forms or segments of one category: the rows whose test value in that category
// is strictly positive and largest, among rows more frequent than the minimum.
struct FormeSurRepresentee {
    double value = 0.0;
    int index = -1;
};

// Up to N rows of the E x M test values (the lexical table T, (E + 1) x (M + 1), gives each
// row's margin T(i, M), which must be strictly above minimumFrequency), largest first; among
// equal values the row met first comes first, and a row equal to the N-th value does not enter.
// N <= 0 selects nothing.
std::vector<FormeSurRepresentee> SelectionnerSurRepresentees(std::span<const double> values, std::span<const std::int32_t> table,
                                                     int M, int category, int N, int minimumFrequency);
