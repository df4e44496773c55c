#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/file_io.h"
#include "device/device_link.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "ports/text_lookup.h"

namespace korvel {

// The bytes of a profile file of what the keyboard holds: its three key tables decoded into
// blocks 0..2 (block 3 empty) and its macro area parsed into records named MACRO_NEW_PREFIX +
// number where the area has no names. No string pool: the keyboard keeps no program or text
// assignments. None when the active profile is unknown or any read fails.
std::optional<std::vector<std::uint8_t>> ReadDeviceBackup(DeviceLink& link,
                                                          const KeyCodec& keyCodec,
                                                          const TextLookup& texts);

enum class BackupOutcome {
    Written,
    ReadFailed,   // the keyboard could not be read: the file was not touched
    WriteFailed,  // the keyboard was read, the file could not be replaced: it is as it was
};

struct BackupResult {
    BackupOutcome outcome = BackupOutcome::ReadFailed;
    FileWriteResult write;  // why the write failed

    explicit operator bool() const { return outcome == BackupOutcome::Written; }
};

// ReadDeviceBackup written to path; the file is only replaced once everything has been read.
BackupResult BackupDeviceToFile(DeviceLink& link, const KeyCodec& keyCodec, const TextLookup& texts,
                                const std::filesystem::path& path);

enum class ReloadOutcome {
    FromKeyboard,         // the working file was rebuilt from the keyboard and loaded
    FromKeyboardUnsaved,  // loaded from the keyboard, but the working file could not be written
    Defaults,             // the keyboard could not be read: EditingConfig holds the default image
};

// The second half of the reload, without the keyboard: `bytes` as ReadDeviceBackup read them
// (none: it could not), given the G-key assignments of the working file there was, become the
// working file and EditingConfig.
ReloadOutcome PlaceDeviceBackup(ConfigStore& store,
                                const std::optional<std::vector<std::uint8_t>>& bytes,
                                const std::filesystem::path& documents,
                                FileWriteResult* workingFileWrite = nullptr);

// Rebuilds the working file below documents from the keyboard (keeping the G-key assignments the
// working file had, which the keyboard has no place for) and loads what was read into
// EditingConfig, falling back to the default image without a message only when the keyboard
// cannot be read. workingFileWrite, when given, receives how the working file's write ended.
// Takes the editing lock. Refreshing the key grid, telling the user about an unsaved working file
// and, unless keepModified, clearing the modified state are the window's part.
ReloadOutcome ReloadFromDevice(ConfigStore& store, DeviceLink& link, const KeyCodec& keyCodec,
                               const TextLookup& texts, const std::filesystem::path& documents,
                               FileWriteResult* workingFileWrite = nullptr);

}  // namespace korvel
