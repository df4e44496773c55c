#pragma once

#include <span>
#include <string_view>

#include "model/keys/key_codes.h"
#include "model/lighting/lighting_color.h"

namespace korvel {

inline constexpr int kLightingPresetCount = 4;

struct PresetKey {
    ScanCode scan;
    Color color;
};

// A per-key layout for the custom effect; keys it does not list are black.
struct LightingPreset {
    std::string_view name;
    std::span<const PresetKey> keys;
};

// "FPS", "MMO", "MOBA", "RTS", in the order the preset selector offers them.
std::span<const LightingPreset, kLightingPresetCount> LightingPresets();

}  // namespace korvel
