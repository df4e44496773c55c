#pragma once

#include <span>
#include <vector>

#include "model/image/config_image.h"
#include "model/macros/macro_record.h"

namespace korvel {

// The keyboard's key tables have no place for the G keys, so a configuration read back from the
// keyboard knows only their codes. This gives such a configuration (`image`, `macros`) the G-key
// assignments of onboard profiles 1..3 of `kept` (the working file's), so that reading the
// keyboard never forgets them. A macro a G key plays is found again among `macros` (the same
// actions, at the same position or under the same name first); one the keyboard does not hold is
// added to `macros` while there is room, and otherwise the G key is left unassigned. Programs
// and texts, whose words live in a string pool the keyboard's configuration does not have, are
// not kept.
void KeepGKeyAssignments(const ConfigImage& kept, std::span<const MacroRecord> keptMacros,
                         ConfigImage& image, std::vector<MacroRecord>& macros);

}  // namespace korvel
