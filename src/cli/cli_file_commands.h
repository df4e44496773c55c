#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// The commands on profile files. Each runs the core operation the window runs for the same task.
int RunValidate(CommandContext& context);
int RunDump(CommandContext& context);
int RunEncode(CommandContext& context);
int RunBlob(CommandContext& context);
int RunImport(CommandContext& context);
int RunBackup(CommandContext& context);
int RunExport(CommandContext& context);
int RunVerify(CommandContext& context);

}  // namespace korvel::cli
