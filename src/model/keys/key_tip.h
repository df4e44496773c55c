#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/keys/key_entry.h"
#include "model/macros/macro_record.h"

namespace korvel {

class KeyCodec;

// The localised pieces of a key button's tip (the built-in texts by default).
struct KeyTipTexts {
    std::u16string set = u"Keys, Set: ";
    std::u16string single = u"Key(";
    std::u16string macro = u"Macro(";
    std::u16string media = u"Media(";
    std::u16string function = u"Function(";
    std::u16string close = u")";
};

struct KeyTip {
    std::u16string text;
    bool assigned = false;  // the entry is not the key's default
};

// What a key button says about its key: the label, and for an assigned key "Keys, Set: " and
// what it does, e.g. "AKeys, Set: Key(B)" or "G3Keys, Set: Macro(Fire)". A macro id that no
// macro has, a media index outside 0..17 or a function index outside 0..8 names nothing between
// the brackets.
KeyTip KeyTipText(std::u16string_view label, const KeyEntry& entry, const KeyCodec& codec,
                  const std::vector<MacroRecord>& macros, const KeyTipTexts& texts = {});

}  // namespace korvel
