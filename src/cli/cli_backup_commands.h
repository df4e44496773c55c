#pragma once

#include <string_view>

#include "cli/cli_commands.h"

namespace korvel {
class DeviceLink;
}

namespace korvel::cli {

// The complete backups: `backup --complete FILE` and `restore FILE`.
int RunCompleteBackup(CommandContext& context);
int RunRestore(CommandContext& context);

// The backup taken on its own before `operation` changes the keyboard, into the Backups folder
// of the command's Documents folder; its file is named on the error stream, beside the
// operation's own output. False, after a message,
// when it could not be written: the operation must not go on. A keyboard that cannot be read
// leaves nothing to keep: true.
bool BackUpBefore(CommandContext& context, DeviceLink& link, std::string_view operation);

}  // namespace korvel::cli
