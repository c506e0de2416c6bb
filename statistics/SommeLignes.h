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

// Runs work(first, last) over 0 .. count - 1 cut into pieces of fixed size, on the worker pool.
// A piece's outcome must depend only on its own range for the result to be the same on any
// number of threads.
void ParPieces(long long count, long long pieceSize, const std::function<void(long long, long long)>& work);
