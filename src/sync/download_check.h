#pragma once

#include <string>
#include <vector>

#include "device/device_link.h"

namespace korvel {

class KeyCodec;
struct CompleteBackup;
struct KeyColorTable;
struct ProfileParamRecord;
struct DownloadPlan;

// What reading back a download found: whether the keyboard holds what was sent.
struct DownloadCheck {
    bool readFailed = false;  // the keyboard could not be read back: nothing is known
    // What differs, in words a user reads, first difference first; at most kShownDifferences.
    std::vector<std::string> differences;
    int differingBytes = 0;   // all of them, also those not described
    int differenceCount = 0;  // places that differ (a key, a byte of the macro area), all of them

    static constexpr std::size_t kShownDifferences = 5;
    bool Holds() const { return !readFailed && differingBytes == 0; }
};

// Reads back the macro area and the key tables that `plan` sends (all three, or the keyboard's
// active profile's) and compares them byte by byte with it. Differences name the profile and key
// (by the codec's default key table, whose positions say which key is which) or the macro area's
// byte offset. Takes no configuration lock.
DownloadCheck CheckDownload(DeviceLink& link, const DownloadPlan& plan, const KeyCodec& keyCodec);

// What a restored backup left on the keyboard (`held`, read back) against the backup (`sent`):
// differences name the profile and the key, lighting field, light or macro-area byte, or the
// active profile.
DownloadCheck CheckRestore(const CompleteBackup& sent, const CompleteBackup& held,
                           const KeyCodec& keyCodec);

// Reads back the lighting record of onboard profile `profile` (0..2) and, when given, its colour
// table, and compares them with what was written: differences name the lighting field or light.
DownloadCheck CheckLighting(DeviceLink& link, int profile, const ProfileParamRecord& record,
                            const KeyColorTable* table);

// One message of a check that did not hold: what differs, or that the keyboard could not be read.
std::string DescribeFailedCheck(const DownloadCheck& check);

}  // namespace korvel
