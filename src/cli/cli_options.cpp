#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <cstdint>

#include "base/text_encoding.h"
#include "device/keyboard_identity.h"

namespace korvel::cli {
namespace {

// 1..9 for "G1".."G9" (or "g1".."g9"); 0 for anything else.
int GKeyNumberOf(std::string_view text) {
    if (text.size() == 2 && (text[0] == 'G' || text[0] == 'g') && text[1] >= '1' &&
        text[1] <= '9') {
        return text[1] - '0';
    }
    return 0;
}

constexpr char kProgram[] = "korvelctl";

// The program's options and commands, declared once: parsing fills `line`.
class Parser {
public:
    Parser();
    ParsedCommandLine Parse(const std::vector<std::string>& args);

private:
    CLI::App* Command(const char* name, const char* description);
    void File(CLI::App* command, const char* description);
    // The command prints one JSON document on --json.
    CLI::Option* Json(CLI::App* command);
    CLI::Option* Profile(CLI::App* command, const char* name, const char* description);
    // "lighting set", or "" when no command was reached.
    std::string SelectedCommand() const;
    std::string Message(const CLI::ParseError& error) const;
    // Whether the error is about what comes before the command, so that the program's help is
    // the one to read.
    bool AboutGlobalOptions(const CLI::ParseError& error) const;

