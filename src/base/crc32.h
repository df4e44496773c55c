#pragma once

#include <cstdint>
#include <span>

namespace korvel {

// CRC-32 as zlib and PNG compute it (reflected polynomial 0xEDB88320, initial and final value
// 0xFFFFFFFF): the check value of the virtual keyboard's state file.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace korvel
