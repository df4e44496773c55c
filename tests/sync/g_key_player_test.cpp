#include "sync/g_key_player.h"

#include <gtest/gtest.h>

#include "device/sim/simulated_backend.h"
#include "model/image/config_store.h"
#include "support/recording_injector.h"
#include "support/recording_window.h"
#include "support/wait_until.h"
#include "sync/event_listener.h"

namespace korvel {
namespace {

using Events = std::vector<std::string>;
using test::WaitUntil;
using namespace std::chrono_literals;

constexpr ScanCode kB = 0x030, kH = 0x023, kI = 0x017;

// The whole way of a G key: the virtual keyboard sends its code on the consumer interface, the
// listener takes it, the player plays what the G key of profile block 0 does.
class GKeys : public ::testing::Test {
protected:
    GKeys()
        : backend(keyboard),
          listener(backend, window, {10ms}),
          player([this](int slot) { return GKeyPlayOf(store.EditingConfig(), 0, slot); }, input) {
        ReleaseEditingConfig(store);
        CreateDefaultConfig(store, {}, 0, true);
        listener.SetGKeyHandler([this](int slot) { player.Press(slot); });
        player.Start();
        listener.Start();
        EXPECT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    }
    ~GKeys() override {
        listener.Stop();
        player.Stop();
    }

    void Assign(int n, KeyEntry entry) {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig()
            .Image()
            ->blocks[0][static_cast<std::size_t>(GKeySlot(n, GKeyBank::A))] = entry;
    }
    void AddMacro(std::uint16_t id, std::vector<MacroAction> actions, std::uint8_t loopCount = 1) {
        MacroRecord macro;
        macro.name = u"m";
        macro.macroId = id;
        macro.loopCount = loopCount;
        macro.actions = std::move(actions);
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Macros().push_back(macro);
    }
    Events PressAndPlay(int n) {
        input.Clear();
        keyboard.InjectEvent(GKeyCodeOfSlot(GKeySlot(n, GKeyBank::A)));
        // The press has arrived once the player is busy or done with it.
        EXPECT_TRUE(WaitUntil([&] { return !input.Events().empty() || player.PlayingMacro(); }));
        EXPECT_TRUE(player.WaitIdle(5s));
        return input.Events();
    }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend;
    test::RecordingWindow window;
    EventListener listener;
    ConfigStore store;
    test::RecordingInjector input;
    GKeyPlayer player;
};

TEST_F(GKeys, EachKindOfAssignmentIsPlayedOnTheComputer) {
    AddMacro(3, {{5, kH, kMacroPress},
                 {5, kH, kMacroRelease},
                 {0, kI, kMacroPress},
                 {0, kI, kMacroRelease}});
    Assign(1, {kEntryKey, 0x0301, kB});
    Assign(2, {kEntryMacro, 2, 3});          // cycles 2 from the assignment
    Assign(3, {kEntryMedia, 0x0303, 0});     // media index 0: Volume Up
    Assign(4, {kEntryFunction, 0x0304, 4});  // Copy
    Assign(5, {kEntryMacro, 0x0305, 3});     // no cycles of its own: the macro's loop count
    EXPECT_EQ(PressAndPlay(1), (Events{"down 0x030", "up 0x030"}));
    EXPECT_EQ(PressAndPlay(2), (Events{"down 0x023", "up 0x023", "down 0x017", "up 0x017",
                                       "down 0x023", "up 0x023", "down 0x017", "up 0x017"}));
    const std::string volumeUp = [] {
        char text[16];
        std::snprintf(text, sizeof text, "0x%03x", MediaKeyTable()[0].scan);
        return std::string(text);
    }();
    EXPECT_EQ(PressAndPlay(3), (Events{"down " + volumeUp, "up " + volumeUp}));
    EXPECT_EQ(PressAndPlay(4), (Events{"down 0x01d", "down 0x02e", "up 0x02e", "up 0x01d"}));
    EXPECT_EQ(PressAndPlay(5), (Events{"down 0x023", "up 0x023", "down 0x017", "up 0x017"}));
}

TEST_F(GKeys, UnassignedKeysAndOtherCodesPlayNothing) {
    Assign(2, {kEntryDisabled, 0x0302, 0});
    Assign(3, {kEntryMacro, 0x0303, 42});  // a macro the list does not have
    for (const std::uint16_t code : {0x0301, 0x0302, 0x0303, 0x0401, 0x1802, 0x0310}) {
        keyboard.InjectEvent(code);
    }
    // A key that plays, last, shows when all the codes before it were taken.
    Assign(9, {kEntryKey, 0x0309, kB});
    EXPECT_EQ(PressAndPlay(9), (Events{"down 0x030", "up 0x030"}));
}

TEST_F(GKeys, AMacroEndsWhenItsKeyIsPressedAgainOrAStopKeyIsPressed) {
    // Held down for a minute: only a press can end it, and the key is let go when it does.
    AddMacro(1, {{60000, kH, kMacroPress}, {0, kH, kMacroRelease}});
    Assign(1, {kEntryMacro, 1, 1});
    Assign(2, {kEntryStopMacro, 0x0302, 0});
    Assign(3, {kEntryKey, 0x0303, kB});
    for (const int stopper : {1, 2}) {
        input.Clear();
        keyboard.InjectEvent(0x0301);
        ASSERT_TRUE(WaitUntil([&] { return player.PlayingMacro(); }));
        // Another G key's key is played while the macro goes on.
        keyboard.InjectEvent(0x0303);
        ASSERT_TRUE(WaitUntil([&] { return input.Events().size() == 3; }));
        EXPECT_TRUE(player.PlayingMacro());
        keyboard.InjectEvent(GKeyCodeOfSlot(GKeySlot(stopper, GKeyBank::A)));
        ASSERT_TRUE(player.WaitIdle(5s)) << "G" << stopper;
        EXPECT_EQ(input.Events(), (Events{"down 0x023", "down 0x030", "up 0x030", "up 0x023"}))
            << "G" << stopper;
    }
}

TEST_F(GKeys, StoppingThePlayerLetsGoOfWhatAMacroHolds) {
    AddMacro(1, {{60000, kH, kMacroPress}, {0, kH, kMacroRelease}});
    Assign(1, {kEntryMacro, 1, 1});
    keyboard.InjectEvent(0x0301);
    ASSERT_TRUE(WaitUntil([&] { return player.PlayingMacro(); }));
    player.Stop();
    EXPECT_EQ(input.Events(), (Events{"down 0x023", "up 0x023"}));
}

}  // namespace
}  // namespace korvel
