#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/image/config_image.h"

namespace korvel {

// Value of a program or text entry that has no text in the pool: outside every pool, so that a
// loader finds no text there instead of another entry's.
inline constexpr std::uint32_t kNoPoolText = 0xFFFFFFFF;

// The texts of program-launch and text-block entries while they are being edited: one slot per
// entry (global index), each owning its text or none. Sizes count UTF-16 bytes with the terminator,
// and their running sum is kept here so that it always agrees with the slots.
class StringSlotTable {
public:
    StringSlotTable();

    // The text is cut at its first NUL. Indexes outside 0..2047 are ignored.
    void SetText(int k, std::u16string_view text);
    void ClearText(int k);
    void Clear();

    // nullptr when the slot has no text.
    const std::u16string* Text(int k) const;
    std::uint32_t Size(int k) const;
    std::uint32_t StringBytes() const { return m_stringBytes; }

    friend bool operator==(const StringSlotTable&, const StringSlotTable&) = default;

private:
    std::vector<std::optional<std::u16string>> m_slots;
    std::uint32_t m_stringBytes = 0;
};

// Lays the texts of entries of type 3 and 6 back to back in ascending entry order, each
// NUL-terminated UTF-16, and stores each text's byte offset in its entry's value. Entries of those
// types whose text is not packed get kNoPoolText.
std::vector<std::uint8_t> PackStringPool(ConfigImage& image, const StringSlotTable& slots,
                                         std::uint32_t poolBytes);

// The NUL-terminated text at a byte offset of a pool; none when the offset lies outside the pool,
// is odd, or no terminator follows before the pool's end.
std::optional<std::u16string> PoolTextAt(std::span<const std::uint8_t> pool, std::uint32_t offset);

}  // namespace korvel
