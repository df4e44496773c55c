#include "gui/shell/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <string_view>

namespace korvel {
namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The program's options: the shared ones, help and version. Anything else, the switches and
// what Qt or the desktop hand over included, is left for the caller among the extras.
void DeclareOptions(CLI::App& app, StartOptions& options) {
    app.formatter(MakeHelpFormatter("korvel [/Start] [/Kill] [OPTIONS]"));
    app.allow_extras();
    AddSharedOptions(app, options);
    app.set_help_flag();
    app.add_flag("-h,--help", options.help, "show this help and exit")->disable_flag_override();
    app.add_flag("--version", options.version, "show the version and exit")
        ->disable_flag_override();
    app.footer(
        "Switches, whole arguments in any case:\n"
        "  /Start                start in the background: do not open the window when the\n"
        "                        keyboard is found\n"
        "  /Kill                 close the running copy and end");
}

}  // namespace

std::optional<StartOptions> ParseStartCommandLine(const std::vector<std::string>& args,
                                                  std::string& error) {
    StartOptions options;
    const auto kill = std::find_if(args.begin(), args.end(), [](const std::string& arg) {
        return SameWithoutCase(arg, "/Kill");
    });
    options.kill = kill != args.end();
    CLI::App app;
    DeclareOptions(app, options);
    try {
        ParseArguments(app, std::vector<std::string>(args.begin(), kill));
    } catch (const CLI::ParseError& failure) {
        error = failure.what();
        return std::nullopt;
    }
    for (const std::string& arg : app.remaining()) {
        if (SameWithoutCase(arg, "/Start")) {
            options.start = true;
        }
    }
    return options;
}

std::string StartUsageText() {
    StartOptions options;
    CLI::App app(
        "Configures the keyboard. Only one copy runs at a time: starting it again shows the "
        "running one.",
        "korvel");
    DeclareOptions(app, options);
    return app.help();
}

}  // namespace korvel
