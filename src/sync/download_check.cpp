#include "sync/download_check.h"

#include <algorithm>
#include <cstdio>

#include "base/text_encoding.h"
#include "device/command_report.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/complete_backup.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"
#include "model/lighting/key_color_table.h"
#include "model/lighting/lighting_record.h"
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

// Each key whose three bytes differ between the tables of profile `p`.
void CompareKeyTables(DownloadCheck& check, int p, const KeyTableBytes& sent,
                      const KeyTableBytes& held, const KeyTableBytes& defaultTable,
                      const KeyCodec& keyCodec) {
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

void CompareMacroAreas(DownloadCheck& check, std::span<const std::uint8_t> sent,
                       std::span<const std::uint8_t> held) {
    for (std::size_t i = 0; i < held.size() && i < sent.size(); ++i) {
        if (held[i] != sent[i]) {
            ++check.differingBytes;
            char text[96];
            std::snprintf(text, sizeof text,
                          "macro area, byte %zu of %zu: sent %02x, it holds %02x", i, held.size(),
                          sent[i], held[i]);
            Note(check, text);
        }
    }
}

// The lighting field a byte of the record belongs to.
std::string LightingFieldAt(int offset) {
    struct Field {
        int offset;
        int bytes;
        const char* name;
    };
    static constexpr Field kFields[] = {
        {kParamEffect, 1, "effect"},
        {kParamBrightness, 1, "brightness"},
        {kParamSpeed, 1, "speed"},
        {kParamDirection, 1, "direction"},
        {kParamMulticolor, 1, "multicolor"},
        {kParamEffectColor, 3, "effect colour"},
        {kParamBaseColor, 3, "base colour"},
        {kParamPaintColor, 3, "paint colour"},
        {kParamReportRate, 1, "report rate"},
        {kParamPaintTool, 1, "paint tool"},
        {kParamEffect17Color, 1, "effect-17 colour"},
    };
    for (const Field& field : kFields) {
        if (offset >= field.offset && offset < field.offset + field.bytes) {
            return field.name + std::string(" (byte ") + std::to_string(offset) + ")";
        }
    }
    return "byte " + std::to_string(offset);
}

// Each lighting byte of profile `p` that differs, by its field.
void CompareRecords(DownloadCheck& check, int p, std::span<const std::uint8_t> sent,
                    std::span<const std::uint8_t> held) {
    for (std::size_t b = 0; b < sent.size() && b < held.size(); ++b) {
        if (sent[b] != held[b]) {
            ++check.differingBytes;
            Note(check, "profile " + std::to_string(p + 1) + ", lighting " +
                            LightingFieldAt(static_cast<int>(b)) + ": sent " +
                            Hex(sent.subspan(b, 1)) + ", it holds " + Hex(held.subspan(b, 1)));
        }
    }
}

// Each light of profile `p` whose colour differs.
void CompareColors(DownloadCheck& check, int p, std::span<const std::uint8_t> sent,
                   std::span<const std::uint8_t> held) {
    for (int led = 0; led < kLedCount; ++led) {
        const auto first = static_cast<std::size_t>(led) * kColorBytes;
        const auto a = sent.subspan(first, kColorBytes);
        const auto b = held.subspan(first, kColorBytes);
        if (!std::equal(a.begin(), a.end(), b.begin())) {
            check.differingBytes += static_cast<int>(kColorBytes);
            Note(check, "profile " + std::to_string(p + 1) + ", colour of light " +
                            std::to_string(led) + ": sent " + Hex(a) + ", it holds " + Hex(b));
        }
    }
}

}  // namespace

DownloadCheck CheckLighting(DeviceLink& link, int profile, const ProfileParamRecord& record,
                            const KeyColorTable* table) {
    DownloadCheck check;
    std::array<std::uint8_t, kReportDataBytes> reply{};
    if (DevReadParams(link, reply, kParamReadBytes,
                      static_cast<std::uint16_t>(profile * kParamRecordBytes)) != DEV_OK) {
        check.readFailed = true;
        return check;
    }
    CompareRecords(check, profile, record.bytes,
                   std::span<const std::uint8_t>(reply).first(kParamRecordBytes));
    if (table != nullptr) {
        KeyColorTable held;
        for (int k = 0; k < kKeyColorChunks; ++k) {
            if (DevReadKeyColors(link, reply, kKeyColorChunkBytes, k * kLedsPerChunk, profile) !=
                DEV_OK) {
                check.readFailed = true;
                return check;
            }
            std::copy_n(reply.begin(), kKeyColorChunkBytes,
                        held.bytes.begin() + static_cast<std::ptrdiff_t>(k) *
                                                 static_cast<std::ptrdiff_t>(kKeyColorChunkBytes));
        }
        CompareColors(check, profile, table->bytes, held.bytes);
    }
    return check;
}

DownloadCheck CheckRestore(const CompleteBackup& sent, const CompleteBackup& held,
                           const KeyCodec& keyCodec) {
    DownloadCheck check;
    if (held.activeProfile != sent.activeProfile) {
        ++check.differingBytes;
        Note(check, "active profile: sent " + std::to_string(sent.activeProfile + 1) + ", it has " +
                        std::to_string(held.activeProfile + 1));
    }
    const KeyTableBytes defaultTable = keyCodec.DefaultKeyTable();
    for (int p = 0; p < kOnboardProfiles; ++p) {
        const auto at = static_cast<std::size_t>(p);
        CompareKeyTables(check, p, sent.keyTables[at], held.keyTables[at], defaultTable, keyCodec);
        CompareRecords(check, p, sent.lightingRecords[at], held.lightingRecords[at]);
        if (sent.keyColors && held.keyColors) {
            CompareColors(check, p, (*sent.keyColors)[at], (*held.keyColors)[at]);
        }
    }
    if (held.macroArea.size() != sent.macroArea.size()) {
        check.readFailed = true;
        return check;
    }
    CompareMacroAreas(check, sent.macroArea, held.macroArea);
    return check;
}

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
    CompareMacroAreas(check, plan.macroArea, area);
    for (const int p : profiles) {
        KeyTableBytes held{};
        if (DevReadKeyTable(link, held, p) != DEV_OK) {
            check.readFailed = true;
            return check;
        }
        CompareKeyTables(check, p, plan.tables[static_cast<std::size_t>(p)], held, defaultTable,
                         keyCodec);
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
