#pragma once

#include "cli/cli_commands.h"

namespace korvel::cli {

// lighting [PROFILE] and lighting set FIELD VALUE [PROFILE]: the lighting record of one onboard
// profile, read and written through the operations of the lighting panel.
int RunLighting(CommandContext& context);

}  // namespace korvel::cli
