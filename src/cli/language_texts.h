#pragma once

#include "ports/text_lookup.h"

namespace korvel::cli {

// The texts of Skins/language.ini beside the program (or in share/korvel of an install), in the
// language the user chose; the built-in texts where it has none.
TextLookup LanguageTexts();

}  // namespace korvel::cli
