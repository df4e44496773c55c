#include "model/keys/key_entry_edit.h"

#include "device/keyboard_identity.h"
#include "model/image/config_store.h"

namespace korvel {

KeyEntry BuildEditedEntry(const KeyEdit& edit, int slot) {
    KeyEntry entry;
    entry.type = edit.type;
    entry.aux = GKeyCodeOfSlot(slot);
    switch (edit.type) {
        case kEntryKey:
            entry.value = edit.singleKey;
            if (edit.singleKey == 0 || (slot < kKeySlots && SlotOfScan(edit.singleKey) == slot)) {
                entry.type = kEntryDefault;
                entry.value = 0;
            }
            break;
        case kEntryMacro:
            if (edit.macroId == 0) {
                entry.type = kEntryDefault;
            } else {
                entry.value = edit.macroId;
                entry.aux = edit.cycles;
            }
            break;
        case kEntryMedia:
            entry.value = static_cast<std::uint32_t>(edit.mediaIndex);
            break;
        case kEntryFunction:
            entry.value = static_cast<std::uint32_t>(edit.functionIndex);
            break;
        default:
            break;
    }
    return entry;
}

bool WriteEditedEntry(EditingHolder& editing, int profile, int slot, const KeyEntry& entry) {
    if (profile < 0 || profile >= kOnboardProfiles || slot < 0 || slot >= kBlockSlots) {
        return false;
    }
    auto lock = editing.Lock();
    ConfigImage* image = editing.Image();
    if (image == nullptr) {
        return false;
    }
    const int k = GlobalEntryIndex(profile, slot);
    editing.Strings().ClearText(k);
    KeyEntry& stored = image->Entry(k);
    stored.type = entry.type;
    stored.aux = entry.aux;
    stored.value = entry.value;
    return true;
}

}  // namespace korvel
