#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/keys/key_codes.h"
#include "model/keys/key_entry_edit.h"

namespace korvel {

class KeyCodec;

// The key at a slot of a profile block as the window labels it: "A", "Caps Lock", "G3" ("G3 (bank
// B)" for a G key of bank B); empty for a slot that is no key.
std::u16string SlotLabel(const KeyCodec& codec, int slot);

// A name as it is compared with another: lower case, without blanks, '_', '-' and '/' ("Caps
// Lock", "caps_lock" and "CapsLock" all give "capslock"); empty for a name made of those alone.
std::string FoldedName(std::string_view text);

// The names a user types for keys and what a key may do, as the window shows them: "A",
// "Caps Lock" (or "CapsLock", "caps_lock": case, blanks, '_', '-' and '/' do not count), "Shift"
// (or "LeftShift") and "Right Shift", "G1".."G9", the media keys and editing functions by their
// names ("Volume Up", "Copy"), and "macro:NAME".
class KeyNames {
public:
    // `mediaNames` and `functionNames`: the English names of the media keys and functions, by
    // index; the codec's key names are the built-in English ones, taken as they are now.
    KeyNames(const KeyCodec& codec, std::array<std::u16string, kMediaKeys> mediaNames,
             std::array<std::u16string, kFunctionKeys> functionNames);

    // The slot of a profile block a key name stands for (a key or G1..G9 of bank A).
    std::optional<int> SlotOf(std::string_view name) const;
    // The key a name stands for (not a media key, function or G key).
    std::optional<ScanCode> KeyOf(std::string_view name) const;

    // What TARGET names: a key, a media key or a function. A macro ("macro:NAME") gives its name
    // in `macro` and the macro type; the caller finds its id.
    struct Target {
        KeyEdit edit;
        std::u16string macro;
    };
    std::optional<Target> TargetOf(std::string_view name) const;

    const KeyCodec& Codec() const { return m_codec; }

private:
    const KeyCodec& m_codec;
    // The keys by their folded names, the first in slot order where two share one; those whose
    // name folds to nothing ("-") by their lower-case name.
    std::unordered_map<std::string, ScanCode> m_keys;
    std::unordered_map<std::string, ScanCode> m_unfoldable;
    std::array<std::u16string, kMediaKeys> m_media;
    std::array<std::u16string, kFunctionKeys> m_functions;
};

}  // namespace korvel
