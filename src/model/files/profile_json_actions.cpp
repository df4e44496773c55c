#include "model/files/profile_json_actions.h"

#include <algorithm>
#include <charconv>

#include "base/text_encoding.h"
#include "model/keys/key_names.h"
#include "model/keys/portable_key_names.h"

namespace korvel::profile_json {
namespace {

constexpr std::string_view kMacroByName = "macro:";
constexpr std::string_view kMacroById = "macro#";

struct Plain {
    std::string_view words;
    std::uint16_t type;
};
constexpr Plain kPlainActions[] = {
    {"Default", kEntryDefault}, {"Disabled", kEntryDisabled}, {"StopMacro", kEntryStopMacro}};

bool StartsWith(std::string_view words, std::string_view prefix) {
    return words.size() >= prefix.size() &&
           FoldedName(words.substr(0, prefix.size() - 1)) ==
               FoldedName(prefix.substr(0, prefix.size() - 1)) &&
           words[prefix.size() - 1] == prefix.back();
}

template <typename Match>
std::ptrdiff_t CountMacros(std::span<const MacroRecord> macros, Match match) {
    return std::count_if(macros.begin(), macros.end(), match);
}

}  // namespace

KeyEntry BaseEntry(int slot, bool gCodes) {
    KeyEntry entry;
    entry.aux = gCodes ? GKeyCodeOfSlot(slot) : 0;
    return entry;
}

std::optional<std::string> DescribeAction(const KeyEntry& entry,
                                          std::span<const MacroRecord> macros) {
    const PortableKeyNames& names = PortableKeyNames::Get();
    for (const Plain& plain : kPlainActions) {
        if (entry.type == plain.type) {
            return std::string(plain.words);
        }
    }
    switch (entry.type) {
        case kEntryKey:
            if (entry.value <= 0xFFFF) {
                return names.KeyName(static_cast<ScanCode>(entry.value));
            }
            return std::nullopt;
        case kEntryMedia:
            return entry.value < kMediaKeys ? names.MediaName(static_cast<int>(entry.value))
                                            : std::optional<std::string>();
        case kEntryFunction:
            return entry.value < kFunctionKeys ? names.FunctionName(static_cast<int>(entry.value))
                                               : std::optional<std::string>();
        case kEntryMacro: {
            const auto withId = std::find_if(macros.begin(), macros.end(), [&](const auto& m) {
                return m.macroId == entry.value;
            });
            if (withId != macros.end() && !withId->name.empty() &&
                CountMacros(macros, [&](const auto& m) { return m.macroId == entry.value; }) == 1 &&
                CountMacros(macros, [&](const auto& m) { return m.name == withId->name; }) == 1) {
                return std::string(kMacroByName) + Utf16ToUtf8(withId->name);
            }
            return std::string(kMacroById) + std::to_string(entry.value);
        }
        default:
            return std::nullopt;
    }
}

std::optional<Action> ActionOf(std::string_view words, std::span<const MacroRecord> macros,
                               std::string& error) {
    for (const Plain& plain : kPlainActions) {
        if (FoldedName(words) == FoldedName(plain.words)) {
            return Action{plain.type, 0};
        }
    }
    if (StartsWith(words, kMacroById)) {
        const std::string_view digits = words.substr(kMacroById.size());
        std::uint32_t id = 0;
        const auto [end, problem] =
            std::from_chars(digits.data(), digits.data() + digits.size(), id);
        if (problem != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
            error = "'" + std::string(words) + "': a macro's id is a whole number";
            return std::nullopt;
        }
        return Action{kEntryMacro, id};
    }
    if (StartsWith(words, kMacroByName)) {
        const std::u16string name = Utf8ToUtf16(words.substr(kMacroByName.size()));
        const auto same = [&name](const MacroRecord& m) { return m.name == name; };
        const auto count = CountMacros(macros, same);
        if (count != 1) {
            error = count == 0 ? "there is no macro named '" + Utf16ToUtf8(name) + "'"
                               : "more than one macro is named '" + Utf16ToUtf8(name) +
                                     "': name it by its id (macro#ID)";
            return std::nullopt;
        }
        return Action{kEntryMacro, std::find_if(macros.begin(), macros.end(), same)->macroId};
    }
    const std::optional<KeyNames::Target> target = PortableKeyNames::Get().Names().TargetOf(words);
    if (!target) {
        error = "'" + std::string(words) +
                "' is no key, media key, function, macro:NAME, Default, Disabled or StopMacro";
        return std::nullopt;
    }
    switch (target->edit.type) {
        case kEntryKey:
            return Action{kEntryKey, target->edit.singleKey};
        case kEntryMedia:
            return Action{kEntryMedia, static_cast<std::uint32_t>(target->edit.mediaIndex)};
        default:
            return Action{kEntryFunction, static_cast<std::uint32_t>(target->edit.functionIndex)};
    }
}

KeyEntry EntryOf(const Action& action, int slot, bool gCodes) {
    KeyEntry entry = BaseEntry(slot, gCodes);
    entry.type = action.type;
    entry.value = action.value;
    if (action.type == kEntryMacro) {
        entry.aux = 1;
    } else if (action.type != kEntryDefault) {
        entry.aux = GKeyCodeOfSlot(slot);
    }
    return entry;
}

}  // namespace korvel::profile_json
