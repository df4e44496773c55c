#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/shared_options.h"

namespace korvel::cli {

// The global options that come before the command: those korvel takes too, and the trace.
struct GlobalOptions : SharedOptions {
    bool trace = false;
};

// The arguments of the command, counted and read by the parser; each command uses its own.
struct CommandArguments {
    std::string file;                // validate, dump, encode, blob, import, backup, export; diff A
    std::string second;              // diff B, convert B
    int profile = 0;                 // 1..3 (profile, encode, lighting); 0: none given
    std::uint32_t capacity = 0;      // blob
    bool json = false;               // --json of the commands that print data
    bool set = false;                // lighting set
    std::string field;               // lighting set FIELD
    std::string value;               // lighting set VALUE, checked by the field's own rule
    int gKey = 0;                    // press: 1..9
    bool noVerify = false;           // import --no-verify
    bool noBackup = false;           // import --no-backup
    bool complete = false;           // backup --complete
    std::string key;                 // remap KEY, reset KEY
    std::string target;              // remap TARGET
    int cycles = 1;                  // remap and macro add --cycles (a macro's cycles)
    std::string macroAction;         // macro list | show | add | delete; rules list | add | remove
    std::string name;                // macro NAME, rules PROGRAM
    std::vector<std::string> steps;  // macro add STEPS
};

struct CommandLine {
    GlobalOptions options;
    std::string command;  // the first word: "lighting" for both of its forms
    CommandArguments arguments;
};

// What the arguments ask for.
struct ParsedCommandLine {
    enum class Outcome { Run, Help, Version, UsageError };
    Outcome outcome = Outcome::UsageError;
    CommandLine line;  // Run
    // Help: the help text of the program or of the command; UsageError: "korvelctl: MESSAGE" and a
    // line naming the --help to read, each ending in a newline.
    std::string text;
};

// Parses the arguments after the program name (CLI11): global options, then one command with its
// arguments. Numbers and profiles are checked here, before any keyboard is touched.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// "Try 'korvelctl COMMAND --help' for more information.\n"; `command` may be empty.
std::string HelpHint(const std::string& command);

}  // namespace korvel::cli
