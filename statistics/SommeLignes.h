#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The sum of the first `columns` cells of the listed rows of a row-major table of stride
// `stride`, into out (columns doubles, overwritten). Long lists are summed in pieces of fixed
// size on the worker pool and the pieces added in list order, so that the figures depend on the
// list alone, never on the number of threads.
void SommeLignes(double* out, const std::vector<std::int32_t>& rows, const double* table, int stride, int columns);
void SommeLignes(double* out, const std::vector<std::int32_t>& rows, const std::uint8_t* table, int stride, int columns);

// The sums of the first `columns` cells of rows 0 .. rows - 1 by group: sums receives k x columns
// doubles (group-major), counts k; groupOfRow gives each row's group (0-based). The rows are
// summed in pieces of fixed size, the pieces added in row order, whatever the number of threads.
void SommesParGroupe(double* sums, double* counts, int k, const std::int32_t* groupOfRow, int rows,
                     const double* table, int stride, int columns);
void SommesParGroupe(double* sums, double* counts, int k, const std::int32_t* groupOfRow, int rows,
                     const std::uint8_t* table, int stride, int columns);

// Runs work(first, last) over 0 .. count - 1 cut into pieces of fixed size, on the worker pool.
// A piece's outcome must depend only on its own range for the result to be the same on any
// number of threads.
void ParPieces(long long count, long long pieceSize, const std::function<void(long long, long long)>& work);
