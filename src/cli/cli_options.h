#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

// The global options that come before the command.
struct GlobalOptions {
    bool simulate = false;
    std::string simulateState;  // empty: a fresh virtual keyboard that is not saved
    int latencyMs = 0;
    bool trace = false;
    std::string documents;  // empty: the user's own Documents folder
    bool help = false;
    bool version = false;
};

struct CommandLine {
    GlobalOptions options;
    std::string command;
    std::vector<std::string> arguments;
};

// Parses the arguments after the program name. Returns nothing and sets `error` on a usage error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// The text of --help.
std::string UsageText();

}  // namespace korvel::cli
