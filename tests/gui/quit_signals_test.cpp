// A running korvel ended by SIGTERM, SIGINT or SIGHUP (a logout, a closed terminal) ends as /Kill
// does: what changed on its virtual keyboard is kept in the keyboard's state file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace korvel {
namespace {

using fixtures::ReadBytes;
using fixtures::TempFolder;

// The test's own runtime folder, so that it sees when korvel takes korvelctl's commands.
std::vector<std::string> g_environment;

pid_t Spawn(const char* program, std::vector<std::string> args, const std::string& out) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : g_environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, program, &files, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&files);
    return child;
}

int Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(KorvelProcess, AQuitSignalKeepsTheKeyboardsStateAsKillDoes) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        TempFolder folder;
        std::filesystem::create_directory(folder / "docs");
        const std::vector<std::string> where = {"--simulate=" + (folder / "kb.state").string(),
                                                "--documents=" + (folder / "docs").string()};
        const std::string out = (folder / "out").string();
        const std::filesystem::path runtime = folder / "run";
        std::filesystem::create_directory(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        g_environment.clear();
        for (char** variable = environ; *variable != nullptr; ++variable) {
            if (!std::string_view(*variable).starts_with("XDG_RUNTIME_DIR=")) {
                g_environment.emplace_back(*variable);
            }
        }
        g_environment.push_back("XDG_RUNTIME_DIR=" + runtime.string());
        const pid_t korvel = Spawn(KORVEL_PATH, where, (folder / "korvel.out").string());
        // Once korvel takes korvelctl's commands (its socket is there), profile 2 is switched
        // through it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        const auto listening = [&] {
            std::error_code ignored;
            for (const auto& entry :
                 std::filesystem::directory_iterator(runtime / "korvel", ignored)) {
                if (entry.path().extension() == ".sock") {
                    return true;
                }
            }
            return false;
        };
        while (!listening()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::vector<std::string> profile = where;
        profile.insert(profile.end(), {"profile", "2"});
        ASSERT_EQ(Wait(Spawn(KORVELCTL_PATH, profile, out)), 0) << ReadBytes(out);
        ASSERT_EQ(::kill(korvel, signal), 0);
        EXPECT_EQ(Wait(korvel), 0) << "it ends as /Kill does";
        std::vector<std::string> read = where;
        read.push_back("profile");
        EXPECT_EQ(Wait(Spawn(KORVELCTL_PATH, read, out)), 0);
        EXPECT_NE(ReadBytes(out).find("2"), std::string::npos) << ReadBytes(out);
    }
}

}  // namespace
}  // namespace korvel
