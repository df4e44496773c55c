#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvel {

// One top-level collection. On Windows each one is a device of its own; a Linux hidraw node
// carries every collection of the USB interface, so the report ids tell them apart.
struct HidCollectionInfo {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // Ids of the input, output and feature reports declared inside it, in the order they first
    // appear; empty when the descriptor uses no report ids.
    std::vector<std::uint8_t> reportIds;
    // Of those, the ids of its input reports, in the same order.
    std::vector<std::uint8_t> inputReportIds;
    // Longest report of this collection alone, counted as the interface-wide lengths are.
    std::size_t inputReportByteLength = 0;
    std::size_t outputReportByteLength = 0;
    std::size_t featureReportByteLength = 0;
};

// One Input, Output or Feature main item.
//
// Usages are usage ids on `usagePage`. A usage on another page (possible through 32-bit extended
// usages) keeps its page in the high 16 bits, so it never compares equal to an id on `usagePage`.
struct HidField {
    std::uint8_t reportId = 0;    // 0 when the descriptor uses no report ids
    std::size_t collection = 0;   // index into TopLevelCollections()
    std::uint16_t usagePage = 0;  // page of the first usage, else the global usage page
    bool isButton = false;        // HidP sense: 1-bit variable fields and every array field
    bool isArray = false;
    bool isConstant = false;
    // One usage range (or a single usage as min == max) and no list; or, when the item declared
    // several usages or ranges, all of them in order in `usages` (as many as the field can
    // address: one per element, or one per selector value of an array), min/max their extremes.
    std::uint32_t usageMin = 0, usageMax = 0;
    std::vector<std::uint32_t> usages;
    std::uint32_t bitOffset = 0;  // from the first bit after the report id byte
    std::uint32_t reportSize = 0, reportCount = 0;
    std::int32_t logicalMin = 0, logicalMax = 0, physicalMin = 0, physicalMax = 0;
    std::uint32_t flags = 0;  // the main item's data bits (constant, variable, relative, ...)
};

// A parsed HID report descriptor of one interface, and the decoding of its input reports with the
// meaning Windows' HidP_GetUsages / HidP_GetUsageValue / HidP_GetScaledUsageValue give them.
//
// Reports handed to the decoders start with the report id byte; with no report ids in use that
// byte is 0, as Windows prefixes it. A report may be shorter than the longest one of the
// interface: it only has to hold the field asked about.
class HidReportDescriptor {
public:
    // Nothing for a malformed descriptor; *error (when given) then says what, at which byte.
    static std::optional<HidReportDescriptor> Parse(std::span<const std::uint8_t> bytes,
                                                    std::string* error = nullptr);

    const std::vector<HidCollectionInfo>& TopLevelCollections() const { return m_collections; }
    const std::vector<HidField>& InputFields() const { return m_inputFields; }
    const std::vector<HidField>& OutputFields() const { return m_outputFields; }
    const std::vector<HidField>& FeatureFields() const { return m_featureFields; }
    bool UsesReportIds() const { return m_usesReportIds; }

    // Longest report in bytes, always counting one byte for the report id (Windows' lengths);
    // 0 when there is no report of that kind.
    std::size_t InputReportByteLength() const { return m_inputReportByteLength; }
    std::size_t OutputReportByteLength() const { return m_outputReportByteLength; }
    std::size_t FeatureReportByteLength() const { return m_featureReportByteLength; }

    // Button fields: the usages that are on, in report order. Array selectors outside the logical
    // range or past the declared usages, and usage 0, are left out. Nothing for a value field, a
    // report of another id, or a report too short for the field.
    std::optional<std::vector<std::uint32_t>> GetUsages(std::span<const std::uint8_t> report,
                                                        const HidField& field) const;

    // Value fields: the raw bits of the first element carrying `usage`.
    std::optional<std::uint32_t> GetUsageValue(std::span<const std::uint8_t> report,
                                               const HidField& field, std::uint32_t usage) const;

    // The same element sign-extended (when logicalMin < 0) and scaled linearly from the logical
    // into the physical range. Nothing when either range is empty or reversed (an absent physical
    // range is 0..0) or the value lies outside the logical range.
    std::optional<std::int32_t> GetScaledUsageValue(std::span<const std::uint8_t> report,
                                                    const HidField& field,
                                                    std::uint32_t usage) const;

private:
    HidReportDescriptor() = default;

    std::vector<HidCollectionInfo> m_collections;
    std::vector<HidField> m_inputFields;
    std::vector<HidField> m_outputFields;
    std::vector<HidField> m_featureFields;
    bool m_usesReportIds = false;
    std::size_t m_inputReportByteLength = 0;
    std::size_t m_outputReportByteLength = 0;
    std::size_t m_featureReportByteLength = 0;
};

}  // namespace korvel
