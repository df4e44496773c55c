#include "device/exchange.h"

#include <algorithm>
#include <chrono>

#include "device/result_codes.h"

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;
using Report = std::array<std::uint8_t, kReportBytes>;

// A keyboard queues few reports; the bound only stops a channel that never runs dry.
constexpr int kMaxDiscardedReports = 64;

Report Padded(std::span<const std::uint8_t> request) {
    Report buffer{};
    std::copy_n(request.begin(), std::min(request.size(), buffer.size()), buffer.begin());
    return buffer;
}

void DiscardWaitingInput(ReportChannel& channel) {
    Report scratch{};
    std::size_t count = 0;
    for (int i = 0; i < kMaxDiscardedReports; ++i) {
        if (!channel.ReadReport(scratch.data(), scratch.size(), &count, 0)) {
            return;
        }
    }
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// Reads until a whole command report arrives or the time-out runs out. On the hidraw node of a
// real keyboard other reports of the interface arrive on the same channel; they are skipped.
bool ReadReply(ReportChannel& channel, CommandReport& reply, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        CommandReport candidate;
        std::size_t count = 0;
        if (!channel.ReadReport(candidate.bytes.data(), candidate.bytes.size(), &count,
                                MillisecondsLeft(deadline))) {
            return false;
        }
        if (count == kReportBytes && candidate.bytes[kOffsetReportId] == kCommandReportId) {
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
    const Report buffer = Padded(request);
    const LinkTimings& timings = link.Timings();
    for (int attempt = 0; attempt < timings.attempts; ++attempt) {
        std::lock_guard lock(link.ExchangeLock());
        ReportChannel* channel = link.Channel();
        if (channel == nullptr) {
            return DEV_NO_REPLY;
        }
        DiscardWaitingInput(*channel);
        std::size_t written = 0;
        if (!channel->WriteReport(buffer.data(), buffer.size(), &written, timings.writeTimeoutMs) ||
            written != buffer.size()) {
            return DEV_WRITE_FAILED;
        }
        if (ReadReply(*channel, reply, timings.readTimeoutMs)) {
            return DEV_OK;
        }
    }
    return DEV_NO_REPLY;
}

int DevSendOnly(DeviceLink& link, std::span<const std::uint8_t> report) {
    if (!link.IsConnected()) {
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
