#pragma once

#include <vector>

#include "model/image/config_store.h"
#include "model/keys/key_codes.h"
#include "model/macros/macro_record.h"

namespace korvel {

// What the computer plays for a G key: the keyboard has no place for the G keys in its key
// tables, so their assignments are played by the program while it runs.
struct GKeyPlay {
    enum class Kind {
        Nothing,    // no assignment, or one the computer cannot play
        Keys,       // press `keys` in order, then release them in reverse: one key or a shortcut
        Macro,      // play `actions` `cycles` times
        StopMacro,  // end the macro that is playing
    };
    Kind kind = Kind::Nothing;
    std::vector<ScanCode> keys;
    std::vector<MacroAction> actions;
    int cycles = 0;
    friend bool operator==(const GKeyPlay&, const GKeyPlay&) = default;
};

// The keys the computer presses for a keyboard function (Open, Copy, Select All, ...): its
// shortcut, Ctrl and a letter. Empty for an index outside the function table.
std::vector<ScanCode> FunctionShortcut(std::uint32_t functionIndex);

// What G-key slot `slot` (256..273) of profile block `block` plays in the holder's configuration.
// A macro plays the cycles its assignment carries (1..255), or its own loop count when the
// assignment carries none. Takes the holder's lock.
GKeyPlay GKeyPlayOf(const ConfigHolder& holder, int block, int slot);

}  // namespace korvel
