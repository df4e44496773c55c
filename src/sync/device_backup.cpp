#include "sync/device_backup.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "base/file_write.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/keys/key_table_codec.h"
#include "model/macros/macro_blob.h"

namespace korvel {
namespace {

constexpr std::u16string_view kNewMacroPrefixBuiltIn = u"Macro";

// The keyboard's macro area as far as its head says it goes, or none when a read fails. An area
// without the magic holds no macros.
std::optional<std::vector<std::uint8_t>> ReadMacroArea(DeviceLink& link) {
    std::array<std::uint8_t, kMacroBlobHeaderBytes> head{};
    if (DevReadMacroArea(link, head) != DEV_OK) {
        return std::nullopt;
    }
    if ((head[0] | head[1] << 8) != kMacroBlobMagic) {
        return std::vector<std::uint8_t>{};
    }
    std::size_t total = static_cast<std::size_t>(head[2] | head[3] << 8);
    // A damaged size must not send the reads past the area the keyboard has.
    if (const int capacity = link.MacroCapacity(); capacity > 0) {
        total = std::min(total, static_cast<std::size_t>(capacity));
    }
    total = std::max<std::size_t>(total, kMacroBlobHeaderBytes);
    std::vector<std::uint8_t> area(total);
    if (DevReadMacroArea(link, area) != DEV_OK) {
        return std::nullopt;
    }
    return area;
}

}  // namespace

bool BackupDeviceToFile(DeviceLink& link, const KeyCodec& keyCodec, const TextLookup& texts,
                        const std::filesystem::path& path) {
    const int activeProfile = DevGetActiveProfile(link);
    if (activeProfile < 0 || activeProfile > 3) {
        return false;
    }
    try {
        std::array<KeyTableBytes, kOnboardProfiles> tables{};
        for (int p = 0; p < kOnboardProfiles; ++p) {
            if (DevReadKeyTable(link, tables[static_cast<std::size_t>(p)], p) != DEV_OK) {
                return false;
            }
        }
        const auto area = ReadMacroArea(link);
        if (!area) {
            return false;
        }
        std::vector<MacroRecord> macros;
        if (!area->empty()) {
            macros = ParseMacroBlob(*area,
                                    LocalisedOr(texts, "MACRO_NEW_PREFIX", kNewMacroPrefixBuiltIn))
                         .records;
        }
        if (macros.size() > static_cast<std::size_t>(kMaxMacros)) {
            macros.resize(kMaxMacros);
        }

        std::unique_ptr<ConfigImage> image = CreateDefaultImage(0);
        if (!image) {
            return false;
        }
        const KeyTableBytes defaultTable = keyCodec.DefaultKeyTable();
        for (int p = 0; p < kOnboardProfiles; ++p) {
            DecodeKeyTable(tables[static_cast<std::size_t>(p)],
                           image->blocks[static_cast<std::size_t>(p)], defaultTable);
        }
        image->blocks[3] = ProfileBlock{};
        InitConfigHeader(*image, static_cast<std::uint16_t>(macros.size()), 0, 0);

        ByteWriter writer;
        WriteConfigImage(writer, *image);
        for (const MacroRecord& record : macros) {
            WriteMacroRecord(writer, record);
        }
        return WriteFileReplacing(path, writer.Bytes());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

ReloadOutcome ReloadFromDevice(ConfigStore& store, DeviceLink& link, const KeyCodec& keyCodec,
                               const TextLookup& texts, const std::filesystem::path& documents) {
    EnsureProfileDirectory(documents);
    const std::filesystem::path workingFile = WorkingFile(documents);
    EditingHolder& editing = store.EditingConfig();
    if (DevGetActiveProfile(link) >= 0 && BackupDeviceToFile(link, keyCodec, texts, workingFile)) {
        auto lock = editing.Lock();
        if (LoadProfileFile(store, workingFile)) {
            return ReloadOutcome::FromKeyboard;
        }
    }
    auto lock = editing.Lock();
    ReleaseEditingConfig(store);
    CreateDefaultConfig(store, {}, 0, true);
    return ReloadOutcome::Defaults;
}

}  // namespace korvel
