#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <climits>
#include <string>
#include <vector>

#include "app/shared_options.h"

namespace korvel {
namespace {

TEST(WholeNumber, DigitsOnlyWithinTheRange) {
    struct Case {
        const char* text;
        std::uint64_t low;
        std::uint64_t high;
        std::optional<std::uint64_t> value;
    };
    const Case cases[] = {
        {"0", 0, 10, 0},
        {"10", 0, 10, 10},
        {"007", 0, 10, 7},
        {"11", 0, 10, std::nullopt},
        {"0", 1, 3, std::nullopt},
        {"4294967295", 0, UINT32_MAX, 4294967295u},
        {"4294967296", 0, UINT32_MAX, std::nullopt},
        {"18446744073709551615", 0, UINT64_MAX, UINT64_MAX},
        {"18446744073709551616", 0, UINT64_MAX, std::nullopt},
        {"", 0, 10, std::nullopt},
        {"-1", 0, 10, std::nullopt},
        {"+1", 0, 10, std::nullopt},
        {" 1", 0, 10, std::nullopt},
        {"1 ", 0, 10, std::nullopt},
        {"0x1", 0, 10, std::nullopt},
        {"1.0", 0, 10, std::nullopt},
        {"1e1", 0, 100, std::nullopt},
        {"\xd9\xa1", 0, 10, std::nullopt},  // ARABIC-INDIC DIGIT ONE
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseWholeNumber(c.text, c.low, c.high), c.value) << '"' << c.text << '"';
    }
}

struct Parsed {
    bool ok = false;
    std::string error;
    SharedOptions options;
    std::vector<std::string> extras;
};

Parsed Parse(const std::vector<std::string>& args) {
    Parsed parsed;
    CLI::App app;
    app.allow_extras();
    AddSharedOptions(app, parsed.options);
    try {
        ParseArguments(app, args);
        parsed.ok = true;
        parsed.extras = app.remaining();
    } catch (const CLI::ParseError& error) {
        parsed.error = error.what();
    }
    return parsed;
}

TEST(SharedOptions, BothSpellingsAndTheLastValueCounts) {
    Parsed p = Parse({"--simulate", "--latency-ms", "5", "--documents", "/d"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.options.simulate);
    EXPECT_EQ(p.options.simulateState, "");
    EXPECT_EQ(p.options.latencyMs, 5);
    EXPECT_EQ(p.options.documents, "/d");

    p = Parse({"--simulate=kb.state", "--latency-ms=7", "--documents=/e", "--latency-ms=2",
               "--documents", "/f", "--simulate"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.simulateState, "kb.state") << "a bare --simulate keeps the state file";
    EXPECT_EQ(p.options.latencyMs, 2);
    EXPECT_EQ(p.options.documents, "/f");

    // --simulate takes a value only after '=': the next word is someone else's.
    p = Parse({"--simulate", "info"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.simulateState, "");
    EXPECT_EQ(p.extras, std::vector<std::string>{"info"});

    p = Parse({"--simulate=true"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.simulateState, "true");

    p = Parse({});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_FALSE(p.options.simulate);
    EXPECT_EQ(p.options.latencyMs, 0);
}

TEST(SharedOptions, BadValuesAreErrorsThatNameTheOption) {
    struct Case {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Case cases[] = {
        {{"--simulate="}, "--simulate"},
        {{"--simulate=", "x"}, "--simulate"},
        {{"--documents="}, "--documents"},
        {{"--documents=", "--simulate"}, "--documents"},
        {{"--documents", ""}, "--documents"},
        {{"--documents"}, "--documents"},
        {{"--latency-ms"}, "--latency-ms"},
        {{"--latency-ms="}, "--latency-ms"},
        {{"--latency-ms", ""}, "--latency-ms"},
        {{"--latency-ms", "-1"}, "'-1'"},
        {{"--latency-ms", "+1"}, "'+1'"},
        {{"--latency-ms", "1ms"}, "'1ms'"},
        {{"--latency-ms", "2147483648"}, "'2147483648'"},
        {{"--latency-ms=x", "--latency-ms=1"}, "'x'"},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << testing::PrintToString(c.args);
        EXPECT_NE(p.error.find(c.mentions), std::string::npos)
            << testing::PrintToString(c.args) << ": " << p.error;
    }
    EXPECT_TRUE(Parse({"--latency-ms", "2147483647"}).ok);
    EXPECT_TRUE(Parse({"--", "--documents="}).ok) << "after -- nothing is an option";
}

TEST(SharedOptions, HelpShowsHowEachIsWritten) {
    CLI::App app("test", "test");
    SharedOptions options;
    AddSharedOptions(app, options);
    app.formatter(MakeHelpFormatter("test [OPTIONS]"));
    const std::string help = app.help();
    for (const char* shown : {"Usage: test [OPTIONS]\n", "  --simulate[=STATE] ",
                              "  --latency-ms N ", "  --documents DIR ", "  -h, --help "}) {
        EXPECT_NE(help.find(shown), std::string::npos) << shown << '\n' << help;
    }
}

}  // namespace
}  // namespace korvel
