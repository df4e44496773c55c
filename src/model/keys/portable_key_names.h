#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/keys/key_codec.h"
#include "model/keys/key_names.h"

namespace korvel {

// The names files that people edit give keys and what keys do: the window's English names without
// blanks ("CapsLock", "RightShift", "G3", "VolumeUp", "SelectAll"). They never follow the window's
// language or its language file, so a file reads the same on every computer.
class PortableKeyNames {
public:
    static const PortableKeyNames& Get();

    // The slot of a profile block: its key's name, "G1".."G9" (bank A) or "G1 (bank B)"; "slot N"
    // for a slot that no name stands for alone.
    std::string SlotName(int slot) const;
    // The slot a name stands for: one SlotName gives (case, blanks, '_', '-' and '/' do not count),
    // "slot N", or a key name the window's editors take ("LeftShift" for "Shift").
    std::optional<int> SlotOf(std::string_view name) const;

    std::string KeyName(ScanCode key) const;
    std::string MediaName(int mediaIndex) const;        // empty outside 0..17
    std::string FunctionName(int functionIndex) const;  // empty outside 0..8

    const KeyCodec& Codec() const { return m_codec; }
    const KeyNames& Names() const { return m_names; }

private:
    PortableKeyNames();

    KeyCodec m_codec;
    KeyNames m_names;
};

}  // namespace korvel
