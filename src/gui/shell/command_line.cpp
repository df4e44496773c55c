#include "gui/shell/command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace korvel {
namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool ParseNonNegative(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= 0;
}

// "--name VALUE" or "--name=VALUE". Returns false when the argument is not this option.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                std::optional<std::string>& value) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            value.reset();
        }
        return true;
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

std::optional<StartOptions> ParseStartCommandLine(const std::vector<std::string>& args,
                                                  std::string& error) {
    StartOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string> value;
        if (SameWithoutCase(arg, "/Kill")) {
            options.kill = true;
            break;
        }
        if (SameWithoutCase(arg, "/Start")) {
            options.start = true;
        } else if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg.starts_with("--simulate=")) {
            options.simulate = true;
            options.simulateState = arg.substr(std::string_view("--simulate=").size());
            if (options.simulateState.empty()) {
                error = "--simulate= needs a state file name";
                return std::nullopt;
            }
        } else if (TakeOption(args, i, "--latency-ms", value)) {
            if (!value) {
                error = "--latency-ms needs a whole number of milliseconds";
                return std::nullopt;
            }
            if (!ParseNonNegative(*value, options.latencyMs)) {
                error = "--latency-ms needs a whole number of milliseconds, not '" + *value + "'";
                return std::nullopt;
            }
        } else if (TakeOption(args, i, "--documents", value)) {
            if (!value || value->empty()) {
                error = "--documents needs a folder";
                return std::nullopt;
            }
            options.documents = *value;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        }
    }
    return options;
}

std::string StartUsageText() {
    return R"(Usage: korvel [/Start] [/Kill] [OPTIONS]

Configures the keyboard. Only one copy runs at a time: starting it again shows the running one.

  /Start              start in the background: do not open the window when the keyboard is found
  /Kill               close the running copy and end
  --simulate[=STATE]  use the virtual keyboard instead of a real one; with STATE its memory
                      is loaded from that file (created when missing) and saved back at the end
  --latency-ms N      per-report latency of the virtual keyboard in milliseconds (default 0)
  --documents DIR     the folder that stands for the user's Documents folder
  -h, --help          show this help and exit
)";
}

}  // namespace korvel
