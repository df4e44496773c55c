#include "model/keys/key_editing.h"

#include <algorithm>
#include <limits>

namespace korvel {
namespace {

KeyPage PageOfEntry(const KeyEntry& entry) {
    switch (entry.type) {
        case kEntryMacro:
            return KeyPage::Macro;
        case kEntryMedia:
            return KeyPage::Media;
        case kEntryFunction:
            return KeyPage::Function;
        default:
            return KeyPage::SingleKey;
    }
}

std::uint8_t CyclesOf(unsigned cycles) {
    return static_cast<std::uint8_t>(std::clamp(cycles, 1U, 255U));
}

// What the pages show of an entry; a value out of its page's range shows as nothing.
KeyEdit ShownOfEntry(const KeyEntry& entry) {
    KeyEdit shown;
    const std::uint32_t value = entry.value;
    switch (entry.type) {
        case kEntryKey:
            if (value <= std::numeric_limits<ScanCode>::max()) {
                shown.type = kEntryKey;
                shown.singleKey = static_cast<ScanCode>(value);
            }
            break;
        case kEntryMacro:
            if (value <= std::numeric_limits<std::uint16_t>::max()) {
                shown.type = kEntryMacro;
                shown.macroId = static_cast<std::uint16_t>(value);
                shown.cycles = CyclesOf(entry.aux);
            }
            break;
        case kEntryMedia:
            if (value < kMediaKeys) {
                shown.type = kEntryMedia;
                shown.mediaIndex = static_cast<int>(value);
            }
            break;
        case kEntryFunction:
            if (value < kFunctionKeys) {
                shown.type = kEntryFunction;
                shown.functionIndex = static_cast<int>(value);
            }
            break;
        default:
            break;
    }
    return shown;
}

}  // namespace

void KeyEditing::Open(int slot, const KeyEntry& entry, bool macroOnly) {
    m_slot = slot;
    m_macroOnly = macroOnly;
    m_page = macroOnly ? KeyPage::Macro : PageOfEntry(entry);
    m_shown = ShownOfEntry(entry);
    m_chosen = false;
}

bool KeyEditing::ShowPage(KeyPage page) {
    if (page == m_page || (m_macroOnly && page != KeyPage::Macro)) {
        return false;
    }
    m_page = page;
    return true;
}

bool KeyEditing::OfferKey(ScanCode key, bool release, bool autoRepeat) {
    if (m_page != KeyPage::SingleKey || key == 0 || autoRepeat) {
        return false;
    }
    // Such a key's release is the only event it sends, so it stands for the press.
    if (release && !KeyDeliversNoPress(key)) {
        return false;
    }
    Choose({.type = kEntryKey, .singleKey = key});
    return true;
}

bool KeyEditing::ChooseMedia(int index) {
    if (m_page != KeyPage::Media || index < 0 || index >= kMediaKeys) {
        return false;
    }
    Choose({.type = kEntryMedia, .mediaIndex = index});
    return true;
}

bool KeyEditing::ChooseFunction(int index) {
    if (m_page != KeyPage::Function || index < 0 || index >= kFunctionKeys) {
        return false;
    }
    Choose({.type = kEntryFunction, .functionIndex = index});
    return true;
}

bool KeyEditing::ChooseMacro(std::uint16_t macroId, std::uint8_t cycles) {
    if (m_page != KeyPage::Macro) {
        return false;
    }
    Choose({.type = kEntryMacro, .macroId = macroId, .cycles = CyclesOf(cycles)});
    return true;
}

void KeyEditing::Clear() {
    if (m_macroOnly) {
        return;
    }
    m_page = KeyPage::SingleKey;
    Choose({.type = kEntryDefault});
}

void KeyEditing::Choose(const KeyEdit& edit) {
    m_shown = edit;
    m_chosen = true;
}

ScanCode KeyEditing::ShownKey() const {
    return m_shown.type == kEntryKey ? m_shown.singleKey : 0;
}

int KeyEditing::ShownMedia() const {
    return m_shown.type == kEntryMedia ? m_shown.mediaIndex : -1;
}

int KeyEditing::ShownFunction() const {
    return m_shown.type == kEntryFunction ? m_shown.functionIndex : -1;
}

MacroChoice KeyEditing::ShownMacro() const {
    if (m_shown.type != kEntryMacro) {
        return {};
    }
    return {m_shown.macroId, m_shown.cycles};
}

std::optional<KeyEdit> KeyEditing::Edit() const {
    if (!m_chosen) {
        return std::nullopt;
    }
    return m_shown;
}

}  // namespace korvel
