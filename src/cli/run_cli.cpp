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

}  // namespace

namespace {

int RunParsed(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    switch (parsed.outcome) {
        case ParsedCommandLine::Outcome::Help:
            out << parsed.text;
            return kExitOk;
        case ParsedCommandLine::Outcome::Version:
            out << "korvelctl " << kVersion << '\n';
            return kExitOk;
        case ParsedCommandLine::Outcome::UsageError:
            err << parsed.text;
            return kExitUsage;
        case ParsedCommandLine::Outcome::Run:
            break;
    }
    for (const Command& command : kCommands) {
        if (parsed.line.command == command.name) {
            CommandContext context(parsed.line, out, err);
            const int status = command.run(context);
            if (status == kExitUsage) {
                const CommandLine& line = parsed.line;
                err << HelpHint(line.arguments.set ? line.command + " set" : line.command);
            }
            return status;
        }
    }
    // Every command the parser knows is in the table.
    err << "korvelctl: command '" << parsed.line.command << "' is not implemented\n";
    return kExitFailed;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const int status = RunParsed(args, out, err);
    // A result that did not reach its reader (a full disk, a closed pipe) is a failure, not a
    // success with nothing to show.
    if (!out.flush()) {
        err << "korvelctl: the output could not be written\n";
        return status == kExitOk ? kExitFailed : status;
    }
    return status;
}

}  // namespace korvel::cli
