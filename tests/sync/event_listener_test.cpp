#include <gtest/gtest.h>

#include "device/sim/simulated_backend.h"
#include "support/recording_window.h"
#include "sync/event_listener.h"

namespace korvel {
namespace {

using Events = std::vector<std::string>;
using test::WaitUntil;

class Listener : public ::testing::Test {
protected:
    Listener() : backend(keyboard), listener(backend, window, {std::chrono::milliseconds(10)}) {
        window.ShowTrayState(false, kIconKeyboardPresent);
        window.Clear();
    }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend;
    test::RecordingWindow window;
    EventListener listener;
};

TEST_F(Listener, StateEventsShowTheEventIconThenTheIconBefore) {
    listener.Start();
    ASSERT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    keyboard.InjectEvent(0x1811);
    keyboard.InjectEvent(0x1810);
    ASSERT_TRUE(WaitUntil([&] { return window.Events().size() == 2; }));
    listener.Stop();
    EXPECT_EQ(window.Events(), (Events{"tray 142", "tray 141"}));
}

TEST_F(Listener, StatusUpdatesNeverRunAtOnce) {
    window.trayDelay = std::chrono::milliseconds(3);
    listener.Start();
    ASSERT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    for (int i = 0; i < 5; ++i) {
        keyboard.InjectEvent(0x1811);
    }
    ASSERT_TRUE(WaitUntil([&] { return window.Events().size() == 5; }));
    listener.Stop();
    EXPECT_FALSE(window.overlapped.load());
}

TEST_F(Listener, LightingEventStartsTheRefreshAndOthersDoNothing) {
    listener.Start();
    ASSERT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    keyboard.InjectEvent(0x1802);
    keyboard.InjectEvent(0x7FFF);
    keyboard.InjectEvent(0x0401);
    ASSERT_TRUE(WaitUntil([&] { return !window.Events().empty(); }));
    listener.Stop();
    EXPECT_EQ(window.Events(), (Events{"lighting"}));
}

TEST_F(Listener, UnplugEndsTheReadAndReplugListensAgain) {
    listener.Start();
    ASSERT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    keyboard.SetPlugged(false);
    ASSERT_TRUE(WaitUntil([&] { return !listener.Listening(); }));
    keyboard.SetPlugged(true);
    ASSERT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    keyboard.InjectEvent(0x0401);
    ASSERT_TRUE(WaitUntil([&] { return !window.Events().empty(); }));
    listener.Stop();
    EXPECT_EQ(window.Events(), (Events{"lighting"}));
}

TEST_F(Listener, StopEndsAListenerBlockedInARead) {
    listener.Start();
    ASSERT_TRUE(WaitUntil([&] { return listener.Listening(); }));
    listener.Stop();
    EXPECT_FALSE(listener.Listening());
}

}  // namespace
}  // namespace korvel
