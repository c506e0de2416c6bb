#pragma once

#include <cstdint>

// The generator that draws the start centres of a typology. It is the engine's own, a linear
// congruence of 2^32 that hands out 15 bits per draw, so that one seed gives the same start
// centres, hence the same groups, on every machine and with every library.
class StartDrawGenerator {
public:
    explicit StartDrawGenerator(std::uint32_t seed) : m_state(seed) {}

    // A value of 0 .. 32767.
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }

    // An index of a pool of n > 0 candidates: trunc(r x n / 32767), the last draw (r = 32767),
    // which would name one past the end, brought back to the last candidate.
    int NextIndex(int n) {
        const int index = static_cast<int>(static_cast<double>(Next()) * static_cast<double>(n) * (1.0 / 32767.0));
        return index < n ? index : n - 1;
    }

private:
    std::uint32_t m_state;
};
