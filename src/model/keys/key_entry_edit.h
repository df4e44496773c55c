#pragma once

#include <cstdint>

#include "model/keys/key_codes.h"
#include "model/keys/key_entry.h"

namespace korvel {

class EditingHolder;

// What the key editor holds when it applies: the page's entry type and the choice on each page.
struct KeyEdit {
    std::uint16_t type = kEntryDefault;  // 0 cleared, 2 key, 4 macro, 7 media, 8 function; 1, 3,
                                         // 5, 6 are kept as they were loaded
    ScanCode singleKey = 0;
    std::uint16_t macroId = 0;  // 0: the macro list is empty
    std::uint8_t cycles = 1;
    int mediaIndex = 0;
    int functionIndex = 0;
};

// The entry a key editor writes for the key at `slot` of a profile block. A G key keeps its G code
// in aux unless it plays a macro, whose cycles take its place; a key given itself, no key or a
// macro from an empty list goes back to its default.
KeyEntry BuildEditedEntry(const KeyEdit& edit, int slot);

// Writes the entry at `slot` of `profile`'s block of EditingConfig under the editing lock, freeing
// the text the replaced entry had. False (and nothing written) when the profile is not one of the
// onboard profiles or the image is missing.
bool WriteEditedEntry(EditingHolder& editing, int profile, int slot, const KeyEntry& entry);

}  // namespace korvel
