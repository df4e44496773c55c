#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace korvel {

// A background thread that can be asked to stop: its sleeps end at once when it is, and Stop joins
// it. The device threads run on one each.
class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { Stop(); }

    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `body` on a new thread; does nothing while one runs.
    void Start(std::function<void()> body);
    // Asks the thread to end without waiting; Running() turns false when it has.
    void RequestStop();
    // Asks and waits.
    void Stop();

    bool Running() const { return m_running.load(); }
    bool Stopping() const { return m_stop.load(); }
    // On the thread: waits `duration`, or less when woken; false when asked to stop meanwhile.
    bool Sleep(std::chrono::milliseconds duration);
    // Ends the thread's current (or next) sleep early, for news it waits for.
    void Wake();

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    bool m_woken = false;  // under m_mutex
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};

}  // namespace korvel
