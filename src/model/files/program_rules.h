#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// "Program → onboard profile": the keyboard follows the program in front. A program is named by
// its window's class or its executable's name (case does not count).
struct ProgramRule {
    std::u16string program;
    int profile = 0;  // 0..2
    bool operator==(const ProgramRule&) const = default;
};

struct ProgramRules {
    std::vector<ProgramRule> rules;  // the first that names the program wins
    std::optional<int> otherwise;    // 0..2 for every other program; none: left as it is
    bool operator==(const ProgramRules&) const = default;
};

// The rules' file, shared by korvel and korvelctl: program-rules.ini in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config) below Korvel_Tolvane. Empty when neither is known.
std::filesystem::path ProgramRulesFile();

// The rules the file holds; none when there is no file. A rule that names no program or a profile
// outside 1..3 (a hand-edited file) is left out, and `warnings` says which and why.
ProgramRules ReadProgramRules(const std::filesystem::path& file,
                              std::vector<std::string>* warnings = nullptr);
// Replaces the file with `rules` (the folder is made when missing). False when it cannot be
// written; the file is then as it was.
bool WriteProgramRules(const std::filesystem::path& file, const ProgramRules& rules);

// Whether two names name the same program (case does not count).
bool SameProgram(std::u16string_view a, std::u16string_view b);

// The profile 0..2 for the program in front, by its window class or executable; none when no
// rule names it and there is no profile for the others.
std::optional<int> ProfileForProgram(const ProgramRules& rules, std::u16string_view windowClass,
                                     std::u16string_view executable);

}  // namespace korvel
