#include "device/exchange.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "device/reply_match.h"
#include "device/result_codes.h"

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;
using Report = std::array<std::uint8_t, kReportBytes>;
using ReportIds = std::vector<std::uint8_t>;

// A keyboard queues few reports; the bound only stops a channel that never runs dry.
constexpr int kMaxDiscardedReports = 64;

Report Padded(std::span<const std::uint8_t> request) {
    Report buffer{};
    std::copy_n(request.begin(), std::min(request.size(), buffer.size()), buffer.begin());
    return buffer;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// A whole report of the command collection: 64 bytes with one of its input report ids. On the
// hidraw node of a real keyboard other reports of the interface arrive on the same channel.
bool IsCommandReport(const CommandReport& report, std::size_t count, const ReportIds& ids) {
    return count == kReportBytes &&
           std::find(ids.begin(), ids.end(), report.bytes[kOffsetReportId]) != ids.end();
}

// Reports that arrived since the last attempt can only be late replies. When an attempt of this
// exchange timed out and the keyboard has not shown that it echoes its requests, its reply is
// waited for (until LateReplies::until) and thrown away, since nothing would tell it from the
// next attempt's. On a retry a reply that echoes this very request is its answer: the same
// request was written before. Returns true when `reply` holds that answer.
bool TakeLateReplies(ReportChannel& channel, LateReplies& late, const Report& request, bool retry,
                     const ReportIds& ids, CommandReport& reply) {
    Clock::time_point deadline =
        late.owed > 0 && !late.keyboardEchoes ? late.until : Clock::time_point{};
    for (int i = 0; i < kMaxDiscardedReports; ++i) {
        CommandReport candidate;
        std::size_t count = 0;
        if (!channel.ReadReport(candidate.bytes.data(), candidate.bytes.size(), &count,
                                MillisecondsLeft(deadline))) {
            break;
        }
        if (!IsCommandReport(candidate, count, ids)) {
            continue;
        }
        late.owed = std::max(late.owed - 1, 0);
        if (retry && EchoOf(candidate, request) == ReplyEcho::ThisRequest) {
            late.owed = 0;
            reply = candidate;
            return true;
        }
        if (late.owed == 0) {
            deadline = Clock::time_point{};  // nothing more is owed: only what is waiting now
        }
    }
    // What did not come within its time is not coming.
    late.owed = 0;
    return false;
}

// Reads until a reply to this request arrives or the time-out runs out. Reports of other
// collections, short reports and replies that name another request are skipped.
bool ReadReply(ReportChannel& channel, const Report& request, const ReportIds& ids,
               CommandReport& reply, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        CommandReport candidate;
        std::size_t count = 0;
        if (!channel.ReadReport(candidate.bytes.data(), candidate.bytes.size(), &count,
                                MillisecondsLeft(deadline))) {
            return false;
        }
        if (IsCommandReport(candidate, count, ids) &&
            EchoOf(candidate, request) != ReplyEcho::AnotherRequest) {
            reply = candidate;
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
    }
}

}  // namespace

int DevExchange(DeviceLink& link, std::span<const std::uint8_t> request, CommandReport& reply) {
    if (!link.IsConnected()) {
        return DEV_NO_REPLY;
    }
    if (!link.AdmitCaller()) {
        return DEV_WRITE_FAILED;
    }
    const Report buffer = Padded(request);
    const LinkTimings& timings = link.Timings();
    for (int attempt = 0; attempt < timings.attempts; ++attempt) {
        std::lock_guard lock(link.ExchangeLock());
        ReportChannel* channel = link.Channel();
        if (channel == nullptr) {
            return DEV_NO_REPLY;
        }
        LateReplies& late = link.Late();
        const ReportIds ids = channel->InputReportIds();
        if (TakeLateReplies(*channel, late, buffer, attempt > 0, ids, reply)) {
            return DEV_OK;
        }
        std::size_t written = 0;
        if (!channel->WriteReport(buffer.data(), buffer.size(), &written, timings.writeTimeoutMs) ||
            written != buffer.size()) {
            return DEV_WRITE_FAILED;
        }
        if (ReadReply(*channel, buffer, ids, reply, timings.readTimeoutMs)) {
            if (EchoOf(reply, buffer) == ReplyEcho::ThisRequest) {
                late.keyboardEchoes = true;
            }
            return DEV_OK;
        }
        ++late.owed;
        late.until = Clock::now() + std::chrono::milliseconds(timings.readTimeoutMs);
    }
    return DEV_NO_REPLY;
}

int DevSendOnly(DeviceLink& link, std::span<const std::uint8_t> report) {
    if (!link.IsConnected() || !link.AdmitCaller()) {
        return 0;
    }
    const Report buffer = Padded(report);
    std::lock_guard lock(link.ExchangeLock());
    ReportChannel* channel = link.Channel();
    if (channel == nullptr) {
        return 0;
    }
    std::size_t written = 0;
    const bool ok =
        channel->WriteReport(buffer.data(), buffer.size(), &written, link.Timings().writeTimeoutMs);
    return ok && written == buffer.size() ? 1 : 0;
}

}  // namespace korvel
