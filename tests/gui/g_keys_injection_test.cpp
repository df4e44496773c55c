#include <fcntl.h>
#include <gtest/gtest.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "device/sim/simulated_backend.h"
#include "gui/focused_x_field.h"
#include "gui/own_x_server.h"
#include "gui/platform/input_injection.h"
#include "model/keys/g_key_play.h"
#include "support/recording_window.h"
#include "sync/event_listener.h"
#include "sync/g_key_player.h"

namespace korvel {
namespace {

using namespace std::chrono_literals;
using fixtures::OwnXServer;

constexpr ScanCode kB = 0x030, kH = 0x023, kI = 0x017;

TEST(GKeysOnX11, AFocusedFieldReceivesWhatTheGKeysPlayThroughXTest) {
    OwnXServer server;
    if (!server.Started()) {
        GTEST_SKIP() << "no X server for this test: " << server.Problem();
    }
    test::FocusedXField field(server.Name());
    std::string problem;
    auto injector = OpenXTestInjector(problem, server.Name().c_str());
    ASSERT_NE(injector, nullptr) << problem;

    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    {
        auto lock = store.EditingConfig().Lock();
        MacroRecord hi;
        hi.macroId = 1;
        hi.name = u"hi";
        hi.actions = {{10, kH, kMacroPress},
                      {10, kH, kMacroRelease},
                      {10, kI, kMacroPress},
                      {10, kI, kMacroRelease}};
        store.EditingConfig().Macros().push_back(hi);
        ProfileBlock& block = store.EditingConfig().Image()->blocks[0];
        block[GKeySlot(1, GKeyBank::A)] = {kEntryKey, 0x0301, kB};
        block[GKeySlot(2, GKeyBank::A)] = {kEntryMacro, 1, 1};
        block[GKeySlot(3, GKeyBank::A)] = {kEntryMacro, 2, 1};
    }
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend(keyboard);
    test::RecordingWindow window;
    EventListener listener(backend, window, {10ms});
    GKeyPlayer player([&](int slot) { return GKeyPlayOf(store.EditingConfig(), 0, slot); },
                      *injector);
    listener.SetGKeyHandler([&](int slot) { player.Press(slot); });
    player.Start();
    listener.Start();

    keyboard.InjectEvent(0x0301);
    EXPECT_EQ(field.WaitFor("b"), "b");
    keyboard.InjectEvent(0x0302);
    EXPECT_EQ(field.WaitFor("bhi"), "bhi");
    keyboard.InjectEvent(0x0303);
    EXPECT_EQ(field.WaitFor("bhihihi"), "bhihihi");
    listener.Stop();
    player.Stop();
}

// Where the kernel's virtual keyboard may be made: the keys reach it (read back from its event
// node where that can be opened).
TEST(GKeysThroughUinput, TheKernelsVirtualKeyboardTakesTheKeys) {
    std::string problem;
    auto injector = OpenUinputInjector(problem);
    if (!injector) {
        GTEST_SKIP() << "the uinput way cannot be tried here: " << problem;
    }
    libevdev* reader = nullptr;
    int node = -1;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/input")) {
        if (entry.path().filename().string().rfind("event", 0) != 0) {
            continue;
        }
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK);
        libevdev* device = nullptr;
        if (fd >= 0 && libevdev_new_from_fd(fd, &device) == 0 &&
            std::string(libevdev_get_name(device)) == "Korvel G keys") {
            reader = device;
            node = fd;
            break;
        }
        libevdev_free(device);
        if (fd >= 0) {
            ::close(fd);
        }
    }
    EXPECT_TRUE(injector->Key(kB, true));
    EXPECT_TRUE(injector->Key(kB, false));
    EXPECT_FALSE(injector->Key(0x0AA, true)) << "a key without a kernel code";
    if (reader == nullptr) {
        return;  // the event node is not readable by this user: what was sent was taken
    }
    std::vector<int> values;
    const auto limit = std::chrono::steady_clock::now() + 2s;
    while (values.size() < 2 && std::chrono::steady_clock::now() < limit) {
        input_event event;
        if (libevdev_next_event(reader, LIBEVDEV_READ_FLAG_NORMAL, &event) == 0 &&
            event.type == EV_KEY && event.code == 48) {
            values.push_back(event.value);
        }
    }
    EXPECT_EQ(values, (std::vector<int>{1, 0}));
    libevdev_free(reader);
    ::close(node);
}

}  // namespace
}  // namespace korvel
