#pragma once

#include <filesystem>

#include "device/device_link.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "ports/text_lookup.h"

namespace korvel {

// Writes a profile file of what the keyboard holds: its three key tables decoded into blocks 0..2
// (block 3 empty) and its macro area parsed into records named MACRO_NEW_PREFIX + number where the
// area has no names. No string pool: the keyboard keeps no program or text assignments. False when
// the active profile is unknown or any read fails; the file is then exactly as it was before, since
// it is only replaced once everything has been read.
bool BackupDeviceToFile(DeviceLink& link, const KeyCodec& keyCodec, const TextLookup& texts,
                        const std::filesystem::path& path);

enum class ReloadOutcome {
    FromKeyboard,  // the working file was rebuilt from the keyboard and loaded
    Defaults,      // the keyboard could not be read: EditingConfig holds the default image
};

// Rebuilds the working file below documents from the keyboard and loads it into EditingConfig,
// falling back to the default image without a message. Takes the editing lock. Refreshing the key
// grid and, unless keepModified, clearing the modified state are the window's part.
ReloadOutcome ReloadFromDevice(ConfigStore& store, DeviceLink& link, const KeyCodec& keyCodec,
                               const TextLookup& texts, const std::filesystem::path& documents);

}  // namespace korvel
