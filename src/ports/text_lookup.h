#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace korvel {

// The localised text of a language key, such as EXTRA_PROFILE_SPACE_TIGHT; empty when the
// language file has none. The core asks through this so that it never depends on how texts are
// loaded.
using TextLookup = std::function<std::u16string(std::string_view key)>;

// The text to show for a message: the localised one when there is one, else the built-in text,
// so that a language file without the key never gives an empty message box.
inline std::u16string LocalisedOr(const TextLookup& texts, std::string_view key,
                                  std::u16string_view builtIn) {
    if (texts && !key.empty()) {
        std::u16string text = texts(key);
        if (!text.empty()) {
            return text;
        }
    }
    return std::u16string(builtIn);
}

}  // namespace korvel
