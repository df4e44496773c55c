#include "sync/keyboard_backup.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "device/command_report.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/files/backup_folder.h"
#include "model/files/profile_locations.h"
#include "model/lighting/effect_list.h"
#include "model/lighting/key_color_table.h"
#include "model/lighting/lighting_record.h"

namespace korvel {
namespace {

constexpr int kReportBytes = static_cast<int>(kReportDataBytes);
constexpr int kKeyTableReports = (kKeyTableBytes + kReportBytes - 1) / kReportBytes;

int MacroAreaReports(std::size_t bytes) {
    return static_cast<int>((bytes + kReportDataBytes - 1) / kReportDataBytes);
}

// The reports one whole pass over the keyboard's memory takes, so that progress can be shown.
int PlannedReports(std::size_t macroAreaBytes, bool keyColors) {
    return kOnboardProfiles * (kKeyTableReports + 1 + (keyColors ? kKeyColorChunks : 0)) +
           MacroAreaReports(macroAreaBytes);
}

// Counts reports as the steps of a transfer end.
class ProgressCount {
public:
    ProgressCount(const TransferProgress& progress, int planned)
        : m_progress(progress), m_planned(planned) {}
    void Add(int reports) {
        m_done += reports;
        if (m_progress) {
            m_progress(std::min(m_done, m_planned), m_planned);
        }
    }

private:
    const TransferProgress& m_progress;
    int m_planned;
    int m_done = 0;
};

// The information block's view of the keyboard: a backup fits it only when it has the same macro
// capacity and the same kind of lighting.
struct KeyboardKind {
    int activeProfile = 0;
    std::size_t macroCapacity = 0;
    bool keyColors = false;
};

std::optional<KeyboardKind> ReadKind(DeviceLink& link) {
    DeviceInfoBlock block;
    if (DevReadInfo(link, block) != DEV_OK) {
        return std::nullopt;
    }
    const int active = block.ActiveProfile();
    if (active < 0 || active >= kOnboardProfiles) {
        return std::nullopt;
    }
    link.SetActiveProfileCache(active);
    return KeyboardKind{active, static_cast<std::size_t>(block.MacroCapacityBytes()),
                        EffectList::Of(block).HasPerKeyColors()};
}

int ReadAreas(DeviceLink& link, CompleteBackup& backup, ProgressCount& count) {
    std::array<std::uint8_t, kReportDataBytes> reply{};
    for (int p = 0; p < kOnboardProfiles; ++p) {
        const auto at = static_cast<std::size_t>(p);
        if (const int result = DevReadKeyTable(link, backup.keyTables[at], p); result != DEV_OK) {
            return result;
        }
        count.Add(kKeyTableReports);
        if (const int result = DevReadParams(link, reply, kParamReadBytes,
                                             static_cast<std::uint16_t>(p * kParamRecordBytes));
            result != DEV_OK) {
            return result;
        }
        std::copy_n(reply.begin(), kParamRecordBytes, backup.lightingRecords[at].begin());
        count.Add(1);
        if (backup.keyColors) {
            KeyColorBytes& table = (*backup.keyColors)[at];
            for (int k = 0; k < kKeyColorChunks; ++k) {
                if (const int result =
                        DevReadKeyColors(link, reply, kKeyColorChunkBytes, k * kLedsPerChunk, p);
                    result != DEV_OK) {
                    return result;
                }
                std::copy_n(reply.begin(), kKeyColorChunkBytes,
                            table.begin() + static_cast<std::ptrdiff_t>(k) *
                                                static_cast<std::ptrdiff_t>(kKeyColorChunkBytes));
                count.Add(1);
            }
        }
    }
    const int result = DevReadMacroArea(link, backup.macroArea);
    count.Add(MacroAreaReports(backup.macroArea.size()));
    return result;
}

int WriteAreas(DeviceLink& link, const CompleteBackup& backup, ProgressCount& count) {
    for (int p = 0; p < kOnboardProfiles; ++p) {
        const auto at = static_cast<std::size_t>(p);
        if (const int result = DevWriteKeyTable(link, backup.keyTables[at], p); result != DEV_OK) {
            return result;
        }
        count.Add(kKeyTableReports);
        if (const int result = DevWriteParams(link, backup.lightingRecords[at],
                                              static_cast<std::uint16_t>(p * kParamRecordBytes));
            result != DEV_OK) {
            return result;
        }
        count.Add(1);
        if (backup.keyColors) {
            const std::span<const std::uint8_t> table = (*backup.keyColors)[at];
            for (int k = 0; k < kKeyColorChunks; ++k) {
                const std::span<const std::uint8_t> chunk = table.subspan(
                    static_cast<std::size_t>(k) * kKeyColorChunkBytes, kKeyColorChunkBytes);
                if (const int result = DevWriteKeyColors(link, chunk, k * kLedsPerChunk, p);
                    result != DEV_OK) {
                    return result;
                }
                count.Add(1);
            }
        }
    }
    const int result = DevWriteMacroArea(link, backup.macroArea);
    count.Add(MacroAreaReports(backup.macroArea.size()));
    return result;
}

// A backup's file in `folder`, not yet taken: a second one in the same second gets a number.
std::filesystem::path FreeBackupName(const std::filesystem::path& folder,
                                     std::chrono::system_clock::time_point now,
                                     std::string_view operation) {
    const std::string name = AutomaticBackupName(now, operation);
    std::filesystem::path file = folder / name;
    std::error_code ignored;
    for (int n = 2; std::filesystem::exists(file, ignored) && n < 1000; ++n) {
        const std::string stem = name.substr(0, name.size() - std::string_view(".json").size());
        file = folder / (stem + "_" + std::to_string(n) + ".json");
    }
    return file;
}

}  // namespace

std::optional<CompleteBackup> ReadCompleteBackup(DeviceLink& link,
                                                 const TransferProgress& progress) {
    try {
        const std::optional<KeyboardKind> kind = ReadKind(link);
        if (!kind) {
            return std::nullopt;
        }
        CompleteBackup backup;
        backup.activeProfile = kind->activeProfile;
        backup.macroArea.resize(kind->macroCapacity);
        if (kind->keyColors) {
            backup.keyColors.emplace();
        }
        ProgressCount count(progress, PlannedReports(kind->macroCapacity, kind->keyColors));
        if (DevSequence(link, [&] { return ReadAreas(link, backup, count); }) != DEV_OK) {
            return std::nullopt;
        }
        return backup;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

RestoreResult RestoreCompleteBackup(DeviceLink& link, const CompleteBackup& backup,
                                    const KeyCodec& keyCodec, const TransferProgress& progress) {
    RestoreResult outcome;
    const std::optional<KeyboardKind> kind = ReadKind(link);
    if (!kind) {
        outcome.outcome = RestoreOutcome::ReadFailed;
        return outcome;
    }
    if (kind->macroCapacity != backup.macroArea.size()) {
        outcome.outcome = RestoreOutcome::DoesNotFit;
        outcome.refusal =
            "the backup was made from a keyboard with " + std::to_string(backup.macroArea.size()) +
            " bytes of macro memory; this one has " + std::to_string(kind->macroCapacity);
        return outcome;
    }
    if (kind->keyColors != backup.keyColors.has_value()) {
        outcome.outcome = RestoreOutcome::DoesNotFit;
        outcome.refusal = kind->keyColors
                              ? "the backup was made from a keyboard without per-key colours; "
                                "this one has them"
                              : "the backup holds per-key colours; this keyboard has none";
        return outcome;
    }
    // Written, then read back: twice the reports of one pass.
    const int pass = PlannedReports(backup.macroArea.size(), backup.keyColors.has_value());
    const TransferProgress firstHalf = [&progress, pass](int done, int) {
        if (progress) {
            progress(done, 2 * pass);
        }
    };
    const TransferProgress secondHalf = [&progress, pass](int done, int) {
        if (progress) {
            progress(pass + done, 2 * pass);
        }
    };
    ProgressCount count(firstHalf, pass);
    outcome.result = DevSequence(link, [&] { return WriteAreas(link, backup, count); });
    if (outcome.result != DEV_OK) {
        outcome.outcome = RestoreOutcome::WriteFailed;
        return outcome;
    }
    if (kind->activeProfile != backup.activeProfile) {
        DevSetActiveProfile(link, backup.activeProfile);
    }
    const std::optional<CompleteBackup> held = ReadCompleteBackup(link, secondHalf);
    if (held) {
        outcome.check = CheckRestore(backup, *held, keyCodec);
    } else {
        outcome.check.readFailed = true;
    }
    outcome.outcome =
        outcome.check.Holds() ? RestoreOutcome::Restored : RestoreOutcome::CheckFailed;
    return outcome;
}

std::string DescribeRestore(const RestoreResult& result) {
    switch (result.outcome) {
        case RestoreOutcome::Restored:
            return {};
        case RestoreOutcome::DoesNotFit:
            return result.refusal + "; nothing was sent";
        case RestoreOutcome::ReadFailed:
            return "the keyboard could not be read; nothing was sent";
        case RestoreOutcome::WriteFailed:
            return "the keyboard did not take the backup (result " + std::to_string(result.result) +
                   "); it may hold part of it: restore the backup again";
        case RestoreOutcome::CheckFailed:
            return DescribeFailedCheck(result.check);
    }
    return {};
}

AutomaticBackupResult TakeAutomaticBackup(DeviceLink& link, const std::filesystem::path& documents,
                                          std::string_view operation,
                                          std::chrono::system_clock::time_point now) {
    AutomaticBackupResult taken;
    const std::optional<CompleteBackup> backup = ReadCompleteBackup(link);
    if (!backup) {
        taken.outcome = AutomaticBackupOutcome::KeyboardUnreadable;
        return taken;
    }
    const std::filesystem::path folder = BackupsFolder(documents);
    taken.outcome = AutomaticBackupOutcome::WriteFailed;
    taken.file = folder / AutomaticBackupName(now, operation);
    std::error_code error;
    if (!EnsureProfileDirectory(documents, &error)) {
        taken.write = {FileWriteResult::Status::Failed,
                       error ? error : std::make_error_code(std::errc::no_such_file_or_directory)};
        return taken;
    }
    std::filesystem::create_directory(folder, error);
    if (error) {
        taken.write = {FileWriteResult::Status::Failed, error};
        return taken;
    }
    taken.file = FreeBackupName(folder, now, operation);
    taken.write = WriteCompleteBackupFile(taken.file, *backup);
    if (!taken.write) {
        return taken;
    }
    taken.outcome = AutomaticBackupOutcome::Written;
    PruneAutomaticBackups(folder);
    return taken;
}

}  // namespace korvel
