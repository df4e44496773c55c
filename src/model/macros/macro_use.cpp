#include "model/macros/macro_use.h"

#include <algorithm>

namespace korvel {

bool MacroAssignedToKeys(const EditingHolder& editing, const MacroRecord& record) {
    if (record.isNew == 1) {
        return false;
    }
    auto lock = editing.Lock();
    const ConfigImage* image = editing.Image();
    if (image == nullptr) {
        return false;
    }
    for (int k = 0; k < kConfigEntries; ++k) {
        if (k == 256) {
            continue;
        }
        const KeyEntry& entry = image->Entry(k);
        if (entry.type == kEntryMacro && (entry.value & 0xFFFF) == record.macroId) {
            return true;
        }
    }
    return false;
}

bool MacroInUse(const EditingHolder& editing, const MacroRecord& record,
                const std::function<bool()>& confirmDelete) {
    if (!MacroAssignedToKeys(editing, record)) {
        return true;
    }
    return confirmDelete && confirmDelete();
}

std::vector<int> ResetStaleMacroAssignments(ConfigImage& image, std::span<MacroRecord> list) {
    std::vector<int> changed;
    for (int k = 0; k < kConfigEntries; ++k) {
        KeyEntry& entry = image.Entry(k);
        if (entry.type != kEntryMacro) {
            continue;
        }
        const std::uint16_t id = static_cast<std::uint16_t>(entry.value & 0xFFFF);
        bool keep = false;
        if (id == 0) {
            if (!list.empty()) {
                entry.value = list.front().macroId;
                changed.push_back(k);
                continue;
            }
        } else {
            const auto it = std::find_if(list.begin(), list.end(),
                                         [id](const MacroRecord& r) { return r.macroId == id; });
            keep = it != list.end() && it->isNew != 1;
        }
        if (!keep) {
            // Back to the key's default; aux stays, as G keys keep their codes there.
            entry.type = kEntryDefault;
            entry.value = 0;
            changed.push_back(k);
        }
    }
    for (MacroRecord& record : list) {
        record.isNew = 0;
    }
    return changed;
}

std::vector<int> ReplaceEditingMacros(EditingHolder& editing, std::vector<MacroRecord> list) {
    auto lock = editing.Lock();
    std::vector<int> changed;
    if (ConfigImage* image = editing.Image()) {
        changed = ResetStaleMacroAssignments(*image, list);
    } else {
        for (MacroRecord& record : list) {
            record.isNew = 0;
        }
    }
    editing.SetMacros(std::move(list));
    return changed;
}

}  // namespace korvel
