// How long a G key takes from the keyboard's report to the first key the computer is given: the
// virtual keyboard sends the code, the event listener reads it, the player looks up the
// assignment in the configuration and plays it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "device/sim/simulated_backend.h"
#include "model/image/config_store.h"
#include "model/keys/g_key_play.h"
#include "support/recording_window.h"
#include "sync/event_listener.h"
#include "sync/g_key_player.h"

namespace korvel {
namespace {

// Counts key events and wakes whoever waits for one.
class CountingInjector : public InputInjector {
public:
    bool Key(ScanCode, bool) override {
        {
            std::lock_guard lock(m_mutex);
            ++m_count;
        }
        m_changed.notify_all();
        return true;
    }
    void WaitFor(int count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_count >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
};

void BM_GKeyPressToPlayedKey(benchmark::State& state) {
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[0][GKeySlot(1, GKeyBank::A)] = {kEntryKey, 0x0301,
                                                                              0x030};
        // A full macro list, so that the lookup is not the cheapest it can be.
        for (std::uint16_t id = 1; id <= kMaxMacros; ++id) {
            MacroRecord macro;
            macro.macroId = id;
            macro.actions.resize(20);
            store.EditingConfig().Macros().push_back(macro);
        }
    }
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend(keyboard);
    test::RecordingWindow window;
    CountingInjector input;
    EventListener listener(backend, window, {std::chrono::milliseconds(1)});
    GKeyPlayer player([&](int slot) { return GKeyPlayOf(store.EditingConfig(), 0, slot); }, input);
    listener.SetGKeyHandler([&](int slot) { player.Press(slot); });
    player.Start();
    listener.Start();
    while (!listener.Listening()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    int events = 0;
    for (auto _ : state) {
        keyboard.InjectEvent(0x0301);
        events += 2;  // B down, B up
        input.WaitFor(events);
    }
    listener.Stop();
    player.Stop();
}
BENCHMARK(BM_GKeyPressToPlayedKey)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace korvel