    CLI::App m_app{"Configures the keyboard from the command line.", kProgram};
    CommandLine m_line;
    bool m_version = false;
    CLI::App* m_lightingSet = nullptr;
    CLI::App* m_macro = nullptr;
    CLI::App* m_rules = nullptr;
};

Parser::Parser() {
    m_app.formatter(MakeHelpFormatter("korvelctl [GLOBAL OPTIONS] COMMAND [ARGUMENTS]"));
    m_app.option_defaults()->group("Global options");
    AddSharedOptions(m_app, m_line.options);
    m_app
        .add_flag("--trace", m_line.options.trace,
                  "print every report of the command channel on standard error:\n"
                  "'> ' written to the keyboard, '< ' read from it, then 128 hex\n"
                  "digits")
        ->disable_flag_override();
    m_app.set_help_flag("-h,--help",
                        "show this help and exit; after a command, that command's help");
    m_app.add_flag("--version", m_version, "show the version and exit")->disable_flag_override();
    m_app.footer("Exit status: 0 success, 1 the operation failed, 2 a usage error.");

    Json(Command("info",
                 "the keyboard's information block: active profile, macro capacity,\neffects"));
    CLI::App* profile =
        Command("profile", "print the active onboard profile (1..3), or make profile N active");
    CLI::Option* profileNumber = Profile(profile, "N", "the onboard profile to make active, 1..3");
    Json(profile)->excludes(profileNumber);
    Command("monitor",
            "follow the keyboard: print connected, disconnected and event 0xNNNN\n"
            "lines as they happen, until interrupted");
    File(Command("validate", "check a profile file as the import does"), "the profile file");
    CLI::App* dump =
        Command("dump", "show a profile file: header, assignments, macros and strings");
    File(dump, "the profile file");
    Json(dump);
    CLI::App* encode =
        Command("encode", "the key table a download would send for onboard profile 1..3");
    File(encode, "the profile file");
    Profile(encode, "PROFILE", "the onboard profile, 1..3")->required();
    CLI::App* blob =
        Command("blob", "the macro area a download would send to a keyboard of CAPACITY\nbytes");
    File(blob, "the profile file");
    blob->add_option_function<std::string>(
            "CAPACITY",
            [this](const std::string& text) {
                m_line.arguments.capacity =
                    static_cast<std::uint32_t>(*ParseWholeNumber(text, 0, UINT32_MAX));
            },
            "the keyboard's macro capacity in bytes")
        ->check(WholeNumberCheck(0, UINT32_MAX, "a whole number of bytes"))
        ->required();
    CLI::App* import = Command(
        "import",
        "load a profile file, save the working file, download all profiles\nand read them back");
    File(import, "the profile file");
    import
        ->add_flag("--no-verify", m_line.arguments.noVerify, "do not read back what was downloaded")
        ->disable_flag_override();
    import
        ->add_flag("--no-backup", m_line.arguments.noBackup,
                   "do not first back up the keyboard into Korvel_09A/Backups")
        ->disable_flag_override();
    File(Command("verify", "compare the keyboard with a profile file, writing nothing"),
         "the profile file");
    CLI::App* backup = Command("backup",
                               "write a profile file of what the keyboard holds; with --complete, "
                               "a\ncomplete backup (keys, macros, lighting, report rate, active "
                               "profile)");
    File(backup, "the file to write");
    backup
        ->add_flag("--complete", m_line.arguments.complete,
                   "everything the keyboard holds, for 'restore'")
        ->disable_flag_override();
    File(Command("restore",
                 "make the keyboard hold a complete backup again, then read it back;\n"
                 "the keyboard is first backed up into Korvel_09A/Backups"),
         "the complete backup");
    CLI::App* exportCommand =
        Command("export", "reload the working file from the keyboard and write it to FILE");
    File(exportCommand, "the file to write");
    exportCommand
        ->add_flag("--json", m_line.arguments.json,
                   "write the JSON form of the profile file, which 'import' and\n"
                   "'convert' read back byte for byte")
        ->disable_flag_override();
    CLI::App* convert =
        Command("convert",
                "turn a profile file into its JSON form, or a JSON form into the\n"
                "profile file, byte for byte (which one A is, is told by what it holds)");
    convert->add_option("A", m_line.arguments.file, "the file to read")->required();
    convert->add_option("B", m_line.arguments.second, "the file to write")->required();
    CLI::App* remap =
        Command("remap",
                "make KEY (a key, G1..G9) do TARGET: a key, a media key, an editing\n"
                "function or macro:NAME, in the working file; then download as Apply does");
    remap->add_option("KEY", m_line.arguments.key, "the key, as the window names it")->required();
    remap->add_option("TARGET", m_line.arguments.target, "what it does")->required();
    Profile(remap, "--profile", "the onboard profile, 1..3 (default: the active one)");
    remap
        ->add_option_function<std::string>(
            "--cycles",
            [this](const std::string& text) {
                m_line.arguments.cycles = static_cast<int>(*ParseWholeNumber(text, 1, 255));
            },
            "how often a macro plays, 1..255 (default 1)")
        ->check(WholeNumberCheck(1, 255, "a number of cycles 1..255"));
    CLI::App* reset =
        Command("reset", "give KEY back its own function; then download as Apply does");
    reset->add_option("KEY", m_line.arguments.key, "the key, as the window names it")->required();
    Profile(reset, "--profile", "the onboard profile, 1..3 (default: the active one)");
    CLI::App* macro = Command("macro", "the macros of the working file: list, show, add, delete");
    macro->require_subcommand(1);
    Json(macro->add_subcommand("list", "every macro: its name, actions and cycles"));
    for (CLI::App* action :
         {macro->add_subcommand("show", "a macro's steps, in the syntax 'add' takes"),
          macro->add_subcommand("add",
                                "a new macro of STEPS: +KEY press, -KEY release, KEY tap,\n"
                                "NUMBERms the delay after the step before; then download"),
          macro->add_subcommand("delete",
                                "remove a macro (keys that play it get back their own\n"
                                "function); then download")}) {
        action->add_option("NAME", m_line.arguments.name, "the macro's name")->required();
    }
    for (CLI::App* action : macro->get_subcommands()) {
        action->set_help_flag("-h,--help", "show this help and exit");
    }
    CLI::App* add = macro->get_subcommand("add");
    add->add_option("STEPS", m_line.arguments.steps, "the steps, e.g. +Shift A 30ms -Shift")
        ->required();
    add->add_option_function<std::string>(
           "--cycles",
           [this](const std::string& text) {
               m_line.arguments.cycles = static_cast<int>(*ParseWholeNumber(text, 0, 255));
           },
           "how often it plays, 1..255, 0 until it is stopped (default 1)")
        ->check(WholeNumberCheck(0, 255, "a number of cycles 0..255"));
    m_macro = macro;
    CLI::App* rules =
        Command("rules",
                "the onboard profile for the program in front, which korvel follows:\n"
                "list, add PROGRAM PROFILE, remove PROGRAM ('*' for every other)");
    rules->require_subcommand(1);
    Json(rules->add_subcommand("list", "every rule, in the order they are tried"));
    CLI::App* addRule = rules->add_subcommand(
        "add", "make the keyboard switch to PROFILE while PROGRAM is in front");
    addRule
        ->add_option("PROGRAM", m_line.arguments.name,
                     "its window class or executable name ('*': every other program)")
        ->required();
    Profile(addRule, "PROFILE", "the onboard profile, 1..3")->required();
    rules->add_subcommand("remove", "remove the rule of PROGRAM")
        ->add_option("PROGRAM", m_line.arguments.name, "as the rule names it ('*': every other)")
        ->required();
    for (CLI::App* action : rules->get_subcommands()) {
        action->set_help_flag("-h,--help", "show this help and exit");
    }
    m_rules = rules;
    CLI::App* diff =
        Command("diff",
                "what differs between two setups, key by key, macro by macro and\n"
                "lighting field by field: each a profile file (or its JSON form), a\n"
                "complete backup or 'keyboard'; exit 0 when equal, 1 when they differ,\n"
                "2 on trouble");
    diff->add_option("A", m_line.arguments.file, "the first: a file or 'keyboard'")->required();
    diff->add_option("B", m_line.arguments.second, "the second: a file or 'keyboard'")->required();
    Json(diff);
    CLI::App* lighting =
        Command("lighting",
                "the lighting record of onboard profile 1..3 (default: the active one):\n"
                "effect, brightness, speed, direction, multicolor, color, base-color,\n"
                "paint-color, report-rate, tool, effect17, one 'name: value' per line");
    CLI::Option* shown = Profile(lighting, "PROFILE", "the onboard profile, 1..3");
    CLI::Option* lightingJson = Json(lighting);
    m_lightingSet = lighting->add_subcommand(
        "set",
        "write one of those fields at once, as the lighting panel does;\ncolours as #rrggbb");
    m_lightingSet->set_help_flag("-h,--help", "show this help and exit");
    m_lightingSet->add_option("FIELD", m_line.arguments.field, "the field, as 'lighting' names it")
        ->required();
    m_lightingSet->add_option("VALUE", m_line.arguments.value, "its new value")->required();
    Profile(m_lightingSet, "PROFILE", "the onboard profile, 1..3 (default: the active one)");
    m_lightingSet->excludes(shown);
    m_lightingSet->excludes(lightingJson);
    Command("press",
            "with --simulate: the virtual keyboard presses G key G1..G9, as the\n"
            "keyboard reports it; korvel running with the same STATE plays it")
        ->add_option_function<std::string>(
            "GKEY", [this](const std::string& text) { m_line.arguments.gKey = GKeyNumberOf(text); },
            "the G key, G1..G9")
        ->check([](const std::string& text) {
            return GKeyNumberOf(text) != 0 ? std::string() : "a G key G1..G9: " + text;
        })
        ->required();
}

CLI::App* Parser::Command(const char* name, const char* description) {
    CLI::App* command = m_app.add_subcommand(name, description);
    command->group("Commands");
    command->option_defaults()->group("Options");
    command->set_help_flag("-h,--help", "show this help and exit");
    return command;
}

CLI::Option* Parser::Json(CLI::App* command) {
    return command->add_flag("--json", m_line.arguments.json, "one JSON document instead of text")
        ->disable_flag_override();
}

void Parser::File(CLI::App* command, const char* description) {
    command->add_option("FILE", m_line.arguments.file, description)->required();
}

CLI::Option* Parser::Profile(CLI::App* command, const char* name, const char* description) {
    return command
        ->add_option_function<std::string>(
            name,
            [this](const std::string& text) {
                m_line.arguments.profile =
                    static_cast<int>(*ParseWholeNumber(text, 1, kOnboardProfiles));
            },
            description)
        ->check(WholeNumberCheck(1, kOnboardProfiles, "a profile 1, 2 or 3"));
}

std::string Parser::SelectedCommand() const {
    std::string path;
    for (const CLI::App* at = &m_app; !at->get_subcommands().empty();) {
        at = at->get_subcommands().front();
        path += (path.empty() ? "" : " ") + at->get_name();
    }
    return path;
}

std::string Parser::Message(const CLI::ParseError& error) const {
    // A first word that is no command is named as such, not as an argument nobody expected.
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && SelectedCommand().empty()) {
        const std::vector<std::string> extras = m_app.remaining();
        if (!extras.empty() && !extras.front().starts_with("-")) {
            return "unknown command '" + extras.front() + "'";
        }
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
        const std::string what = error.what();
        if (SelectedCommand() == "profile") {
            return "--json prints the active profile: it does not go with N";
        }
        if (what.find("--json") != std::string::npos) {
            return "'lighting set' prints nothing: --json goes with 'lighting' alone";
        }
        return "the profile of 'lighting set' comes after its VALUE";
    }
    return error.what();
}

bool Parser::AboutGlobalOptions(const CLI::ParseError& error) const {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        return !m_app.remaining(false).empty();
    }
    const std::string what = error.what();
    const auto colon = what.find(':');
    return colon != std::string::npos && m_app.get_option_no_throw(what.substr(0, colon));
}

