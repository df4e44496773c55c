// korvelctl beside korvel: commands on a keyboard that korvel owns are handed to it and print
// exactly what they print on their own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/command_socket.h"
#include "app/runtime_folder.h"
#include "cli/handed_over_command.h"
#include "cli/korvelctl_run.h"
#include "cli/sample_profile.h"
#include "device/device_link.h"
#include "device/sim/keyboard_state_file.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "support/temp_folder.h"
#include "sync/keyboard_service.h"

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;
using test::WriteSampleProfile;

// What korvel holds while it runs on the virtual keyboard of state file `owned`: the keyboard in
// memory, its service, and the server korvelctl finds in the runtime folder.
class Handover : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
        std::filesystem::create_directories(folder / "docs");
        std::string error;
        const auto place = MeetingPlaceOf(Options(owned), *UserRuntimeFolder(error));
        link.Connect(channel);
        service.emplace(link, KeyboardService::Options{place->lock});
        server = CommandServer::Listen(
            place->socket,
            [this](const ForwardedCommand& command) {
                return RunHandedOver(*service, command).reply;
            },
            error);
        ASSERT_NE(server, nullptr) << error;
    }
    void TearDown() override {
        server.reset();
        service.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    static SharedOptions Options(const std::filesystem::path& state) {
        SharedOptions options;
        options.simulate = true;
        options.simulateState = state.string();
        return options;
    }
    // The same command, on the keyboard korvel owns and on one of its own that starts the same.
    Outcome On(const std::filesystem::path& state, std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate=" + state.string(), "--documents=docs"});
        return Korvelctl(args);
    }

    fixtures::TempFolder runtime;
    fixtures::TempFolder folder;
    std::filesystem::path owned = folder / "owned.state";
    std::filesystem::path alone = folder / "alone.state";
    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel{keyboard};
    DeviceLink link;
    std::optional<KeyboardService> service;
    std::unique_ptr<CommandServer> server;
};

TEST_F(Handover, EveryCommandPrintsWhatItPrintsAloneAndChangesKorvelsKeyboard) {
    // Relative paths are taken from where korvelctl runs, not from where korvel runs.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    ConfigStore sample;
    ASSERT_TRUE(WriteSampleProfile(sample, folder / "sample.kvp"));
    const std::vector<std::vector<std::string>> commands = {
        {"profile", "2"},
        {"lighting", "set", "effect", "3"},
        {"import", "sample.kvp"},
        {"info"},
        {"profile"},
        {"lighting"},
        {"encode", "sample.kvp", "2"},
        {"profile", "9"},  // a usage error: refused before the keyboard
        {"import", "missing.kvp"},
    };
    // The automatic backups of the two keyboards share the Documents folder, so the second one
    // taken in a second has a name of its own: the notes are alike but for that.
    const auto note = [](std::string& err) {
        const std::string said = "korvelctl: the keyboard was first backed up into ";
        const std::size_t at = err.find(said);
        if (at == std::string::npos) {
            return std::string();
        }
        const std::size_t end = err.find('\n', at);
        const std::string file = err.substr(at + said.size(), end - at - said.size());
        err.erase(at, end + 1 - at);
        return std::filesystem::path(file).parent_path().string();
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[0] + (command.size() > 1 ? " " + command[1] : ""));
        Outcome handed = On(owned, command);
        Outcome own = On(alone, command);
        EXPECT_EQ(handed.status, own.status);
        EXPECT_EQ(handed.out, own.out);
        const std::string handedBackup = note(handed.err);
        EXPECT_EQ(handedBackup, note(own.err));
        EXPECT_EQ(!handedBackup.empty(), command[0] == "import" && command[1] == "sample.kvp");
        EXPECT_EQ(handed.err, own.err);
    }
    for (const char* file : {"b1.kvp", "b2.kvp"}) {
        ASSERT_EQ(On(file[1] == '1' ? owned : alone, {"backup", file}).status, 0);
    }
    EXPECT_EQ(fixtures::ReadBytes(folder / "b1.kvp"), fixtures::ReadBytes(folder / "b2.kvp"));
    std::filesystem::current_path(before);

    EXPECT_FALSE(std::filesystem::exists(owned)) << "korvel's keyboard was never opened here";
    sim::KeyboardMemory alone_memory;
    std::string error;
    ASSERT_EQ(sim::LoadKeyboardState(alone, alone_memory, error), sim::StateLoad::Loaded) << error;
    EXPECT_TRUE(keyboard.Memory() == alone_memory) << "the same changes reached both keyboards";
}

TEST_F(Handover, TwentyCommandsAtOnceAllSucceedAndEveryChangeIsKept) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    constexpr int kCommands = 20;
    std::vector<std::vector<std::string>> commands;
    commands.push_back({"lighting", "set", "effect", "4", "1"});
    commands.push_back({"lighting", "set", "brightness", "2", "2"});
    commands.push_back({"lighting", "set", "speed", "1", "3"});
    commands.push_back({"profile", "3"});
    while (commands.size() < kCommands) {
        commands.push_back({"backup", "b" + std::to_string(commands.size()) + ".kvp"});
    }
    std::vector<Outcome> outcomes(kCommands);
    std::vector<std::thread> runs;
    for (int i = 0; i < kCommands; ++i) {
        runs.emplace_back([&, i] { outcomes[i] = On(owned, commands[i]); });
    }
    for (std::thread& run : runs) {
        run.join();
    }
    for (int i = 0; i < kCommands; ++i) {
        EXPECT_EQ(outcomes[i].status, 0) << i << ": " << outcomes[i].err;
    }
    EXPECT_EQ(On(owned, {"lighting", "1"}).out.substr(0, 10), "effect: 4\n");
    EXPECT_EQ(On(owned, {"lighting", "2"}).out.substr(10, 14), "brightness: 2\n");
    EXPECT_NE(On(owned, {"lighting", "3"}).out.find("speed: 1\n"), std::string::npos);
    EXPECT_EQ(On(owned, {"profile"}).out, "3\n");
    for (int i = 4; i < kCommands; ++i) {
        EXPECT_TRUE(std::filesystem::exists(folder / ("b" + std::to_string(i) + ".kvp"))) << i;
    }
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace korvel::cli
