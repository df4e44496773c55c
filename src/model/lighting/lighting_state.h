#pragma once

#include <array>
#include <optional>

#include "device/device_info_block.h"
#include "model/keys/led_index.h"
#include "model/lighting/effect_list.h"
#include "model/lighting/key_color_table.h"
#include "model/lighting/lighting_record.h"

namespace korvel {

// The program's mirror of the keyboard's lighting. One instance lives as long as the program;
// it is filled by reading the keyboard and afterwards changed only by the lighting operations,
// each of which also writes the keyboard at once.
struct LightingState {
    // As last read or written, per onboard profile.
    std::array<ProfileParamRecord, kOnboardProfiles> records{};
    std::array<KeyColorTable, kOnboardProfiles> colorTables{};

    // The information block as last read; its bytes 12..43 are the EffectList.
    DeviceInfoBlock info;
    EffectSlotTable effectSlots;

    // The profile whose record and colour table the lighting panel edits (0..2).
    int currentProfile = 0;
    // The current profile's record, decoded.
    LightingValues current;

    // Persisted in deze.ini, section KEYCOLOR, key DengCheck.
    bool lightingPanelOn = false;

    // Per profile and key of the grid: the key takes the base colour whenever it changes.
    std::array<std::array<bool, kGridKeys>, kOnboardProfiles> followsBaseColor{};

    EffectList Effects() const { return EffectList::Of(info); }
    bool HasPerKeyColors() const { return Effects().HasPerKeyColors(); }

    // The current profile, kept to 0..2 so that a stray value never addresses another area.
    int Profile() const;
    ProfileParamRecord& CurrentRecord() { return records[Profile()]; }
    KeyColorTable& CurrentTable() { return colorTables[Profile()]; }
    const KeyColorTable& CurrentTable() const { return colorTables[Profile()]; }
    std::array<bool, kGridKeys>& CurrentFollowers() { return followsBaseColor[Profile()]; }
};

// One profile's lighting as a user sets it up: its record, its colour table and which keys follow
// its base colour. What an undo of a lighting choice puts back.
struct LightingPicture {
    ProfileParamRecord record;
    KeyColorTable table;
    std::array<bool, kGridKeys> followers{};
    bool operator==(const LightingPicture&) const = default;
};

LightingPicture PictureOf(const LightingState& state, int profile);

// How a key button of the grid previews the lighting: nothing while the panel is off; the
// effect colour for the colour effects in single-colour mode; the key's own colour for the
// custom effect; no tint otherwise.
std::optional<Color> KeyTint(const LightingState& state, int gridKey);

}  // namespace korvel
