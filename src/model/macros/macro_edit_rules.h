#pragma once

#include <cstdint>

namespace korvel {

// How new macros are named: "Macro1", "Macro2", ... (a counter that skips names already taken,
// compared as prefixes), or the prefix followed by the time of day "hhmmssmmm".
enum class MacroNaming { Counter, TimeOfDay };

// What tells the two macro editors apart. The composite editor's macro page and the macro editor
// keep the same records with the same list and recorder; only these rules differ.
struct MacroEditRules {
    MacroNaming naming = MacroNaming::Counter;
    std::uint8_t newLoopCount = 1;     // loop count of a freshly added macro
    std::uint32_t delayCellStep = 10;  // a typed delay is rounded to a multiple of this
    std::uint32_t delayWhenNotTimed =
        50;                         // the delay recorded while the record-delay option is off
    bool askAboutHeldKeys = false;  // stopping the recorder asks about keys still pressed
};

// The composite editor's macro page: counter names, one cycle, delays in steps of 10 ms, a fixed
// 50 ms between recorded keys without the record-delay option, no question on stopping.
inline constexpr MacroEditRules kMacroPageRules{};

// The macro editor: time-of-day names, loop count 0, delays to the millisecond, no delay between
// recorded keys without the record-delay option, and the question about keys still held.
inline constexpr MacroEditRules kMacroEditorRules{MacroNaming::TimeOfDay, 0, 1, 0, true};

}  // namespace korvel
