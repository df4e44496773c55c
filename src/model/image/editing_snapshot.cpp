#include "model/image/editing_snapshot.h"

#include <memory>

namespace korvel {

std::optional<EditingSnapshot> TakeEditingSnapshot(const EditingHolder& editing) {
    auto lock = editing.Lock();
    if (editing.Image() == nullptr) {
        return std::nullopt;
    }
    return EditingSnapshot{*editing.Image(), editing.Macros(), editing.Strings()};
}

void PutBackEditingSnapshot(EditingHolder& editing, const EditingSnapshot& snapshot) {
    auto lock = editing.Lock();
    editing.SetImage(std::make_unique<ConfigImage>(snapshot.image));
    editing.SetMacros(snapshot.macros);
    editing.Strings() = snapshot.strings;
}

std::vector<int> ChangedEntries(const EditingSnapshot& before, const EditingSnapshot& after) {
    std::vector<int> changed;
    for (int k = 0; k < kConfigEntries; ++k) {
        const KeyEntry& was = before.image.Entry(k);
        const KeyEntry& is = after.image.Entry(k);
        const std::u16string* wasText = before.strings.Text(k);
        const std::u16string* isText = after.strings.Text(k);
        const bool textsDiffer = (wasText == nullptr) != (isText == nullptr) ||
                                 (wasText != nullptr && *wasText != *isText);
        if (!(was == is) || textsDiffer) {
            changed.push_back(k);
        }
    }
    return changed;
}

}  // namespace korvel
