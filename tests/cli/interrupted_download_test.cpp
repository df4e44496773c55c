// korvelctl ended by a signal while it sends a download: the keyboard's transaction ends first (its
// end command is the last one on the wire), then the program ends by that signal.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/korvelctl_process.h"
#include "device/command_report.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::ReadBytes;
using fixtures::TempFolder;

pid_t Spawn(std::vector<std::string> args, const std::string& err) {
    return cli::test::SpawnKorvelctl(std::move(args), {}, err);
}

// The command byte of each request of a trace ("> " lines, the report's bytes in hex).
std::vector<int> RequestCommands(const std::string& trace) {
    std::vector<int> commands;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = 2 + 2 * kOffsetCommand;
        if (line.starts_with("> ") && line.size() >= at + 2) {
            commands.push_back(std::stoi(line.substr(at, 2), nullptr, 16));
        }
    }
    return commands;
}

TEST(InterruptedDownload, ASignalWaitsForTheTransactionsEnd) {
    TempFolder folder;
    const std::string state = "--simulate=" + (folder / "kb.state").string();
    const std::string documents = "--documents=" + (folder / "docs").string();
    std::filesystem::create_directory(folder / "docs");
    const std::string profile = (folder / "p.kvp").string();
    const std::string log = (folder / "err").string();
    int status = 0;
    waitpid(Spawn({state, documents, "export", profile}, log), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadBytes(log);

    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        const pid_t child =
            Spawn({state, documents, "--latency-ms=10", "--trace", "import", profile}, log);
        // Signalled once the transaction has begun and a few writes have gone out.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (true) {
            const std::vector<int> sent = RequestCommands(ReadBytes(log));
            const auto begin = std::find(sent.begin(), sent.end(), CMD_BEGIN);
            if (begin != sent.end() && sent.end() - begin > 3) {
                break;
            }
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << ReadBytes(log);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_EQ(::kill(child, signal), 0);
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        const std::vector<int> sent = RequestCommands(ReadBytes(log));
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back(), CMD_END) << "the end went out before the program ended";
    }
}

}  // namespace
}  // namespace korvel
