#include "cli/cli_rules_command.h"

#include <nlohmann/json.hpp>

#include <algorithm>

#include "base/text_encoding.h"
#include "model/files/program_rules.h"

namespace korvel::cli {
namespace {

constexpr std::string_view kEveryOther = "*";

int List(CommandContext& context, const ProgramRules& rules) {
    if (context.Arguments().json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const ProgramRule& rule : rules.rules) {
            list.push_back({{"program", Utf16ToUtf8(rule.program)}, {"profile", rule.profile + 1}});
        }
        nlohmann::ordered_json document = {{"rules", list}};
        document["otherwise"] = rules.otherwise ? nlohmann::ordered_json(*rules.otherwise + 1)
                                                : nlohmann::ordered_json(nullptr);
        context.Out() << document.dump(-1, ' ', false,
                                       nlohmann::ordered_json::error_handler_t::replace)
                      << '\n';
        return kExitOk;
    }
    for (const ProgramRule& rule : rules.rules) {
        context.Out() << EscapeControls(Utf16ToUtf8(rule.program)) << " → profile "
                      << rule.profile + 1 << '\n';
    }
    if (rules.otherwise) {
        context.Out() << "every other program → profile " << *rules.otherwise + 1 << '\n';
    }
    return kExitOk;
}

}  // namespace

int RunRules(CommandContext& context) {
    const CommandArguments& arguments = context.Arguments();
    const std::filesystem::path file = ProgramRulesFile();
    if (file.empty()) {
        return context.Fail(kExitFailed,
                            "neither XDG_CONFIG_HOME nor HOME names a folder for the rules");
    }
    std::vector<std::string> warnings;
    ProgramRules rules = ReadProgramRules(file, &warnings);
    for (const std::string& warning : warnings) {
        context.Err() << "korvelctl: " << EscapeControls(warning) << '\n';
    }
    if (arguments.macroAction == "list") {
        return List(context, rules);
    }
    const std::u16string program = Utf8ToUtf16(arguments.name);
    const auto named = [&program](const ProgramRule& rule) {
        return SameProgram(rule.program, program);
    };
    if (arguments.macroAction == "add") {
        if (arguments.name == kEveryOther) {
            rules.otherwise = arguments.profile - 1;
        } else if (const auto found = std::find_if(rules.rules.begin(), rules.rules.end(), named);
                   found != rules.rules.end()) {
            found->profile = arguments.profile - 1;
        } else {
            rules.rules.push_back({program, arguments.profile - 1});
        }
    } else {
        const bool known = arguments.name == kEveryOther
                               ? rules.otherwise.has_value()
                               : std::any_of(rules.rules.begin(), rules.rules.end(), named);
        if (!known) {
            return context.Fail(kExitFailed, "there is no rule for '" +
                                                 EscapeControls(arguments.name) +
                                                 "' ('korvelctl rules list' shows them)");
        }
        if (arguments.name == kEveryOther) {
            rules.otherwise.reset();
        } else {
            std::erase_if(rules.rules, named);
        }
    }
    if (!WriteProgramRules(file, rules)) {
        return context.Fail(kExitFailed,
                            "the rules could not be written to " + EscapeControls(file.string()));
    }
    return kExitOk;
}

}  // namespace korvel::cli
