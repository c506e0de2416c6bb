#include "tabulation/OneAnswerCrossCounter.h"

#include "tabulation/MoteurTableau.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#define MORVANE_BLOCK_CROSS 1
#define MORVANE_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))
#else
#define MORVANE_BLOCK_CROSS 0
#endif

namespace {

constexpr std::int32_t kNotKept = -1;

// By answer index below the map's size, then one entry for every other answer (an empty cell,
// a code beyond the map): `inside` for a kept answer below `count`, `beyond` for a kept one past
// it, kNotKept otherwise.
std::vector<std::int32_t> AnswerTable(const std::vector<std::uint16_t>& map, std::size_t count, std::int32_t scale,
                                      std::int32_t beyond) {
    std::vector<std::int32_t> table(map.size() + 1, kNotKept);
    for (std::size_t answer = 0; answer < map.size(); ++answer)
        if (map[answer] != CMoteurTableau::kNotKept)
            table[answer] = answer < count ? static_cast<std::int32_t>(answer) * scale : beyond;
    return table;
}

// The table entry of an answer: a negative answer (the empty cell) becomes a huge index, so that
// one comparison sends it to the last entry too.
inline std::int32_t Entry(const std::int32_t* table, std::size_t last, std::int16_t answer) {
    const auto index = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(answer));
    return table[std::min(index, last)];
}

constexpr int kBlockUnits = 32;

// The table cut to 32 entries of 16 bits, every entry past the map's last one that of an answer
// beyond it; empty when the map or the counters do not fit.
std::vector<std::int16_t> BlockTable(const std::vector<std::int32_t>& table, std::size_t slots) {
    if (table.size() > static_cast<std::size_t>(kBlockUnits) || slots > 0x7FFF)
        return {};
    std::vector<std::int16_t> block(kBlockUnits, static_cast<std::int16_t>(table.back()));
    for (std::size_t answer = 0; answer + 1 < table.size(); ++answer)
        block[answer] = static_cast<std::int16_t>(table[answer]);
    return block;
}

bool ProcessorHasBlockLookups() {
#if MORVANE_BLOCK_CROSS
    static const bool has = __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
                            __builtin_cpu_supports("avx512vl") != 0;
    return has;
#else
    return false;
#endif
}

} // namespace

OneAnswerCrossCounter::OneAnswerCrossCounter(const std::vector<std::uint16_t>& rowMap, std::size_t r,
                                             const std::vector<std::uint16_t>& columnMap, std::size_t c)
    : m_r(r), m_c(c), m_stride(c + 1) {
    // Lines 0 .. r-1, then a spare line for kept answers beyond r; in each line the c columns,
    // then a spare column for kept answers beyond c.
    const auto stride = static_cast<std::int32_t>(m_stride);
    m_rowStart = AnswerTable(rowMap, r, stride, static_cast<std::int32_t>(r) * stride);
    m_columnOffset = AnswerTable(columnMap, c, 1, static_cast<std::int32_t>(c));
    if (ProcessorHasBlockLookups()) {
        m_rowStartBlock = BlockTable(m_rowStart, Slots());
        m_columnOffsetBlock = BlockTable(m_columnOffset, Slots());
        m_byBlocks = !m_rowStartBlock.empty() && !m_columnOffsetBlock.empty();
    }
}

double OneAnswerCrossCounter::Count(const std::int16_t* rowCells, const std::int16_t* columnCells,
                                    const double* weights, int first, int last, LaneSums& lanes,
                                    std::uint8_t* marks) const {
    return marks != nullptr ? CountUnits<true>(rowCells, columnCells, weights, first, last, lanes, marks)
                            : CountUnits<false>(rowCells, columnCells, weights, first, last, lanes, nullptr);
}

template <bool Marked>
double OneAnswerCrossCounter::CountUnits(const std::int16_t* rowCells, const std::int16_t* columnCells,
                                         const double* weights, int first, int last, LaneSums& lanes,
                                         std::uint8_t* marks) const {
    // Everything the loop reads held in locals: stores through the counters (and the marks, a
    // byte array that may alias anything) would otherwise have it read again at every unit.
    const std::int32_t* rowStart = m_rowStart.data();
    const std::int32_t* columnOffset = m_columnOffset.data();
    const std::size_t lastRow = m_rowStart.size() - 1;
    const std::size_t lastColumn = m_columnOffset.size() - 1;
    double* const counters[LaneSums::kLanes] = {lanes.Counters(0), lanes.Counters(1), lanes.Counters(2),
                                                lanes.Counters(3)};
    LaneSums::Running sums{};
    first += CountBlocks<Marked>(rowCells, columnCells, weights, first, last, lanes, sums, marks);
    LaneSums::ForEachUnit(first, last, [&](int unit, auto lane) {
        const auto at = static_cast<std::size_t>(unit);
        const std::int32_t line = Entry(rowStart, lastRow, rowCells[at]);
        const std::int32_t column = Entry(columnOffset, lastColumn, columnCells[at]);
        if ((line | column) < 0)
            return;
        const double w = weights[at];
        counters[lane][line + column] += w;
        sums[lane] += w;
        if constexpr (Marked)
            marks[at] = 1;
    });
    return LaneSums::Merge(sums);
}

#if MORVANE_BLOCK_CROSS

