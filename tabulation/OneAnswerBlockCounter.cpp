#include "tabulation/OneAnswerBlockCounter.h"

#include "tabulation/MoteurTableau.h"

#include <algorithm>
#include <array>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#define MORVANE_VECTOR_COUNTS 1
#else
#define MORVANE_VECTOR_COUNTS 0
#endif

namespace {

// A pass over a chunk keeps the sums of this many modalities in registers; more modalities take
// more passes, and past a few passes the unit-by-unit count is as fast.
constexpr std::size_t kMostModalitiesAPass = 8;
constexpr std::size_t kMostModalities = 16;

} // namespace

#if MORVANE_VECTOR_COUNTS

#define MORVANE_AVX2 __attribute__((target("avx2")))

namespace {

constexpr int kBlock = OneAnswerBlockCounter::kBlockUnits;

// Which units a pass adds to the respondents and the sums: none (a later pass), or those whose
// answer lies in a range of kept modalities, or is one of a list of them.
enum class RespondentTest { None, Range, List };

// The 64-bit masks of units 4Q .. 4Q + 3 of a mask of sixteen units in 16-bit lanes.
template <int Q> MORVANE_AVX2 inline __m256i QuarterOf(__m256i mask) {
    __m128i half;
    if constexpr (Q < 2)
        half = _mm256_castsi256_si128(mask);
    else
        half = _mm256_extracti128_si256(mask, 1);
    if constexpr (Q % 2 == 1)
        half = _mm_srli_si128(half, 8);
    return _mm256_cvtepi16_epi64(half);
}

// The weights of the units of the mask added to the four lanes, units in order: lane l takes unit
// l, then l + 4, l + 8 and l + 12; an unmasked unit adds +0, which changes no sum.
MORVANE_AVX2 inline __m256d AddWhere(__m256d sums, __m256i mask, const __m256d (&weights)[4]) {
    sums = _mm256_add_pd(sums, _mm256_and_pd(_mm256_castsi256_pd(QuarterOf<0>(mask)), weights[0]));
    sums = _mm256_add_pd(sums, _mm256_and_pd(_mm256_castsi256_pd(QuarterOf<1>(mask)), weights[1]));
    sums = _mm256_add_pd(sums, _mm256_and_pd(_mm256_castsi256_pd(QuarterOf<2>(mask)), weights[2]));
    return _mm256_add_pd(sums, _mm256_and_pd(_mm256_castsi256_pd(QuarterOf<3>(mask)), weights[3]));
}

// Whether each of sixteen units weighs something (a weight that is not 0), in 16-bit lanes in
// unit order. The packs interleave the two halves of the register; the permutation puts the pairs
// of units back in order.
MORVANE_AVX2 inline __m256i NotZero(__m256d weights) {
    return _mm256_castpd_si256(_mm256_cmp_pd(weights, _mm256_setzero_pd(), _CMP_NEQ_UQ));
}
MORVANE_AVX2 inline __m256i WeighsSomething(const __m256d (&weights)[4]) {
    const __m256i packed = _mm256_packs_epi16(_mm256_packs_epi32(NotZero(weights[0]), NotZero(weights[1])),
                                              _mm256_packs_epi32(NotZero(weights[2]), NotZero(weights[3])));
    return _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}

// The units whose answer is kept: within the range of the kept modalities when they follow
// each other, else one of them (`list` holds each broadcast to every lane).
template <RespondentTest R>
MORVANE_AVX2 inline __m256i KeptMask(__m256i answers, const std::int16_t* kept, std::size_t keptCount,
                                     const __m256i (&list)[kMostModalities]) {
    if constexpr (R == RespondentTest::Range) {
        const auto below = static_cast<short>(kept[0] - 1);
        const auto above = static_cast<short>(kept[keptCount - 1] + 1);
        return _mm256_and_si256(_mm256_cmpgt_epi16(answers, _mm256_set1_epi16(below)),
                                _mm256_cmpgt_epi16(_mm256_set1_epi16(above), answers));
    } else {
        __m256i any = _mm256_setzero_si256();
        for (std::size_t j = 0; j < keptCount; ++j)
            any = _mm256_or_si256(any, _mm256_cmpeq_epi16(answers, list[j]));
        return any;
    }
}

MORVANE_AVX2 inline long SumOfLanes(__m256i counts) {
    alignas(32) std::array<std::int32_t, 8> pairs{};
    _mm256_store_si256(reinterpret_cast<__m256i*>(pairs.data()),
                       _mm256_madd_epi16(counts, _mm256_set1_epi16(1)));
    long sum = 0;
    for (const std::int32_t pair : pairs)
        sum += pair;
    return sum;
}

struct PassInput {
    const std::int16_t* codes;
    const double* weights;
    int blocks;
    const std::int16_t* modalities; // the B modalities of this pass
    std::size_t modalityCount;
    const std::int16_t* kept; // every kept modality, in increasing order
    std::size_t keptCount;
};

// One pass over the blocks of a chunk for B modalities; the first pass also takes the
// respondents and the sums. A chunk has at most 65,536 units, 4,096 per 16-bit lane: the
// unweighted counts cannot overflow.
template <std::size_t B, RespondentTest R>
MORVANE_AVX2 void CountPass(const PassInput& in, LaneSums& lanes, LaneSums::Running& respondents,
                            LaneSums::Running& sums) {
    __m256d weighted[B];
    __m256i unweighted[B];
    __m256i modality[B];
    for (std::size_t b = 0; b < B; ++b) {
        weighted[b] = _mm256_setzero_pd();
        unweighted[b] = _mm256_setzero_si256();
        modality[b] = _mm256_set1_epi16(in.modalities[b]);
    }
    __m256i list[kMostModalities];
    if constexpr (R == RespondentTest::List)
        for (std::size_t j = 0; j < in.keptCount; ++j)
            list[j] = _mm256_set1_epi16(in.kept[j]);
    __m256d respondentSums = _mm256_setzero_pd();
    __m256d allSums = _mm256_setzero_pd();
    for (int block = 0; block < in.blocks; ++block) {
        const std::int16_t* codes = in.codes + static_cast<std::ptrdiff_t>(block) * kBlock;
        const double* w = in.weights + static_cast<std::ptrdiff_t>(block) * kBlock;
        const __m256i answers = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(codes));
        const __m256d weights[4] = {_mm256_loadu_pd(w), _mm256_loadu_pd(w + 4), _mm256_loadu_pd(w + 8),
                                    _mm256_loadu_pd(w + 12)};
        const __m256i weighs = WeighsSomething(weights);
        for (std::size_t b = 0; b < B; ++b) {
            const __m256i match = _mm256_cmpeq_epi16(answers, modality[b]);
            unweighted[b] = _mm256_sub_epi16(unweighted[b], _mm256_and_si256(match, weighs));
            weighted[b] = AddWhere(weighted[b], match, weights);
        }
        if constexpr (R != RespondentTest::None) {
            respondentSums =
                AddWhere(respondentSums, KeptMask<R>(answers, in.kept, in.keptCount, list), weights);
            for (const __m256d& quarter : weights)
                allSums = _mm256_add_pd(allSums, quarter);
        }
    }
    alignas(32) std::array<double, 4> lane{};
    for (std::size_t b = 0; b < B; ++b) {
        const auto k = static_cast<std::size_t>(in.modalities[b]);
        _mm256_store_pd(lane.data(), weighted[b]);
        for (std::size_t l = 0; l < LaneSums::kLanes; ++l)
            lanes.Counters(l)[k] += lane[l];
        lanes.Counters(0)[in.modalityCount + k] += static_cast<double>(SumOfLanes(unweighted[b]));
    }
    if constexpr (R != RespondentTest::None) {
        _mm256_store_pd(lane.data(), respondentSums);
        for (std::size_t l = 0; l < LaneSums::kLanes; ++l)
            respondents[l] += lane[l];
        _mm256_store_pd(lane.data(), allSums);
        for (std::size_t l = 0; l < LaneSums::kLanes; ++l)
            sums[l] += lane[l];
    }
}

