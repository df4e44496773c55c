#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/shared_options.h"

namespace korvel {

// What the desktop program was asked to do by its arguments. The options it shares with
// korvelctl (the virtual keyboard, its latency, the Documents folder) follow korvelctl's rules.
struct StartOptions : SharedOptions {
    // "/Kill": tell the running instance to close and end without starting.
    bool kill = false;
    // "/Start": do not open the main window when the keyboard is first found.
    bool start = false;

    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name, in order. "/Kill" and "/Start" are whole arguments
// compared without regard to case; a "/Kill" ends the reading, because the program ends there
// whatever follows. Any other argument is ignored, except our own options, whose bad values are
// errors: nothing is returned and `error` says what is wrong.
std::optional<StartOptions> ParseStartCommandLine(const std::vector<std::string>& args,
                                                  std::string& error);

// The text shown for --help.
std::string StartUsageText();

}  // namespace korvel
