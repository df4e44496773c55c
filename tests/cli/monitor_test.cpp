#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/monitor.h"
#include "device/sim/simulated_backend.h"

namespace korvel::cli {
namespace {

// A stream buffer that several threads may write to while the test reads what arrived.
class SharedText : public std::stringbuf {
public:
    std::string Text() {
        std::lock_guard lock(m_mutex);
        return str();
    }

protected:
    int sync() override { return 0; }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(m_mutex);
        return std::stringbuf::xsputn(s, n);
    }
    int_type overflow(int_type c) override {
        std::lock_guard lock(m_mutex);
        return std::stringbuf::overflow(c);
    }

private:
    std::recursive_mutex m_mutex;  // the base class's xsputn calls overflow
};

bool WaitForText(SharedText& text, const std::string& expected) {
    for (int i = 0; i < 5000; ++i) {
        if (text.Text() == expected) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(Monitor, PrintsArrivalRemovalAndEveryEvent) {
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend(keyboard);
    SharedText outText;
    std::ostream out(&outText);
    std::ostringstream err;
    std::atomic<bool> stop{false};
    std::thread monitor(
        [&] { EXPECT_EQ(RunMonitor(backend, out, err, stop, std::chrono::milliseconds(1)), 0); });

    ASSERT_TRUE(WaitForText(outText, "connected\n"));
    // Events wait in the keyboard until the listener has opened its interface.
    keyboard.InjectEvent(0x1802);
    keyboard.InjectEvent(0x0401);
    keyboard.InjectEvent(0x0303);
    keyboard.InjectEvent(0x1309);
    std::string expected =
        "connected\nevent 0x1802\nevent 0x0401\nevent 0x0303 G3 pressed\n"
        "event 0x1309 G9 (bank B) pressed\n";
    ASSERT_TRUE(WaitForText(outText, expected)) << outText.Text();
    keyboard.SetPlugged(false);
    expected += "disconnected\n";
    ASSERT_TRUE(WaitForText(outText, expected)) << outText.Text();
    stop = true;
    monitor.join();
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace korvel::cli
