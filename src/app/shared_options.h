#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/keyboard_bus.h"

namespace CLI {
class App;
class Formatter;
class Validator;
}  // namespace CLI

namespace korvel {

// The one reader of numbers on both programs' command lines: a whole decimal number from `low` to
// `high`, written in ASCII digits only (no sign, no spaces, no base prefix, nothing after it).
std::optional<std::uint64_t> ParseWholeNumber(std::string_view text, std::uint64_t low,
                                              std::uint64_t high);

// The same rule as a CLI11 check, for options and arguments that take a number; `what` completes
// the message "must be WHAT, not 'TEXT'".
CLI::Validator WholeNumberCheck(std::uint64_t low, std::uint64_t high, std::string what);

// The options korvel and korvelctl both take, with one rule set:
//   --simulate[=STATE]  the virtual keyboard; STATE only after '=', never an empty one
//   --latency-ms N      or --latency-ms=N; N whole milliseconds 0..INT_MAX
//   --documents DIR     or --documents=DIR; never an empty DIR
// Each may be repeated; the last value given counts.
struct SharedOptions {
    bool simulate = false;
    std::string simulateState;  // empty: a fresh virtual keyboard that is not saved
    int latencyMs = 0;
    std::string documents;  // empty: the user's own Documents folder

    // The bus these options ask for; `holder` names the program that holds the state file.
    KeyboardBus::Options Bus(std::string holder) const {
        return {simulate, simulateState, latencyMs, std::move(holder)};
    }
};

// Declares the shared options on `app`; parsing fills `options`, which must outlive `app`.
void AddSharedOptions(CLI::App& app, SharedOptions& options);

// Parses `args` (the arguments after the program name) with `app`. CLI11 reads "--name=" as
// "--name" without a value, which would make "--simulate=" a plain --simulate and let
// "--documents=" take the next argument as its folder; so an empty value after '=' of any option
// of `app` is refused first. Throws CLI::ParseError (CallForHelp included) as CLI11 does.
void ParseArguments(CLI::App& app, const std::vector<std::string>& args);

// The help layout of both programs: an option shows its option_text directly after its name
// ("--simulate[=STATE]", "--latency-ms N"), the top-level usage line is `usage` when given, and a
// command is listed with its arguments ("dump FILE [--json]"), followed by its own commands.
std::shared_ptr<CLI::Formatter> MakeHelpFormatter(std::string usage);

}  // namespace korvel
