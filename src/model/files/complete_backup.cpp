#include "model/files/complete_backup.h"

#include <algorithm>

#include "model/files/json_checks.h"
#include "model/lighting/key_color_table.h"

namespace korvel {
namespace {

using json::ExpectMembers;
using json::Hex;
using json::Json;
using json::Refuse;

static_assert(kBackupKeyColorBytes == kKeyColorTableBytes);

template <std::size_t N>
void Fill(std::array<std::uint8_t, N>& out, const Json& value, const std::string& where) {
    const std::vector<std::uint8_t> bytes = json::HexBytes(value, where, N);
    std::copy(bytes.begin(), bytes.end(), out.begin());
}

CompleteBackup Parse(const Json& document) {
    json::CheckFormat(document, kCompleteBackupFormat, kCompleteBackupVersion, "a keyboard backup",
                      "the backup");
    ExpectMembers(document, "$", {"format", "version", "activeProfile", "macroArea", "profiles"});

    CompleteBackup backup;
    backup.activeProfile = static_cast<int>(
        json::WholeNumber(document["activeProfile"], "$.activeProfile", 1, kOnboardProfiles) - 1);
    const Json& area = document["macroArea"];
    if (!area.is_string() || area.get_ref<const std::string&>().size() % 2 != 0) {
        Refuse("$.macroArea", "a string of hexadecimal digits was expected");
    }
    const std::size_t areaBytes = area.get_ref<const std::string&>().size() / 2;
    if (areaBytes % kMacroCapacityUnit != 0 || areaBytes > 255u * kMacroCapacityUnit) {
        Refuse("$.macroArea", "a keyboard's macro area is a multiple of " +
                                  std::to_string(kMacroCapacityUnit) + " bytes up to " +
                                  std::to_string(255 * kMacroCapacityUnit) + ", not " +
                                  std::to_string(areaBytes));
    }
    backup.macroArea = json::HexBytes(area, "$.macroArea", areaBytes);

    const Json& profiles = document["profiles"];
    if (!profiles.is_array() || profiles.size() != kOnboardProfiles) {
        Refuse("$.profiles",
               "an array of " + std::to_string(kOnboardProfiles) + " profiles was expected");
    }
    std::array<KeyColorBytes, kOnboardProfiles> colors{};
    int withColors = 0;
    for (std::size_t p = 0; p < kOnboardProfiles; ++p) {
        const std::string where = "$.profiles[" + std::to_string(p) + "]";
        const Json& profile = profiles[p];
        ExpectMembers(profile, where, {"keyTable", "lighting"}, {"keyColors"});
        Fill(backup.keyTables[p], profile["keyTable"], where + ".keyTable");
        Fill(backup.lightingRecords[p], profile["lighting"], where + ".lighting");
        if (profile.contains("keyColors")) {
            Fill(colors[p], profile["keyColors"], where + ".keyColors");
            ++withColors;
        }
    }
    if (withColors != 0 && withColors != kOnboardProfiles) {
        Refuse("$.profiles", "either every profile has \"keyColors\" or none has");
    }
    if (withColors != 0) {
        backup.keyColors = colors;
    }
    return backup;
}

}  // namespace

std::string FormatCompleteBackup(const CompleteBackup& backup) {
    Json document;
    document["format"] = kCompleteBackupFormat;
    document["version"] = kCompleteBackupVersion;
    document["activeProfile"] = backup.activeProfile + 1;
    Json profiles = Json::array();
    for (std::size_t p = 0; p < kOnboardProfiles; ++p) {
        Json profile;
        profile["keyTable"] = Hex(backup.keyTables[p]);
        profile["lighting"] = Hex(backup.lightingRecords[p]);
        if (backup.keyColors) {
            profile["keyColors"] = Hex((*backup.keyColors)[p]);
        }
        profiles.push_back(std::move(profile));
    }
    document["profiles"] = std::move(profiles);
    document["macroArea"] = Hex(backup.macroArea);
    return document.dump(2) + '\n';
}

std::optional<CompleteBackup> ParseCompleteBackup(std::string_view text, std::string& error) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        error = "the file is not a JSON document (damaged or not a backup)";
        return std::nullopt;
    }
    try {
        return Parse(document);
    } catch (const json::Refusal& refusal) {
        error = refusal.text;
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the backup";
    }
    return std::nullopt;
}

}  // namespace korvel
