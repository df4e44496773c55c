#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvel {

// A colour as the program holds it: 0x00BBGGRR. The keyboard stores colours as R, G, B bytes.
using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kRed = 0x0000FF;
inline constexpr std::size_t kColorBytes = 3;

constexpr Color MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) |
           (static_cast<Color>(blue) << 16);
}
constexpr std::uint8_t RedOf(Color color) {
    return static_cast<std::uint8_t>(color);
}
constexpr std::uint8_t GreenOf(Color color) {
    return static_cast<std::uint8_t>(color >> 8);
}
constexpr std::uint8_t BlueOf(Color color) {
    return static_cast<std::uint8_t>(color >> 16);
}

// From and to the R, G, B bytes of the keyboard's records and colour pages.
Color ColorFromWire(std::span<const std::uint8_t, kColorBytes> bytes);
std::array<std::uint8_t, kColorBytes> ColorToWire(Color color);

// "#rrggbb" in lower case.
std::string FormatColor(Color color);
// "#rrggbb" or "rrggbb", hex digits of either case; nothing for anything else.
std::optional<Color> ParseColor(std::string_view text);

}  // namespace korvel
