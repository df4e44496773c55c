#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/command_set.h"
#include "device/default_key_table.h"
#include "device/keyboard_identity.h"

namespace korvel {

// A profile's colour table: 126 lights of three bytes (R, G, B).
inline constexpr std::size_t kBackupKeyColorBytes = 378;
using KeyColorBytes = std::array<std::uint8_t, kBackupKeyColorBytes>;

// The one version of the complete backup's format this program writes and reads.
inline constexpr int kCompleteBackupVersion = 1;
inline constexpr std::string_view kCompleteBackupFormat = "korvel-keyboard-backup";

// Everything the keyboard holds that a user can change: the key tables, the lighting records
// (with the report rate, byte 15 of each) and per-key colours of its three onboard profiles, the
// whole macro area and the active profile. Kept as the keyboard's own bytes, so that restoring
// it puts back exactly what was there, whatever the program makes of those bytes.
struct CompleteBackup {
    int activeProfile = 0;  // 0..2
    std::array<KeyTableBytes, kOnboardProfiles> keyTables{};
    std::array<std::array<std::uint8_t, kParamRecordBytes>, kOnboardProfiles> lightingRecords{};
    // Only from a keyboard with per-key colours (one that offers the custom effect).
    std::optional<std::array<KeyColorBytes, kOnboardProfiles>> keyColors;
    // As long as the keyboard's macro capacity, every byte of it.
    std::vector<std::uint8_t> macroArea;

    bool operator==(const CompleteBackup&) const = default;
};

// The backup as a JSON document (docs/complete-backup.md and its schema describe it): the same
// backup always gives the same text, so two backups of the same keyboard compare equal as files.
std::string FormatCompleteBackup(const CompleteBackup& backup);

// Reads a backup written by FormatCompleteBackup. Anything it does not understand (not JSON, a
// document of another kind, a newer version, a member it does not know, a missing member, a
// length or value out of range) is refused: no backup and, in `error`, what is wrong and where.
std::optional<CompleteBackup> ParseCompleteBackup(std::string_view text, std::string& error);

}  // namespace korvel
