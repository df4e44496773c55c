#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace korvel {

inline constexpr std::size_t kInfoBlockBytes = 44;
inline constexpr std::size_t kInfoActiveProfileOffset = 10;
inline constexpr std::size_t kInfoMacroCapacityOffset = 11;
inline constexpr std::size_t kInfoEffectListOffset = 12;
inline constexpr std::size_t kInfoEffectSlots = 32;
inline constexpr int kMacroCapacityUnit = 128;

// The keyboard's 44-byte information block, read and written whole. Bytes 0..9 mean nothing to
// the tool and go back exactly as read.
struct DeviceInfoBlock {
    std::array<std::uint8_t, kInfoBlockBytes> bytes{};

    int ActiveProfile() const { return bytes[kInfoActiveProfileOffset]; }
    int MacroCapacityBytes() const { return bytes[kInfoMacroCapacityOffset] * kMacroCapacityUnit; }
    // The supported lighting effect codes in slot order, empty slots left out.
    std::vector<int> Effects() const;
};

}  // namespace korvel
