#include "config/profile_transfer.h"

#include "config/profile_file.h"

namespace korvel {

ImportResult ImportProfileFile(ConfigStore& store, HardwareDownload& download, Prompts& prompts,
                               const TextLookup& texts, const std::filesystem::path& documents,
                               const std::filesystem::path& file) {
    ImportResult result;
    auto refuse = [&] {
        prompts.ShowMessage(LocalisedOr(texts, kImportFailedKey, kImportFailedMessage),
                            MessageKind::Error);
        return result;
    };
    if (ValidateProfileFile(file, prompts, texts) < 1) {
        return refuse();
    }
    auto lock = store.EditingConfig().Lock();
    // The load replaces EditingConfig only once the whole file has been read.
    if (!LoadProfileFile(store, file)) {
        return refuse();
    }
    result.workingFileSaved = SaveWorkingFile(store, false, documents);
    result.outcome = ApplyConfig(store, true, download) == 1 ? ImportOutcome::Applied
                                                             : ImportOutcome::DownloadFailed;
    return result;
}

bool ExportProfileFile(ConfigStore& store, const std::filesystem::path& file) {
    auto lock = store.EditingConfig().Lock();
    return SaveProfileFile(store, false, file);
}

}  // namespace korvel
