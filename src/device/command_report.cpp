#include "device/command_report.h"

#include <algorithm>

namespace korvel {

std::uint16_t ReportChecksum(const CommandReport& report) {
    unsigned sum = 0;
    for (std::size_t i = kOffsetCommand; i < kReportBytes; ++i) {
        sum += report.bytes[i];
    }
    return static_cast<std::uint16_t>(sum);
}

void SealChecksum(CommandReport& report) {
    const std::uint16_t sum = ReportChecksum(report);
    report.bytes[kOffsetChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
    report.bytes[kOffsetChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
}

CommandReport BuildRequest(std::uint8_t command, unsigned length, std::uint16_t address,
                           std::span<const std::uint8_t> data) {
    CommandReport report;
    report.bytes[kOffsetReportId] = kCommandReportId;
    report.bytes[kOffsetCommand] = command;
    report.bytes[kOffsetLength] = static_cast<std::uint8_t>(length & 0xFF);
    report.bytes[kOffsetAddressLow] = static_cast<std::uint8_t>(address & 0xFF);
    report.bytes[kOffsetAddressHigh] = static_cast<std::uint8_t>(address >> 8);
    const std::size_t count = std::min(data.size(), kReportDataBytes);
    std::copy_n(data.begin(), count, report.bytes.begin() + kReportDataOffset);
    SealChecksum(report);
    return report;
}

}  // namespace korvel
