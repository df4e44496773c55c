// The desktop program's start-up command line: whatever the arguments, it is read or refused with a
// message; a "/Kill" anywhere is always seen, and a refused line has its reason.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "fuzz_arguments.h"
#include "gui/shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const std::vector<std::string> args = fuzz::ArgumentsOf(data, size);
    std::string error;
    const auto options = ParseStartCommandLine(args, error);
    if (!options) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    const bool kill = std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        static constexpr std::string_view kKill = "/kill";
        return arg.size() == kKill.size() &&
               std::equal(arg.begin(), arg.end(), kKill.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
               });
    });
    if (options->kill != kill || options->latencyMs < 0 ||
        (!options->simulate && !options->simulateState.empty())) {
        std::abort();
    }
    return 0;
}
