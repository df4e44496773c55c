#pragma once

#include <optional>

namespace korvel {

// The states of the keyboard's three lock keys as the desktop holds them.
struct LockStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const LockStates&) const = default;
};

// Reads the lock states from the X server's keyboard extension (its named indicators "Caps
// Lock", "Num Lock" and "Scroll Lock"); nothing when the program does not run on X11 (offscreen,
// Wayland without XWayland) or the server has no keyboard extension.
std::optional<LockStates> ReadLockStates();

}  // namespace korvel
