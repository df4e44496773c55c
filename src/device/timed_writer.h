#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "device/hid_backend.h"

namespace korvel {

// Gives a blocking report write a time-out. The write runs on the writer's own thread, on a copy
// of the report, so the caller can give up when its time-out passes: the write then finishes in
// the background and nothing is left pending on the caller's buffer. A write asked for while the
// previous one still runs waits for it within its own time-out.
//
// Threads: Write may be called from any thread; the destructor waits for a running write.
class TimedWriter {
public:
    // `write` sends one report and returns the bytes written, or a negative value on error.
    using BlockingWrite = std::function<int(const std::uint8_t* buffer, std::size_t length)>;

    explicit TimedWriter(BlockingWrite write);
    ~TimedWriter();

    TimedWriter(const TimedWriter&) = delete;
    TimedWriter& operator=(const TimedWriter&) = delete;

    // Done with the count written, Failed on an error, TimedOut when the report was not sent
    // within `timeoutMs` (ReportChannel::kInfinite: no limit).
    TransferResult Write(const std::uint8_t* buffer, std::size_t length, std::size_t& count,
                         int timeoutMs);

private:
    void Run();

    BlockingWrite m_write;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::uint8_t> m_report;
    std::uint64_t m_submitted = 0;  // reports handed to the thread
    std::uint64_t m_finished = 0;   // reports the thread has written (or failed to)
    int m_lastResult = 0;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace korvel
