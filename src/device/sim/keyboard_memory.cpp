#include "device/sim/keyboard_memory.h"

#include <algorithm>

namespace korvel::sim {
namespace {

// Bytes 0..9 of the information block are the keyboard's own; the tool only writes them back.
constexpr std::array<std::uint8_t, 10> kInfoPreamble = {0x4B, 0x56, 0x01, 0x00, 0x02,
                                                        0x07, 0x10, 0x00, 0x00, 0x00};

// An empty macro area: magic 0x55AA, a 16-byte blob holding no macros and no names.
constexpr std::array<std::uint8_t, 16> kEmptyMacroArea = {
    0xAA, 0x55, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// The lighting a factory-new keyboard starts each profile with: its first 35 parameter bytes
// (effect 1, brightness 5, speed 3, ...); the rest of the 42-byte record is zero. These are the
// keyboard's own bytes, kept here as the firmware keeps them, apart from the tool's default.
constexpr std::array<std::uint8_t, 35> kFactoryParamRecord = {
    0x01, 0x05, 0x03, 0x00, 0x01, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
    0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

constexpr int kPerKeyColorEffect = 20;
constexpr int kLastPlainEffect = 18;

}  // namespace

KeyboardMemory MakeFactoryMemory(const FactoryOptions& options) {
    KeyboardMemory memory;
    std::copy(kInfoPreamble.begin(), kInfoPreamble.end(), memory.info.begin());
    memory.info[kInfoActiveProfileOffset] = 0;
    memory.info[kInfoMacroCapacityOffset] =
        static_cast<std::uint8_t>(std::clamp(options.macroCapacityUnits, 0, 255));
    std::size_t slot = kInfoEffectListOffset;
    for (int effect = 1; effect <= kLastPlainEffect; ++effect) {
        memory.info[slot++] = static_cast<std::uint8_t>(effect);
    }
    if (options.perKeyColors) {
        memory.info[slot++] = kPerKeyColorEffect;
    }

    for (int profile = 0; profile < kOnboardProfiles; ++profile) {
        std::copy(kFactoryParamRecord.begin(), kFactoryParamRecord.end(),
                  memory.params.begin() + profile * kParamRecordBytes);
        std::copy(options.defaultKeyTable.begin(), options.defaultKeyTable.end(),
                  memory.keyTables.begin() + profile * kKeyTableBytes);
    }
    memory.defaultKeyTable = options.defaultKeyTable;
    memory.keyColors.fill(0xFF);

    memory.macroArea.assign(static_cast<std::size_t>(memory.MacroCapacity()), 0);
    std::copy_n(kEmptyMacroArea.begin(), std::min(kEmptyMacroArea.size(), memory.macroArea.size()),
                memory.macroArea.begin());
    return memory;
}

}  // namespace korvel::sim
