#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// `diff A B`: what differs between two setups, each a profile file, a complete backup or
// `keyboard`. Exit 0 when they are the same, 1 when they differ, 2 on trouble, as diff does.
int RunDiff(CommandContext& context);

}  // namespace korvel::cli
