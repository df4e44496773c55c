#pragma once

#include <cstdint>
#include <vector>

namespace korvel::fixtures {

// Edits of a profile file's stored bytes (little-endian), for files no editor would write.
inline void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, static_cast<std::uint16_t>(value));
    PutU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

// The header's checksum made right again: the sum of bytes 0..30, modulo 256.
inline void FixChecksum(std::vector<std::uint8_t>& bytes) {
    unsigned sum = 0;
    for (int i = 0; i < 31; ++i) {
        sum += bytes[static_cast<std::size_t>(i)];
    }
    bytes[31] = static_cast<std::uint8_t>(sum);
}

}  // namespace korvel::fixtures