using Pass = void (*)(const PassInput&, LaneSums&, LaneSums::Running&, LaneSums::Running&);

// The pass for B + 1 modalities and each respondent test, in the order of RespondentTest.
template <std::size_t... B> constexpr auto MakePasses(std::index_sequence<B...>) {
    return std::array<std::array<Pass, 3>, sizeof...(B)>{
        {{&CountPass<B + 1, RespondentTest::None>, &CountPass<B + 1, RespondentTest::Range>,
          &CountPass<B + 1, RespondentTest::List>}...}};
}
constexpr auto kPasses = MakePasses(std::make_index_sequence<kMostModalitiesAPass>{});

bool ProcessorHasVectorCounts() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}

} // namespace

#endif

OneAnswerBlockCounter::OneAnswerBlockCounter(const std::vector<std::uint16_t>& map, std::size_t modalityCount)
    : m_modalityCount(modalityCount) {
    for (std::size_t k = 0; k < map.size() && k < modalityCount; ++k)
        if (map[k] != CMoteurTableau::kNotKept)
            m_kept.push_back(static_cast<std::int16_t>(k));
    m_contiguous =
        !m_kept.empty() && static_cast<std::size_t>(m_kept.back() - m_kept.front()) + 1 == m_kept.size();
#if MORVANE_VECTOR_COUNTS
    m_applies = !m_kept.empty() && m_kept.size() <= kMostModalities && ProcessorHasVectorCounts();
#endif
}

int OneAnswerBlockCounter::Count(const std::int16_t* codes, const double* weights, int units, LaneSums& lanes,
                                 LaneSums::Running& respondents, LaneSums::Running& sums) const {
    const int blocks = units / kBlockUnits;
    if (!m_applies || blocks <= 0)
        return 0;
#if MORVANE_VECTOR_COUNTS
    // Passes of as even a size as can be: ten modalities go five and five.
    const std::size_t passes = (m_kept.size() + kMostModalitiesAPass - 1) / kMostModalitiesAPass;
    const std::size_t perPass = (m_kept.size() + passes - 1) / passes;
    const auto firstTest =
        static_cast<std::size_t>(m_contiguous ? RespondentTest::Range : RespondentTest::List);
    for (std::size_t start = 0; start < m_kept.size(); start += perPass) {
        const std::size_t size = std::min(perPass, m_kept.size() - start);
        const PassInput input{.codes = codes,
                              .weights = weights,
                              .blocks = blocks,
                              .modalities = m_kept.data() + start,
                              .modalityCount = m_modalityCount,
                              .kept = m_kept.data(),
                              .keptCount = m_kept.size()};
        kPasses[size - 1][start == 0 ? firstTest : 0](input, lanes, respondents, sums);
    }
    return blocks * kBlockUnits;
#else
    (void)codes;
    (void)weights;
    (void)lanes;
    (void)respondents;
    (void)sums;
    return 0;
#endif
}
