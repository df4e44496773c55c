#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel {

// What the desktop program was asked to do by its arguments.
struct StartOptions {
    // "/Kill": tell the running instance to close and end without starting.
    bool kill = false;
    // "/Start": do not open the main window when the keyboard is first found.
    bool start = false;

    // Run against the virtual keyboard instead of a real one; with a state file its memory is
    // loaded from it and saved back, so the keyboard remembers what was downloaded.
    bool simulate = false;
    std::string simulateState;
    int latencyMs = 0;
    // Stands in for the user's Documents folder; empty: the platform's own.
    std::string documents;

    bool help = false;
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
