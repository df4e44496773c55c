#pragma once

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
// The codec names media keys and unknown keys in the language of `texts`.
void LocaliseKeyNames(KeyCodec& codec, const TextLookup& texts);

}  // namespace korvel::cli
