#include "model/files/complete_backup.h"

#include <nlohmann/json.hpp>

#include <algorithm>

#include "model/lighting/key_color_table.h"

namespace korvel {
namespace {

using Json = nlohmann::ordered_json;

static_assert(kBackupKeyColorBytes == kKeyColorTableBytes);

constexpr char kDigits[] = "0123456789abcdef";

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Why a document is refused: the member's JSON path and what is wrong there.
struct Refusal {
    std::string text;
};

[[noreturn]] void Refuse(const std::string& where, const std::string& what) {
    throw Refusal{where + ": " + what};
}

// The object has every member of `required`.
void Require(const Json& object, const std::string& where,
             std::initializer_list<std::string_view> required) {
    if (!object.is_object()) {
        Refuse(where, "an object was expected");
    }
    for (const std::string_view name : required) {
        if (!object.contains(name)) {
            Refuse(where, "the member \"" + std::string(name) + "\" is missing");
        }
    }
}

// The object has every member of `required`, may have those of `optional`, and no other.
void ExpectMembers(const Json& object, const std::string& where,
                   std::initializer_list<std::string_view> required,
                   std::initializer_list<std::string_view> optional = {}) {
    Require(object, where, required);
    for (const auto& member : object.items()) {
        const std::string& name = member.key();
        const auto known = [&name](std::string_view n) { return n == name; };
        if (std::none_of(required.begin(), required.end(), known) &&
            std::none_of(optional.begin(), optional.end(), known)) {
            Refuse(where, "the member \"" + name + "\" is not part of this format");
        }
    }
}

int WholeNumber(const Json& value, const std::string& where, int low, int high) {
    if (!value.is_number_integer()) {
        Refuse(where, "a whole number was expected");
    }
    const auto number = value.get<std::int64_t>();
    if (number < low || number > high) {
        Refuse(where, "must be " + std::to_string(low) + ".." + std::to_string(high) + ", not " +
                          std::to_string(number));
    }
    return static_cast<int>(number);
}

// `size` bytes written as hexadecimal digits.
std::vector<std::uint8_t> Bytes(const Json& value, const std::string& where, std::size_t size) {
    if (!value.is_string()) {
        Refuse(where, "a string of hexadecimal digits was expected");
    }
    const auto& text = value.get_ref<const std::string&>();
    if (text.size() != size * 2) {
        Refuse(where, "must hold " + std::to_string(size) + " bytes (" + std::to_string(size * 2) +
                          " hexadecimal digits), not " + std::to_string(text.size()) + " digits");
    }
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            Refuse(where, "digit " + std::to_string(2 * i + (high < 0 ? 0 : 1)) +
                              " is not a hexadecimal digit");
        }
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bytes;
}

template <std::size_t N>
void Fill(std::array<std::uint8_t, N>& out, const Json& value, const std::string& where) {
    const std::vector<std::uint8_t> bytes = Bytes(value, where, N);
    std::copy(bytes.begin(), bytes.end(), out.begin());
}

CompleteBackup Parse(const Json& document) {
    // The kind and version first: a newer backup is refused as newer, whatever else it holds.
    Require(document, "$", {"format", "version"});
    if (document["format"] != std::string(kCompleteBackupFormat)) {
        Refuse("$.format", "this is not a keyboard backup of Korvel (\"" +
                               std::string(kCompleteBackupFormat) + "\" was expected)");
    }
    if (!document["version"].is_number_integer()) {
        Refuse("$.version", "a whole number was expected");
    }
    if (const auto version = document["version"].get<std::int64_t>();
        version != kCompleteBackupVersion) {
        Refuse("$.version", version > kCompleteBackupVersion
                                ? "the backup was made by a newer Korvel (format version " +
                                      std::to_string(version) + "); this one reads version " +
                                      std::to_string(kCompleteBackupVersion)
                                : "there is no format version " + std::to_string(version));
    }
    ExpectMembers(document, "$", {"format", "version", "activeProfile", "macroArea", "profiles"});

    CompleteBackup backup;
    backup.activeProfile =
        WholeNumber(document["activeProfile"], "$.activeProfile", 1, kOnboardProfiles) - 1;
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
    backup.macroArea = Bytes(area, "$.macroArea", areaBytes);

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
    } catch (const Refusal& refusal) {
        error = refusal.text;
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the backup";
    }
    return std::nullopt;
}

}  // namespace korvel
