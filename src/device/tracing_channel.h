#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "device/report_channel.h"

namespace korvel {

// Passes every transfer on to another channel and reports each completed one: '>' for a report
// written to the keyboard, '<' for a report read from it.
class TracingChannel : public ReportChannel {
public:
    using Sink = std::function<void(char direction, std::span<const std::uint8_t> report)>;

    TracingChannel(ReportChannel& inner, Sink sink);

    bool WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t* count,
                     int timeoutMs) override;
    bool ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                    int timeoutMs) override;
    std::vector<std::uint8_t> InputReportIds() const override { return m_inner.InputReportIds(); }

private:
    ReportChannel& m_inner;
    Sink m_sink;
};

// "> " or "< " followed by the bytes as lowercase hex digits, two per byte, nothing between.
std::string FormatTraceLine(char direction, std::span<const std::uint8_t> report);

}  // namespace korvel
