#include "model/lighting/key_color_table.h"

#include <algorithm>

namespace korvel {
namespace {

bool IsLed(LedIndex led) {
    return led >= 0 && led < kLedCount;
}

}  // namespace

Color KeyColorTable::ColorOf(LedIndex led) const {
    if (!IsLed(led)) {
        return kBlack;
    }
    return ColorFromWire(
        std::span<const std::uint8_t, kColorBytes>(bytes.data() + led * kColorBytes, kColorBytes));
}

void KeyColorTable::SetColor(LedIndex led, Color color) {
    if (!IsLed(led)) {
        return;
    }
    const auto wire = ColorToWire(color);
    std::copy(wire.begin(), wire.end(), bytes.begin() + led * kColorBytes);
}

void KeyColorTable::Fill(Color color) {
    for (LedIndex led = 0; led < kLedCount; ++led) {
        SetColor(led, color);
    }
}

std::span<const std::uint8_t> KeyColorTable::Chunk(int k) const {
    return std::span<const std::uint8_t>(bytes).subspan(k * kKeyColorChunkBytes,
                                                        kKeyColorChunkBytes);
}

std::span<std::uint8_t> KeyColorTable::Chunk(int k) {
    return std::span<std::uint8_t>(bytes).subspan(k * kKeyColorChunkBytes, kKeyColorChunkBytes);
}

}  // namespace korvel
