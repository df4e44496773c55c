// Reading input reports the way the HID class hands out their usages and values.
#include "device/hid_report_descriptor.h"

#include <algorithm>
#include <limits>

namespace korvel {
namespace {

std::uint64_t FieldEndBit(const HidField& field) {
    return 8 + static_cast<std::uint64_t>(field.bitOffset) +
           static_cast<std::uint64_t>(field.reportSize) * field.reportCount;
}

// Whether the report is one of this field's and long enough to hold all of it.
bool FieldFits(std::span<const std::uint8_t> report, const HidField& field) {
    return !report.empty() && report[0] == field.reportId && field.reportSize != 0 &&
           field.reportSize <= 32 &&
           FieldEndBit(field) <= static_cast<std::uint64_t>(report.size()) * 8;
}

// Element `index` of a field that FieldFits the report, least significant bit first.
std::uint32_t ReadElement(std::span<const std::uint8_t> report, const HidField& field,
                          std::uint64_t index) {
    const std::uint64_t start =
        8 + static_cast<std::uint64_t>(field.bitOffset) + index * field.reportSize;
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < field.reportSize; ++i) {
        const std::uint64_t bit = start + i;
        if ((report[static_cast<std::size_t>(bit / 8)] >> (bit % 8)) & 1u) {
            value |= 1u << i;
        }
    }
    return value;
}

std::int64_t ToLogical(std::uint32_t raw, const HidField& field) {
    if (field.logicalMin < 0 && field.reportSize < 32 && ((raw >> (field.reportSize - 1)) & 1u)) {
        return static_cast<std::int64_t>(raw) - (std::int64_t{1} << field.reportSize);
    }
    if (field.logicalMin < 0) {
        return static_cast<std::int32_t>(raw);
    }
    return raw;
}

std::uint64_t DeclaredUsageCount(const HidField& field) {
    if (!field.usages.empty()) {
        return field.usages.size();
    }
    return field.usageMax >= field.usageMin
               ? static_cast<std::uint64_t>(field.usageMax) - field.usageMin + 1
               : 0;
}

std::optional<std::uint32_t> DeclaredUsage(const HidField& field, std::uint64_t index) {
    if (index >= DeclaredUsageCount(field)) {
        return std::nullopt;
    }
    if (!field.usages.empty()) {
        return field.usages[static_cast<std::size_t>(index)];
    }
    return static_cast<std::uint32_t>(field.usageMin + index);
}

// Index of the first element of a variable field that carries `usage`. Elements past the
// declared usages carry the last one, so it is found among the first ones already.
std::optional<std::uint64_t> ElementOfUsage(const HidField& field, std::uint32_t usage) {
    std::optional<std::uint64_t> index;
    if (field.usages.empty()) {
        if (usage >= field.usageMin && usage <= field.usageMax) {
            index = usage - field.usageMin;
        }
    } else {
        const auto it = std::find(field.usages.begin(), field.usages.end(), usage);
        if (it != field.usages.end()) {
            index = static_cast<std::uint64_t>(it - field.usages.begin());
        }
    }
    if (!index || *index >= field.reportCount) {
        return std::nullopt;
    }
    return index;
}

}  // namespace

std::optional<std::vector<std::uint32_t>> HidReportDescriptor::GetUsages(
    std::span<const std::uint8_t> report, const HidField& field) const {
    if (!field.isButton || !FieldFits(report, field)) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> on;
    if (field.isArray) {
        for (std::uint64_t i = 0; i < field.reportCount; ++i) {
            const std::int64_t selector = ToLogical(ReadElement(report, field, i), field);
            if (selector < field.logicalMin || selector > field.logicalMax) {
                continue;
            }
            const auto usage =
                DeclaredUsage(field, static_cast<std::uint64_t>(selector - field.logicalMin));
            if (usage && *usage != 0) {
                on.push_back(*usage);
            }
        }
        return on;
    }
    // Bits past the declared usages name nothing a button list could report.
    const std::uint64_t elements =
        std::min<std::uint64_t>(field.reportCount, DeclaredUsageCount(field));
    for (std::uint64_t i = 0; i < elements; ++i) {
        if (ReadElement(report, field, i) != 0) {
            const auto usage = DeclaredUsage(field, i);
            if (usage && *usage != 0) {
                on.push_back(*usage);
            }
        }
    }
    return on;
}

std::optional<std::uint32_t> HidReportDescriptor::GetUsageValue(
    std::span<const std::uint8_t> report, const HidField& field, std::uint32_t usage) const {
    if (field.isButton || !FieldFits(report, field)) {
        return std::nullopt;
    }
    const auto index = ElementOfUsage(field, usage);
    if (!index) {
        return std::nullopt;
    }
    return ReadElement(report, field, *index);
}

std::optional<std::int32_t> HidReportDescriptor::GetScaledUsageValue(
    std::span<const std::uint8_t> report, const HidField& field, std::uint32_t usage) const {
    if (field.logicalMin >= field.logicalMax || field.physicalMin >= field.physicalMax) {
        return std::nullopt;
    }
    const auto raw = GetUsageValue(report, field, usage);
    if (!raw) {
        return std::nullopt;
    }
    const std::int64_t value = ToLogical(*raw, field);
    if (value < field.logicalMin || value > field.logicalMax) {
        return std::nullopt;
    }
    // Each factor is below 2^32, so the product fits in 64 unsigned bits.
    const auto offset = static_cast<std::uint64_t>(value - field.logicalMin);
    const auto logicalSpan =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(field.logicalMax) - field.logicalMin);
    const auto physicalSpan = static_cast<std::uint64_t>(
        static_cast<std::int64_t>(field.physicalMax) - field.physicalMin);
    const std::uint64_t scaled = offset * physicalSpan / logicalSpan;
    return static_cast<std::int32_t>(field.physicalMin + static_cast<std::int64_t>(scaled));
}

}  // namespace korvel
