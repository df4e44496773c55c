#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "device/device_link.h"
#include "device/hid_backend.h"
#include "device/hid_device.h"
#include "device/worker_thread.h"
#include "ports/main_window_link.h"
#include "ports/text_lookup.h"

namespace korvel {

class KeyCodec;
class KeyboardService;
class Prompts;

struct PresenceTimings {
    std::chrono::milliseconds connectedCheck{100};  // presence check while connected
    std::chrono::milliseconds search{1000};         // full search while not connected
    std::chrono::milliseconds readyPoll{50};        // waiting for the main window
    std::chrono::milliseconds startPause{10};       // before the first probe after "/Start"
};

// The device-presence thread: finds the keyboard's command collection, keeps it open as the
// command link's channel, notices it going and coming back, and hands each change to
// OnConnectionChange. It is the only writer of the link's connected flag.
//
// Threads: Start and Stop from the owner (the main window); everything else runs on the thread.
// Stop wakes the thread from its sleeps and joins it; the destructor stops it.
class DevicePresence {
public:
    DevicePresence(HidBackend& backend, DeviceLink& link, KeyCodec& keyCodec,
                   MainWindowLink& window, Prompts& prompts, TextLookup texts,
                   PresenceTimings timings = {});
    ~DevicePresence();

    DevicePresence(const DevicePresence&) = delete;
    DevicePresence& operator=(const DevicePresence&) = delete;

    // The keyboard's owner: the probe and the arrival's first reads run as its jobs, so that they
    // never fall between the commands of another transaction. None: they run on this thread.
    void SetService(KeyboardService* service) { m_service = service; }

    // Started with "/Start": the window is not opened on the first arrival.
    void SetFirstOpenDone() { m_firstOpenDone.store(true); }

    void Start();
    // Asks the thread to end without waiting for it; Running() turns false when it has.
    void RequestStop();
    // The main window has become ready: a wait for it ends now rather than at its next check.
    void WindowReady() { m_worker.Wake(); }
    bool Running() const { return m_worker.Running(); }
    void Stop();

    bool FirstOpenDone() const { return m_firstOpenDone.load(); }
    int LastReportedState() const { return m_lastReportedState.load(); }
    bool ChangeBusy() const { return m_changeBusy.load(); }
    // Whether the thread ended on its own because the interfaces could not be listed.
    bool Ended() const { return m_ended.load(); }

    // Acts on a new connection state (1 arrived, 0 gone); returns 0. Called on the thread.
    int OnConnectionChange(int newState);

private:
    void Run();
    void InitialProbe();
    bool Search();  // true when the command collection was opened
    // Runs `talk` on the keyboard's owner when there is one, else here; waits for it.
    template <typename Value>
    Value OnKeyboard(std::function<Value()> talk, Value stopped);
    bool Sleep(std::chrono::milliseconds duration) { return m_worker.Sleep(duration); }
    bool Stopping() const { return m_worker.Stopping(); }

    HidBackend& m_backend;
    DeviceLink& m_link;
    KeyCodec& m_keyCodec;
    MainWindowLink& m_window;
    Prompts& m_prompts;
    TextLookup m_texts;
    PresenceTimings m_timings;
    HidDevice m_device;  // the command channel
    KeyboardService* m_service = nullptr;

    std::atomic<bool> m_firstOpenDone{false};
    std::atomic<int> m_lastReportedState{0};
    std::atomic<bool> m_changeBusy{false};
    std::atomic<bool> m_ended{false};

    WorkerThread m_worker;
};

}  // namespace korvel
