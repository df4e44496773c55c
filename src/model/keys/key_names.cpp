#include "model/keys/key_names.h"

#include <cctype>

#include "base/text_encoding.h"
#include "model/keys/key_codec.h"

namespace korvel {
namespace {

constexpr std::string_view kMacroPrefix = "macro:";

std::string Lower(std::string_view text) {
    std::string lower;
    for (const char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

bool SameName(std::string_view typed, const std::u16string& name) {
    if (name.empty()) {
        return false;
    }
    const std::string utf8 = Utf16ToUtf8(name);
    if (Lower(typed) == Lower(utf8)) {
        return true;
    }
    const std::string folded = FoldedName(typed);
    return !folded.empty() && folded == FoldedName(utf8);
}

}  // namespace

std::string FoldedName(std::string_view text) {
    std::string folded;
    for (const char c : Lower(text)) {
        if (c != ' ' && c != '_' && c != '-' && c != '/') {
            folded += c;
        }
    }
    return folded;
}

std::u16string SlotLabel(const KeyCodec& codec, int slot) {
    if (slot >= 0 && slot < kKeySlots) {
        return codec.KeyNameOf(ScanOfSlot(static_cast<KeySlot>(slot)));
    }
    if (slot >= kFirstGKeySlot && slot <= kLastGKeySlot) {
        const int n = (slot - kFirstGKeySlot) % kGKeys + 1;
        return GKeyLabel(n) + (slot - kFirstGKeySlot < kGKeys ? u"" : u" (bank B)");
    }
    return {};
}

KeyNames::KeyNames(const KeyCodec& codec, std::array<std::u16string, kMediaKeys> mediaNames,
                   std::array<std::u16string, kFunctionKeys> functionNames)
    : m_codec(codec), m_media(std::move(mediaNames)), m_functions(std::move(functionNames)) {
    for (int slot = 0; slot < kKeySlots; ++slot) {
        const ScanCode sc = ScanOfSlot(static_cast<KeySlot>(slot));
        if (sc == 0 || MediaIndexOfScan(sc) >= 0) {
            continue;
        }
        const std::string name = Utf16ToUtf8(m_codec.KeyNameOf(sc));
        if (name.empty()) {
            continue;
        }
        if (const std::string folded = FoldedName(name); !folded.empty()) {
            m_keys.emplace(folded, sc);
        } else {
            m_unfoldable.emplace(Lower(name), sc);
        }
    }
}

std::optional<ScanCode> KeyNames::KeyOf(std::string_view name) const {
    const std::string folded = FoldedName(name);
    // The left one of a pair is named without "Left" ("Shift" and "Right Shift").
    if (folded.starts_with("left") && folded.size() > 4) {
        if (const std::optional<ScanCode> sc = KeyOf(folded.substr(4))) {
            return sc;
        }
    }
    if (!folded.empty()) {
        if (const auto found = m_keys.find(folded); found != m_keys.end()) {
            return found->second;
        }
    } else if (const auto found = m_unfoldable.find(Lower(name)); found != m_unfoldable.end()) {
        return found->second;
    }
    return std::nullopt;
}

std::optional<int> KeyNames::SlotOf(std::string_view name) const {
    for (int n = 1; n <= kGKeys; ++n) {
        if (SameName(name, GKeyLabel(n))) {
            return GKeySlot(n, GKeyBank::A);
        }
    }
    if (const std::optional<ScanCode> sc = KeyOf(name)) {
        return static_cast<int>(SlotOfScan(*sc));
    }
    return std::nullopt;
}

std::optional<KeyNames::Target> KeyNames::TargetOf(std::string_view name) const {
    Target target;
    if (Lower(name).starts_with(kMacroPrefix)) {
        target.edit.type = kEntryMacro;
        target.macro = Utf8ToUtf16(name.substr(kMacroPrefix.size()));
        return target.macro.empty() ? std::nullopt : std::optional<Target>(target);
    }
    for (int i = 0; i < kMediaKeys; ++i) {
        if (SameName(name, m_media[static_cast<std::size_t>(i)])) {
            target.edit.type = kEntryMedia;
            target.edit.mediaIndex = i;
            return target;
        }
    }
    for (int i = 0; i < kFunctionKeys; ++i) {
        if (SameName(name, m_functions[static_cast<std::size_t>(i)])) {
            target.edit.type = kEntryFunction;
            target.edit.functionIndex = i;
            return target;
        }
    }
    if (const std::optional<ScanCode> sc = KeyOf(name)) {
        target.edit.type = kEntryKey;
        target.edit.singleKey = *sc;
        return target;
    }
    return std::nullopt;
}

}  // namespace korvel
