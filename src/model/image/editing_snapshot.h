#pragma once

#include <optional>
#include <vector>

#include "model/image/config_image.h"
#include "model/image/config_store.h"
#include "model/image/string_pool.h"
#include "model/macros/macro_record.h"

namespace korvel {

// Everything an editor changes in EditingConfig, copied: what an undo of an edit puts back.
struct EditingSnapshot {
    ConfigImage image;
    std::vector<MacroRecord> macros;
    StringSlotTable strings;
    bool operator==(const EditingSnapshot&) const = default;
};

// A copy of EditingConfig, under its lock; none while it has no image.
std::optional<EditingSnapshot> TakeEditingSnapshot(const EditingHolder& editing);
// EditingConfig becomes `snapshot`, under its lock.
void PutBackEditingSnapshot(EditingHolder& editing, const EditingSnapshot& snapshot);

// The global indexes (block * 512 + slot) of the entries that differ, or whose texts differ.
std::vector<int> ChangedEntries(const EditingSnapshot& before, const EditingSnapshot& after);

}  // namespace korvel
