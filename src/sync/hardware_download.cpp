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

std::optional<DownloadPlan> PlanDownload(DownloadParts& parts, bool allProfiles) {
    ActiveHolder& active = parts.store.ActiveConfig();
    EditingHolder& editing = parts.store.EditingConfig();
    // Taken in the program's order (editing, then active), as every holder of both does.
    auto editingLock = editing.Lock();
    auto activeLock = active.Lock();
    if (active.Image() == nullptr) {
        return std::nullopt;
    }
    const BlobForm form =
        ChooseBlobForm(active, static_cast<std::uint32_t>(std::max(parts.link.MacroCapacity(), 0)));
    if (form.outcome == BlobFormOutcome::Refused) {
        parts.prompts.ShowMessage(LocalisedOr(parts.texts, form.messageKey, form.message),
                                  MessageKind::Warning);
        return std::nullopt;
    }
    DownloadPlan plan;
    plan.allProfiles = allProfiles;
    plan.withNames = form.withNames;
    plan.macroAreaBytes = form.size;
    try {
        auto blob = BuildMacroBlob(active, form.size, form.withNames);
        if (!blob) {
            return std::nullopt;
        }
        plan.macroArea = std::move(*blob);
        // One copy for the whole download: the presence thread may replace the table meanwhile.
        const KeyTableBytes defaultTable = parts.keyCodec.DefaultKeyTable();
        const MacroPositionOf macroPosition = [&editing](std::uint16_t id) {
            return MacroIndexById(editing, id);
        };
        for (int p = 0; p < kOnboardProfiles; ++p) {
            plan.tables[static_cast<std::size_t>(p)] = EncodeKeyTable(
                active.Image()->blocks[static_cast<std::size_t>(p)], defaultTable, macroPosition);
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (form.outcome == BlobFormOutcome::WithoutNames) {
        plan.notice = LocalisedOr(parts.texts, form.messageKey, form.message);
    }
    return plan;
}

namespace {

// Reports a write of `bytes` takes: 56 bytes of data each.
int ReportsFor(std::size_t bytes) {
    constexpr std::size_t kChunk = 56;
    return static_cast<int>((bytes + kChunk - 1) / kChunk);
}

}  // namespace

int PlannedReports(const DownloadPlan& plan) {
    const int tables = plan.allProfiles ? kOnboardProfiles : 1;
    return 2 + ReportsFor(plan.macroArea.size()) + ReportsFor(kKeyTableBytes) * tables;
}

int SendDownload(DeviceLink& link, const DownloadPlan& plan, DownloadReport* report,
                 const std::function<void(int, int)>& progress) {
    DownloadReport ignored;
    DownloadReport& sent = report != nullptr ? *report : ignored;
    sent = {};
    std::vector<int> profiles;
    if (plan.allProfiles) {
        for (int p = 0; p < kOnboardProfiles; ++p) {
            profiles.push_back(p);
        }
    } else {
        const int activeProfile = DevGetActiveProfile(link);
        if (activeProfile < 0 || activeProfile >= kOnboardProfiles) {
            return 0;
        }
        profiles.push_back(activeProfile);
    }
    const int planned = PlannedReports(plan);
    int done = 0;
    const auto advance = [&](int reports) {
        done += reports;
        if (progress) {
            progress(done, planned);
        }
    };
    sent.sent = true;
    sent.macroAreaBytes = plan.macroAreaBytes;
    sent.withNames = plan.withNames;
    // Each command runs whatever the one before answered; only the last key table decides.
    DevBegin(link);
    advance(1);
    DevWriteMacroArea(link, plan.macroArea);
    advance(ReportsFor(plan.macroArea.size()));
    int result = 0;
    for (const int p : profiles) {
        result = DevWriteKeyTable(link, plan.tables[static_cast<std::size_t>(p)], p);
        if (result == DEV_OK) {
            ++sent.profilesWritten;
        }
        advance(ReportsFor(kKeyTableBytes));
    }
    sent.lastKeyTableResult = result;
    DevEnd(link);
    advance(1);
    return result == DEV_OK ? 1 : 0;
}

int DownloadConfiguration(DownloadParts& parts, bool allProfiles, DownloadReport* report) {
    DownloadReport ignored;
    DownloadReport& sent = report != nullptr ? *report : ignored;
    sent = {};
    const std::optional<DownloadPlan> plan = PlanDownload(parts, allProfiles);
    if (!plan) {
        return 0;
    }
    const int result = SendDownload(parts.link, *plan, &sent);
    if (parts.verify && sent.sent) {
        sent.check = CheckDownload(parts.link, *plan, parts.keyCodec);
    }
    if (sent.sent && !plan->notice.empty()) {
        parts.prompts.ShowMessage(plan->notice, MessageKind::Information);
    }
    return result;
}

int StageAndDownload(DownloadParts& parts, bool allProfiles, DownloadReport* report) {
    if (report != nullptr) {
        *report = {};
    }
    if (!StageConfig(parts.store)) {
        return 0;
    }
    return DownloadConfiguration(parts, allProfiles, report);
}

std::optional<std::uint32_t> KnownMacroCapacity(const DeviceLink& link) {
    const int capacity = link.MacroCapacity();
    if (capacity <= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(capacity);
}

}  // namespace korvel
