#include "device/timed_writer.h"

#include <chrono>
#include <utility>

#include "device/report_channel.h"

namespace korvel {

TimedWriter::TimedWriter(BlockingWrite write)
    : m_write(std::move(write)), m_thread([this] { Run(); }) {}

TimedWriter::~TimedWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

TransferResult TimedWriter::Write(const std::uint8_t* buffer, std::size_t length,
                                  std::size_t& count, int timeoutMs) {
    count = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_mutex);
    const auto waitFor = [&](auto done) {
        if (timeoutMs == ReportChannel::kInfinite) {
            m_changed.wait(lock, done);
            return true;
        }
        return m_changed.wait_until(lock, deadline, done);
    };
    if (!waitFor([this] { return m_finished == m_submitted; })) {
        return TransferResult::TimedOut;
    }
    m_report.assign(buffer, buffer + length);
    const std::uint64_t ticket = ++m_submitted;
    m_changed.notify_all();
    if (!waitFor([this, ticket] { return m_finished >= ticket; })) {
        return TransferResult::TimedOut;
    }
    if (m_lastResult < 0) {
        return TransferResult::Failed;
    }
    count = static_cast<std::size_t>(m_lastResult);
    return TransferResult::Done;
}

void TimedWriter::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || m_finished != m_submitted; });
        if (m_finished == m_submitted) {
            return;  // stopping, and nothing is left to write
        }
        const std::vector<std::uint8_t> report = m_report;
        lock.unlock();
        const int result = m_write(report.data(), report.size());
        lock.lock();
        m_lastResult = result;
        ++m_finished;
        m_changed.notify_all();
    }
}

}  // namespace korvel
