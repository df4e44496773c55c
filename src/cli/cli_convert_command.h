#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// convert A B: a profile file into its JSON form, or a JSON form into the profile file.
int RunConvert(CommandContext& context);

}  // namespace korvel::cli
