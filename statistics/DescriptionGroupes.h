#pragma once

#include <cstdint>
#include <vector>

// What describes a group of rows of a typology or a classification, column by column, against
// all the rows described (the caller chooses them: every row of a typology, the active rows of
// a classification). Tables are row-major with `columns` cells per row; every column is
// described, active or illustrative.

// Modalities (a 0/1 table): per column, 4 values: the test value (q - p) / sqrt(p (1 - p) / n_g)
// of the group's share q against the overall share p (0 for an empty group, or when p is 0 or
// 1), the group's rows holding the modality, q x 100 (0 for an empty group) and p x 100.
std::vector<double> DescriptionGroupeModalites(const std::uint8_t* tableau, int lignes, int colonnes,
                                               const std::vector<std::int32_t>& membres);

// Numeric values: per column, 5 values: the test value sqrt(n_g) (m_g - m) / s (0 when s is 0),
// the group's mean and population deviation, the overall mean and population deviation; an
// empty group has -999999.99 in its first three places.
std::vector<double> DescriptionGroupeNumerique(const double* tableau, int lignes, int colonnes,
                                               const std::vector<std::int32_t>& membres);
