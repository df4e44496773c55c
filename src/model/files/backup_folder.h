#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "model/files/backup_operations.h"
#include "model/files/complete_backup.h"

namespace korvel {

// How many automatic backups are kept; taking one more removes the oldest.
inline constexpr std::size_t kAutomaticBackupsKept = 20;
// A backup file is far smaller; anything larger is not one and is not read whole.
inline constexpr std::uintmax_t kMaxBackupFileBytes = 1u << 20;

// "Backups" in the profile directory: the automatic backups.
std::filesystem::path BackupsFolder(const std::filesystem::path& documents);

// An automatic backup as its name describes it.
struct BackupEntry {
    std::filesystem::path file;
    std::string taken;      // "2026-12-11 09:30:15", local time
    std::string operation;  // "import", "restore-defaults", ...
};

// The name of an automatic backup taken at `taken` (local time) before `operation`:
// "2026-12-11_09-30-15_import.json".
std::string AutomaticBackupName(std::chrono::system_clock::time_point taken,
                                std::string_view operation);
// The entry a file name describes, or none when it is not an automatic backup's name.
std::optional<BackupEntry> BackupEntryOf(const std::filesystem::path& file);
// The automatic backups in `folder`, newest first. Other files are not listed.
std::vector<BackupEntry> ListAutomaticBackups(const std::filesystem::path& folder);
// Removes the automatic backups beyond the newest `kept`; other files stay.
void PruneAutomaticBackups(const std::filesystem::path& folder,
                           std::size_t kept = kAutomaticBackupsKept);

// The backup written to `file` the safe way (the old contents or the new, never a mix).
FileWriteResult WriteCompleteBackupFile(const std::filesystem::path& file,
                                        const CompleteBackup& backup);
// The backup in `file`; none with, in `error`, why it cannot be used (it cannot be read, is too
// large, or ParseCompleteBackup refuses it).
std::optional<CompleteBackup> LoadCompleteBackupFile(const std::filesystem::path& file,
                                                     std::string& error);

}  // namespace korvel
