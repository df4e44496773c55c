#pragma once

#include <filesystem>
#include <string>

#include "model/files/profile_file.h"
#include "model/image/config_store.h"
#include "model/keys/key_table_codec.h"

namespace korvel::cli::test {

// A configuration with a remap, a macro key, a program path with quotes and two macros, saved as
// a profile file; `store` keeps the configuration for comparisons.
inline bool WriteSampleProfile(ConfigStore& store, const std::filesystem::path& file) {
    CreateDefaultConfig(store, {}, 0, true);
    EditingHolder& editing = store.EditingConfig();
    editing.Image()->blocks[0][SlotOfScan(0x01E)] = {kEntryKey, 0, 0x030};
    editing.Image()->blocks[1][SlotOfScan(0x01F)] = {kEntryMacro, 0, 7};
    editing.Image()->blocks[2][SlotOfScan(0x020)] = {kEntryLaunch, 0, 0};
    editing.Strings().SetText(GlobalEntryIndex(2, SlotOfScan(0x020)), u"run \"me\".exe");
    MacroRecord first;
    first.macroId = 3;
    first.name = u"abc";
    first.loopCount = 2;
    first.actions = {{120, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}};
    MacroRecord second = first;
    second.macroId = 7;
    second.name = u"second";
    editing.SetMacros({first, second});
    return static_cast<bool>(SaveProfileFile(store, true, file.string()));
}

}  // namespace korvel::cli::test
