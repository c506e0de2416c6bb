#pragma once

#include <cmath>
#include <cstdint>

// A small deterministic generator for the benchmarks' synthetic data, so that a data set is the
// same at every run.
class BenchGenerator {
public:
    explicit BenchGenerator(std::uint64_t seed) : m_state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    std::uint32_t Next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_state >> 33);
    }
    // In [0, 1).
    double Uniform() { return Next() / 2147483648.0; }
    // A standard normal value (Box-Muller, the logarithm kept away from 0).
    double Normal() {
        const double u = (Next() + 0.5) / 2147483648.0;
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * Uniform());
    }

private:
    std::uint64_t m_state;
};
