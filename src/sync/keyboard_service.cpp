#include "sync/keyboard_service.h"

#include <algorithm>
#include <utility>

#include "base/file_lock.h"

namespace korvel {

KeyboardService::KeyboardService(DeviceLink& link) : KeyboardService(link, Options{}) {}

KeyboardService::KeyboardService(DeviceLink& link, Options options)
    : m_link(link), m_options(std::move(options)) {
    m_thread = std::thread([this] { Loop(); });
    m_threadId = m_thread.get_id();
    m_link.SetOwnerThread(m_threadId);
}

KeyboardService::~KeyboardService() {
    Stop();
}

void KeyboardService::Enqueue(Job job) {
    std::unique_lock lock(m_mutex);
    if (m_stopping) {
        lock.unlock();
        job.finish(JobEnd::Stopped, {});
        return;
    }
    if (!job.mergeKey.empty()) {
        const auto waiting = std::find_if(m_queue.begin(), m_queue.end(), [&](const Job& queued) {
            return queued.mergeKey == job.mergeKey;
        });
        if (waiting != m_queue.end()) {
            Job replaced = std::exchange(*waiting, std::move(job));
            lock.unlock();
            replaced.finish(JobEnd::Superseded, {});
            return;
        }
    }
    m_queue.push_back(std::move(job));
    m_wake.notify_one();
}

void KeyboardService::Loop() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping) {
                break;
            }
            job = std::move(m_queue.front());
            m_queue.pop_front();
            m_running = job.name;
            m_active = true;
        }
        RunOne(job);
        std::lock_guard lock(m_mutex);
        m_running.clear();
        m_active = false;
    }
    std::deque<Job> dropped;
    {
        std::lock_guard lock(m_mutex);
        dropped.swap(m_queue);
    }
    for (Job& job : dropped) {
        job.finish(JobEnd::Stopped, {});
    }
}

void KeyboardService::RunOne(Job& job) {
    std::unique_ptr<FileLock> transaction;
    if (!m_options.transactionLock.empty()) {
        std::string error;
        transaction =
            FileLock::Acquire(m_options.transactionLock, ThisProcessAsHolder(m_options.holderName),
                              m_options.lockPatience, error);
        if (!transaction) {
            job.finish(JobEnd::Busy, error);
            return;
        }
    }
    JobContext context(m_link, job.progress);
    job.run(context);
    // The keyboard is given free before the submitter hears of the outcome, so that whatever it
    // does next (another program's command, say) never waits for this lock.
    transaction.reset();
    job.finish(JobEnd::Ran, {});
}

bool KeyboardService::StopRequested() const {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

void KeyboardService::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping && !m_thread.joinable()) {
            return;
        }
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_link.SetOwnerThread({});
}

bool KeyboardService::Busy() const {
    std::lock_guard lock(m_mutex);
    return m_active || !m_queue.empty();
}

std::string KeyboardService::Running() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

}  // namespace korvel
