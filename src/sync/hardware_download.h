#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "ports/prompts.h"
#include "ports/text_lookup.h"
#include "sync/download_check.h"

namespace korvel {

// What one download sent, for a caller that reports it (korvelctl's import prints it).
struct DownloadReport {
    bool sent = false;  // the command sequence was started
    std::uint32_t macroAreaBytes = 0;
    bool withNames = false;
    int profilesWritten = 0;     // key-table writes the keyboard accepted
    int lastKeyTableResult = 0;  // result code of the last key-table write
    // What reading it back found, when the download was read back.
    std::optional<DownloadCheck> check;
};

// Everything a download works with. The program builds one and keeps it for its lifetime.
struct DownloadParts {
    ConfigStore& store;
    DeviceLink& link;
    const KeyCodec& keyCodec;  // its DefaultKeyTable at the moment of the download is used
    Prompts& prompts;          // the two macro-capacity messages
    TextLookup texts;
    // Read back what was sent (DownloadConfiguration, and what calls it) into the report's check.
    bool verify = false;
};

// Sends ActiveConfig to the keyboard: the macro area, then the key table of onboard profiles
// 0, 1, 2 (allProfiles) or of the keyboard's active profile only: PlanDownload, then
// SendDownload. Answers 1 when the last key-table write succeeded, 0 otherwise.
//
// Macros that do not fit even without names: the refusal message, nothing sent, 0. Macros that
// fit only without names: sent without them, then the EXTRA_PROFILE_SPACE_TIGHT message. A
// one-profile download whose active profile cannot be read sends nothing and answers 0: no key
// table could be addressed, and a macro area without its key table would leave the keyboard's
// keys playing macros at positions that no longer hold them.
int DownloadConfiguration(DownloadParts& parts, bool allProfiles, DownloadReport* report = nullptr);

// What a download sends, built from ActiveConfig before anything goes to the keyboard: the macro
// area and the key tables of all three onboard profiles.
struct DownloadPlan {
    bool allProfiles = false;  // otherwise the keyboard's active profile only
    std::vector<std::uint8_t> macroArea;
    std::array<KeyTableBytes, kOnboardProfiles> tables{};
    std::uint32_t macroAreaBytes = 0;
    bool withNames = false;
    // The message for macros that fit only without their names, shown once the download is sent.
    std::u16string notice;
};

// Builds the plan under the editing and the active lock, without talking to the keyboard. None
// when ActiveConfig has no image or memory runs out, and, after the refusal message, when the
// macros do not fit even without names.
std::optional<DownloadPlan> PlanDownload(DownloadParts& parts, bool allProfiles);

// Reports a transfer of `plan` writes (DevBegin and DevEnd included).
int PlannedReports(const DownloadPlan& plan);

// The transfer: DevBegin, the macro area, the key tables, DevEnd; takes no configuration lock.
// `progress` hears reports done of reports planned. Answers 1 when the last key-table write
// succeeded; a one-profile plan whose active profile cannot be read sends nothing and answers 0.
int SendDownload(DeviceLink& link, const DownloadPlan& plan, DownloadReport* report = nullptr,
                 const std::function<void(int, int)>& progress = {});

// A whole apply in one call, for a caller that owns the keyboard's thread: StageConfig, then
// DownloadConfiguration. 0 without sending when nothing could be staged.
int StageAndDownload(DownloadParts& parts, bool allProfiles, DownloadReport* report = nullptr);

// The keyboard's macro capacity in bytes as the link knows it; none when it is not known.
std::optional<std::uint32_t> KnownMacroCapacity(const DeviceLink& link);

}  // namespace korvel
