// Many korvelctl processes at once on one virtual keyboard and one Documents folder: every change
// that a process reports as done is there afterwards, and every refusal says why.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "cli/korvelctl_process.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::ReadBytes;
using fixtures::TempFolder;

struct ProcessRun {
    std::vector<std::string> args;
    int status = -1;
    std::string out = {};
    std::string err = {};
};

// Starts every run as its own korvelctl process, then waits for all of them.
void RunAllAtOnce(std::vector<ProcessRun>& runs, const TempFolder& folder) {
    std::vector<pid_t> children;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::string out = (folder / ("out" + std::to_string(i))).string();
        const std::string err = (folder / ("err" + std::to_string(i))).string();
        children.push_back(cli::test::SpawnKorvelctl(runs[i].args, out, err));
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        int status = 0;
        waitpid(children[i], &status, 0);
        runs[i].status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        runs[i].out = ReadBytes(folder / ("out" + std::to_string(i)));
        runs[i].err = ReadBytes(folder / ("err" + std::to_string(i)));
    }
}

std::string LightingOf(const std::string& state, const std::string& documents, int profile,
                       const TempFolder& folder) {
    std::vector<ProcessRun> read = {
        {{"--simulate=" + state, "--documents=" + documents, "lighting", std::to_string(profile)}}};
    RunAllAtOnce(read, folder);
    EXPECT_EQ(read[0].status, 0) << read[0].err;
    return read[0].out;
}

TEST(ParallelRuns, EveryChangeReportedDoneIsKeptOnOneVirtualKeyboard) {
    TempFolder folder;
    const std::string state = (folder / "kb.state").string();
    const std::string documents = (folder / "docs").string();
    std::filesystem::create_directory(documents);
    const std::string simulate = "--simulate=" + state;
    const std::string docs = "--documents=" + documents;
    // Six fields on each of the three profiles, a profile switch and a command that only reads.
    const std::vector<std::pair<std::string, std::string>> changes = {
        {"brightness", "1"},       {"speed", "2"}, {"direction", "1"}, {"color", "#102030"},
        {"base-color", "#405060"}, {"tool", "1"}};
    std::vector<ProcessRun> runs;
    for (int profile = 1; profile <= 3; ++profile) {
        for (const auto& [field, value] : changes) {
            runs.push_back(
                {{simulate, docs, "lighting", "set", field, value, std::to_string(profile)}});
        }
    }
    runs.push_back({{simulate, "profile", "3"}});
    runs.push_back({{simulate, "info"}});
    RunAllAtOnce(runs, folder);
    for (const ProcessRun& run : runs) {
        EXPECT_EQ(run.status, 0) << run.args.back() << ": " << run.err;
    }

    for (int profile = 1; profile <= 3; ++profile) {
        const std::string lighting = LightingOf(state, documents, profile, folder);
        for (const auto& [field, value] : changes) {
            EXPECT_NE(lighting.find(field + ": " + value + "\n"), std::string::npos)
                << "profile " << profile << " lost " << field << "\n"
                << lighting;
        }
    }
    std::vector<ProcessRun> active = {{{simulate, "profile"}}};
    RunAllAtOnce(active, folder);
    EXPECT_EQ(active[0].out, "3\n");
}

TEST(ParallelRuns, BackupsAndExportsIntoOneDocumentsFolderAllLand) {
    TempFolder folder;
    const std::string simulate = "--simulate=" + (folder / "kb.state").string();
    std::filesystem::create_directory(folder / "docs");
    const std::string docs = "--documents=" + (folder / "docs").string();
    std::vector<ProcessRun> runs;
    for (int i = 0; i < 10; ++i) {
        runs.push_back({{simulate, docs, "export", (folder / ("e" + std::to_string(i))).string()}});
        runs.push_back({{simulate, "backup", (folder / ("b" + std::to_string(i))).string()}});
    }
    RunAllAtOnce(runs, folder);
    std::vector<ProcessRun> checks;
    for (const ProcessRun& run : runs) {
        EXPECT_EQ(run.status, 0) << run.err;
        checks.push_back({{"validate", run.args.back()}});
    }
    RunAllAtOnce(checks, folder);
    for (const ProcessRun& check : checks) {
        EXPECT_EQ(check.out, "valid\n") << check.args.back() << ": " << check.err;
    }
}

}  // namespace
}  // namespace korvel
