#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "device/command_set.h"
#include "device/default_key_table.h"
#include "device/device_info_block.h"

namespace korvel::sim {

inline constexpr int kParamAreaBytes = kOnboardProfiles * kParamRecordBytes;       // 126
inline constexpr int kKeyTableAreaBytes = kOnboardProfiles * kKeyTableBytes;       // 1134
inline constexpr int kKeyColorAreaBytes = kOnboardProfiles * kKeyColorPageStride;  // 1536
inline constexpr int kMaxMacroCapacity = 255 * kMacroCapacityUnit;                 // 32640

// Everything the virtual keyboard keeps in its memory, area by area.
struct KeyboardMemory {
    std::array<std::uint8_t, kInfoBlockBytes> info{};
    std::array<std::uint8_t, kParamAreaBytes> params{};
    std::array<std::uint8_t, kKeyTableAreaBytes> keyTables{};
    KeyTableBytes defaultKeyTable{};
    std::array<std::uint8_t, kKeyColorAreaBytes> keyColors{};
    std::vector<std::uint8_t> macroArea;  // as long as the capacity the information block announces

    int MacroCapacity() const { return info[kInfoMacroCapacityOffset] * kMacroCapacityUnit; }
    bool operator==(const KeyboardMemory&) const = default;
};

// What a test may vary about a factory-new keyboard.
struct FactoryOptions {
    int macroCapacityUnits = 64;  // x 128 bytes = 8192
    bool perKeyColors = true;     // announces effect 20
    KeyTableBytes defaultKeyTable = kBuiltInDefaultKeyTable;
};

// A factory-new keyboard: profile 0 active; the default table in the default area and in all
// three key tables; an empty macro area; for every profile the default lighting record
// (the factory parameter bytes, the rest of the 42 bytes zero); white key colours; effects 1..18
// and (with per-key colours) 20.
KeyboardMemory MakeFactoryMemory(const FactoryOptions& options = {});

}  // namespace korvel::sim
