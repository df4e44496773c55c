#include "sync/hardware_download.h"

#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/keys/key_table_codec.h"
#include "model/macros/macro_blob.h"

namespace korvel {

int DownloadConfiguration(DownloadParts& parts, bool allProfiles, DownloadReport* report) {
    DownloadReport ignored;
    DownloadReport& sent = report != nullptr ? *report : ignored;
    sent = {};
    ActiveHolder& active = parts.store.ActiveConfig();
    EditingHolder& editing = parts.store.EditingConfig();
    // Normally ApplyConfig holds both already; taking them here in the program's order keeps a
    // direct caller from ever taking them the other way round.
    auto editingLock = editing.Lock();
    auto activeLock = active.Lock();
    if (active.Image() == nullptr) {
        return 0;
    }

    const BlobForm form =
        ChooseBlobForm(active, static_cast<std::uint32_t>(std::max(parts.link.MacroCapacity(), 0)));
    if (form.outcome == BlobFormOutcome::Refused) {
        parts.prompts.ShowMessage(LocalisedOr(parts.texts, form.messageKey, form.message),
                                  MessageKind::Warning);
        return 0;
    }

    std::vector<int> profiles;
    if (allProfiles) {
        for (int p = 0; p < kOnboardProfiles; ++p) {
            profiles.push_back(p);
        }
    } else {
        const int activeProfile = DevGetActiveProfile(parts.link);
        if (activeProfile < 0 || activeProfile >= kOnboardProfiles) {
            return 0;
        }
        profiles.push_back(activeProfile);
    }

    std::optional<std::vector<std::uint8_t>> blob;
    std::vector<KeyTableBytes> tables;
    try {
        blob = BuildMacroBlob(active, form.size, form.withNames);
        if (!blob) {
            return 0;
        }
        // One copy for the whole download: the presence thread may replace the table meanwhile.
        const KeyTableBytes defaultTable = parts.keyCodec.DefaultKeyTable();
        const MacroPositionOf macroPosition = [&editing](std::uint16_t id) {
            return MacroIndexById(editing, id);
        };
        for (const int p : profiles) {
            tables.push_back(EncodeKeyTable(active.Image()->blocks[static_cast<std::size_t>(p)],
                                            defaultTable, macroPosition));
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }

    sent.sent = true;
    sent.macroAreaBytes = form.size;
    sent.withNames = form.withNames;
    // Each command runs whatever the one before answered; only the last key table decides.
    DevBegin(parts.link);
    DevWriteMacroArea(parts.link, *blob);
    int result = 0;
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        result = DevWriteKeyTable(parts.link, tables[i], profiles[i]);
        if (result == DEV_OK) {
            ++sent.profilesWritten;
        }
    }
    sent.lastKeyTableResult = result;
    DevEnd(parts.link);

    if (form.outcome == BlobFormOutcome::WithoutNames) {
        parts.prompts.ShowMessage(LocalisedOr(parts.texts, form.messageKey, form.message),
                                  MessageKind::Information);
    }
    return result == DEV_OK ? 1 : 0;
}

int DeviceDownload::Download(bool allProfiles) {
    return DownloadConfiguration(m_parts, allProfiles, &m_lastReport);
}

std::optional<std::uint32_t> DeviceDownload::MacroCapacity() const {
    const int capacity = m_parts.link.MacroCapacity();
    if (capacity <= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(capacity);
}

}  // namespace korvel
