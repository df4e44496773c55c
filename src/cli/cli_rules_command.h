#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// rules list | add PROGRAM PROFILE | remove PROGRAM: the onboard profile for the program in front.
// The rules live in their own file, which a running korvel reads again whenever another program
// comes to the front.
int RunRules(CommandContext& context);

}  // namespace korvel::cli
