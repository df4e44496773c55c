#include "cli/run_cli.h"

#include <array>

#include "cli/cli_commands.h"
#include "cli/cli_file_commands.h"
#include "cli/cli_lighting_commands.h"
#include "cli/cli_options.h"
#include "version.h"

namespace korvel::cli {
namespace {

struct Command {
    const char* name;
    int (*run)(CommandContext&);
};

constexpr std::array kCommands = {
    Command{"info", RunInfo},
    Command{"profile", RunProfile},
    Command{"monitor", RunMonitorCommand},
    Command{"validate", RunValidate},
    Command{"dump", RunDump},
    Command{"encode", RunEncode},
    Command{"blob", RunBlob},
    Command{"import", RunImport},
    Command{"backup", RunBackup},
    Command{"export", RunExport},
    Command{"lighting", RunLighting},
};

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvelctl: " << message << "\nTry 'korvelctl --help' for more information.\n";
    return kExitUsage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto line = ParseCommandLine(args, error);
    if (!line) {
        return UsageError(err, error);
    }
    if (line->options.help) {
        out << UsageText();
        return kExitOk;
    }
    if (line->options.version) {
        out << "korvelctl " << kVersion << '\n';
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (line->command == command.name) {
            CommandContext context(*line, out, err);
            const int status = command.run(context);
            if (status == kExitUsage) {
                err << "Try 'korvelctl --help' for more information.\n";
            }
            return status;
        }
    }
    return UsageError(err, "unknown command '" + line->command + "'");
}

}  // namespace korvel::cli
