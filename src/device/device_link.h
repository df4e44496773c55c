#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "device/report_channel.h"

namespace korvel {

// The protocol's timing. The program always uses the defaults; tests may shorten the time-outs
// and replace the pause so that a silent keyboard does not cost seconds per case.
struct LinkTimings {
    int writeTimeoutMs = 1000;
    int readTimeoutMs = 300;
    int attempts = 4;                        // one request is written at most this often
    std::chrono::milliseconds endPause{10};  // DevEnd waits this long before its exchange
    std::function<void(std::chrono::milliseconds)> pause;  // empty: sleep on the calling thread
};

// What the link remembers of replies that did not come in time: a keyboard that answers late
// may still send them, and they must not be taken for the answer to a later request.
struct LateReplies {
    int owed = 0;  // attempts whose read timed out and whose reply has not been seen since
    std::chrono::steady_clock::time_point until{};  // how long such a reply is waited for
    bool keyboardEchoes = false;  // a reply has echoed its request's command and address
};

// The state that every user of the command channel shares: the opened channel, the exchange lock,
// the device-connected flag, the active-profile cache and the keyboard's macro capacity. The
// program creates one and passes it by reference; tests build a fresh one per case.
//
// Threads: while no thread owns the link, any thread may issue commands. Once a thread has been
// made its owner (the keyboard service's), every exchange from another thread is refused without
// touching the wire: it fails with DEV_WRITE_FAILED and is counted in ForeignExchanges(), so that
// a call that slipped past the service shows in tests instead of interleaving with a transaction.
// Connect and Disconnect are made by the thread that follows the keyboard's presence; they take
// the exchange lock, so they wait for a transfer in progress to end.
class DeviceLink {
public:
    explicit DeviceLink(LinkTimings timings = {});

    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Hands the link an opened command channel and sets the device-connected flag. The channel
    // must outlive the connection.
    void Connect(ReportChannel& channel);

    // Clears the flag, forgets the channel and the active profile: the keyboard has gone.
    void Disconnect();

    bool IsConnected() const { return m_connected.load(); }
    const LinkTimings& Timings() const { return m_timings; }
    void Pause(std::chrono::milliseconds duration) const;

    // -1 while the active onboard profile is not known.
    int ActiveProfileCache() const { return m_activeProfileCache.load(); }
    void SetActiveProfileCache(int profile) { m_activeProfileCache.store(profile); }

    // Capacity of the keyboard's macro area in bytes, as its information block announced it.
    int MacroCapacity() const { return m_macroCapacity.load(); }
    void SetMacroCapacity(int bytes) { m_macroCapacity.store(bytes); }

    // The one thread that may exchange reports; a default id: any thread.
    void SetOwnerThread(std::thread::id owner) { m_owner.store(owner); }
    // Whether the calling thread may exchange reports now; counts a refusal.
    bool AdmitCaller();
    int ForeignExchanges() const { return m_foreignExchanges.load(); }

    // Held around each whole transfer attempt; only the exchange functions take it.
    std::mutex& ExchangeLock() { return m_exchangeLock; }
    // The channel, or null when disconnected. Read it only while holding the exchange lock.
    ReportChannel* Channel() const { return m_channel; }
    // Late replies of the connected keyboard. Use only while holding the exchange lock.
    LateReplies& Late() { return m_late; }

private:
    LinkTimings m_timings;
    std::mutex m_exchangeLock;
    ReportChannel* m_channel = nullptr;
    LateReplies m_late;
    std::atomic<bool> m_connected{false};
    std::atomic<int> m_activeProfileCache{-1};
    std::atomic<int> m_macroCapacity{0};
    std::atomic<std::thread::id> m_owner{};
    std::atomic<int> m_foreignExchanges{0};
};

}  // namespace korvel
