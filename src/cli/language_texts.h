#pragma once

#include "model/keys/key_tip.h"
#include "ports/text_lookup.h"

namespace korvel {
class KeyCodec;
}

namespace korvel::cli {

// The texts of Skins/language.ini beside the program (or in share/korvel of an install), in the
// language the user chose; the built-in texts where it has none.
TextLookup LanguageTexts();
// The same file's English texts, whichever language the user chose.
TextLookup EnglishTexts();
// The key tips of the window in the language of `texts` ("sends B", "plays the macro Fire").
KeyTipTexts LocalisedTipTexts(const TextLookup& texts);
// The codec names media keys and unknown keys in the language of `texts`.
void LocaliseKeyNames(KeyCodec& codec, const TextLookup& texts);

}  // namespace korvel::cli
