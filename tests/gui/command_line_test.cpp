#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/shell/command_line.h"

namespace korvel {
namespace {

TEST(StartCommandLine, SwitchesAndOptions) {
    struct Case {
        std::vector<std::string> args;
        bool kill;
        bool start;
    };
    const Case cases[] = {
        {{}, false, false},
        {{"/Start"}, false, true},
        {{"/start"}, false, true},
        {{"/START"}, false, true},
        {{"/Kill"}, true, false},
        {{"/kill"}, true, false},
        {{"/Start", "/Kill"}, true, true},
        {{"/Kill", "/Start"}, true, false},
        {{"/Startx"}, false, false},
        {{"Start"}, false, false},
        {{"-Start", "/Kil"}, false, false},
        // What the toolkit or the session manager hands over is left to them.
        {{"whatever", "--style=fusion", "--session", "abc", "/Start"}, false, true},
        // A /Kill ends the program there, so what follows it is never looked at.
        {{"/Kill", "--latency-ms", "nonsense"}, true, false},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto options = ParseStartCommandLine(c.args, error);
        ASSERT_TRUE(options.has_value()) << ::testing::PrintToString(c.args) << ": " << error;
        EXPECT_EQ(options->kill, c.kill) << ::testing::PrintToString(c.args);
        EXPECT_EQ(options->start, c.start) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(error.empty());
    }
}

TEST(StartCommandLine, VirtualKeyboardAndDocuments) {
    std::string error;
    auto options =
        ParseStartCommandLine({"--simulate", "--latency-ms", "5", "--documents", "/tmp/d"}, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_TRUE(options->simulate);
    EXPECT_TRUE(options->simulateState.empty());
    EXPECT_EQ(options->latencyMs, 5);
    EXPECT_EQ(options->documents, "/tmp/d");

    options = ParseStartCommandLine(
        {"--simulate=state.bin", "--latency-ms=0", "--documents=/x", "/Start"}, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_TRUE(options->simulate);
    EXPECT_EQ(options->simulateState, "state.bin");
    EXPECT_EQ(options->latencyMs, 0);
    EXPECT_EQ(options->documents, "/x");
    EXPECT_TRUE(options->start);
}

TEST(StartCommandLine, BadValuesAreErrorsThatSayWhatIsWrong) {
    struct Case {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Case cases[] = {
        {{"--latency-ms", "fast"}, "'fast'"},
        {{"--latency-ms", "-3"}, "'-3'"},
        {{"--latency-ms=12ms"}, "'12ms'"},
        {{"--latency-ms="}, "--latency-ms"},
        {{"--latency-ms"}, "--latency-ms"},
        {{"--latency-ms", "99999999999999"}, "--latency-ms"},
        {{"--simulate="}, "--simulate"},
        {{"--documents"}, "--documents"},
        {{"--documents="}, "--documents"},
        {{"/Start", "--latency-ms", "x", "/Kill"}, "'x'"},
        {{"--documents", ""}, "--documents"},
        {{"--documents=", "/Start"}, "--documents"},
        {{"--latency-ms", "+5"}, "'+5'"},
        {{"--simulate=", "/Start"}, "--simulate"},
        {{"--help=yes"}, "help"},
        {{"--bogus"}, "not expected: --bogus"},
        {{"/Start", "--\x1b[31mred"}, "not expected: --\\x1b[31mred"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseStartCommandLine(c.args, error).has_value())
            << ::testing::PrintToString(c.args);
        EXPECT_NE(error.find(c.mentions), std::string::npos)
            << ::testing::PrintToString(c.args) << ": " << error;
    }
}

TEST(StartCommandLine, TheSharedOptionsFollowKorvelctlsRules) {
    std::string error;
    // --simulate takes a state file only after '='; the last value of an option counts.
    const auto options =
        ParseStartCommandLine({"--simulate", "/Start", "--latency-ms=3", "--documents=/a",
                               "--latency-ms", "4", "--documents", "/b", "-platform", "offscreen"},
                              error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_TRUE(options->simulate);
    EXPECT_EQ(options->simulateState, "");
    EXPECT_TRUE(options->start);
    EXPECT_EQ(options->latencyMs, 4);
    EXPECT_EQ(options->documents, "/b");
    EXPECT_EQ(options->Bus("korvel").latencyMs, 4);
}

TEST(StartCommandLine, HelpAndVersionAreOffered) {
    std::string error;
    auto options = ParseStartCommandLine({"--help"}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_TRUE(options->help);
    options = ParseStartCommandLine({"/Start", "-h"}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_TRUE(options->help);
    options = ParseStartCommandLine({"--version"}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_TRUE(options->version);
    EXPECT_FALSE(options->help);
    const std::string usage = StartUsageText();
    for (const char* shown : {"/Kill", "/Start", "--simulate[=STATE]", "--latency-ms N",
                              "--documents DIR", "-h, --help", "--version"}) {
        EXPECT_NE(usage.find(shown), std::string::npos) << shown << '\n' << usage;
    }
}

}  // namespace
}  // namespace korvel
