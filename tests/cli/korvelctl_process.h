#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>

#include <string>
#include <vector>

extern char** environ;

namespace korvel::cli::test {

// Starts korvelctl as a process of its own, as a user's shell would, with its standard output
// and error written to the files `out` and `err` (an empty `out`: thrown away).
inline pid_t SpawnKorvelctl(std::vector<std::string> args, const std::string& out,
                            const std::string& err) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (out.empty()) {
        posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
    }
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    args.insert(args.begin(), KORVELCTL_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, KORVELCTL_PATH, &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    return child;
}

}  // namespace korvel::cli::test
