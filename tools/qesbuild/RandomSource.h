#pragma once

#include <cstdint>
#include <vector>

namespace qesbuild {

// A seeded pseudo-random source whose sequence is the same on every machine and library (the
// standard distributions are not), so that generated fixtures are byte-for-byte reproducible.
// The generator is xoshiro256**, seeded through splitmix64.
class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed);

    std::uint64_t Next();
    // Uniform in [0, 1), from the top 53 bits.
    double Uniform();
    // Uniform whole number in [0, n), n > 0.
    int Below(int n);
    // Uniform whole number in [low, high].
    int Between(int low, int high);
    bool Chance(double probability) { return Uniform() < probability; }
    // An index drawn with probability proportional to its weight (weights >= 0, some > 0).
    std::size_t Pick(const std::vector<double>& weights);
    // Standard normal draw (Box-Muller).
    double Normal();

private:
    std::uint64_t state_[4];
};

} // namespace qesbuild
