// korvelctl's command line: whatever the arguments, the parser answers with help, the version, a
// usage error with its message, or a known command whose numbers are within their ranges.
#include <cstdlib>

#include "cli/cli_options.h"
#include "fuzz_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel::cli;
    const ParsedCommandLine parsed = ParseCommandLine(korvel::fuzz::ArgumentsOf(data, size));
    switch (parsed.outcome) {
        case ParsedCommandLine::Outcome::Help:
        case ParsedCommandLine::Outcome::UsageError:
            if (parsed.text.empty() || parsed.text.back() != '\n') {
                std::abort();
            }
            break;
        case ParsedCommandLine::Outcome::Version:
            break;
        case ParsedCommandLine::Outcome::Run: {
            const CommandLine& line = parsed.line;
            const CommandArguments& arguments = line.arguments;
            if (line.command.empty() || arguments.profile < 0 || arguments.profile > 3 ||
                line.options.latencyMs < 0 || (arguments.set && line.command != "lighting") ||
                (!line.options.simulate && !line.options.simulateState.empty())) {
                std::abort();
            }
            break;
        }
    }
    return 0;
}