namespace {

// The cells of 32 units, the spare last counter for a unit whose pair is not kept; and which
// units are kept.
struct BlockCounters {
    alignas(64) std::int16_t cell[kBlockUnits];
    __mmask32 kept;
};

struct BlockTables {
    __m512i rowStart;
    __m512i columnOffset;
    __m512i rowLast;
    __m512i columnLast;
    __m512i spare;
};

MORVANE_AVX512 inline void LookUp(const BlockTables& tables, const std::int16_t* rows, const std::int16_t* columns,
                                  BlockCounters& out) {
    // An answer past the map (the empty cell too, as a huge unsigned value) takes the last entry.
    const __m512i rowIndex = _mm512_min_epu16(_mm512_loadu_si512(rows), tables.rowLast);
    const __m512i columnIndex = _mm512_min_epu16(_mm512_loadu_si512(columns), tables.columnLast);
    const __m512i line = _mm512_permutexvar_epi16(rowIndex, tables.rowStart);
    const __m512i column = _mm512_permutexvar_epi16(columnIndex, tables.columnOffset);
    const __m512i zero = _mm512_setzero_si512();
    out.kept = _mm512_cmpge_epi16_mask(line, zero) & _mm512_cmpge_epi16_mask(column, zero);
    _mm512_store_si512(out.cell, _mm512_mask_blend_epi16(out.kept, tables.spare, _mm512_add_epi16(line, column)));
}

// The weights of the kept units added to the lanes' running sums, four units at a time in unit
// order: lane l takes units l, l + 4, ... of the block.
MORVANE_AVX512 inline __m256d AddKeptWeights(__m256d sums, const double* weights, __mmask32 kept) {
    for (int group = 0; group < kBlockUnits / 4; ++group)
        sums = _mm256_mask_add_pd(sums, static_cast<__mmask8>((kept >> (4 * group)) & 0xF), sums,
                                  _mm256_loadu_pd(weights + 4 * group));
    return sums;
}

} // namespace

template <bool Marked>
MORVANE_AVX512 int OneAnswerCrossCounter::CountBlocks(const std::int16_t* rowCells, const std::int16_t* columnCells,
                                                      const double* weights, int first, int last, LaneSums& lanes,
                                                      LaneSums::Running& sums, std::uint8_t* marks) const {
    const int blocks = m_byBlocks ? (last - first) / kBlockUnits : 0;
    if (blocks <= 0)
        return 0;
    const BlockTables tables{
        .rowStart = _mm512_loadu_si512(m_rowStartBlock.data()),
        .columnOffset = _mm512_loadu_si512(m_columnOffsetBlock.data()),
        .rowLast = _mm512_set1_epi16(static_cast<short>(m_rowStart.size() - 1)),
        .columnLast = _mm512_set1_epi16(static_cast<short>(m_columnOffset.size() - 1)),
        .spare = _mm512_set1_epi16(static_cast<short>(Slots() - 1)),
    };
    double* const counters[LaneSums::kLanes] = {lanes.Counters(0), lanes.Counters(1), lanes.Counters(2),
                                                lanes.Counters(3)};
    __m256d running = _mm256_loadu_pd(sums.data());
    BlockCounters block;
    for (int b = 0; b < blocks; ++b) {
        const auto at = static_cast<std::size_t>(first + b * kBlockUnits);
        LookUp(tables, rowCells + at, columnCells + at, block);
        const double* w = weights + at;
        running = AddKeptWeights(running, w, block.kept);
        if constexpr (Marked)
            _mm256_mask_storeu_epi8(marks + at, block.kept, _mm256_set1_epi8(1));
        for (int unit = 0; unit < kBlockUnits; unit += 4) {
            LaneSums::ForEachUnit(unit, unit + 4, [&](int u, auto lane) {
                const auto i = static_cast<std::size_t>(u);
                counters[lane][block.cell[i]] += w[i];
            });
        }
    }
    _mm256_storeu_pd(sums.data(), running);
    return blocks * kBlockUnits;
}

#else

template <bool Marked>
int OneAnswerCrossCounter::CountBlocks(const std::int16_t*, const std::int16_t*, const double*, int, int, LaneSums&,
                                       LaneSums::Running&, std::uint8_t*) const {
    return 0;
}

#endif

std::vector<double> OneAnswerCrossCounter::Matrix(const std::vector<double>& counters, double total) const {
    // A line margin takes the line's columns then its spare column; a column margin the column's
    // lines then the spare line. The spare line's spare column holds pairs kept beyond both (and,
    // counted by blocks, the units not kept): the total only.
    const std::size_t stride = m_c + 1;
    std::vector<double> matrix((m_r + 1) * stride, 0.0);
    double* const columnMargins = matrix.data() + m_r * stride;
    for (std::size_t a = 0; a < m_r; ++a) {
        const double* line = counters.data() + a * m_stride;
        double* out = matrix.data() + a * stride;
        double lineMargin = 0.0;
        for (std::size_t b = 0; b < m_c; ++b) {
            out[b] = line[b];
            lineMargin += line[b];
            columnMargins[b] += line[b];
        }
        out[m_c] = lineMargin + line[m_c];
    }
    const double* spareLine = counters.data() + m_r * m_stride;
    for (std::size_t b = 0; b < m_c; ++b)
        columnMargins[b] += spareLine[b];
    columnMargins[m_c] = total;
    return matrix;
}
