#pragma once

#include <cstddef>
#include <cstdint>

// CRC-32C (the Castagnoli polynomial, reflected 0x82F63B78, initial and final value all ones),
// the checksum of iSCSI, ext4 and SCTP: `Of("123456789")` is 0xE3069283. Computed with the
// processor's own instruction where it has one (SSE 4.2), else with tables.
//
// A checksum can be carried on (`Extend`) and two checksums of consecutive pieces joined
// (`Combine`), so that pieces of a file read at once by several threads give the checksum of the
// whole file, the same any tool computes.
class Crc32c {
public:
    static std::uint32_t Of(const void* bytes, std::size_t size) { return Extend(0, bytes, size); }
    // The checksum of the bytes whose checksum is `crc` followed by `bytes`.
    static std::uint32_t Extend(std::uint32_t crc, const void* bytes, std::size_t size);
    // The same, always with tables, as on a processor without the instruction.
    static std::uint32_t ExtendWithTables(std::uint32_t crc, const void* bytes, std::size_t size);
    // The checksum of A followed by B from the checksums of A and of B and the size of B.
    static std::uint32_t Combine(std::uint32_t first, std::uint32_t second, std::uint64_t secondSize);
};
