#include "device/worker_thread.h"

#include <utility>

namespace korvel {

void WorkerThread::Start(std::function<void()> body) {
    if (m_thread.joinable()) {
        return;
    }
    m_stop.store(false);
    m_running.store(true);
    m_thread = std::thread([this, body = std::move(body)] {
        body();
        m_running.store(false);
    });
}

void WorkerThread::RequestStop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop.store(true);
    }
    m_wake.notify_all();
}

void WorkerThread::Stop() {
    RequestStop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool WorkerThread::Sleep(std::chrono::milliseconds duration) {
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, duration, [this] { return m_stop.load() || m_woken; });
    m_woken = false;
    return !m_stop.load();
}

void WorkerThread::Wake() {
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_all();
}

}  // namespace korvel
