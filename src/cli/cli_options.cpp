#include "cli/cli_options.h"

#include <charconv>

namespace korvel::cli {
namespace {

bool ParseNonNegative(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    CommandLine line;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            break;
        }
        auto takeValue = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        if (arg == "-h" || arg == "--help") {
            line.options.help = true;
        } else if (arg == "--version") {
            line.options.version = true;
        } else if (arg == "--simulate") {
            line.options.simulate = true;
        } else if (arg.starts_with("--simulate=")) {
            line.options.simulate = true;
            line.options.simulateState = arg.substr(std::string("--simulate=").size());
            if (line.options.simulateState.empty()) {
                error = "--simulate= needs a state file name";
                return std::nullopt;
            }
        } else if (arg == "--trace") {
            line.options.trace = true;
        } else if (arg == "--latency-ms" || arg.starts_with("--latency-ms=")) {
            std::string value;
            if (arg == "--latency-ms") {
                if (!takeValue(value)) {
                    return std::nullopt;
                }
            } else {
                value = arg.substr(std::string("--latency-ms=").size());
            }
            if (!ParseNonNegative(value, line.options.latencyMs)) {
                error = "--latency-ms needs a whole number of milliseconds, not '" + value + "'";
                return std::nullopt;
            }
        } else if (arg == "--documents") {
            if (!takeValue(line.options.documents)) {
                return std::nullopt;
            }
        } else if (arg.starts_with("--documents=")) {
            line.options.documents = arg.substr(std::string("--documents=").size());
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (i < args.size()) {
        line.command = args[i++];
        line.arguments.assign(args.begin() + static_cast<long>(i), args.end());
    } else if (!line.options.help && !line.options.version) {
        error = "no command given";
        return std::nullopt;
    }
    return line;
}

std::string UsageText() {
    return R"(Usage: korvelctl [GLOBAL OPTIONS] COMMAND [ARGUMENTS]

Configures the keyboard from the command line.

Global options:
  --simulate[=STATE]  use the virtual keyboard instead of a real one; with STATE its memory
                      is loaded from that file (created when missing) and saved back at the end
  --latency-ms N      per-report latency of the virtual keyboard in milliseconds (default 0)
  --trace             print every report of the command channel on standard error:
                      '> ' written to the keyboard, '< ' read from it, then 128 hex digits
  --documents DIR     the folder that stands for the user's Documents folder
  -h, --help          show this help and exit
  --version           show the version and exit

Commands:
  info                the keyboard's information block: active profile, macro capacity, effects
  profile             print the active onboard profile (1..3)
  profile N           make onboard profile N (1..3) active
  validate FILE       check a profile file as the import does
  dump FILE [--json]  show a profile file: header, assignments, macros and strings
  encode FILE PROFILE the key table a download would send for onboard profile 1..3
  blob FILE CAPACITY  the macro area a download would send to a keyboard of CAPACITY bytes
  import FILE         load a profile file, save the working file and download all profiles
  backup FILE         write a profile file of what the keyboard holds
  export FILE         reload the working file from the keyboard and write it to FILE
  lighting [PROFILE]  the lighting record of onboard profile 1..3 (default: the active one):
                      effect, brightness, speed, direction, multicolor, color, base-color,
                      paint-color, report-rate, tool, effect17, one 'name: value' per line
  lighting set FIELD VALUE [PROFILE]
                      write one of those fields at once, as the lighting panel does;
                      colours as #rrggbb
  monitor             follow the keyboard: print connected, disconnected and event 0xNNNN
                      lines as they happen, until interrupted

Exit status: 0 success, 1 the operation failed, 2 a usage error.
)";
}

}  // namespace korvel::cli
