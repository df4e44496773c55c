#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "device/command_set.h"
#include "device/device_link.h"

namespace korvel {

// The lighting as it was before it was dimmed: the active profile and its whole lighting record,
// so that waking puts back exactly those bytes, whatever the program makes of them.
struct DimmedLighting {
    int profile = 0;  // 0..2
    std::array<std::uint8_t, kParamRecordBytes> record{};
};

// Turns the active profile's lighting down to `brightness` (0: off) in one command sequence,
// after reading what it was; nothing is written when it is there already. None when the keyboard
// cannot be read or does not take the write.
std::optional<DimmedLighting> DimLighting(DeviceLink& link, int brightness);

enum class WakeOutcome {
    Restored,    // written and read back: the keyboard holds the record again
    Differs,     // written, but the keyboard holds something else
    NotWritten,  // the keyboard did not take the write, or could not be read
};

// Writes the record back as it was and reads it back.
WakeOutcome WakeLighting(DeviceLink& link, const DimmedLighting& dimmed);

}  // namespace korvel
