#include "sync/device_backup.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "base/file_io.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/keys/g_keys_kept.h"
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
    const std::optional<MacroAreaHeader> header = ReadMacroAreaHeader(head);
    if (!header) {
        return std::vector<std::uint8_t>{};
    }
    std::size_t total = header->totalSize;
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

// A profile file of an image and its macros, without strings (the keyboard keeps no programs or
// texts); the header is brought up to date.
std::vector<std::uint8_t> PoolFreeProfileBytes(ConfigImage& image,
                                               const std::vector<MacroRecord>& macros) {
    InitConfigHeader(image, static_cast<std::uint16_t>(macros.size()), 0, 0);
    ByteWriter writer;
    WriteConfigImage(writer, image);
    for (const MacroRecord& record : macros) {
        WriteMacroRecord(writer, record);
    }
    return writer.Take();
}

// What the keyboard holds, with the G-key assignments of the working file: the keyboard has no
// place for them, so they would otherwise be forgotten at every reload. Without a readable
// working file, the keyboard's bytes as they are.
std::vector<std::uint8_t> WithWorkingFileGKeys(const std::vector<std::uint8_t>& fromKeyboard,
                                               const std::filesystem::path& documents) {
    auto working = ReadProfileFile(WorkingFile(documents));
    auto read = ParseProfileBytes(fromKeyboard);
    if (!working || !working->image || !read || !read->image) {
        return fromKeyboard;
    }
    KeepGKeyAssignments(*working->image, working->macros, *read->image, read->macros);
    return PoolFreeProfileBytes(*read->image, read->macros);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadDeviceBackup(DeviceLink& link,
                                                          const KeyCodec& keyCodec,
                                                          const TextLookup& texts) {
    const int activeProfile = DevGetActiveProfile(link);
    if (activeProfile < 0 || activeProfile > 3) {
        return std::nullopt;
    }
    try {
        std::array<KeyTableBytes, kOnboardProfiles> tables{};
        for (int p = 0; p < kOnboardProfiles; ++p) {
            if (DevReadKeyTable(link, tables[static_cast<std::size_t>(p)], p) != DEV_OK) {
                return std::nullopt;
            }
        }
        const auto area = ReadMacroArea(link);
        if (!area) {
            return std::nullopt;
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
            return std::nullopt;
        }
        const KeyTableBytes defaultTable = keyCodec.DefaultKeyTable();
        for (int p = 0; p < kOnboardProfiles; ++p) {
            DecodeKeyTable(tables[static_cast<std::size_t>(p)],
                           image->blocks[static_cast<std::size_t>(p)], defaultTable);
        }
        image->blocks[3] = ProfileBlock{};
        return PoolFreeProfileBytes(*image, macros);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

BackupResult BackupDeviceToFile(DeviceLink& link, const KeyCodec& keyCodec, const TextLookup& texts,
                                const std::filesystem::path& path) {
    const auto bytes = ReadDeviceBackup(link, keyCodec, texts);
    if (!bytes) {
        return {BackupOutcome::ReadFailed, {}};
    }
    const FileWriteResult written = ReplaceFile(path, *bytes);
    return {written ? BackupOutcome::Written : BackupOutcome::WriteFailed, written};
}

ReloadOutcome ReloadFromDevice(ConfigStore& store, DeviceLink& link, const KeyCodec& keyCodec,
                               const TextLookup& texts, const std::filesystem::path& documents,
                               FileWriteResult* workingFileWrite) {
    // The keyboard is read before the editing lock is taken: editors wait only for the placing.
    return PlaceDeviceBackup(store, ReadDeviceBackup(link, keyCodec, texts), documents,
                             workingFileWrite);
}

ReloadOutcome PlaceDeviceBackup(ConfigStore& store,
                                const std::optional<std::vector<std::uint8_t>>& bytes,
                                const std::filesystem::path& documents,
                                FileWriteResult* workingFileWrite) {
    std::error_code folderError;
    const bool folder = EnsureProfileDirectory(documents, &folderError);
    if (bytes) {
        const std::vector<std::uint8_t> placed = WithWorkingFileGKeys(*bytes, documents);
        // What the keyboard holds is loaded whether or not the working file can take it: the
        // window must never show (and a later Apply never send) defaults in place of the
        // keyboard's real setup only because the Documents folder is full or read-only. A folder
        // that could not be made is the cause to name, not the missing file it leads to.
        const FileWriteResult written =
            folder ? ReplaceFile(WorkingFile(documents), placed)
                   : FileWriteResult{FileWriteResult::Status::Failed, folderError};
        if (workingFileWrite != nullptr) {
            *workingFileWrite = written;
        }
        if (auto contents = ParseProfileBytes(placed)) {
            PlaceProfileContents(store, std::move(*contents));
            return written ? ReloadOutcome::FromKeyboard : ReloadOutcome::FromKeyboardUnsaved;
        }
    }
    auto lock = store.EditingConfig().Lock();
    ReleaseEditingConfig(store);
    CreateDefaultConfig(store, {}, 0, true);
    return ReloadOutcome::Defaults;
}

}  // namespace korvel
