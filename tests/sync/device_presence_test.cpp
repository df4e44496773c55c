#include <gtest/gtest.h>

#include "device/command_set.h"
#include "device/result_codes.h"
#include "device/sim/simulated_backend.h"
#include "model/keys/key_codec.h"
#include "support/recording_window.h"
#include "support/scripted_prompts.h"
#include "sync/device_presence.h"

namespace korvel {
namespace {

using Events = std::vector<std::string>;
using test::WaitUntil;

KeyTableBytes OwnDefaultTable() {
    KeyTableBytes table = kBuiltInDefaultKeyTable;
    table[3 * 8 + 2] = 0x39;  // this keyboard has Caps Lock where Esc usually is
    return table;
}

class Presence : public ::testing::Test {
protected:
    Presence()
        : keyboard(sim::MakeFactoryMemory(
              {.macroCapacityUnits = 16, .defaultKeyTable = OwnDefaultTable()})),
          backend(keyboard),
          presence(
              backend, link, codec, window, prompts,
              [](std::string_view key) {
                  return key == "MAIN_DEFAULT_MATRIX_PROMPT" ? std::u16string(u"no layout")
                                                             : std::u16string();
              },
              PresenceTimings{std::chrono::milliseconds(5), std::chrono::milliseconds(20),
                              std::chrono::milliseconds(1), std::chrono::milliseconds(1)}) {}

    bool Arrived() { return presence.LastReportedState() == 1 && presence.FirstOpenDone(); }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend;
    DeviceLink link;
    KeyCodec codec;
    test::RecordingWindow window;
    ScriptedPrompts prompts;
    DevicePresence presence;
};

TEST_F(Presence, KeyboardPresentAtStartIsHandledOnceAndOpensTheWindow) {
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return Arrived() && window.Events().size() >= 3; }));
    presence.Stop();
    EXPECT_EQ(window.Events(), (Events{"reload", "tray 141", "open"}));
    EXPECT_EQ(codec.DefaultKeyTable(), OwnDefaultTable())
        << "the keyboard's own table replaces ours";
    EXPECT_EQ(link.MacroCapacity(), 2048);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(Presence, StartSwitchKeepsTheWindowHidden) {
    presence.SetFirstOpenDone();
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return Arrived(); }));
    presence.Stop();
    EXPECT_EQ(window.Events(), (Events{"reload", "tray 141"}));
}

TEST_F(Presence, KeyboardAbsentAtStartThenPluggedIn) {
    keyboard.SetPlugged(false);
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return presence.FirstOpenDone(); }));
    EXPECT_TRUE(window.Events().empty()) << "no message and the start-up icon stays";
    EXPECT_FALSE(link.IsConnected());

    keyboard.SetPlugged(true);
    ASSERT_TRUE(WaitUntil([&] { return presence.LastReportedState() == 1; }));
    presence.Stop();
    EXPECT_EQ(window.Events(), (Events{"reload", "tray 141"})) << "a later arrival opens nothing";
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(Presence, UnplugAndReplug) {
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return Arrived(); }));
    ASSERT_EQ(DevGetActiveProfile(link), 0);
    window.Clear();

    keyboard.SetPlugged(false);
    ASSERT_TRUE(WaitUntil([&] { return presence.LastReportedState() == 0; }));
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(link.ActiveProfileCache(), -1);
    keyboard.ClearReceived();
    DeviceInfoBlock block;
    EXPECT_EQ(DevReadInfo(link, block), DEV_NO_REPLY);
    EXPECT_TRUE(keyboard.Received().empty());
    EXPECT_EQ(window.Events(), (Events{"gone", "hide", "tray 128"}));

    window.Clear();
    keyboard.SetPlugged(true);
    ASSERT_TRUE(WaitUntil([&] { return presence.LastReportedState() == 1; }));
    EXPECT_EQ(DevReadInfo(link, block), DEV_OK) << "the command channel is open again";
    presence.Stop();
    EXPECT_EQ(window.Events(), (Events{"reload", "tray 141"}));
}

TEST_F(Presence, OtherInterfacesAndDevicesAreTriedAndSkipped) {
    // A device of another product whose path must not even be opened, and one that claims the
    // keyboard's ids in its path but has no command collection.
    backend.AddForeignDevice("sim:mouse&vid_0c45&pid_5005", {}, {});
    backend.AddForeignDevice(
        "sim:pad&vid_0c45&pid_5304&mi_05",
        {sim::ConsumerControlDescriptor().begin(), sim::ConsumerControlDescriptor().end()},
        {0x0C45, 0x5304, 1});
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return Arrived(); }));
    presence.Stop();
    // Probe and search each open the pad, the consumer interface and the command interface; the
    // boot keyboard refuses to be opened for writing and the mouse is never opened.
    EXPECT_EQ(backend.OpenCount(), 6);
}

TEST_F(Presence, UnreadableDefaultTableKeepsOursAndSaysSo) {
    keyboard.AnswerWithStatus(0xFF, 1, 1);  // after the probe's information read
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return Arrived(); }));
    presence.Stop();
    EXPECT_EQ(codec.DefaultKeyTable(), kBuiltInDefaultKeyTable);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, u"no layout");
    EXPECT_EQ(link.MacroCapacity(), 2048) << "the capacity is still read";
}

TEST_F(Presence, WaitsForTheWindowBeforeShowingTheIcon) {
    window.ready = false;
    presence.Start();
    // The change is busy before its reads and the reload message; wait for the message itself,
    // after which the thread only polls for the window.
    ASSERT_TRUE(WaitUntil([&] { return !window.Events().empty(); }));
    EXPECT_TRUE(presence.ChangeBusy());
    EXPECT_EQ(window.Events(), (Events{"reload"}));
    window.ready = true;
    ASSERT_TRUE(WaitUntil([&] { return Arrived(); }));
    presence.Stop();
    EXPECT_EQ(window.Events(), (Events{"reload", "tray 141", "open"}));
}

TEST_F(Presence, EnumerationFailureEndsTheThread) {
    backend.FailEnumeration(true);
    presence.Start();
    ASSERT_TRUE(WaitUntil([&] { return presence.Ended(); }));
    presence.Stop();
    EXPECT_TRUE(window.Events().empty());
}

}  // namespace
}  // namespace korvel
