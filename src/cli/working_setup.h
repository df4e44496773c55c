#pragma once

#include <filesystem>

#include "cli/cli_commands.h"
#include "device/device_link.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_names.h"
#include "ports/text_lookup.h"

namespace korvel::cli {

// The window's setup as korvelctl edits it: the working file (or, without one, what the keyboard
// holds) on the opened keyboard, for the commands that change keys and macros.
struct WorkingSetup {
    ConfigStore store;
    KeyCodec codec;
    DeviceLink* link = nullptr;
    std::filesystem::path documents;
    int activeProfile = -1;
    TextLookup texts;  // the language file's, read once
};

// Opens the keyboard (its default key table into the codec, which names keys in the user's
// language) and loads the working file, or reads the keyboard where there is none. False after a
// message.
bool OpenWorkingSetup(CommandContext& context, WorkingSetup& setup);

// Saves the working file and downloads as Apply does (all three profiles, or the active one),
// reading back what was sent. kExitOk, or kExitFailed after a message.
int ApplyWorkingSetup(CommandContext& context, WorkingSetup& setup, bool allProfiles);

// The names a user types for keys and targets, in English whatever language the user reads.
KeyNames NamesOf(const KeyCodec& codec);

}  // namespace korvel::cli
