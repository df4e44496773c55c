#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/byte_io.h"
#include "model/keys/key_codes.h"

namespace korvel {

inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroActions = 2000;
inline constexpr std::uint32_t kMaxMacroDelayMs = 40000;
inline constexpr int kMaxMacroNameChars = 100;  // what the editors let the user type
inline constexpr int kMacroNameUnits = 250;     // stored name field, terminator included
inline constexpr int kMacroRecordBytes = 16512;
inline constexpr int kMacroActionBytes = 8;

enum MacroDirection : std::uint16_t { kMacroPress = 0, kMacroRelease = 1 };

struct MacroAction {
    std::uint32_t delayMs = 0;  // wait after this action, 0..40000
    ScanCode key = 0;
    std::uint16_t direction = kMacroPress;
    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

// One macro as the configuration carries it. actionCount of the stored record is actions.size().
struct MacroRecord {
    std::u16string name;
    std::uint8_t loopCount = 0;
    std::uint8_t reserved1 = 0;
    std::uint16_t isNew = 0;  // 1 until the editor that made it applies
    std::uint16_t playMode = 0;
    std::uint16_t macroId = 0;  // 1..100, unique within a list
    std::uint16_t reserved2 = 0;
    std::vector<MacroAction> actions;

    std::uint16_t ActionCount() const { return static_cast<std::uint16_t>(actions.size()); }
    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

// The lowest id in 1..100 that no record of the list has; 0 when all are taken.
std::uint16_t LowestFreeMacroId(std::span<const MacroRecord> records);

// The stored 16512-byte record. Names longer than 249 units and actions past 2000 are cut.
void WriteMacroRecord(ByteWriter& writer, const MacroRecord& record);
// Consumes one whole stored record. False when the record does not fit in what is left or its
// action count is over the limit; record is then unchanged.
bool ReadMacroRecord(ByteReader& reader, MacroRecord& record);

}  // namespace korvel
