#include "device/sim/simulated_channel.h"

#include <algorithm>
#include <thread>

namespace korvel::sim {
namespace {

using Clock = std::chrono::steady_clock;

// A waiting read looks at the plug state this often, so that unplugging ends it promptly.
constexpr std::chrono::milliseconds kPlugPoll{5};

}  // namespace

SimulatedChannel::SimulatedChannel(VirtualKeyboard& keyboard) : m_keyboard(keyboard) {}

void SimulatedChannel::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(m_mutex);
    m_latency = latency;
}

void SimulatedChannel::FailWrites(int count) {
    std::lock_guard lock(m_mutex);
    m_failingWrites = count;
}

void SimulatedChannel::UnplugAfterWrites(int reports) {
    std::lock_guard lock(m_mutex);
    m_writesBeforeUnplug = reports;
}

void SimulatedChannel::QueueInput(std::span<const std::uint8_t> report,
                                  std::chrono::milliseconds delay) {
    {
        std::lock_guard lock(m_mutex);
        m_input.push_back(Pending{{report.begin(), report.end()}, Clock::now() + delay});
    }
    m_inputArrived.notify_all();
}

bool SimulatedChannel::WriteReport(const std::uint8_t* buffer, std::size_t length,
                                   std::size_t* count, int timeoutMs) {
    auto start = Clock::now();
    if (count != nullptr) {
        *count = 0;
    }
    std::chrono::milliseconds latency;
    {
        std::lock_guard lock(m_mutex);
        // The keyboard's clock runs on its own: a write that follows the last reply within one
        // latency is timed from the moment that reply was ready, so the caller's own delays and
        // the sleeper's lateness do not add up over many reports.
        if (m_lastReplyAt <= start && start - m_lastReplyAt < m_latency) {
            start = m_lastReplyAt;
        }
        if (m_failingWrites > 0) {
            --m_failingWrites;
            return false;
        }
        if (m_writesBeforeUnplug == 0) {
            m_writesBeforeUnplug = -1;
            m_keyboard.SetPlugged(false);
        } else if (m_writesBeforeUnplug > 0) {
            --m_writesBeforeUnplug;
        }
        latency = m_latency;
    }
    if (!m_keyboard.IsPlugged()) {
        return false;
    }
    if (timeoutMs != kInfinite && latency > std::chrono::milliseconds(timeoutMs)) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(timeoutMs));
        return false;
    }
    const auto written = start + latency;
    if (latency.count() > 0) {
        std::this_thread::sleep_until(written);
    }
    const auto reply = m_keyboard.HandleRequest(std::span<const std::uint8_t>(buffer, length));
    if (!m_keyboard.IsPlugged()) {
        return false;
    }
    if (reply) {
        {
            std::lock_guard lock(m_mutex);
            m_lastReplyAt = written + latency;
            m_input.push_back(Pending{{reply->bytes.begin(), reply->bytes.end()}, m_lastReplyAt});
        }
        m_inputArrived.notify_all();
    }
    if (count != nullptr) {
        *count = length;
    }
    return true;
}

std::vector<std::uint8_t> SimulatedChannel::InputReportIds() const {
    return {m_keyboard.ReplyReportId()};
}

bool SimulatedChannel::ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                                  int timeoutMs) {
    if (count != nullptr) {
        *count = 0;
    }
    const bool forever = timeoutMs == kInfinite;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_keyboard.IsPlugged()) {
            return false;
        }
        const auto now = Clock::now();
        if (!m_input.empty() && m_input.front().readyAt <= now) {
            const std::vector<std::uint8_t> report = std::move(m_input.front().bytes);
            m_input.pop_front();
            const std::size_t moved = std::min(length, report.size());
            std::copy_n(report.begin(), moved, buffer);
            if (count != nullptr) {
                *count = moved;
            }
            return true;
        }
        if (!forever && now >= deadline) {
            return false;
        }
        auto wake = now + kPlugPoll;
        if (!forever) {
            wake = std::min(wake, deadline);
        }
        if (!m_input.empty()) {
            wake = std::min(wake, m_input.front().readyAt);
        }
        m_inputArrived.wait_until(lock, wake);
    }
}

}  // namespace korvel::sim
