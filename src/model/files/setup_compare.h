#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "device/command_set.h"
#include "device/keyboard_identity.h"
#include "model/image/config_image.h"
#include "model/image/string_pool.h"
#include "model/keys/key_tip.h"
#include "model/macros/macro_record.h"

namespace korvel {

class KeyCodec;
struct CompleteBackup;
struct ProfileContents;

// What a user set up, from wherever it comes (a profile file, a complete backup, the keyboard),
// in the one shape two of them are compared in: the three onboard profiles' key entries with
// their texts, the macros, and where known the lighting records and the active profile.
struct Setup {
    std::array<ProfileBlock, kOnboardProfiles> blocks{};
    StringSlotTable strings;  // by global entry index, as in a configuration image
    std::vector<MacroRecord> macros;
    std::optional<std::array<std::array<std::uint8_t, kParamRecordBytes>, kOnboardProfiles>>
        lighting;
    std::optional<int> activeProfile;  // 0..2
    // Whether it has a place for G-key assignments: a keyboard keeps none (the program plays
    // them), so they are only compared between two setups that can hold them.
    bool holdsGKeys = true;
};

Setup SetupOf(const ProfileContents& contents);
// The key tables decoded against `defaultTable` (the keyboard's own), the macro area parsed with
// `newMacroPrefix` naming macros the area keeps no names for.
Setup SetupOf(const CompleteBackup& backup, const KeyTableBytes& defaultTable,
              std::u16string_view newMacroPrefix);

// One thing that differs, in words a user reads: where ("profile 1, A", "macro Fire",
// "profile 2, lighting brightness", "active profile") and what each side has there.
struct SetupDifference {
    enum class Kind { Key, Macro, Lighting, ActiveProfile };
    Kind kind = Kind::Key;
    int profile = -1;  // 0..2; -1 for macros and the active profile
    std::string where;
    std::string first;
    std::string second;
};

// Everything that differs between two setups, keys first (by profile, then slot), then macros
// (by name: a macro's id is only where it sits), then lighting and the active profile where both
// sides know them. Keys are compared by what they do, as the window says it (`tips`), so a key
// playing the same macro under another id is the same.
std::vector<SetupDifference> CompareSetups(const Setup& first, const Setup& second,
                                           const KeyCodec& codec, const KeyTipTexts& tips);

}  // namespace korvel
