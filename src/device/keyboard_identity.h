#pragma once

#include <cstdint>

namespace korvel {

// How the keyboard identifies itself on USB and which of its HID collections does what.
inline constexpr std::uint16_t kKeyboardVendorId = 0x0C45;
inline constexpr std::uint16_t kKeyboardProductId = 0x5304;
inline constexpr std::uint16_t kKeyboardProductIdAlt = 0x5004;

inline constexpr std::uint16_t kCommandUsagePage = 0xFF1C;
inline constexpr std::uint16_t kCommandUsage = 0x92;
inline constexpr std::uint16_t kEventUsagePage = 0x000C;
inline constexpr std::uint16_t kEventUsage = 0x0001;

// The keyboard keeps three onboard profiles, one of them active.
inline constexpr int kOnboardProfiles = 3;

}  // namespace korvel
