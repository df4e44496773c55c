#include "model/keys/key_texts_from_table.h"

#include "model/keys/key_codes.h"
#include "text/text_table.h"

namespace korvel {

KeyTexts KeyTextsFromTable(const TextTable& texts) {
    KeyTexts keys;
    keys.unknownKey = texts.Text(TextKey::UNKNOWN_KEY);
    const auto media = MediaKeyTable();
    for (std::size_t i = 0; i < media.size(); ++i) {
        keys.mediaNames[i] = texts.Text(media[i].languageKey);
    }
    for (int i = 0; i < kFunctionKeys; ++i) {
        keys.functionNames[static_cast<std::size_t>(i)] =
            texts.Text("FUNC_KEY_DESC" + std::to_string(i + 1));
    }
    return keys;
}

}  // namespace korvel
