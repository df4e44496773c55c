#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "cli/korvelctl_run.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

const std::filesystem::path kScripts = KORVEL_COMPLETIONS_DIR;

// What `command` prints, run by /bin/sh in `folder`.
std::string Shell(const std::string& command, const std::filesystem::path& folder = {}) {
    const std::string line =
        (folder.empty() ? std::string() : "cd '" + folder.string() + "' && ") + command;
    std::string out;
    if (FILE* pipe = popen(line.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        pclose(pipe);
    }
    return out;
}

std::set<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::set<std::string> words;
    for (std::string word; in >> word;) {
        words.insert(word);
    }
    return words;
}

// The commands `korvelctl --help` lists.
std::set<std::string> Commands() {
    const std::string help = test::Korvelctl({"--help"}).out;
    std::set<std::string> commands;
    std::istringstream lines(help.substr(help.find("Commands:")));
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 2 && line[0] == ' ' && line[1] == ' ' && line[2] != ' ') {
            commands.insert(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return commands;
}

// What bash completes for the words of `line`, the last one being completed ("korvelctl dump "
// completes an empty word after dump).
std::set<std::string> Bash(const std::string& line, const std::filesystem::path& folder = {}) {
    std::string words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words += word + ' ';
    }
    if (line.ends_with(' ')) {
        words += "\"\"";
    }
    const std::string script = (kScripts / "korvelctl.bash").string();
    return Words(Shell("bash -c 'source " + script + "; COMP_WORDS=(" + words +
                           "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _korvelctl; "
                           "printf \"%s\\n\" \"${COMPREPLY[@]}\"'",
                       folder));
}

TEST(ShellCompletion, BashCompletesEveryCommandAndWhatEachTakes) {
    EXPECT_EQ(Bash("korvelctl "), Commands());
    EXPECT_EQ(Bash("korvelctl --simulate li"), (std::set<std::string>{"lighting"}));
    EXPECT_EQ(Bash("korvelctl press G"),
              (std::set<std::string>{"G1", "G2", "G3", "G4", "G5", "G6", "G7", "G8", "G9"}));
    EXPECT_EQ(Bash("korvelctl lighting set r"), (std::set<std::string>{"report-rate"}));
    EXPECT_EQ(Bash("korvelctl import --no"), (std::set<std::string>{"--no-verify", "--no-backup"}));
    EXPECT_EQ(Bash("korvelctl profile "), (std::set<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Bash("korvelctl remap Caps"), (std::set<std::string>{"CapsLock"}));
    EXPECT_EQ(Bash("korvelctl remap A Vol"), (std::set<std::string>{"VolumeUp", "VolumeDown"}));

    fixtures::TempFolder folder;
    for (const char* name : {"a.kvp", "b.json", "c.txt"}) {
        fixtures::WriteBytes(folder / name, "");
    }
    std::filesystem::create_directory(folder / "sub");
    // A profile file or its JSON form; a backup alone for restore.
    EXPECT_EQ(Bash("korvelctl dump ", folder.Path()),
              (std::set<std::string>{"a.kvp", "b.json", "sub"}));
    EXPECT_EQ(Bash("korvelctl encode ", folder.Path()), (std::set<std::string>{"a.kvp", "sub"}));
    EXPECT_EQ(Bash("korvelctl restore ", folder.Path()), (std::set<std::string>{"b.json", "sub"}));
}

TEST(ShellCompletion, FishCompletesTheSameCommandsAndZshReadsItsScript) {
    if (Shell("command -v fish").empty() || Shell("command -v zsh").empty()) {
        GTEST_SKIP() << "fish or zsh is not installed";
    }
    const std::string fish = "fish -c 'source " + (kScripts / "korvelctl.fish").string() +
                             "; complete -C \"korvelctl \"' | cut -f1";
    EXPECT_EQ(Words(Shell(fish)), Commands());
    const std::string press = "fish -c 'source " + (kScripts / "korvelctl.fish").string() +
                              "; complete -C \"korvelctl press \"' | cut -f1";
    EXPECT_EQ(Words(Shell(press)).size(), 9u);
    EXPECT_EQ(Shell("zsh -n " + (kScripts / "_korvelctl").string() + " && echo ok"), "ok\n");
}

}  // namespace
}  // namespace korvel::cli
