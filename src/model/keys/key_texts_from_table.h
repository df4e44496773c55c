#pragma once

#include "model/keys/key_codec.h"

namespace korvel {

class TextTable;

// The key names the language file gives: UNKNOWN_KEY, the 18 media names and the nine function
// names, for KeyCodec::SetTexts after every load of the texts.
KeyTexts KeyTextsFromTable(const TextTable& texts);

}  // namespace korvel
