#include "model/macros/macro_steps.h"

#include <charconv>

#include "base/text_encoding.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_names.h"

namespace korvel {
namespace {

// A delay word: digits and "ms".
std::optional<std::uint32_t> DelayOf(std::string_view word) {
    if (!word.ends_with("ms") || word.size() == 2) {
        return std::nullopt;
    }
    const std::string_view digits = word.substr(0, word.size() - 2);
    std::uint32_t value = 0;
    const auto [end, problem] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (problem != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace

std::optional<std::vector<MacroAction>> ParseMacroSteps(std::string_view text,
                                                        const KeyNames& names, std::string& error) {
    std::vector<MacroAction> actions;
    for (const std::string& word : Words(text)) {
        if (const std::optional<std::uint32_t> delay = DelayOf(word)) {
            if (actions.empty()) {
                error = "'" + word + "': a delay comes after a step";
                return std::nullopt;
            }
            if (*delay > kMaxMacroDelayMs) {
                error = "'" + word + "': a delay is at most " + std::to_string(kMaxMacroDelayMs) +
                        " ms";
                return std::nullopt;
            }
            actions.back().delayMs = *delay;
            continue;
        }
        // "+-" presses the minus key, "--" releases it, "-" alone taps it.
        const bool press = word.size() > 1 && word[0] == '+';
        const bool release = word.size() > 1 && word[0] == '-';
        const std::string key = press || release ? word.substr(1) : word;
        const std::optional<ScanCode> scan = names.KeyOf(key);
        if (!scan) {
            error = "'" + word + "': no key is named '" + key + "'";
            return std::nullopt;
        }
        if (!release) {
            actions.push_back({0, *scan, kMacroPress});
        }
        if (!press) {
            actions.push_back({0, *scan, kMacroRelease});
        }
    }
    if (actions.empty()) {
        error = "a macro needs at least one step";
        return std::nullopt;
    }
    if (actions.size() > static_cast<std::size_t>(kMaxMacroActions)) {
        error = "a macro holds at most " + std::to_string(kMaxMacroActions) + " actions, not " +
                std::to_string(actions.size());
        return std::nullopt;
    }
    return actions;
}

std::string DescribeMacro(const MacroRecord& macro) {
    return std::to_string(macro.actions.size()) +
           (macro.actions.size() == 1 ? " action, " : " actions, ") +
           (macro.loopCount == 0
                ? std::string("until stopped")
                : std::to_string(macro.loopCount) + (macro.loopCount == 1 ? " cycle" : " cycles"));
}

std::string FormatMacroSteps(const std::vector<MacroAction>& actions, const KeyCodec& codec) {
    std::string text;
    const auto name = [&codec](ScanCode key) {
        std::string n = Utf16ToUtf8(codec.KeyNameOf(key));
        std::erase(n, ' ');
        return n;
    };
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const MacroAction& a = actions[i];
        text += text.empty() ? "" : " ";
        const bool tap = a.direction == kMacroPress && a.delayMs == 0 && i + 1 < actions.size() &&
                         actions[i + 1].key == a.key && actions[i + 1].direction == kMacroRelease;
        if (tap) {
            const MacroAction& release = actions[++i];
            text += name(a.key);
            if (release.delayMs != 0) {
                text += " " + std::to_string(release.delayMs) + "ms";
            }
            continue;
        }
        text += (a.direction == kMacroPress ? "+" : "-") + name(a.key);
        if (a.delayMs != 0) {
            text += " " + std::to_string(a.delayMs) + "ms";
        }
    }
    return text;
}

}  // namespace korvel
