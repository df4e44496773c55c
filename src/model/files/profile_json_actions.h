#pragma once

// What the JSON form of a profile file says a key does, in both directions: the words of an
// action ("B", "VolumeUp", "macro:Fire"), and the entry they stand for in a block.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/image/config_image.h"
#include "model/macros/macro_record.h"

namespace korvel::profile_json {

// The entry a key of a block has until it is changed: the default with, where `gCodes`, a G key's
// code in aux. A new configuration has the G codes in block 0 only; one read from the keyboard has
// them in every onboard profile.
KeyEntry BaseEntry(int slot, bool gCodes);

struct Action {
    std::uint16_t type = kEntryDefault;
    std::uint32_t value = 0;
};

// "Default", "Disabled", "StopMacro", a key, a media key or a function by name, "macro:NAME" for a
// macro whose name and id are each its own alone, "macro#ID" otherwise. None for an entry whose
// type or value has no words (a program or text entry, a type or value out of range).
std::optional<std::string> DescribeAction(const KeyEntry& entry,
                                          std::span<const MacroRecord> macros);
// The action the words stand for; none with the reason in `error`.
std::optional<Action> ActionOf(std::string_view words, std::span<const MacroRecord> macros,
                               std::string& error);

// The entry an action gives the key at `slot`: G keys keep their code in aux, a macro plays once.
KeyEntry EntryOf(const Action& action, int slot, bool gCodes);

}  // namespace korvel::profile_json
