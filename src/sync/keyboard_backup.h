#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "device/device_link.h"
#include "model/files/complete_backup.h"
#include "sync/download_check.h"

namespace korvel {

class KeyCodec;

// Reports done of reports planned, as a long transfer goes.
using TransferProgress = std::function<void(int done, int planned)>;

// Everything the keyboard holds, read in one command sequence: the information block (active
// profile, macro capacity, whether it has per-key colours), the three key tables, lighting records
// and (where it has them) colour tables, and the whole macro area. None when any read fails.
std::optional<CompleteBackup> ReadCompleteBackup(DeviceLink& link,
                                                 const TransferProgress& progress = {});

enum class RestoreOutcome {
    Restored,     // written and read back: the keyboard holds the backup
    DoesNotFit,   // made from a keyboard of another kind (macro capacity, per-key colours): unsent
    ReadFailed,   // the keyboard's information block could not be read: nothing was sent
    WriteFailed,  // the keyboard did not take a write: it may hold part of the backup
    CheckFailed,  // written, but read back it holds something else (or could not be read back)
};

struct RestoreResult {
    RestoreOutcome outcome = RestoreOutcome::ReadFailed;
    std::string refusal;  // DoesNotFit: why, in words a user reads
    int result = 0;       // WriteFailed: the failing command's result code
    DownloadCheck check;  // CheckFailed: what differs
};

// Makes the keyboard hold `backup` again: key tables, macro area, lighting records and colour
// tables in one command sequence, then the active profile; then reads it all back and compares.
RestoreResult RestoreCompleteBackup(DeviceLink& link, const CompleteBackup& backup,
                                    const KeyCodec& keyCodec,
                                    const TransferProgress& progress = {});

// A restore's outcome in one message for the user; empty for Restored.
std::string DescribeRestore(const RestoreResult& result);

enum class AutomaticBackupOutcome {
    Written,
    KeyboardUnreadable,  // nothing could be kept: the keyboard did not answer
    WriteFailed,         // read, but the file could not be written: `write` says why
};

struct AutomaticBackupResult {
    AutomaticBackupOutcome outcome = AutomaticBackupOutcome::KeyboardUnreadable;
    std::filesystem::path file;  // the file written, or the one that could not be
    FileWriteResult write;
};

// The backup taken on its own before `operation` changes the keyboard: read whole, written into
// BackupsFolder(documents) under a name with the time and the operation, the oldest beyond the
// newest kAutomaticBackupsKept removed.
AutomaticBackupResult TakeAutomaticBackup(
    DeviceLink& link, const std::filesystem::path& documents, std::string_view operation,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

}  // namespace korvel
