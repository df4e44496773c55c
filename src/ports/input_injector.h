#pragma once

#include "model/keys/key_codes.h"

namespace korvel {

// Presses and releases keys on the computer as if they came from a keyboard: how the program
// plays the G keys, which the keyboard cannot play itself. The platform implements it (uinput or
// XTest on Linux); tests record it.
//
// Threads: called only from the G-key player's thread.
class InputInjector {
public:
    virtual ~InputInjector() = default;
    // False when the key has no code on this platform or the platform refused the event.
    virtual bool Key(ScanCode key, bool press) = 0;
};

}  // namespace korvel
