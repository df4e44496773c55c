#pragma once

#include <cstdint>
#include <functional>

#include "device/default_key_table.h"
#include "model/image/config_image.h"

namespace korvel {

// The keyboard's macro number for a macro id (MacroIndexById on EditingConfig in the program).
using MacroPositionOf = std::function<std::uint16_t(std::uint16_t macroId)>;

// The key table one profile block gives the keyboard. A matrix position belongs to the key its
// code in defaultTable decodes to; positions that decode to no key keep their default code, and
// two positions of one key both follow that key's entry. G-key slots are never sent.
KeyTableBytes EncodeKeyTable(const ProfileBlock& block, const KeyTableBytes& defaultTable,
                             const MacroPositionOf& macroPosition);

// The profile block a key table read from the keyboard stands for: a fresh block (G codes in
// place) in which every position that differs from defaultTable gives its key the assignment its
// code expresses, or "disabled" when the code means nothing to the tool. Macro ids are area
// positions plus one. When two positions of one key differ, the later one wins.
void DecodeKeyTable(const KeyTableBytes& keyTable, ProfileBlock& profileBlock,
                    const KeyTableBytes& defaultTable);

}  // namespace korvel
