#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// `remap KEY TARGET [--profile N] [--cycles N]` and `reset KEY [--profile N]`: one key's
// assignment staged on the working file, then downloaded and read back as the window's Apply does.
int RunRemap(CommandContext& context);
int RunReset(CommandContext& context);

}  // namespace korvel::cli
