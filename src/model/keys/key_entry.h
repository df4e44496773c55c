#pragma once

#include <cstdint>

namespace korvel {

// What a key does, as one 16-byte record of a profile block.
struct KeyEntry {
    std::uint16_t type = 0;    // KeyEntryType
    std::uint16_t aux = 0;     // G code of a G-key slot, loop count of a macro assignment
    std::uint32_t value = 0;   // meaning depends on type
    std::uint32_t select = 0;  // carried along, never interpreted
    std::uint32_t spare = 0;   // carried along, never interpreted
    friend bool operator==(const KeyEntry&, const KeyEntry&) = default;
};

inline constexpr int kKeyEntryBytes = 16;

enum KeyEntryType : std::uint16_t {
    kEntryDefault = 0,  // the key's factory function
    kEntryDisabled = 1,
    kEntryKey = 2,     // value: target ScanCode
    kEntryLaunch = 3,  // value: pool offset of a program path
    kEntryMacro = 4,   // value: macro id 1..100
    kEntryStopMacro = 5,
    kEntryText = 6,      // value: pool offset of a text block
    kEntryMedia = 7,     // value: media index 0..17
    kEntryFunction = 8,  // value: function index 0..8
};

inline constexpr bool HasEntryText(std::uint16_t type) {
    return type == kEntryLaunch || type == kEntryText;
}

}  // namespace korvel
