#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/command_host.h"
#include "cli/run_cli.h"
#include "cli/sample_profile.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// korvelctl's import and verify run on a keyboard whose memory may fail: the commands are handed
// to a program that owns it, as korvel runs them.
class VerifiedImport : public ::testing::Test {
protected:
    VerifiedImport() : channel(keyboard) {
        link.Connect(channel);
        std::filesystem::create_directories(folder.Path() / "docs");
        profile = (folder.Path() / "sample.kvp").string();
        EXPECT_TRUE(test::WriteSampleProfile(store, profile));
    }

    Outcome Run(std::vector<std::string> args) {
        args.insert(args.begin(), "--documents=" + (folder.Path() / "docs").string());
        CommandHost host{link, folder.Path(), [](const char*) -> const char* { return nullptr; }};
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCliHere(args, out, err, &host);
        return {status, out.str(), err.str()};
    }

    fixtures::TempFolder folder;
    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    DeviceLink link;
    ConfigStore store;
    std::string profile;
};

TEST_F(VerifiedImport, AWriteTheKeyboardSpoilsIsNamedAndFailsTheImport) {
    const Outcome clean = Run({"import", profile});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(Run({"verify", profile}).out,
              "the keyboard holds the file's key tables and macros\n");

    // The macro area goes first: its first byte is spoiled.
    keyboard.CorruptWrites(1);
    const Outcome macro = Run({"import", profile});
    EXPECT_EQ(macro.status, 1);
    EXPECT_NE(macro.err.find("the keyboard does not hold what was sent (1 byte differs):\n"
                             "  macro area, byte 0 of 62: sent aa, it holds 55"),
              std::string::npos)
        << macro.err;

    // The second report of profile 2's key table (after the two of the macro area and the seven of
    // profile 1) starts at matrix position 18.
    keyboard.CorruptWrites(1, 2 + 7 + 1);
    const Outcome key = Run({"import", profile});
    EXPECT_EQ(key.status, 1);
    EXPECT_NE(key.err.find("  profile 2, key "), std::string::npos) << key.err;
    EXPECT_NE(key.err.find("(matrix position 18): sent "), std::string::npos) << key.err;

    // Without the read-back the spoiled write passes unseen; verify finds it afterwards.
    keyboard.CorruptWrites(1);
    EXPECT_EQ(Run({"import", "--no-verify", profile}).status, 0);
    const Outcome verify = Run({"verify", profile});
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.err.find("macro area, byte 0 of 62"), std::string::npos) << verify.err;
    EXPECT_EQ(verify.out, "");
}

}  // namespace
}  // namespace korvel::cli
