#include "app/shared_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <climits>
#include <sstream>

namespace korvel {
namespace {

// What --simulate reads as without "=STATE": no argument vector can hold this character.
constexpr char kFreshKeyboard[] = "\x01";

class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(std::string usage) : m_usage(std::move(usage)) {}

    std::string make_usage(const CLI::App* app, std::string name) const override {
        if (app->get_parent() == nullptr && !m_usage.empty()) {
            return get_label("Usage") + ": " + m_usage + "\n";
        }
        return CLI::Formatter::make_usage(app, std::move(name));
    }

    // "-h, --help" and "--simulate", without the default value that CLI11 shows in braces.
    std::string make_option_name(const CLI::Option* opt, bool positional) const override {
        std::string name = CLI::Formatter::make_option_name(opt, positional);
        if (const auto open = name.find('{'); open != std::string::npos) {
            name.erase(open, name.find('}', open) - open + 1);
        }
        for (auto comma = name.find(','); comma != std::string::npos;
             comma = name.find(',', comma + 2)) {
            name.insert(comma + 1, " ");
        }
        return name;
    }

    // An argument's usage line already says whether it is needed; an option shows its own text.
    std::string make_option_opts(const CLI::Option* opt) const override {
        if (!opt->get_option_text().empty()) {
            return opt->get_option_text();
        }
        return opt->get_positional() ? std::string() : CLI::Formatter::make_option_opts(opt);
    }

    std::string make_subcommand(const CLI::App* sub) const override {
        std::ostringstream out;
        Describe(out, sub, sub->get_name());
        return out.str();
    }

private:
    void Describe(std::ostream& out, const CLI::App* sub, const std::string& name) const {
        std::string synopsis = name;
        for (const CLI::Option* opt : sub->get_options()) {
            if (opt == sub->get_help_ptr()) {
                continue;
            }
            synopsis += ' ';
            synopsis +=
                opt->get_positional() ? make_option_usage(opt) : "[" + opt->get_name() + "]";
        }
        CLI::detail::format_help(out, synopsis, sub->get_description(), get_column_width());
        for (const CLI::App* inner : sub->get_subcommands({})) {
            Describe(out, inner, name + " " + inner->get_name());
        }
    }

    std::string m_usage;
};

}  // namespace

std::optional<std::uint64_t> ParseWholeNumber(std::string_view text, std::uint64_t low,
                                              std::uint64_t high) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

CLI::Validator WholeNumberCheck(std::uint64_t low, std::uint64_t high, std::string what) {
    return CLI::Validator(
        [low, high, what = std::move(what)](std::string& text) -> std::string {
            if (ParseWholeNumber(text, low, high)) {
                return {};
            }
            return "must be " + what + ", not '" + text + "'";
        },
        "");
}

void AddSharedOptions(CLI::App& app, SharedOptions& options) {
    app.add_flag(std::string("--simulate{") + kFreshKeyboard + "}")
        ->description(
            "use the virtual keyboard instead of a real one; with STATE its\n"
            "memory is loaded from that file (created when missing) and saved\n"
            "back at the end")
        ->option_text("[=STATE]")
        ->each([&options](const std::string& value) {
            options.simulate = true;
            if (value != kFreshKeyboard) {
                options.simulateState = value;
            }
        });
    app.add_option_function<std::string>(
           "--latency-ms",
           [&options](const std::string& text) {
               options.latencyMs = static_cast<int>(*ParseWholeNumber(text, 0, INT_MAX));
           },
           "per-report latency of the virtual keyboard in milliseconds\n(default 0)")
        ->option_text(" N")
        ->type_name("N")
        ->check(WholeNumberCheck(0, INT_MAX, "a whole number of milliseconds"))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--documents", options.documents,
                   "the folder that stands for the user's Documents folder")
        ->option_text(" DIR")
        ->type_name("DIR")
        ->check(CLI::Validator(
            [](std::string& text) { return text.empty() ? "needs a folder" : std::string(); }, ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void ParseArguments(CLI::App& app, const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg.size() > 3 && arg.starts_with("--") && arg.find('=') == arg.size() - 1) {
            const std::string name = arg.substr(0, arg.size() - 1);
            if (app.get_option_no_throw(name) != nullptr) {
                throw CLI::ValidationError(name, "the value after '=' is empty");
            }
        }
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
}

std::shared_ptr<CLI::Formatter> MakeHelpFormatter(std::string usage) {
    auto formatter = std::make_shared<HelpFormatter>(std::move(usage));
    formatter->column_width(24);
    formatter->label("Positionals", "Arguments");
    formatter->label("SUBCOMMAND", "COMMAND");
    return formatter;
}

}  // namespace korvel
