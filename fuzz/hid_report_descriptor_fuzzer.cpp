// A report descriptor read from sysfs, and input reports decoded with it. The first byte is the
// descriptor's length; the bytes after the descriptor are one input report.
#include "device/hid_report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    if (size == 0) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(data[0], size - 1);
    const std::span<const std::uint8_t> descriptor(data + 1, length);
    const std::span<const std::uint8_t> report(data + 1 + length, size - 1 - length);
    std::string error;
    const auto parsed = HidReportDescriptor::Parse(descriptor, &error);
    if (!parsed) {
        return 0;
    }
    for (const HidField& field : parsed->InputFields()) {
        (void)parsed->GetUsages(report, field);
        (void)parsed->GetUsageValue(report, field, field.usageMin);
        (void)parsed->GetScaledUsageValue(report, field, field.usageMax);
        for (const std::uint32_t usage : field.usages) {
            (void)parsed->GetScaledUsageValue(report, field, usage);
        }
    }
    return 0;
}
