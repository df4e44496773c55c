#include "model/keys/portable_key_names.h"

#include <array>
#include <charconv>
#include <map>

#include "base/text_encoding.h"
#include "model/image/config_image.h"

namespace korvel {
namespace {

// By media index, as MediaKeyTable orders them.
const std::array<std::u16string, kMediaKeys> kMediaNames = {
    u"Media Player",    u"Play Pause",   u"Stop",
    u"Previous Track",  u"Next Track",   u"Volume Down",
    u"Volume Up",       u"Mute",         u"Browser Home",
    u"Browser Refresh", u"Browser Stop", u"Browser Back",
    u"Browser Forward", u"Favorites",    u"Browser Search",
    u"My Computer",     u"Calculator",   u"Mail"};
const std::array<std::u16string, kFunctionKeys> kFunctionNames = {
    u"Open", u"New", u"Undo", u"Save", u"Copy", u"Cut", u"Paste", u"Find", u"Select All"};

constexpr std::string_view kSlotPrefix = "slot";

std::string WithoutBlanks(const std::u16string& name) {
    std::string text = Utf16ToUtf8(name);
    std::erase(text, ' ');
    return text;
}

// The slot numbers of the names that stand for one slot alone, by their folded name.
const std::map<std::string, int>& SlotsByName(const PortableKeyNames& names) {
    static const std::map<std::string, int> slots = [&names] {
        std::map<std::string, int> found;
        std::map<std::string, int> uses;
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            const std::string label = FoldedName(Utf16ToUtf8(SlotLabel(names.Codec(), slot)));
            if (!label.empty() && !label.starts_with(kSlotPrefix)) {
                found[label] = slot;
                ++uses[label];
            }
        }
        std::erase_if(found, [&uses](const auto& item) { return uses[item.first] > 1; });
        return found;
    }();
    return slots;
}

}  // namespace

PortableKeyNames::PortableKeyNames() : m_names(m_codec, kMediaNames, kFunctionNames) {
    KeyTexts texts = m_codec.Texts();
    texts.mediaNames = kMediaNames;
    texts.functionNames = kFunctionNames;
    m_codec.SetTexts(std::move(texts));
}

const PortableKeyNames& PortableKeyNames::Get() {
    static const PortableKeyNames names;
    return names;
}

std::string PortableKeyNames::SlotName(int slot) const {
    const std::u16string label = SlotLabel(m_codec, slot);
    const auto& slots = SlotsByName(*this);
    if (const auto found = slots.find(FoldedName(Utf16ToUtf8(label)));
        found != slots.end() && found->second == slot) {
        // "G3 (bank B)" keeps the window's words; other names lose their blanks.
        return slot >= kFirstGKeySlot ? Utf16ToUtf8(label) : WithoutBlanks(label);
    }
    return std::string(kSlotPrefix) + " " + std::to_string(slot);
}

std::optional<int> PortableKeyNames::SlotOf(std::string_view name) const {
    const std::string folded = FoldedName(name);
    const auto& slots = SlotsByName(*this);
    if (const auto found = slots.find(folded); found != slots.end()) {
        return found->second;
    }
    if (folded.starts_with(kSlotPrefix)) {
        const std::string_view digits = std::string_view(folded).substr(kSlotPrefix.size());
        int slot = -1;
        const auto [end, problem] =
            std::from_chars(digits.data(), digits.data() + digits.size(), slot);
        if (problem == std::errc() && end == digits.data() + digits.size() && slot >= 0 &&
            slot < kBlockSlots) {
            return slot;
        }
        return std::nullopt;
    }
    return m_names.SlotOf(name);
}

std::string PortableKeyNames::KeyName(ScanCode key) const {
    return WithoutBlanks(m_codec.KeyNameOf(key));
}

std::string PortableKeyNames::MediaName(int mediaIndex) const {
    return mediaIndex >= 0 && mediaIndex < kMediaKeys ? WithoutBlanks(kMediaNames[mediaIndex])
                                                      : std::string();
}

std::string PortableKeyNames::FunctionName(int functionIndex) const {
    return functionIndex >= 0 && functionIndex < kFunctionKeys
               ? WithoutBlanks(kFunctionNames[functionIndex])
               : std::string();
}

}  // namespace korvel
