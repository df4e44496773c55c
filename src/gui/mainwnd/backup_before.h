#pragma once

#include <functional>
#include <string_view>

namespace korvel {

class WindowParts;

// Keeps a complete backup of the keyboard in the Backups folder before `operation` changes it,
// as a job ahead of the operation's own. `proceed` runs on the window's thread once the backup is
// kept, or when there was nothing to keep (no keyboard answers, or the job could not run: the
// operation's own job then says so). When the file cannot be written the user is asked whether
// to go on without it; `stopped` runs when not.
void BackUpBefore(WindowParts& parts, std::string_view operation, std::function<void()> proceed,
                  std::function<void()> stopped = {});

}  // namespace korvel
