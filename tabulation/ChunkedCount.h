#pragma once

#include "app/WorkerPool.h"
#include "tabulation/LaneSums.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <type_traits>
#include <vector>

// A count's units are cut into chunks of a fixed size, each counted in lanes of its own, and the
// chunks' sums are added in chunk order. The chunks are the same whatever the number of cores, so
// a table has the same last bits on every machine and in every run; only which thread counts a
// chunk varies. The chunks are shared among the threads of the process's worker pool.
inline constexpr int kChunkUnits = 1 << 16;

// The counters of every chunk, merged, and the running sums the kernel returned for each.
template <std::size_t N> struct ChunkedCount {
    std::vector<double> counters;
    std::array<double, N> sums{};
};

template <typename T> struct RunningSumCount;
template <std::size_t N>
struct RunningSumCount<std::array<double, N>> : std::integral_constant<std::size_t, N> {};

// Calls countChunk(lanes, first, last) once per chunk, lanes holding `slots` counters a lane,
// and returns the sums of them all. countChunk returns its chunk's running sums, each already
// merged across its lanes; it must only write what belongs to its own units.
template <typename CountChunk> auto CountInChunks(int units, std::size_t slots, CountChunk&& countChunk) {
    using Sums = std::invoke_result_t<CountChunk&, LaneSums&, int, int>;
    const int chunks = std::max(1, (units + kChunkUnits - 1) / kChunkUnits);
    std::vector<LaneSums> lanes(static_cast<std::size_t>(chunks), LaneSums(slots));
    std::vector<Sums> sums(static_cast<std::size_t>(chunks));
    // A failure in a task (memory) is carried back to the caller rather than ending the process.
    WorkerPool::Shared().Run(chunks, [&](int chunk) {
        const auto at = static_cast<std::size_t>(chunk);
        sums[at] = countChunk(lanes[at], chunk * kChunkUnits, std::min(units, (chunk + 1) * kChunkUnits));
    });
    ChunkedCount<RunningSumCount<Sums>::value> result;
    result.counters = lanes[0].Merged();
    result.sums = sums[0];
    for (std::size_t chunk = 1; chunk < static_cast<std::size_t>(chunks); ++chunk) {
        const std::vector<double> merged = lanes[chunk].Merged();
        for (std::size_t slot = 0; slot < merged.size(); ++slot)
            result.counters[slot] += merged[slot];
        for (std::size_t sum = 0; sum < result.sums.size(); ++sum)
            result.sums[sum] += sums[chunk][sum];
    }
    return result;
}
