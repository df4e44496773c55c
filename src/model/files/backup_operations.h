#pragma once

#include <string_view>

namespace korvel {

// The operations before which a complete backup of the keyboard is taken on its own, as the
// backups' file names spell them.
inline constexpr std::string_view kBackupBeforeImport = "import";
inline constexpr std::string_view kBackupBeforeProfileImport = "profile-import";
inline constexpr std::string_view kBackupBeforeDefaults = "restore-defaults";
inline constexpr std::string_view kBackupBeforeFirmwareUpdate = "firmware-update";
inline constexpr std::string_view kBackupBeforeRestore = "restore";

}  // namespace korvel
