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

template <typename T>
void SumByGroup(double* sums, double* counts, int k, const std::int32_t* groupOfRow, int rows, const T* table,
                int stride, int columns) {
    const std::size_t width = static_cast<std::size_t>(k) * static_cast<std::size_t>(columns);
    const long long pieces = (rows + kLignesParPiece - 1) / kLignesParPiece;
    std::vector<double> partialSums(static_cast<std::size_t>(std::max(pieces, 1LL)) * width, 0.0);
    std::vector<double> partialCounts(static_cast<std::size_t>(std::max(pieces, 1LL)) * static_cast<std::size_t>(k), 0.0);
    ParPieces(rows, kLignesParPiece, [&](long long first, long long last) {
        const std::size_t piece = static_cast<std::size_t>(first / kLignesParPiece);
        double* pieceSums = partialSums.data() + piece * width;
        double* pieceCounts = partialCounts.data() + piece * static_cast<std::size_t>(k);
        for (long long i = first; i < last; ++i) {
            const std::int32_t g = groupOfRow[i];
            const T* row = table + static_cast<std::size_t>(i) * static_cast<std::size_t>(stride);
            double* sum = pieceSums + static_cast<std::size_t>(g) * static_cast<std::size_t>(columns);
            for (int j = 0; j < columns; ++j)
                sum[j] += static_cast<double>(row[j]);
            pieceCounts[g] += 1.0;
        }
    });
    std::fill(sums, sums + width, 0.0);
    std::fill(counts, counts + k, 0.0);
    for (long long p = 0; p < std::max(pieces, 1LL); ++p) {
        for (std::size_t c = 0; c < width; ++c)
            sums[c] += partialSums[static_cast<std::size_t>(p) * width + c];
        for (int g = 0; g < k; ++g)
            counts[g] += partialCounts[static_cast<std::size_t>(p) * static_cast<std::size_t>(k) + static_cast<std::size_t>(g)];
    }
}

} // namespace

void SommesParGroupe(double* sums, double* counts, int k, const std::int32_t* groupOfRow, int rows,
                     const double* table, int stride, int columns) {
    SumByGroup(sums, counts, k, groupOfRow, rows, table, stride, columns);
}

void SommesParGroupe(double* sums, double* counts, int k, const std::int32_t* groupOfRow, int rows,
                     const std::uint8_t* table, int stride, int columns) {
    SumByGroup(sums, counts, k, groupOfRow, rows, table, stride, columns);
}

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
