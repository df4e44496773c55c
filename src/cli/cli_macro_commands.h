#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// `macro list | show NAME | add NAME STEPS [--cycles N] | delete NAME`: the macros of the working
// file; add and delete download as the window's Apply does, with the window's refusals.
int RunMacro(CommandContext& context);

}  // namespace korvel::cli
