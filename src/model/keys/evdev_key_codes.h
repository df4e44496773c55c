#pragma once

#include <cstdint>

#include "model/keys/key_codes.h"

namespace korvel {

// The Linux kernel's input key codes (the evdev codes of linux/input-event-codes.h, which the xkb
// keycodes of X11 and Wayland carry plus 8) of the keys the program names by ScanCode.

// The ScanCode of a kernel key code; 0 for a code no key of the tables has.
ScanCode ScanOfEvdevCode(std::uint32_t evdev);
// The kernel key code of a key; 0 for a key the kernel has no code for here.
std::uint32_t EvdevCodeOfScan(ScanCode sc);

}  // namespace korvel
