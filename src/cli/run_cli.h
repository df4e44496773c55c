#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korvel::cli {

struct CommandHost;

// Runs korvelctl with the arguments after the program name; returns the exit status. A command
// that talks to a keyboard which korvel owns is handed to korvel and prints what it answers.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs the command here, on the keyboard of `host` when given (a command handed over).
int RunCliHere(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const CommandHost* host);

}  // namespace korvel::cli