ParsedCommandLine Parser::Parse(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    try {
        ParseArguments(m_app, args);
    } catch (const CLI::CallForHelp&) {
        parsed.outcome = ParsedCommandLine::Outcome::Help;
        parsed.text = m_app.help();
        return parsed;
    } catch (const CLI::ParseError& error) {
        // The message quotes the user's words, which must not steer the terminal.
        parsed.text = std::string(kProgram) + ": " + EscapeControls(Message(error)) + "\n" +
                      HelpHint(AboutGlobalOptions(error) ? "" : SelectedCommand());
        return parsed;
    }
    if (m_version) {
        parsed.outcome = ParsedCommandLine::Outcome::Version;
        return parsed;
    }
    const auto selected = m_app.get_subcommands();
    if (selected.empty()) {
        parsed.text = std::string(kProgram) + ": no command given\n" + HelpHint("");
        return parsed;
    }
    m_line.command = selected.front()->get_name();
    m_line.arguments.set = m_lightingSet->parsed();
    for (CLI::App* withActions : {m_macro, m_rules}) {
        if (withActions->parsed() && !withActions->get_subcommands().empty()) {
            m_line.arguments.macroAction = withActions->get_subcommands().front()->get_name();
        }
    }
    parsed.outcome = ParsedCommandLine::Outcome::Run;
    parsed.line = m_line;
    return parsed;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    Parser parser;
    return parser.Parse(args);
}

std::string HelpHint(const std::string& command) {
    return "Try '" + std::string(kProgram) + (command.empty() ? "" : " " + command) +
           " --help' for more information.\n";
}

}  // namespace korvel::cli
