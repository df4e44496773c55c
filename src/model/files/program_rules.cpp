#include "model/files/program_rules.h"

#include <cwctype>

#include "base/file_io.h"
#include "base/text_encoding.h"
#include "text/data_directory.h"
#include "text/private_profile.h"

namespace korvel {
namespace {

constexpr std::u16string_view kRules = u"Rules";
constexpr std::u16string_view kOtherwise = u"Otherwise";
constexpr int kMostRules = 1000;

std::u16string Folded(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded) {
        if (c < 0x80) {
            c = static_cast<char16_t>(std::towlower(c));
        }
    }
    return folded;
}

std::u16string Numbered(std::u16string_view key, int n) {
    return std::u16string(key) + Utf8ToUtf16(std::to_string(n));
}

// 0..2 for "1".."3"; none for anything else.
std::optional<int> ProfileOf(const std::u16string& text) {
    if (text.size() == 1 && text[0] >= u'1' && text[0] <= u'3') {
        return text[0] - u'1';
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path ProgramRulesFile() {
    const std::filesystem::path config = UserConfigFolder();
    return config.empty() ? config : config / "program-rules.ini";
}

ProgramRules ReadProgramRules(const std::filesystem::path& file,
                              std::vector<std::string>* warnings) {
    ProgramRules rules;
    std::error_code error;
    if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
        return rules;
    }
    const auto warn = [warnings](std::string text) {
        if (warnings != nullptr) {
            warnings->push_back(std::move(text));
        }
    };
    const int count =
        std::min(LeadingInteger(ReadProfileString(file, kRules, u"Count", u"0")), kMostRules);
    for (int n = 1; n <= count; ++n) {
        const std::u16string program =
            ReadProfileString(file, kRules, Numbered(u"Program", n), u"");
        const std::u16string profile =
            ReadProfileString(file, kRules, Numbered(u"Profile", n), u"");
        const std::optional<int> index = ProfileOf(profile);
        if (program.empty() || !index) {
            warn(
                "rule " + std::to_string(n) + " (" + Utf16ToUtf8(program) + " → " +
                Utf16ToUtf8(profile) + ") is ignored: " +
                (program.empty() ? "it names no program" : "the keyboard has profiles 1, 2 and 3"));
            continue;
        }
        rules.rules.push_back({program, *index});
    }
    const std::u16string otherwise = ReadProfileString(file, kOtherwise, u"Profile", u"");
    rules.otherwise = ProfileOf(otherwise);
    if (!otherwise.empty() && !rules.otherwise) {
        warn("the profile for other programs (" + Utf16ToUtf8(otherwise) +
             ") is ignored: the keyboard has profiles 1, 2 and 3");
    }
    return rules;
}

bool WriteProgramRules(const std::filesystem::path& file, const ProgramRules& rules) {
    if (file.empty()) {
        return false;
    }
    std::string text =
        "; Korvel: the onboard profile for the program in front (korvelctl rules, or the window)\n"
        "[Rules]\nCount=" +
        std::to_string(rules.rules.size()) + "\n";
    for (std::size_t i = 0; i < rules.rules.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        text += "Program" + n + "=" + Utf16ToUtf8(rules.rules[i].program) + "\nProfile" + n + "=" +
                std::to_string(rules.rules[i].profile + 1) + "\n";
    }
    if (rules.otherwise) {
        text += "[Otherwise]\nProfile=" + std::to_string(*rules.otherwise + 1) + "\n";
    }
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    return static_cast<bool>(ReplaceFile(file, text));
}

bool SameProgram(std::u16string_view a, std::u16string_view b) {
    return !a.empty() && Folded(a) == Folded(b);
}

std::optional<int> ProfileForProgram(const ProgramRules& rules, std::u16string_view windowClass,
                                     std::u16string_view executable) {
    for (const ProgramRule& rule : rules.rules) {
        if (SameProgram(windowClass, rule.program) || SameProgram(executable, rule.program)) {
            return rule.profile;
        }
    }
    return rules.otherwise;
}

}  // namespace korvel
