#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/macros/macro_record.h"

namespace korvel {

class KeyCodec;
class KeyNames;

// The step syntax of korvelctl's macros (docs/macro-steps.md): words separated by blanks. "+KEY"
// presses a key, "-KEY" releases it, "KEY" alone taps it (press, then release), and "NUMBERms" is
// the delay after the step before it, in milliseconds (0..40000). Keys are named as the window
// names them ("A", "Shift", "Right Ctrl", "F5").
//
// The actions the words stand for; none with, in `error`, the word that could not be read and why.
std::optional<std::vector<MacroAction>> ParseMacroSteps(std::string_view text,
                                                        const KeyNames& names, std::string& error);
// The actions in that syntax: a press directly followed by the release of the same key, without a
// delay between them, is written as the tap it is.
std::string FormatMacroSteps(const std::vector<MacroAction>& actions, const KeyCodec& codec);

// A macro in a few words: "4 actions, 2 cycles", "1 action, until stopped".
std::string DescribeMacro(const MacroRecord& macro);

}  // namespace korvel
