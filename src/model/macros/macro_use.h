#pragma once

#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "model/image/config_store.h"
#include "model/macros/macro_record.h"

namespace korvel {

// The question asked before deleting a macro that keys still play.
inline constexpr std::string_view kMacroDeleteConfirmKey = "MACRO_DELETE_CONFIRM_OF_KEYS";
inline constexpr std::u16string_view kMacroDeleteConfirmMessage =
    u"Detect some key points to set this macro, \n  really need to remove this macro?  ";

// Whether an entry of EditingConfig plays the macro (taken under the editing lock). A macro that
// was never applied cannot be assigned. The entry at global index 256 is passed over, as the
// deletion check has always done.
bool MacroAssignedToKeys(const EditingHolder& editing, const MacroRecord& record);

// The check both editors make before deleting a macro: true to go ahead. When keys play the macro,
// confirmDelete is called (it asks the deletion question, No being the default) and decides.
bool MacroInUse(const EditingHolder& editing, const MacroRecord& record,
                const std::function<bool()>& confirmDelete);

// The stale-assignment rule, for an editor applying its macro list: entries that play a macro
// no longer in the list, or one whose id a new macro (isNew 1) has taken over, go back to the key's
// default; entries playing id 0 get the first macro of the list (or go back to default when the
// list is empty). Then every record of the list is marked applied (isNew 0). Answers the global
// indexes of the entries it changed, in ascending order.
std::vector<int> ResetStaleMacroAssignments(ConfigImage& image, std::span<MacroRecord> list);

// What both editors do when they apply their list: under the editing lock, the stale-assignment
// rule on EditingConfig's image, then the list replaces EditingConfig's macros. Answers the changed
// entries, so that the caller marks the main window modified and refreshes those keys.
std::vector<int> ReplaceEditingMacros(EditingHolder& editing, std::vector<MacroRecord> list);

}  // namespace korvel
