#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/korvelctl_run.h"
#include "device/command_report.h"
#include "device/sim/keyboard_state_file.h"

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;

class CommandLineTool : public ::testing::Test {
protected:
    CommandLineTool()
        : folder(std::filesystem::temp_directory_path() /
                 ("korvelctl-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))) {
        std::filesystem::create_directories(folder);
    }
    ~CommandLineTool() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

TEST_F(CommandLineTool, InfoOfAFactoryNewKeyboard) {
    const Outcome run = Korvelctl({"--simulate", "info"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "active-profile: 1\nmacro-capacity: 8192\n"
              "effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CommandLineTool, TraceOfAProfileSwitchShowsReadThenWriteOfTheInformationBlock) {
    const Outcome run = Korvelctl({"--simulate", "--trace", "profile", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::istringstream lines(run.err);
    std::vector<std::string> trace;
    for (std::string line; std::getline(lines, line);) {
        trace.push_back(line);
    }
    ASSERT_EQ(trace.size(), 4u) << run.err;
    EXPECT_EQ(trace[0], "> 042f00032c" + std::string(118, '0'));
    EXPECT_EQ(trace[1].substr(0, 2), "< ");
    ASSERT_EQ(trace[2].size(), 130u);
    EXPECT_EQ(trace[2].substr(0, 12), "> 04eb01042c") << "CMD_WRITE_INFO with its checksum";
    // Byte 10 of the block (request byte 18) names profile index 1.
    EXPECT_EQ(trace[2].substr(2 + 2 * 18, 2), "01");
    for (const std::string& line : trace) {
        EXPECT_TRUE(line.starts_with("> ") || line.starts_with("< "));
        EXPECT_EQ(line.size(), 130u);
    }
}

TEST_F(CommandLineTool, StateFileRemembersTheActiveProfile) {
    const std::string state = "--simulate=" + (folder / "kb.state").string();
    EXPECT_EQ(Korvelctl({state, "profile"}).out, "1\n");
    EXPECT_EQ(Korvelctl({state, "profile", "2"}).status, 0);
    EXPECT_EQ(Korvelctl({state, "profile"}).out, "2\n");
    EXPECT_EQ(Korvelctl({state, "info"}).out.substr(0, 17), "active-profile: 2");
    EXPECT_EQ(Korvelctl({"--simulate", "profile"}).out, "1\n") << "without a state file: fresh";
}

TEST_F(CommandLineTool, AnActiveProfileOutsideTheThreeIsUnknown) {
    struct Case {
        std::uint8_t stored;  // byte 10 of the information block
        int status;
        std::string profile;  // what `profile` prints
    };
    const Case cases[] = {
        {0, 0, "1\n"}, {2, 0, "3\n"}, {3, 1, ""}, {5, 1, ""}, {0xFF, 1, ""},
    };
    const auto path = folder / "kb.state";
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.stored});
        sim::KeyboardMemory memory = sim::MakeFactoryMemory();
        memory.info[kInfoActiveProfileOffset] = c.stored;
        std::string error;
        ASSERT_TRUE(sim::SaveKeyboardState(path, memory, error)) << error;
        const Outcome profile = Korvelctl({"--simulate=" + path.string(), "profile"});
        EXPECT_EQ(profile.status, c.status);
        EXPECT_EQ(profile.out, c.profile);
        const Outcome info = Korvelctl({"--simulate=" + path.string(), "info"});
        EXPECT_EQ(info.status, c.status);
        EXPECT_EQ(info.out.empty(), c.status != 0);
        if (c.status != 0) {
            EXPECT_NE(profile.err.find("unknown active profile"), std::string::npos) << profile.err;
            EXPECT_NE(info.err.find("unknown active profile"), std::string::npos) << info.err;
        }
    }
}

TEST_F(CommandLineTool, DamagedStateFileFailsWithItsName) {
    const auto path = folder / "broken.state";
    std::ofstream(path) << "not a keyboard";
    const Outcome run = Korvelctl({"--simulate=" + path.string(), "info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(path.string()), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a keyboard")
        << "the refused file is left as it was";
}

TEST_F(CommandLineTool, WithoutTheVirtualKeyboardSaysWhatIsMissing) {
    const Outcome run = Korvelctl({"info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--simulate"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("0x0C45"), std::string::npos) << run.err;
}

TEST_F(CommandLineTool, UsageErrorsExitWith2AndTouchNoKeyboard) {
    const std::string state = (folder / "never.state").string();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--simulate=" + state},
        {"--simulate=" + state, "frobnicate"},
        {"--simulate=" + state, "profile", "4"},
        {"--simulate=" + state, "profile", "0"},
        {"--simulate=" + state, "profile", "two"},
        {"--simulate=" + state, "profile", "1", "2"},
        {"--simulate=" + state, "info", "extra"},
        {"--simulate=" + state, "--latency-ms", "-3", "info"},
        {"--simulate=" + state, "--latency-ms"},
        {"--bogus", "info"},
        {"--simulate=", "info"},
        {"--simulate=" + state, "--documents=", "info"},
        {"--simulate=" + state, "--documents=", "--simulate", "info"},
        {"--simulate=" + state, "--documents", "", "info"},
        {"--simulate=" + state, "--documents"},
        {"--simulate=" + state, "--latency-ms=", "info"},
        {"--simulate=" + state, "--latency-ms", "+3", "info"},
        {"--simulate=" + state, "--latency-ms", "0x10", "info"},
        {"--simulate=" + state, "--latency-ms", "99999999999999", "info"},
        {"--simulate=" + state, "--trace=yes", "info"},
        {"--simulate=" + state, "info", "--trace"},
        {"--simulate=" + state, "encode"},
        {"--simulate=" + state, "blob", "file", "4294967296"},
        {"--simulate=" + state, "dump", "file", "--json=no"},
        {"--simulate=" + state, "--version=2"},
    };
    for (const auto& args : cases) {
        const Outcome run = Korvelctl(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(state));
}

TEST_F(CommandLineTool, UsageErrorsSayWhatIsWrongAndWhichHelpToRead) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
        std::string help;
    };
    const Case cases[] = {
        {{}, "no command given", "korvelctl --help"},
        {{"frobnicate"}, "unknown command 'frobnicate'", "korvelctl --help"},
        {{"--documents=", "info"}, "--documents", "korvelctl --help"},
        {{"--latency-ms", "fast", "info"}, "'fast'", "korvelctl --help"},
        {{"info", "extra"}, "extra", "korvelctl info --help"},
        {{"profile", "4"}, "1, 2 or 3, not '4'", "korvelctl profile --help"},
        {{"blob", "f", "-5"}, "whole number of bytes, not '-5'", "korvelctl blob --help"},
        {{"lighting", "set", "glow", "1"},
         "unknown lighting field 'glow'",
         "korvelctl lighting set --help"},
        {{"--simulate", "press", "G10"}, "a G key G1..G9: G10", "korvelctl press --help"},
        {{"--simulate", "press"}, "GKEY", "korvelctl press --help"},
        {{"press", "G1"}, "press needs --simulate", "korvelctl press --help"},
    };
    for (const Case& c : cases) {
        const Outcome run = Korvelctl(c.args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(c.args);
        EXPECT_TRUE(run.err.starts_with("korvelctl: ")) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Try '" + c.help + "'"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(CommandLineTool, APressReachesOnlyAKorvelOnTheSameVirtualKeyboard) {
    const std::string state = (folder / "alone.state").string();
    const Outcome run = Korvelctl({"--simulate=" + state, "press", "g1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no korvel runs with this virtual keyboard"), std::string::npos)
        << run.err;
}

TEST_F(CommandLineTool, HelpAndVersion) {
    const Outcome help = Korvelctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* shown : {"--simulate[=STATE]", "--latency-ms N", "--documents DIR", "--trace",
                              "-h, --help", "--version", "info", "profile [N]", "monitor",
                              "validate FILE", "dump FILE [--json]", "encode FILE PROFILE",
                              "blob FILE CAPACITY", "import FILE", "backup FILE", "export FILE"}) {
        EXPECT_NE(help.out.find(shown), std::string::npos) << shown << '\n' << help.out;
    }
    EXPECT_EQ(Korvelctl({"-h"}).out, help.out);
    const Outcome version = Korvelctl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("korvelctl ")) << version.out;
}

TEST_F(CommandLineTool, EveryCommandHasItsOwnHelp) {
    for (const char* command : {"info", "profile", "monitor", "validate", "dump", "encode", "blob",
                                "import", "backup", "export", "lighting"}) {
        const Outcome help = Korvelctl({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find(std::string("Usage: korvelctl ") + command), std::string::npos)
            << help.out;
        EXPECT_NE(help.out, Korvelctl({"--help"}).out) << command;
    }
    const Outcome set = Korvelctl({"lighting", "set", "-h"});
    EXPECT_EQ(set.status, 0);
    EXPECT_NE(set.out.find("Usage: korvelctl lighting set [OPTIONS] FIELD VALUE [PROFILE]"),
              std::string::npos)
        << set.out;
}

TEST_F(CommandLineTool, OptionsTakeTheirValueEitherWayAndTheLastOneCounts) {
    const std::string state = (folder / "kb.state").string();
    ASSERT_EQ(Korvelctl({"--simulate=" + state, "profile", "3"}).status, 0);
    EXPECT_EQ(Korvelctl({"--simulate=" + state, "profile"}).out, "3\n");
    EXPECT_EQ(Korvelctl({"--simulate=" + state, "--simulate", "profile"}).out, "3\n")
        << "a bare --simulate keeps the state file named before";
    EXPECT_EQ(Korvelctl({"--simulate", "--simulate=" + state, "profile"}).out, "3\n");
    EXPECT_EQ(Korvelctl({"--simulate", "--latency-ms=1", "--latency-ms", "0", "profile"}).out,
              "1\n");
    EXPECT_EQ(Korvelctl({"--simulate", "--documents", "/a", "--documents=/b", "profile"}).out,
              "1\n");
    // A file whose name starts with a dash comes after "--".
    const Outcome dashed = Korvelctl({"validate", "--", "-no-such.kvp"});
    EXPECT_EQ(dashed.status, 1);
    EXPECT_NE(dashed.err.find("-no-such.kvp: no such file"), std::string::npos) << dashed.err;
}

TEST_F(CommandLineTool, LatencyStillGivesTheSameAnswer) {
    // Latencies below and above the 20 ms in which a transfer looks at the cancel signal.
    for (const char* latency : {"2", "21", "60"}) {
        const Outcome run = Korvelctl({"--simulate", "--latency-ms", latency, "profile"});
        EXPECT_EQ(run.status, 0) << latency << " ms: " << run.err;
        EXPECT_EQ(run.out, "1\n") << latency << " ms";
    }
}

}  // namespace
}  // namespace korvel::cli
