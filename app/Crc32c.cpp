#include "app/Crc32c.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <nmmintrin.h>
#define MORVANE_CRC32C_HARDWARE 1
#endif

namespace {

constexpr std::uint32_t kPolynomial = 0x82F63B78; // reflected

// ---- Polynomials modulo the CRC's polynomial (bit 31 is x^0), to shift and join checksums ----

// a x b modulo the polynomial; a must not be 0.
std::uint32_t MultiplyModulo(std::uint32_t a, std::uint32_t b) {
    std::uint32_t product = 0;
    for (std::uint32_t bit = 1u << 31;; bit >>= 1) {
        if ((a & bit) != 0) {
            product ^= b;
            if ((a & (bit - 1)) == 0)
                break;
        }
        b = (b & 1) != 0 ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

// x^(2^n) for n = 0 .. 31.
constexpr std::array<std::uint32_t, 32> PowersOfTwoTable() {
    std::array<std::uint32_t, 32> powers{};
    std::uint32_t power = 1u << 30; // x^1
    for (std::size_t n = 0; n < powers.size(); ++n) {
        powers[n] = power;
        // power := power x power, as MultiplyModulo, in a form the compiler can evaluate.
        std::uint32_t product = 0;
        std::uint32_t b = power;
        for (std::uint32_t bit = 1u << 31; bit != 0; bit >>= 1) {
            if ((power & bit) != 0)
                product ^= b;
            b = (b & 1) != 0 ? (b >> 1) ^ kPolynomial : b >> 1;
        }
        power = product;
    }
    return powers;
}
constexpr std::array<std::uint32_t, 32> kPowersOfTwo = PowersOfTwoTable();

// x^(8 x bytes): what a register is multiplied by when that many bytes follow.
std::uint32_t ShiftFor(std::uint64_t bytes) {
    std::uint32_t power = 1u << 31; // x^0
    for (unsigned k = 3; bytes != 0; bytes >>= 1, ++k)
        if ((bytes & 1) != 0)
            power = MultiplyModulo(kPowersOfTwo[k & 31], power);
    return power;
}

// ---- Tables, eight bytes at a time ----

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
    Tables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) != 0 ? (crc >> 1) ^ kPolynomial : crc >> 1;
        tables[0][i] = crc;
    }
    for (std::size_t k = 1; k < tables.size(); ++k)
        for (std::size_t i = 0; i < 256; ++i)
            tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
    return tables;
}
constexpr Tables kTables = MakeTables();

std::uint32_t LoadLittleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// The register (the checksum before its final inversion) carried over the bytes.
std::uint32_t TableRegister(std::uint32_t reg, const std::uint8_t* bytes, std::size_t size) {
    for (; size >= 8; bytes += 8, size -= 8) {
        const std::uint32_t low = LoadLittleEndian32(bytes) ^ reg;
        const std::uint32_t high = LoadLittleEndian32(bytes + 4);
        reg = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
              kTables[4][low >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
              kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
    }
    for (; size > 0; ++bytes, --size)
        reg = (reg >> 8) ^ kTables[0][(reg ^ *bytes) & 0xFF];
    return reg;
}

#ifdef MORVANE_CRC32C_HARDWARE

// Three runs of this many bytes go through the processor side by side: one instruction's result
// is needed three cycles later, so a single run would leave the unit idle two cycles in three.
constexpr std::size_t kRun = 8192;

__attribute__((target("sse4.2"))) std::uint32_t HardwareRegister(std::uint32_t reg, const std::uint8_t* bytes,
                                                                 std::size_t size) {
    static const std::uint32_t shiftOverRun = ShiftFor(kRun);
    for (; size >= 3 * kRun; bytes += 3 * kRun, size -= 3 * kRun) {
        std::uint64_t first = reg;
        std::uint64_t second = 0;
        std::uint64_t third = 0;
        for (std::size_t offset = 0; offset < kRun; offset += 8) {
            std::uint64_t words[3];
            std::memcpy(&words[0], bytes + offset, 8);
            std::memcpy(&words[1], bytes + kRun + offset, 8);
            std::memcpy(&words[2], bytes + 2 * kRun + offset, 8);
            first = _mm_crc32_u64(first, words[0]);
            second = _mm_crc32_u64(second, words[1]);
            third = _mm_crc32_u64(third, words[2]);
        }
        // The register is linear in its start and its bytes: the runs' registers, each shifted
        // over the bytes that follow it, add up to the register over the three runs.
        const std::uint32_t firstTwo = MultiplyModulo(shiftOverRun, static_cast<std::uint32_t>(first)) ^
                                       static_cast<std::uint32_t>(second);
        reg = MultiplyModulo(shiftOverRun, firstTwo) ^ static_cast<std::uint32_t>(third);
    }
    std::uint64_t wide = reg;
    for (; size >= 8; bytes += 8, size -= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, 8);
        wide = _mm_crc32_u64(wide, word);
    }
    reg = static_cast<std::uint32_t>(wide);
    for (; size > 0; ++bytes, --size)
        reg = _mm_crc32_u8(reg, *bytes);
    return reg;
}

bool HasHardware() {
    static const bool has = __builtin_cpu_supports("sse4.2") != 0;
    return has;
}

#endif

} // namespace

std::uint32_t Crc32c::Extend(std::uint32_t crc, const void* bytes, std::size_t size) {
    const auto* data = static_cast<const std::uint8_t*>(bytes);
    if (size == 0)
        return crc;
#ifdef MORVANE_CRC32C_HARDWARE
    if (HasHardware())
        return ~HardwareRegister(~crc, data, size);
#endif
    return ~TableRegister(~crc, data, size);
}

std::uint32_t Crc32c::ExtendWithTables(std::uint32_t crc, const void* bytes, std::size_t size) {
    return ~TableRegister(~crc, static_cast<const std::uint8_t*>(bytes), size);
}

std::uint32_t Crc32c::Combine(std::uint32_t first, std::uint32_t second, std::uint64_t secondSize) {
    return MultiplyModulo(ShiftFor(secondSize), first) ^ second;
}
