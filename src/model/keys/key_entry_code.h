#pragma once

#include <cstdint>

#include "model/keys/key_codes.h"
#include "model/keys/key_entry.h"

namespace korvel {

// The device key code that one key entry sends to the keyboard. defaultCode is the position's
// code in the current DefaultKeyTable; macroPosition is where the entry's macro sits in the macro
// area (the caller looks the id up). Entries the keyboard cannot express, and values that only a
// damaged file holds (an unknown type, a media index outside its table), keep the position's
// default code. A function index goes as its low byte, named or not, as the keyboard gave it.
DeviceKeyCode EncodeKeyEntry(const KeyEntry& entry, DeviceKeyCode defaultCode,
                             std::uint8_t macroPosition);

}  // namespace korvel
