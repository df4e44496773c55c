#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/korvelctl_run.h"
#include "device/sim/keyboard_state_file.h"
#include "support/temp_folder.h"
#include "text/private_profile.h"

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;

const std::string kFactoryLighting =
    "effect: 1\nbrightness: 5\nspeed: 3\ndirection: 0\nmulticolor: 1\ncolor: #ff0000\n"
    "base-color: #ffffff\npaint-color: #ff0000\nreport-rate: 3\ntool: 0\neffect17: 0\n";

class LightingCommand : public ::testing::Test {
protected:
    std::string State() const { return "--simulate=" + (folder / "kb.state").string(); }
    korvel::fixtures::TempFolder folder;
};

TEST_F(LightingCommand, ShowsTheDecodedRecordOfTheActiveProfile) {
    const Outcome run = Korvelctl({"--simulate", "lighting"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kFactoryLighting);
    EXPECT_EQ(run.err, "");
}

TEST_F(LightingCommand, SetWritesOneFieldOfTheNamedProfile) {
    struct Case {
        std::vector<std::string> set;
        std::string shown;  // the line that changes
    };
    const Case cases[] = {
        {{"effect", "12"}, "effect: 12"},
        {{"brightness", "2"}, "brightness: 2"},
        {{"speed", "0"}, "speed: 0"},
        {{"direction", "1"}, "direction: 1"},
        {{"multicolor", "0"}, "multicolor: 0"},
        {{"base-color", "#00ff80"}, "base-color: #00ff80"},
        {{"paint-color", "123456"}, "paint-color: #123456"},
        {{"report-rate", "1"}, "report-rate: 1"},
        {{"tool", "1"}, "tool: 1"},
        {{"effect17", "3"}, "effect17: 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set[0]);
        std::filesystem::remove(folder / "kb.state");
        std::vector<std::string> args = {State(), "lighting", "set"};
        args.insert(args.end(), c.set.begin(), c.set.end());
        args.push_back("2");
        const Outcome set = Korvelctl(args);
        ASSERT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(set.out, "");

        const Outcome shown = Korvelctl({State(), "lighting", "2"});
        EXPECT_NE(shown.out.find(c.shown + "\n"), std::string::npos) << shown.out;
        EXPECT_EQ(Korvelctl({State(), "lighting"}).out, kFactoryLighting) << "profile 1 unchanged";
    }
}

TEST_F(LightingCommand, EffectColourTurnsMulticolourOff) {
    ASSERT_EQ(Korvelctl({State(), "lighting", "set", "color", "#0000FF"}).status, 0);
    const std::string out = Korvelctl({State(), "lighting", "1"}).out;
    EXPECT_NE(out.find("color: #0000ff\n"), std::string::npos) << out;
    EXPECT_NE(out.find("multicolor: 0\n"), std::string::npos) << out;
}

TEST_F(LightingCommand, FollowsTheActiveProfileWhenNoneIsNamed) {
    ASSERT_EQ(Korvelctl({State(), "profile", "3"}).status, 0);
    ASSERT_EQ(Korvelctl({State(), "lighting", "set", "brightness", "0"}).status, 0);
    EXPECT_NE(Korvelctl({State(), "lighting", "3"}).out.find("brightness: 0\n"), std::string::npos);
    EXPECT_EQ(Korvelctl({State(), "lighting", "1"}).out, kFactoryLighting);
}

TEST_F(LightingCommand, SetSendsTheSequenceThePanelSends) {
    const Outcome run = Korvelctl({"--simulate", "--trace", "lighting", "set", "speed", "1", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> written;
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("> ")) {
            written.push_back(line.substr(2));
        }
    }
    ASSERT_GE(written.size(), 3u);
    const auto command = [](const std::string& hex) { return hex.substr(6, 2); };
    EXPECT_EQ(command(written[written.size() - 3]), "01");
    // CMD_WRITE_PARAMS, one byte at 2 * 42 + 2 = 86 (0x56), the speed 1.
    EXPECT_EQ(written[written.size() - 2].substr(6, 12), "060156000001");
    EXPECT_EQ(command(written.back()), "02");
}

TEST_F(LightingCommand, ReadingKeepsThePanelSettingUnderDocuments) {
    const auto settings = folder.Path() / "Korvel_09A" / "deze.ini";
    std::filesystem::create_directories(settings.parent_path());
    korvel::fixtures::WriteBytes(settings, "[KEYCOLOR]\nDengCheck=1\n");
    const Outcome run =
        Korvelctl({"--simulate", "--documents", folder.Path().string(), "lighting"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadProfileString(settings, u"KEYCOLOR", u"DengCheck"), u"1") << "only read";
}

TEST_F(LightingCommand, UsageErrorsTouchNoKeyboard) {
    const std::vector<std::vector<std::string>> cases = {
        {"lighting", "0"},
        {"lighting", "4"},
        {"lighting", "x"},
        {"lighting", "1", "2"},
        {"lighting", "set"},
        {"lighting", "set", "brightness"},
        {"lighting", "set", "glow", "1"},
        {"lighting", "set", "brightness", "6"},
        {"lighting", "set", "brightness", "-1"},
        {"lighting", "set", "brightness", "2x"},
        {"lighting", "set", "speed", ""},
        {"lighting", "set", "direction", "2"},
        {"lighting", "set", "color", "red"},
        {"lighting", "set", "base-color", "#12345"},
        {"lighting", "set", "effect", "19"},
        {"lighting", "set", "effect", "0"},
        {"lighting", "set", "report-rate", "4"},
        {"lighting", "set", "tool", "2"},
        {"lighting", "set", "effect17", "4"},
        {"lighting", "set", "brightness", "1", "4"},
        {"lighting", "set", "brightness", "1", "2", "3"},
        {"lighting", "2", "set", "brightness", "1"},
        {"lighting", "set", "--bogus", "1"},
        {"lighting", "set", "brightness", "+1"},
        {"lighting", "set", "brightness", " 1"},
    };
    for (const auto& args : cases) {
        std::vector<std::string> full = {State()};
        full.insert(full.end(), args.begin(), args.end());
        const Outcome run = Korvelctl(full);
        std::string joined;
        for (const auto& a : args) {
            joined += a + ' ';
        }
        EXPECT_EQ(run.status, 2) << joined;
        EXPECT_EQ(run.out, "") << joined;
        EXPECT_TRUE(run.err.starts_with("korvelctl: ")) << joined << run.err;
        EXPECT_FALSE(std::filesystem::exists(folder / "kb.state")) << joined;
    }
}

TEST_F(LightingCommand, KeyboardWithoutPerKeyColoursRefusesTheCustomEffect) {
    std::string error;
    ASSERT_TRUE(sim::SaveKeyboardState(folder / "kb.state",
                                       sim::MakeFactoryMemory({.perKeyColors = false}), error))
        << error;
    const Outcome run = Korvelctl({State(), "lighting", "set", "effect", "20"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("does not offer effect 20"), std::string::npos) << run.err;
    EXPECT_EQ(Korvelctl({State(), "lighting"}).out, kFactoryLighting) << "nothing written";
    // The base colour still goes to the record; there are no colour pages to recolour.
    EXPECT_EQ(Korvelctl({State(), "lighting", "set", "base-color", "#000000"}).status, 0);
    EXPECT_NE(Korvelctl({State(), "lighting"}).out.find("base-color: #000000\n"),
              std::string::npos);
}

TEST_F(LightingCommand, HelpNamesBothForms) {
    const std::string help = Korvelctl({"--help"}).out;
    EXPECT_NE(help.find("lighting [PROFILE]"), std::string::npos);
    EXPECT_NE(help.find("lighting set FIELD VALUE [PROFILE]"), std::string::npos);
}

}  // namespace
}  // namespace korvel::cli
