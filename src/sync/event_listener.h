#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

#include "device/hid_backend.h"
#include "device/hid_device.h"
#include "device/worker_thread.h"
#include "ports/main_window_link.h"

namespace korvel {

// Vendor event codes the keyboard reports on its consumer-control collection.
inline constexpr std::uint16_t kEventLightingChanged = 0x0401;
inline constexpr std::uint16_t kEventStateEnded = 0x1810;
inline constexpr std::uint16_t kEventStateStarted = 0x1811;

struct ListenerTimings {
    std::chrono::milliseconds search{1000};   // between searches for the interface
    std::chrono::milliseconds busyPoll{1};    // a status update waiting for the one before
    std::chrono::milliseconds statusHold{1};  // a status update keeps the busy flag this long
};

// The event listener: keeps the keyboard's consumer-control interface open, reads its input
// reports and turns the known event codes into actions of the main window, and G keys' codes into
// presses for whoever plays them. It sends nothing to the keyboard and never touches the command
// channel.
//
// Threads: Start and Stop from the owner. Status updates run on short-lived threads of their own,
// one at a time and in the order their events arrived (each takes a ticket on the listener
// thread), so 0x1811 followed at once by 0x1810 always ends on the icon chosen before. Stop ends
// the blocked read through the cancel signal and joins the listener and every status update.
class EventListener {
public:
    EventListener(HidBackend& backend, MainWindowLink& window, ListenerTimings timings = {});
    ~EventListener();

    EventListener(const EventListener&) = delete;
    EventListener& operator=(const EventListener&) = delete;

    // Told every event code that arrives, known or not (for a monitor). Set it before Start.
    void SetEventObserver(std::function<void(std::uint16_t)> observer) {
        m_observer = std::move(observer);
    }

    // Told every G key's press, by its G-key slot (the keyboard sends a G key's code on the same
    // interface). It must not wait: the listener reads on once it returns. Set it before Start.
    void SetGKeyHandler(std::function<void(int slot)> handler) { m_gKeys = std::move(handler); }

    void Start();
    // Asks the thread to end without waiting for it; Running() turns false when it has.
    void RequestStop();
    bool Running() const { return m_worker.Running(); }
    void Stop();

    // Whether the interface is open and being read.
    bool Listening() const { return m_listening.load(); }
    bool Ended() const { return m_ended.load(); }

    // What an event code does; called on the listener thread.
    void OnEvent(std::uint16_t code);

private:
    void Run();
    void Listen();
    void StatusUpdate(bool eventIcon, std::uint64_t ticket);
    void ReapStatusThreads(bool all);
    void ReapStatusThreadsLocked(bool all);

    HidBackend& m_backend;
    MainWindowLink& m_window;
    ListenerTimings m_timings;
    HidDevice m_device;
    std::function<void(std::uint16_t)> m_observer;
    std::function<void(int)> m_gKeys;

    std::uint64_t m_nextTicket = 0;           // only the listener thread takes tickets
    std::atomic<std::uint64_t> m_serving{0};  // the ticket whose update may run now
    std::atomic<bool> m_listening{false};
    std::atomic<bool> m_ended{false};

    struct StatusThread {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    std::mutex m_statusMutex;
    std::list<StatusThread> m_statusThreads;

    WorkerThread m_worker;
};

}  // namespace korvel
