#include "model/lighting/lighting_presets.h"

#include <array>

namespace korvel {
namespace {

constexpr Color kYellow = MakeColor(0xFF, 0xFF, 0x00);
constexpr Color kPresetRed = MakeColor(0xFF, 0x00, 0x00);
constexpr Color kGreen = MakeColor(0x00, 0xFF, 0x00);
constexpr Color kBlue = MakeColor(0x00, 0x00, 0xFF);
constexpr Color kMagenta = MakeColor(0xFF, 0x00, 0xFF);

// Scan codes of the keys the presets light.
constexpr ScanCode k1 = 0x002, k2 = 0x003, k3 = 0x004, k4 = 0x005, k5 = 0x006, k6 = 0x007,
                   k7 = 0x008, k8 = 0x009, k9 = 0x00A, k0 = 0x00B, kMinus = 0x00C, kEquals = 0x00D,
                   kQ = 0x010, kW = 0x011, kE = 0x012, kR = 0x013, kA = 0x01E, kS = 0x01F,
                   kD = 0x020, kB = 0x030, kEnter = 0x01C, kLeftShift = 0x02A, kLeftCtrl = 0x01D,
                   kLeftAlt = 0x038;

constexpr std::array<PresetKey, 10> kFps = {{
    {k1, kYellow},
    {k2, kYellow},
    {k3, kYellow},
    {k4, kYellow},
    {k5, kYellow},
    {kW, kPresetRed},
    {kR, kGreen},
    {kA, kPresetRed},
    {kS, kPresetRed},
    {kD, kPresetRed},
}};

constexpr std::array<PresetKey, 17> kMmo = {{
    {k1, kGreen},
    {k2, kGreen},
    {k3, kGreen},
    {k4, kGreen},
    {k5, kGreen},
    {k6, kGreen},
    {k7, kGreen},
    {k8, kGreen},
    {k9, kGreen},
    {k0, kGreen},
    {kMinus, kGreen},
    {kEquals, kGreen},
    {kW, kPresetRed},
    {kA, kPresetRed},
    {kS, kPresetRed},
    {kD, kPresetRed},
    {kEnter, kMagenta},
}};

constexpr std::array<PresetKey, 13> kMoba = {{
    {k1, kYellow},
    {k2, kYellow},
    {k3, kYellow},
    {k4, kYellow},
    {k5, kYellow},
    {k6, kYellow},
    {kQ, kPresetRed},
    {kW, kPresetRed},
    {kE, kPresetRed},
    {kR, kPresetRed},
    {kA, kBlue},
    {kS, kGreen},
    {kB, kGreen},
}};

constexpr std::array<PresetKey, 11> kRts = {{
    {k1, kPresetRed},
    {k2, kPresetRed},
    {k3, kPresetRed},
    {k4, kPresetRed},
    {k5, kPresetRed},
    {kA, kGreen},
    {kS, kGreen},
    {kEnter, kMagenta},
    {kLeftShift, kBlue},
    {kLeftCtrl, kBlue},
    {kLeftAlt, kBlue},
}};

constexpr std::array<LightingPreset, kLightingPresetCount> kPresets = {{
    {"FPS", kFps},
    {"MMO", kMmo},
    {"MOBA", kMoba},
    {"RTS", kRts},
}};

}  // namespace

std::span<const LightingPreset, kLightingPresetCount> LightingPresets() {
    return kPresets;
}

}  // namespace korvel
