#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "device/report_channel.h"
#include "device/sim/virtual_keyboard.h"

namespace korvel::sim {

// The virtual keyboard's command collection as a report channel: what the command link writes
// goes to the keyboard's firmware, its replies come back through an input queue. Adds what a
// real USB transfer does to timing and what can go wrong on the way.
//
// Latency: every report takes the set latency: a write returns after it, and the reply becomes
// readable one latency after the write. Both are absolute deadlines on the keyboard's own
// timeline, counted from the moment the write began, or from the last reply when the write
// follows it within one latency: many short latencies do not add up to the sleeper's lateness.
//
// Threads: any thread may call any member; the reply queue is guarded.
class SimulatedChannel : public ReportChannel {
public:
    explicit SimulatedChannel(VirtualKeyboard& keyboard);

    bool WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t* count,
                     int timeoutMs) override;
    bool ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                    int timeoutMs) override;
    // The id the keyboard's replies carry.
    std::vector<std::uint8_t> InputReportIds() const override;

    void SetLatency(std::chrono::milliseconds latency);

    // Faults of the transport: the next `count` writes fail; the keyboard is unplugged when the
    // write after the next `reports` writes is attempted (it disappears mid-transfer).
    void FailWrites(int count);
    void UnplugAfterWrites(int reports);

    // Puts a raw input report in the queue, readable after `delay`: a short report, one with
    // another report id, or a stray reply.
    void QueueInput(std::span<const std::uint8_t> report,
                    std::chrono::milliseconds delay = std::chrono::milliseconds(0));

private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        std::chrono::steady_clock::time_point readyAt;
    };

    VirtualKeyboard& m_keyboard;
    std::mutex m_mutex;
    std::condition_variable m_inputArrived;
    std::deque<Pending> m_input;
    std::chrono::milliseconds m_latency{0};
    std::chrono::steady_clock::time_point m_lastReplyAt{};  // when the last reply became readable
    int m_failingWrites = 0;
    int m_writesBeforeUnplug = -1;
};

}  // namespace korvel::sim
