#pragma once

#include <cstdint>

#include "model/keys/key_codes.h"

namespace korvel {

// How the windowing system numbers its keys in a key event's native scan code.
enum class NativeKeyNumbering {
    Xkb,      // X11 (xcb) and Wayland: the xkb keycode, the kernel's evdev code + 8
    Windows,  // the set-1 make code, 0x100 added for E0 keys
};

// The numbering of the platform the program runs on ("windows": Windows, every other platform
// plugin: xkb keycodes).
NativeKeyNumbering CurrentNativeKeyNumbering();

// The ScanCode of a key event's native scan code; 0 for a key the table does not know, so that an
// unknown key is ignored rather than taken for another.
ScanCode ScanCodeOfNativeKey(std::uint32_t nativeScanCode, NativeKeyNumbering numbering);

}  // namespace korvel
