#include "sync/download_check.h"

#include <cstdio>

#include "base/text_encoding.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"
#include "sync/hardware_download.h"

namespace korvel {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    char digits[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%s%02x", text.empty() ? "" : " ", b);
        text += digits;
    }
    return text;
}

// The key at matrix position `position`: its name where the default table gives it one.
std::string KeyAt(int position, const KeyTableBytes& defaultTable, const KeyCodec& keyCodec) {
    const std::size_t at = static_cast<std::size_t>(position) * kKeyCodeBytes;
    const ScanCode sc =
        DeviceCodeToScan({defaultTable[at], defaultTable[at + 1], defaultTable[at + 2]});
    const std::u16string name = sc != 0 ? keyCodec.KeyNameOf(sc) : std::u16string();
    if (name.empty()) {
        return "matrix position " + std::to_string(position);
    }
    return "key " + Utf16ToUtf8(name) + " (matrix position " + std::to_string(position) + ")";
}

void Note(DownloadCheck& check, std::string difference) {
    ++check.differenceCount;
    if (check.differences.size() < DownloadCheck::kShownDifferences) {
        check.differences.push_back(std::move(difference));
    }
}

}  // namespace

DownloadCheck CheckDownload(DeviceLink& link, const DownloadPlan& plan, const KeyCodec& keyCodec) {
    DownloadCheck check;
    const KeyTableBytes defaultTable = keyCodec.DefaultKeyTable();
    std::vector<int> profiles;
    if (plan.allProfiles) {
        profiles = {0, 1, 2};
    } else if (const int active = DevGetActiveProfile(link);
               active >= 0 && active < kOnboardProfiles) {
        profiles = {active};
    } else {
        check.readFailed = true;
        return check;
    }
    std::vector<std::uint8_t> area(plan.macroArea.size());
    if (!area.empty() && DevReadMacroArea(link, area) != DEV_OK) {
        check.readFailed = true;
        return check;
    }
    for (std::size_t i = 0; i < area.size(); ++i) {
        if (area[i] != plan.macroArea[i]) {
            ++check.differingBytes;
            char text[96];
            std::snprintf(text, sizeof text,
                          "macro area, byte %zu of %zu: sent %02x, it holds %02x", i, area.size(),
                          plan.macroArea[i], area[i]);
            Note(check, text);
        }
    }
    for (const int p : profiles) {
        KeyTableBytes held{};
        if (DevReadKeyTable(link, held, p) != DEV_OK) {
            check.readFailed = true;
            return check;
        }
        const KeyTableBytes& sent = plan.tables[static_cast<std::size_t>(p)];
        for (int k = 0; k < kMatrixPositions; ++k) {
            const auto at = static_cast<std::size_t>(k) * kKeyCodeBytes;
            const std::span<const std::uint8_t> was(sent.data() + at, kKeyCodeBytes);
            const std::span<const std::uint8_t> is(held.data() + at, kKeyCodeBytes);
            int differing = 0;
            for (int b = 0; b < kKeyCodeBytes; ++b) {
                differing += was[static_cast<std::size_t>(b)] != is[static_cast<std::size_t>(b)];
            }
            if (differing != 0) {
                check.differingBytes += differing;
                Note(check, "profile " + std::to_string(p + 1) + ", " +
                                KeyAt(k, defaultTable, keyCodec) + ": sent " + Hex(was) +
                                ", it holds " + Hex(is));
            }
        }
    }
    return check;
}

std::string DescribeFailedCheck(const DownloadCheck& check) {
    if (check.readFailed) {
        return "the keyboard could not be read back, so whether it holds what was sent is not "
               "known";
    }
    std::string text = "the keyboard does not hold what was sent (" +
                       std::to_string(check.differingBytes) +
                       (check.differingBytes == 1 ? " byte differs):" : " bytes differ):");
    for (const std::string& difference : check.differences) {
        text += "\n  " + difference;
    }
    if (const std::size_t more =
            static_cast<std::size_t>(check.differenceCount) - check.differences.size();
        more > 0) {
        text += "\n  and " + std::to_string(more) + " more";
    }
    return text;
}

}  // namespace korvel
