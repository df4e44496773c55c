#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace korvel::fixtures {

// An X server of the test's own (Xvfb), on the first free display; Started() is false with the
// reason in Problem() when there is none to start.
class OwnXServer {
public:
    OwnXServer() {
        int pipe[2];
        if (::pipe(pipe) != 0) {
            m_problem = "no pipe for Xvfb";
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>("Xvfb"),
                        const_cast<char*>("-displayfd"),
                        const_cast<char*>("3"),
                        const_cast<char*>("-nolisten"),
                        const_cast<char*>("tcp"),
                        const_cast<char*>("-screen"),
                        const_cast<char*>("0"),
                        const_cast<char*>("320x200x24"),
                        nullptr};
        const int spawned = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipe[1]);
        if (spawned != 0) {
            m_problem = "Xvfb is not installed (Debian package xvfb)";
            m_pid = 0;
            ::close(pipe[0]);
            return;
        }
        // Xvfb writes its display number once it takes connections.
        std::string number;
        pollfd ready{pipe[0], POLLIN, 0};
        char c = 0;
        while (::poll(&ready, 1, 10000) == 1 && ::read(pipe[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        ::close(pipe[0]);
        if (number.empty()) {
            m_problem = "Xvfb did not start";
            return;
        }
        m_name = ":" + number;
    }
    ~OwnXServer() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool Started() const { return !m_name.empty(); }
    const std::string& Name() const { return m_name; }
    const std::string& Problem() const { return m_problem; }

private:
    pid_t m_pid = 0;
    std::string m_name;
    std::string m_problem;
};

}  // namespace korvel::fixtures
