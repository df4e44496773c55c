#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace korvel {

// Writes bytes to a temporary file beside path and renames it into place, so that a failed write
// never leaves a half-written file where a good one was. False when any step fails; the old file,
// if any, is then untouched.
bool WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace korvel
