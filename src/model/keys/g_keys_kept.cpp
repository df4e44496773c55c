#include "model/keys/g_keys_kept.h"

#include <algorithm>
#include <optional>

#include "device/keyboard_identity.h"
#include "model/keys/key_codes.h"

namespace korvel {
namespace {

// Two macros play alike when they press and release the same keys in the same order; delays are
// not compared, since the keyboard keeps them only to 10 ms.
bool SameKeys(const MacroRecord& a, const MacroRecord& b) {
    return std::equal(a.actions.begin(), a.actions.end(), b.actions.begin(), b.actions.end(),
                      [](const MacroAction& x, const MacroAction& y) {
                          return x.key == y.key && x.direction == y.direction;
                      });
}

// The id under which `macros` holds the macro `wanted`, which stood at `position` of its list.
std::optional<std::uint16_t> FindMacro(const MacroRecord& wanted, std::size_t position,
                                       const std::vector<MacroRecord>& macros) {
    if (position < macros.size() && SameKeys(macros[position], wanted)) {
        return macros[position].macroId;
    }
    for (const bool byName : {true, false}) {
        for (const MacroRecord& macro : macros) {
            if ((!byName || macro.name == wanted.name) && SameKeys(macro, wanted)) {
                return macro.macroId;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::uint16_t> KeepMacro(std::uint32_t keptId,
                                       std::span<const MacroRecord> keptMacros,
                                       std::vector<MacroRecord>& macros) {
    const auto kept = std::find_if(keptMacros.begin(), keptMacros.end(),
                                   [&](const MacroRecord& m) { return m.macroId == keptId; });
    if (kept == keptMacros.end()) {
        return std::nullopt;
    }
    const auto position = static_cast<std::size_t>(kept - keptMacros.begin());
    if (const auto found = FindMacro(*kept, position, macros)) {
        return found;
    }
    const std::uint16_t id = LowestFreeMacroId(macros);
    if (id == 0 || macros.size() >= static_cast<std::size_t>(kMaxMacros)) {
        return std::nullopt;
    }
    MacroRecord added = *kept;
    added.macroId = id;
    macros.push_back(std::move(added));
    return id;
}

}  // namespace

void KeepGKeyAssignments(const ConfigImage& kept, std::span<const MacroRecord> keptMacros,
                         ConfigImage& image, std::vector<MacroRecord>& macros) {
    for (int block = 0; block < kOnboardProfiles; ++block) {
        for (int slot = kFirstGKeySlot; slot <= kLastGKeySlot; ++slot) {
            const KeyEntry& from =
                kept.blocks[static_cast<std::size_t>(block)][static_cast<std::size_t>(slot)];
            KeyEntry& to =
                image.blocks[static_cast<std::size_t>(block)][static_cast<std::size_t>(slot)];
            KeyEntry entry = from;
            if (HasEntryText(from.type)) {
                entry = KeyEntry{};
            } else if (from.type == kEntryMacro) {
                if (const auto id = KeepMacro(from.value, keptMacros, macros)) {
                    entry.value = *id;
                } else {
                    entry = KeyEntry{};
                }
            }
            if (entry.type == kEntryDefault) {
                // An unassigned G key carries its code, as a fresh configuration's does.
                entry.aux = to.aux;
            }
            to = entry;
        }
    }
}

}  // namespace korvel
