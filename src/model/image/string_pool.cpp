#include "model/image/string_pool.h"

namespace korvel {
namespace {

bool ValidIndex(int k) {
    return k >= 0 && k < kConfigEntries;
}

}  // namespace

StringSlotTable::StringSlotTable() : m_slots(kConfigEntries) {}

void StringSlotTable::SetText(int k, std::u16string_view text) {
    if (!ValidIndex(k)) {
        return;
    }
    ClearText(k);
    text = text.substr(0, text.find(u'\0'));
    m_slots[k] = std::u16string(text);
    m_stringBytes += Size(k);
}

void StringSlotTable::ClearText(int k) {
    if (!ValidIndex(k)) {
        return;
    }
    m_stringBytes -= Size(k);
    m_slots[k].reset();
}

void StringSlotTable::Clear() {
    for (auto& slot : m_slots) {
        slot.reset();
    }
    m_stringBytes = 0;
}

const std::u16string* StringSlotTable::Text(int k) const {
    if (!ValidIndex(k) || !m_slots[k]) {
        return nullptr;
    }
    return &*m_slots[k];
}

std::uint32_t StringSlotTable::Size(int k) const {
    const std::u16string* text = Text(k);
    return text ? static_cast<std::uint32_t>(2 * (text->size() + 1)) : 0;
}

std::vector<std::uint8_t> PackStringPool(ConfigImage& image, const StringSlotTable& slots,
                                         std::uint32_t poolBytes) {
    std::vector<std::uint8_t> pool(poolBytes, 0);
    std::uint32_t offset = 0;
    for (int k = 0; k < kConfigEntries; ++k) {
        KeyEntry& entry = image.Entry(k);
        if (!HasEntryText(entry.type)) {
            continue;
        }
        const std::uint32_t size = slots.Size(k);
        if (size == 0 || size > poolBytes - offset) {
            entry.value = kNoPoolText;
            continue;
        }
        const std::u16string& text = *slots.Text(k);
        const std::uint32_t at = offset & ~1u;
        for (std::size_t i = 0; i < text.size(); ++i) {
            pool[at + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
            pool[at + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
        }
        // The terminator is already there: the pool starts zeroed.
        entry.value = offset;
        offset += size;
    }
    return pool;
}

std::optional<std::u16string> PoolTextAt(std::span<const std::uint8_t> pool, std::uint32_t offset) {
    if (offset % 2 != 0 || offset >= pool.size()) {
        return std::nullopt;
    }
    std::u16string text;
    for (std::size_t at = offset; at + 1 < pool.size(); at += 2) {
        const char16_t c = static_cast<char16_t>(pool[at] | pool[at + 1] << 8);
        if (c == u'\0') {
            return text;
        }
        text.push_back(c);
    }
    return std::nullopt;
}

}  // namespace korvel
