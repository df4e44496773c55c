#include "model/files/setup_compare.h"

#include <algorithm>
#include <map>

#include "base/text_encoding.h"
#include "model/files/complete_backup.h"
#include "model/files/profile_file.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"
#include "model/keys/key_names.h"
#include "model/keys/key_table_codec.h"
#include "model/lighting/lighting_color.h"
#include "model/lighting/lighting_record.h"
#include "model/macros/macro_blob.h"
#include "model/macros/macro_steps.h"

namespace korvel {
namespace {

// The key at a slot of a profile block as the window labels it.
std::string SlotName(int slot, const KeyCodec& codec) {
    const std::u16string label = SlotLabel(codec, slot);
    return label.empty() ? "slot " + std::to_string(slot) : Utf16ToUtf8(label);
}

// What an entry does, as the key's tip says it, with the program or text it carries.
std::string Does(const Setup& setup, int profile, int slot, const KeyCodec& codec,
                 const KeyTipTexts& tips) {
    const KeyEntry& entry =
        setup.blocks[static_cast<std::size_t>(profile)][static_cast<std::size_t>(slot)];
    const KeyTip tip = KeyTipText(u"", entry, codec, setup.macros, tips);
    std::string text = tip.assigned ? Utf16ToUtf8(tip.text) : "its own key";
    if (tip.assigned && text.starts_with(Utf16ToUtf8(tips.set))) {
        text.erase(0, Utf16ToUtf8(tips.set).size());
    }
    if (HasEntryText(entry.type)) {
        if (const std::u16string* carried = setup.strings.Text(GlobalEntryIndex(profile, slot))) {
            text += " \"" + Utf16ToUtf8(*carried) + "\"";
        }
    }
    return text;
}

void CompareMacros(const Setup& first, const Setup& second,
                   std::vector<SetupDifference>& differences) {
    std::map<std::u16string, const MacroRecord*> a;
    std::map<std::u16string, const MacroRecord*> b;
    for (const MacroRecord& m : first.macros) {
        a.emplace(m.name, &m);
    }
    for (const MacroRecord& m : second.macros) {
        b.emplace(m.name, &m);
    }
    std::map<std::u16string, int> names;
    for (const auto& [name, _] : a) {
        names[name] = 0;
    }
    for (const auto& [name, _] : b) {
        names[name] = 0;
    }
    for (const auto& [name, _] : names) {
        const auto inA = a.find(name);
        const auto inB = b.find(name);
        const MacroRecord* x = inA == a.end() ? nullptr : inA->second;
        const MacroRecord* y = inB == b.end() ? nullptr : inB->second;
        if (x != nullptr && y != nullptr && x->loopCount == y->loopCount &&
            x->actions == y->actions) {
            continue;
        }
        SetupDifference d{SetupDifference::Kind::Macro, -1, "macro " + Utf16ToUtf8(name),
                          x != nullptr ? DescribeMacro(*x) : "none",
                          y != nullptr ? DescribeMacro(*y) : "none"};
        if (x != nullptr && y != nullptr && d.first == d.second) {
            // Same length and cycles: say where the actions part.
            const auto at = std::mismatch(x->actions.begin(), x->actions.end(), y->actions.begin());
            d.first += ", action " + std::to_string(at.first - x->actions.begin() + 1) + " differs";
            d.second = d.first;
        }
        differences.push_back(std::move(d));
    }
}

void CompareLighting(const Setup& first, const Setup& second,
                     std::vector<SetupDifference>& differences) {
    for (int p = 0; p < kOnboardProfiles; ++p) {
        ProfileParamRecord a;
        ProfileParamRecord b;
        a.bytes = (*first.lighting)[static_cast<std::size_t>(p)];
        b.bytes = (*second.lighting)[static_cast<std::size_t>(p)];
        const LightingValues x = DecodeRecord(a);
        const LightingValues y = DecodeRecord(b);
        const std::pair<const char*, std::pair<std::string, std::string>> fields[] = {
            {"effect", {std::to_string(x.effect), std::to_string(y.effect)}},
            {"brightness", {std::to_string(x.brightness), std::to_string(y.brightness)}},
            {"speed", {std::to_string(x.speed), std::to_string(y.speed)}},
            {"direction", {std::to_string(x.direction), std::to_string(y.direction)}},
            {"multicolor", {std::to_string(x.multicolor), std::to_string(y.multicolor)}},
            {"color", {FormatColor(x.effectColor), FormatColor(y.effectColor)}},
            {"base-color", {FormatColor(x.baseColor), FormatColor(y.baseColor)}},
            {"paint-color", {FormatColor(x.paintColor), FormatColor(y.paintColor)}},
            {"report-rate", {std::to_string(x.reportRate), std::to_string(y.reportRate)}},
            {"tool", {std::to_string(x.paintTool), std::to_string(y.paintTool)}},
            {"effect17", {std::to_string(x.effect17Color), std::to_string(y.effect17Color)}},
        };
        for (const auto& [name, values] : fields) {
            if (values.first != values.second) {
                differences.push_back({SetupDifference::Kind::Lighting, p,
                                       "profile " + std::to_string(p + 1) + ", lighting " + name,
                                       values.first, values.second});
            }
        }
    }
}

}  // namespace

Setup SetupOf(const ProfileContents& contents) {
    Setup setup;
    for (int p = 0; p < kOnboardProfiles; ++p) {
        setup.blocks[static_cast<std::size_t>(p)] =
            contents.image->blocks[static_cast<std::size_t>(p)];
    }
    setup.strings = contents.strings;
    setup.macros = contents.macros;
    return setup;
}

Setup SetupOf(const CompleteBackup& backup, const KeyTableBytes& defaultTable,
              std::u16string_view newMacroPrefix) {
    Setup setup;
    for (std::size_t p = 0; p < kOnboardProfiles; ++p) {
        DecodeKeyTable(backup.keyTables[p], setup.blocks[p], defaultTable);
    }
    setup.macros = ParseMacroBlob(backup.macroArea, newMacroPrefix).records;
    setup.lighting = backup.lightingRecords;
    setup.activeProfile = backup.activeProfile;
    setup.holdsGKeys = false;
    return setup;
}

std::vector<SetupDifference> CompareSetups(const Setup& first, const Setup& second,
                                           const KeyCodec& codec, const KeyTipTexts& tips) {
    std::vector<SetupDifference> differences;
    for (int p = 0; p < kOnboardProfiles; ++p) {
        for (int slot = 0; slot < kBlockSlots; ++slot) {
            const bool gKey = slot >= kFirstGKeySlot && slot <= kLastGKeySlot;
            if (gKey && !(first.holdsGKeys && second.holdsGKeys)) {
                continue;
            }
            const std::string a = Does(first, p, slot, codec, tips);
            const std::string b = Does(second, p, slot, codec, tips);
            if (a != b) {
                differences.push_back(
                    {SetupDifference::Kind::Key, p,
                     "profile " + std::to_string(p + 1) + ", " + SlotName(slot, codec), a, b});
            }
        }
    }
    CompareMacros(first, second, differences);
    if (first.lighting && second.lighting) {
        CompareLighting(first, second, differences);
    }
    if (first.activeProfile && second.activeProfile &&
        *first.activeProfile != *second.activeProfile) {
        differences.push_back({SetupDifference::Kind::ActiveProfile, -1, "active profile",
                               std::to_string(*first.activeProfile + 1),
                               std::to_string(*second.activeProfile + 1)});
    }
    return differences;
}

}  // namespace korvel
