#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

// One opened HID interface that carries reports to and from the keyboard: the command link's only
// view of the transport. The real transport and the virtual keyboard both implement it.
//
// Return rule of both transfers: true when the transfer completed within the time-out, with
// *count (when given) set to the bytes moved; false on time-out, cancel, error or a vanished
// device, with *count = 0. When either call returns, no transfer is left pending on `buffer`:
// the caller may reuse or release it at once.
//
// Threads: a channel may be used from several threads, but the command link makes at most one
// transfer at a time on it (under its exchange lock).
class ReportChannel {
public:
    // A time-out that waits until the transfer completes or is cancelled.
    static constexpr int kInfinite = -1;

    virtual ~ReportChannel() = default;

    // Writes `length` bytes as one output report (byte 0 is the report id).
    virtual bool WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t* count,
                             int timeoutMs) = 0;

    // Reads one input report of at most `length` bytes; *count tells how many arrived. A time-out
    // of 0 only takes a report that is already waiting.
    virtual bool ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                            int timeoutMs) = 0;

    // The report ids of the input reports this channel's collection declares (0 for a collection
    // without report ids): the ids a reply may carry.
    virtual std::vector<std::uint8_t> InputReportIds() const = 0;
};

}  // namespace korvel
