#include "model/lighting/lighting_color.h"

#include <charconv>

namespace korvel {

Color ColorFromWire(std::span<const std::uint8_t, kColorBytes> bytes) {
    return MakeColor(bytes[0], bytes[1], bytes[2]);
}

std::array<std::uint8_t, kColorBytes> ColorToWire(Color color) {
    return {RedOf(color), GreenOf(color), BlueOf(color)};
}

std::string FormatColor(Color color) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t byte : ColorToWire(color)) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::optional<Color> ParseColor(std::string_view text) {
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    if (text.size() != 6) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kColorBytes> bytes{};
    for (std::size_t i = 0; i < kColorBytes; ++i) {
        const char* first = text.data() + 2 * i;
        // from_chars would take a sign; only plain hex digits make a colour.
        for (const char c : text.substr(2 * i, 2)) {
            const bool hex =
                (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
            if (!hex) {
                return std::nullopt;
            }
        }
        std::from_chars(first, first + 2, bytes[i], 16);
    }
    return ColorFromWire(bytes);
}

}  // namespace korvel
