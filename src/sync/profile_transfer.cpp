#include "sync/profile_transfer.h"

#include "model/files/profile_file.h"

namespace korvel {

int ValidateProfileFile(const std::filesystem::path& path, Prompts& prompts,
                        const TextLookup& texts) {
    switch (CheckProfileFile(path)) {
        case ProfileFileCheck::Valid:
            return 1;
        case ProfileFileCheck::BadHeader:
            prompts.ShowMessage(
                FormatWithPath(
                    LocalisedOr(texts, kProfileFormatErrorKey, kProfileFormatErrorMessage), path),
                MessageKind::Error);
            return 0;
        case ProfileFileCheck::Missing:
        case ProfileFileCheck::WrongSize:
            return 0;
        case ProfileFileCheck::Unreadable:
            return -2;
        case ProfileFileCheck::NoMemory:
            return -3;
    }
    return 0;
}

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
