#include "sync/lighting_sleep.h"

#include <algorithm>

#include "device/command_report.h"
#include "device/result_codes.h"
#include "model/lighting/lighting_record.h"

namespace korvel {
namespace {

std::uint16_t RecordAddress(int profile) {
    return static_cast<std::uint16_t>(profile * kParamRecordBytes);
}

int ReadRecord(DeviceLink& link, int profile, std::array<std::uint8_t, kParamRecordBytes>& out) {
    std::array<std::uint8_t, kReportDataBytes> reply{};
    const int result = DevReadParams(link, reply, kParamReadBytes, RecordAddress(profile));
    std::copy_n(reply.begin(), kParamRecordBytes, out.begin());
    return result;
}

}  // namespace

std::optional<DimmedLighting> DimLighting(DeviceLink& link, int brightness) {
    DimmedLighting dimmed;
    const int result = DevSequence(link, [&] {
        dimmed.profile = DevGetActiveProfile(link);
        if (dimmed.profile < 0 || dimmed.profile >= kOnboardProfiles) {
            return DEV_NO_REPLY;
        }
        if (const int read = ReadRecord(link, dimmed.profile, dimmed.record); read != DEV_OK) {
            return read;
        }
        const auto level = static_cast<std::uint8_t>(std::clamp(brightness, 0, kMaxBrightness));
        if (dimmed.record[kParamBrightness] == level) {
            return DEV_OK;
        }
        return DevWriteParams(
            link, std::span(&level, 1),
            static_cast<std::uint16_t>(RecordAddress(dimmed.profile) + kParamBrightness));
    });
    if (result != DEV_OK) {
        return std::nullopt;
    }
    return dimmed;
}

WakeOutcome WakeLighting(DeviceLink& link, const DimmedLighting& dimmed) {
    std::array<std::uint8_t, kParamRecordBytes> now{};
    const int result = DevSequence(link, [&] {
        if (const int written = DevWriteParams(link, dimmed.record, RecordAddress(dimmed.profile));
            written != DEV_OK) {
            return written;
        }
        return ReadRecord(link, dimmed.profile, now);
    });
    if (result != DEV_OK) {
        return WakeOutcome::NotWritten;
    }
    return now == dimmed.record ? WakeOutcome::Restored : WakeOutcome::Differs;
}

}  // namespace korvel
