#include "device/tracing_channel.h"

#include <utility>

namespace korvel {

TracingChannel::TracingChannel(ReportChannel& inner, Sink sink)
    : m_inner(inner), m_sink(std::move(sink)) {}

bool TracingChannel::WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t* count,
                                 int timeoutMs) {
    std::size_t moved = 0;
    const bool ok = m_inner.WriteReport(buffer, length, &moved, timeoutMs);
    if (count != nullptr) {
        *count = moved;
    }
    if (ok) {
        m_sink('>', std::span<const std::uint8_t>(buffer, moved));
    }
    return ok;
}

bool TracingChannel::ReadReport(std::uint8_t* buffer, std::size_t length, std::size_t* count,
                                int timeoutMs) {
    std::size_t moved = 0;
    const bool ok = m_inner.ReadReport(buffer, length, &moved, timeoutMs);
    if (count != nullptr) {
        *count = moved;
    }
    if (ok) {
        m_sink('<', std::span<const std::uint8_t>(buffer, moved));
    }
    return ok;
}

std::string FormatTraceLine(char direction, std::span<const std::uint8_t> report) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string line;
    line.reserve(2 + 2 * report.size());
    line += direction;
    line += ' ';
    for (const std::uint8_t byte : report) {
        line += kDigits[byte >> 4];
        line += kDigits[byte & 0x0F];
    }
    return line;
}

}  // namespace korvel
