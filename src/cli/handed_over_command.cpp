#include "cli/handed_over_command.h"

#include <map>
#include <sstream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/command_host.h"
#include "cli/run_cli.h"
#include "sync/keyboard_service.h"

namespace korvel::cli {

HandedOverResult RunHandedOver(KeyboardService& service, const ForwardedCommand& command,
                               KeyboardBus* bus) {
    HandedOverResult result;
    const std::map<std::string, std::string> environment(command.environment.begin(),
                                                         command.environment.end());
    const EnvironmentLookup lookup = [&environment](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found != environment.end() ? found->second.c_str() : nullptr;
    };
    const ParsedCommandLine parsed = ParseCommandLine(command.args);
    const JobResult<CommandReply> job =
        service.Run<CommandReply>("korvelctl", [&](JobContext& context) {
            CommandHost host{context.Link(), command.workingFolder, lookup, bus};
            std::ostringstream out;
            std::ostringstream err;
            CommandReply reply;
            reply.status = RunCliHere(command.args, out, err, &host);
            reply.out = out.str();
            reply.err = err.str();
            return reply;
        });
    switch (job.end) {
        case JobEnd::Ran:
            result.reply = *job.value;
            result.command = parsed.line.command;
            if (parsed.outcome == ParsedCommandLine::Outcome::Run) {
                result.documents = FindDocumentsFolderFrom(parsed.line.options.documents,
                                                           command.workingFolder, lookup)
                                       .path;
            }
            break;
        case JobEnd::Busy:
            result.reply = {
                {}, "korvelctl: the keyboard is in use: " + job.busyHolder + "\n", kExitFailed};
            break;
        case JobEnd::Stopped:
        case JobEnd::Superseded:
            result.reply = {
                {}, "korvelctl: korvel is closing; the command was not run\n", kExitFailed};
            break;
    }
    return result;
}

}  // namespace korvel::cli
