#include "cli/run_cli.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "app/command_socket.h"
#include "app/runtime_folder.h"
#include "cli/cli_backup_commands.h"
#include "cli/cli_commands.h"
#include "cli/cli_convert_command.h"
#include "cli/cli_diff_command.h"
#include "cli/cli_file_commands.h"
#include "cli/cli_lighting_commands.h"
#include "cli/cli_macro_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_remap_commands.h"
#include "cli/cli_rules_command.h"
#include "cli/command_host.h"
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
    Command{"press", RunPress},
    Command{"verify", RunVerify},
    Command{"restore", RunRestore},
    Command{"diff", RunDiff},
    Command{"remap", RunRemap},
    Command{"reset", RunReset},
    Command{"macro", RunMacro},
    Command{"convert", RunConvert},
    Command{"rules", RunRules},
};

}  // namespace

namespace {

// The commands that talk to the keyboard, which korvel runs for korvelctl while it owns it. The
// monitor listens on the keyboard's event interface, which is not korvel's alone, and a trace
// shows this program's own reports: both run here.
bool HandedOverWhenKorvelRuns(const ParsedCommandLine& parsed) {
    static const std::set<std::string> kKeyboardCommands = {
        "info",  "profile", "import",  "backup", "export", "lighting", "encode",
        "press", "verify",  "restore", "diff",   "remap",  "reset",    "macro"};
    return parsed.outcome == ParsedCommandLine::Outcome::Run && !parsed.line.options.trace &&
           kKeyboardCommands.count(parsed.line.command) != 0;
}

// What the command needs to run elsewhere as here: the folder it was started in and the
// variables that name the user's folders.
ForwardedCommand ForwardedFrom(const std::vector<std::string>& args) {
    ForwardedCommand command;
    command.args = args;
    std::error_code ignored;
    command.workingFolder = std::filesystem::current_path(ignored).string();
    for (const char* name : kDocumentsVariables) {
        if (const char* value = std::getenv(name)) {
            command.environment.emplace_back(name, value);
        }
    }
    return command;
}

// Hands the command to the korvel that owns its keyboard; false when none does.
bool HandOver(const ParsedCommandLine& parsed, const std::vector<std::string>& args,
              std::ostream& out, std::ostream& err, int& status) {
    std::string error;
    const auto runtime = UserRuntimeFolder(error);
    if (!runtime) {
        return false;
    }
    const auto place = MeetingPlaceOf(parsed.line.options, *runtime);
    if (!place) {
        return false;
    }
    CommandReply reply;
    switch (ForwardCommand(place->socket, ForwardedFrom(args), reply, error)) {
        case ForwardOutcome::NoServer:
            return false;
        case ForwardOutcome::Broken:
            err << "korvelctl: " << error << '\n';
            status = kExitFailed;
            return true;
        case ForwardOutcome::Answered:
            out << reply.out;
            err << reply.err;
            status = reply.status;
            return true;
    }
    return false;
}

int Flushed(std::ostream& out, std::ostream& err, int status) {
    // A result that did not reach its reader (a full disk, a closed pipe) is a failure, not a
    // success with nothing to show.
    if (!out.flush()) {
        err << "korvelctl: the output could not be written\n";
        return status == kExitOk ? kExitFailed : status;
    }
    return status;
}

int RunParsed(const ParsedCommandLine& parsed, std::ostream& out, std::ostream& err,
              const CommandHost* host) {
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
            CommandContext context(parsed.line, out, err, host);
            const int status = command.run(context);
            if (status == kExitUsage && !context.Troubled()) {
                const CommandLine& line = parsed.line;
                err << HelpHint(line.arguments.set ? line.command + " set"
                                : !line.arguments.macroAction.empty()
                                    ? line.command + " " + line.arguments.macroAction
                                    : line.command);
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
    const ParsedCommandLine parsed = ParseCommandLine(args);
    int status = kExitOk;
    if (HandedOverWhenKorvelRuns(parsed) && HandOver(parsed, args, out, err, status)) {
        return Flushed(out, err, status);
    }
    return Flushed(out, err, RunParsed(parsed, out, err, nullptr));
}

int RunCliHere(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const CommandHost* host) {
    return Flushed(out, err, RunParsed(ParseCommandLine(args), out, err, host));
}

}  // namespace korvel::cli
