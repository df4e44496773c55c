#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/keys/led_index.h"
#include "model/lighting/lighting_color.h"

namespace korvel {

inline constexpr int kKeyColorTableBytes = kLedCount * static_cast<int>(kColorBytes);  // 378
// Colour pages travel 18 lights (54 bytes) per report, in seven chunks.
inline constexpr int kLedsPerChunk = 18;
inline constexpr int kKeyColorChunks = kLedCount / kLedsPerChunk;
inline constexpr unsigned kKeyColorChunkBytes = kLedsPerChunk * kColorBytes;

// One profile's per-key colours for the custom effect: R, G, B for each LedIndex.
struct KeyColorTable {
    std::array<std::uint8_t, kKeyColorTableBytes> bytes{};

    // A light outside 0..125 reads as black and is not written.
    Color ColorOf(LedIndex led) const;
    void SetColor(LedIndex led, Color color);
    void Fill(Color color);
    // The bytes of chunk k (0..6): lights 18k..18k+17.
    std::span<const std::uint8_t> Chunk(int k) const;
    std::span<std::uint8_t> Chunk(int k);
    bool operator==(const KeyColorTable&) const = default;
};

}  // namespace korvel
