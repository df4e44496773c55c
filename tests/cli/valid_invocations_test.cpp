// Every valid korvelctl command prints exactly what it printed before the command line moved to
// CLI11 and dump --json to nlohmann-json: a table of valid invocations, run in order against one
// virtual keyboard, compared with the output recorded in golden/korvelctl_valid.txt.
//
// To record the file anew (only when an output is meant to change):
//   KORVEL_UPDATE_GOLDEN=1 build/bin/korvel_cli_tests --gtest_filter='ValidInvocations.*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/korvelctl_run.h"
#include "cli/sample_profile.h"
#include "support/temp_folder.h"

#ifndef KORVEL_CLI_GOLDEN_DIR
#error "KORVEL_CLI_GOLDEN_DIR names the folder of the recorded outputs"
#endif

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;

// The arguments use {tmp} for the test's own folder, so that the record names no real path.
const std::vector<std::vector<std::string>> kInvocations = {
    {"--simulate", "info"},
    {"--simulate", "--latency-ms", "1", "info"},
    {"--simulate", "--latency-ms=1", "profile"},
    {"--simulate", "--trace", "info"},
    {"--simulate={tmp}/kb.state", "profile"},
    {"--simulate={tmp}/kb.state", "profile", "2"},
    {"--simulate={tmp}/kb.state", "profile"},
    {"--simulate={tmp}/kb.state", "info"},
    {"--simulate={tmp}/kb.state", "--trace", "profile", "3"},
    {"--trace", "--simulate={tmp}/kb.state", "profile"},
    {"--simulate={tmp}/kb.state", "lighting"},
    {"--simulate={tmp}/kb.state", "lighting", "2"},
    {"--simulate={tmp}/kb.state", "lighting", "set", "brightness", "2", "1"},
    {"--simulate={tmp}/kb.state", "lighting", "set", "color", "#00FF80"},
    {"--simulate={tmp}/kb.state", "lighting", "set", "paint-color", "123456", "2"},
    {"--simulate={tmp}/kb.state", "lighting", "set", "effect", "12", "3"},
    {"--simulate={tmp}/kb.state", "lighting", "1"},
    {"--simulate={tmp}/kb.state", "lighting", "2"},
    {"--simulate={tmp}/kb.state", "--documents", "{tmp}/docs", "lighting", "3"},
    {"--simulate={tmp}/kb.state", "--documents={tmp}/docs", "--latency-ms", "0", "lighting"},
    {"validate", "{tmp}/sample.kvp"},
    {"validate", "{tmp}/unicode.kvp"},
    {"dump", "{tmp}/sample.kvp"},
    {"dump", "{tmp}/sample.kvp", "--json"},
    {"dump", "--json", "{tmp}/sample.kvp"},
    {"dump", "{tmp}/unicode.kvp"},
    {"dump", "{tmp}/unicode.kvp", "--json"},
    {"encode", "{tmp}/sample.kvp", "1"},
    {"encode", "{tmp}/sample.kvp", "2"},
    {"encode", "{tmp}/sample.kvp", "3"},
    {"--simulate", "encode", "{tmp}/sample.kvp", "2"},
    {"blob", "{tmp}/sample.kvp", "62"},
    {"blob", "{tmp}/sample.kvp", "44"},
    {"blob", "{tmp}/sample.kvp", "8192"},
    {"blob", "{tmp}/unicode.kvp", "4294967295"},
    {"--simulate={tmp}/kb.state", "--documents={tmp}/docs", "import", "{tmp}/sample.kvp"},
    {"--simulate={tmp}/kb.state", "backup", "{tmp}/backup.kvp"},
    {"dump", "{tmp}/backup.kvp"},
    {"dump", "{tmp}/backup.kvp", "--json"},
    {"--simulate={tmp}/kb.state", "--documents", "{tmp}/docs", "export", "{tmp}/exported.kvp"},
    {"validate", "{tmp}/exported.kvp"},
    {"--simulate={tmp}/kb.state", "--documents", "{tmp}/docs", "import", "{tmp}/unicode.kvp"},
    {"--simulate={tmp}/kb.state", "--documents", "{tmp}/docs", "lighting"},
    {"--simulate={tmp}/kb.state", "info"},
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string Record(const fixtures::TempFolder& folder) {
    const std::string tmp = folder.Path().string();
    std::string record;
    for (const auto& invocation : kInvocations) {
        std::vector<std::string> args;
        std::string shown = "$ korvelctl";
        for (const std::string& arg : invocation) {
            args.push_back(Replace(arg, "{tmp}", tmp));
            shown += ' ' + arg;
        }
        const Outcome run = Korvelctl(args);
        record += shown + "\n[exit " + std::to_string(run.status) + "]\n" +
                  Replace(run.out, tmp, "{tmp}");
    }
    return record;
}

TEST(ValidInvocations, PrintWhatTheyPrintedBefore) {
    fixtures::TempFolder folder;
    ConfigStore store;
    ASSERT_TRUE(test::WriteSampleProfile(store, folder / "sample.kvp"));
    // Names and texts that JSON must escape or carry as UTF-8.
    EditingHolder& editing = store.EditingConfig();
    std::vector<MacroRecord> macros = editing.Macros();
    macros[0].name = u"a\\b \"q\" \u00e9\u540d";
    editing.SetMacros(macros);
    editing.Strings().SetText(GlobalEntryIndex(0, SlotOfScan(0x030)), u"C:\\Tools\\x.exe");
    editing.Image()->blocks[0][SlotOfScan(0x030)] = {kEntryLaunch, 0, 0};
    ASSERT_TRUE(SaveProfileFile(store, true, (folder / "unicode.kvp").string()));

    // The Documents folder must exist; only Korvel_09A is ever made in it.
    std::filesystem::create_directory(folder / "docs");
    const std::string record = Record(folder);
    const std::filesystem::path golden =
        std::filesystem::path(KORVEL_CLI_GOLDEN_DIR) / "korvelctl_valid.txt";
    if (const char* update = std::getenv("KORVEL_UPDATE_GOLDEN"); update && *update == '1') {
        fixtures::WriteBytes(golden, record);
        GTEST_SKIP() << "recorded " << golden;
    }
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
    const std::string expected = fixtures::ReadBytes(golden);
    EXPECT_EQ(record, expected);
    // Each invocation on its own, so that a difference names the command.
    std::size_t at = 0;
    for (std::size_t next = 0; at < record.size(); at = next) {
        next = record.find("\n$ korvelctl", at + 1);
        next = next == std::string::npos ? record.size() : next + 1;
        const std::string part = record.substr(at, next - at);
        EXPECT_NE(expected.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace korvel::cli
