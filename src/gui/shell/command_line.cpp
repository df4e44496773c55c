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
// what Qt or the desktop hand over included, is left among the extras; an unknown long option
// there is refused afterwards.
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

// The long forms of the options Qt and the desktop's session manager hand the program, which Qt
// takes itself ("--style=fusion", "--session ID").
bool IsToolkitOption(std::string_view arg) {
    static constexpr std::string_view kToolkit[] = {"--platform",
                                                    "--platformpluginpath",
                                                    "--platformtheme",
                                                    "--plugin",
                                                    "--qwindowgeometry",
                                                    "--qwindowtitle",
                                                    "--qwindowicon",
                                                    "--reverse",
                                                    "--session",
                                                    "--style",
                                                    "--stylesheet",
                                                    "--widgetcount",
                                                    "--display",
                                                    "--geometry",
                                                    "--name",
                                                    "--title",
                                                    "--qmljsdebugger"};
    const std::string_view name = arg.substr(0, arg.find('='));
    return std::find(std::begin(kToolkit), std::end(kToolkit), name) != std::end(kToolkit);
}

// An argument shown in a message: control characters as \xHH, so that none reaches the terminal.
std::string Printable(std::string_view arg) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string shown;
    for (const char c : arg) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0x0F];
        } else {
            shown += c;
        }
    }
    return shown;
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
        } else if (arg.starts_with("--") && !IsToolkitOption(arg)) {
            // Not an option of this program nor of the toolkit: a mistake, said as such.
            error = "The following argument was not expected: " + Printable(arg);
            return std::nullopt;
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
