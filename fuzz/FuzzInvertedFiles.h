#pragma once

#include <cstdint>
#include <vector>

#include "app/Crc32c.h"
#include "app/InvertedFilesFingerprint.h"

// The inputs of fuzz_inverted_files: the first byte chooses the reader (its value modulo 4), the
// rest is the file. The survey the readers check against has 3 interviews, a closed question of
// 3 modalities and 2 answers, a numeric question, and a level of 3 records under the interviews.
namespace fuzz {

enum class InvertedFileKind : std::uint8_t { Closed = 0, Numeric = 1, Level = 2, Fingerprint = 3 };

constexpr std::int32_t kInvertedInterviews = 3;
constexpr std::int32_t kInvertedColumns = 2;
constexpr std::int32_t kInvertedMembers = 3;

// A valid input of each kind.
inline std::vector<std::vector<std::uint8_t>> InvertedFileSeeds() {
    using Bytes = std::vector<std::uint8_t>;
    const auto put = [](Bytes& bytes, std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    Bytes closed{static_cast<std::uint8_t>(InvertedFileKind::Closed)};
    put(closed, kInvertedInterviews, 4);
    put(closed, kInvertedColumns, 4);
    for (const std::uint16_t cell : {0, 2, 1, 65531, 65531, 65531})
        put(closed, cell, 2);
    Bytes numeric{static_cast<std::uint8_t>(InvertedFileKind::Numeric)};
    put(numeric, kInvertedInterviews, 4);
    for (const std::uint64_t value :
         {0x4041000000000000ull, 0xC12E847FFAE147AEull, 0x0ull}) // 34, -999999.99, 0
        put(numeric, value, 8);
    Bytes level{static_cast<std::uint8_t>(InvertedFileKind::Level)};
    put(level, kInvertedMembers, 4);
    put(level, 2, 4);
    for (const std::uint32_t word : {1, 1, 0, 1, 2, 1, 3, 1, 2})
        put(level, word, 4);
    InvertedFilesFingerprint::Record record;
    record.questionnaireSize = 1;
    record.questionnaireModified = 1'700'000'000'000'000'000;
    record.files["Lvl7.1"] = {closed.size() - 1, Crc32c::Of(closed.data() + 1, closed.size() - 1), 0};
    record.files["Mod1.2"] = {20, 0x12345678, 3}; // three answers that named no modality
    Bytes fingerprint{static_cast<std::uint8_t>(InvertedFileKind::Fingerprint)};
    const Bytes encoded = InvertedFilesFingerprint::Encode(record);
    fingerprint.insert(fingerprint.end(), encoded.begin(), encoded.end());
    return {closed, numeric, level, fingerprint};
}

} // namespace fuzz
