#include "tools/qesbuild/RandomSource.h"

#include <cmath>
#include <numbers>

namespace qesbuild {

namespace {

std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t RotateLeft(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

} // namespace

RandomSource::RandomSource(std::uint64_t seed) {
    for (std::uint64_t& word : state_)
        word = SplitMix(seed);
}

std::uint64_t RandomSource::Next() {
    const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = RotateLeft(state_[3], 45);
    return result;
}

double RandomSource::Uniform() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

int RandomSource::Below(int n) {
    return static_cast<int>(Uniform() * n);
}

int RandomSource::Between(int low, int high) {
    return low + Below(high - low + 1);
}

std::size_t RandomSource::Pick(const std::vector<double>& weights) {
    double total = 0.0;
    for (double weight : weights)
        total += weight;
    double draw = Uniform() * total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (draw < weights[i])
            return i;
        draw -= weights[i];
    }
    // Rounding left a sliver past the end: the last index that can be drawn.
    std::size_t last = weights.size() - 1;
    while (last > 0 && weights[last] <= 0.0)
        --last;
    return last;
}

double RandomSource::Normal() {
    const double u = 1.0 - Uniform(); // (0, 1]
    const double v = Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

} // namespace qesbuild
