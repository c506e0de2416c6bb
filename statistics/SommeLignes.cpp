#include "statistics/SommeLignes.h"

#include <algorithm>
#include <cstddef>

#include "app/WorkerPool.h"

namespace {

// Rows per piece: large enough that a piece's work outweighs handing it to a thread.
constexpr long long kLignesParPiece = 32768;

template <typename T>
void SumRange(double* out, const std::int32_t* rows, long long count, const T* table, int stride, int columns) {
    std::fill(out, out + columns, 0.0);
    for (long long r = 0; r < count; ++r) {
        const T* row = table + static_cast<std::size_t>(rows[r]) * static_cast<std::size_t>(stride);
        for (int j = 0; j < columns; ++j)
            out[j] += static_cast<double>(row[j]);
    }
}

template <typename T>
void Sum(double* out, const std::vector<std::int32_t>& rows, const T* table, int stride, int columns) {
    const long long count = static_cast<long long>(rows.size());
    const long long pieces = (count + kLignesParPiece - 1) / kLignesParPiece;
    if (pieces <= 1) {
        SumRange(out, rows.data(), count, table, stride, columns);
        return;
    }
    std::vector<double> partial(static_cast<std::size_t>(pieces) * static_cast<std::size_t>(columns));
    ParPieces(count, kLignesParPiece, [&](long long first, long long last) {
        SumRange(partial.data() + static_cast<std::size_t>(first / kLignesParPiece) * static_cast<std::size_t>(columns),
                 rows.data() + first, last - first, table, stride, columns);
    });
    std::fill(out, out + columns, 0.0);
    for (long long p = 0; p < pieces; ++p)
        for (int j = 0; j < columns; ++j)
            out[j] += partial[static_cast<std::size_t>(p) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(j)];
}

} // namespace

void ParPieces(long long count, long long pieceSize, const std::function<void(long long, long long)>& work) {
    if (count <= 0)
        return;
    const long long pieces = (count + pieceSize - 1) / pieceSize;
    if (pieces == 1) {
        work(0, count);
        return;
    }
    WorkerPool::Shared().Run(static_cast<int>(pieces), [&](int piece) {
        const long long first = static_cast<long long>(piece) * pieceSize;
        work(first, std::min(count, first + pieceSize));
    });
}

void SommeLignes(double* out, const std::vector<std::int32_t>& rows, const double* table, int stride, int columns) {
    Sum(out, rows, table, stride, columns);
}

void SommeLignes(double* out, const std::vector<std::int32_t>& rows, const std::uint8_t* table, int stride,
                 int columns) {
    Sum(out, rows, table, stride, columns);
}
