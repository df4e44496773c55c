#include "sync/profile_transfer.h"

#include "base/text_encoding.h"
#include "model/files/profile_file.h"
#include "model/macros/macro_blob.h"

namespace korvel {
namespace {

// The PROFILE_FORMAT_ERROR message naming a file whose header fails.
void ShowFormatError(Prompts& prompts, const TextLookup& texts, const std::filesystem::path& path) {
    prompts.ShowMessage(
        FormatWithPath(LocalisedOr(texts, kProfileFormatErrorKey, kProfileFormatErrorMessage),
                       path),
        MessageKind::Error);
}

}  // namespace

int ValidateProfileFile(const std::filesystem::path& path, Prompts& prompts,
                        const TextLookup& texts) {
    switch (CheckProfileFile(path)) {
        case ProfileFileCheck::Valid:
            return 1;
        case ProfileFileCheck::BadHeader:
            ShowFormatError(prompts, texts, path);
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

std::u16string FileWriteFailedText(const TextLookup& texts, const std::filesystem::path& file,
                                   const FileWriteResult& write) {
    std::filesystem::path named = file;
    named += " (" + write.Reason() + ")";
    return FormatWithPath(LocalisedOr(texts, kFileWriteFailedKey, kFileWriteFailedMessage), named);
}

std::optional<ProfileContents> ReadImportableProfile(const std::filesystem::path& path,
                                                     Prompts& prompts, const TextLookup& texts,
                                                     ProfileReadError* error, std::string* detail) {
    bool headerFails = false;
    auto contents = ReadProfileFile(path, error, &headerFails, detail);
    if (headerFails) {
        ShowFormatError(prompts, texts, path);
        return std::nullopt;
    }
    return contents;
}

ImportResult ImportProfileFile(ConfigStore& store, std::optional<std::uint32_t> macroCapacity,
                               Prompts& prompts, const TextLookup& texts,
                               const std::filesystem::path& documents,
                               const std::filesystem::path& file,
                               const std::filesystem::path& shownAs) {
    ImportResult result;
    ProfileReadError error = ProfileReadError::None;
    std::string detail;
    auto contents = ReadImportableProfile(file, prompts, texts, &error, &detail);
    if (!contents) {
        // Which file, and what is wrong with it (a header that fails was named already).
        std::u16string text(LocalisedOr(texts, kImportFailedKey, kImportFailedMessage));
        if (error != ProfileReadError::None) {
            const std::string reason =
                detail.empty() ? std::string(ProfileReadErrorReason(error)) : detail;
            text += u"\n" + (shownAs.empty() ? file : shownAs).u16string() + u": " +
                    Utf8ToUtf16(reason);
        }
        prompts.ShowMessage(text, MessageKind::Error);
        return result;
    }
    // The download would refuse these macros; refusing now keeps the working file and what the
    // window holds as they were.
    if (macroCapacity) {
        const BlobForm form = ChooseBlobForm(MeasureMacros(contents->macros), *macroCapacity);
        if (form.outcome == BlobFormOutcome::Refused) {
            prompts.ShowMessage(LocalisedOr(texts, form.messageKey, form.message),
                                MessageKind::Warning);
            result.outcome = ImportOutcome::NoRoom;
            return result;
        }
    }
    auto lock = store.EditingConfig().Lock();
    PlaceProfileContents(store, std::move(*contents));
    if (const auto saved = SaveWorkingFile(store, false, documents)) {
        result.workingFile = *saved ? WorkingFileState::Saved : WorkingFileState::Failed;
        result.workingFileWrite = *saved;
    }
    result.outcome = StageConfig(store) ? ImportOutcome::Staged : ImportOutcome::DownloadFailed;
    return result;
}

ImportResult ImportAndDownload(DownloadParts& parts, const std::filesystem::path& documents,
                               const std::filesystem::path& file, DownloadReport* report,
                               const std::filesystem::path& shownAs) {
    if (report != nullptr) {
        *report = {};
    }
    ImportResult result = ImportProfileFile(parts.store, KnownMacroCapacity(parts.link),
                                            parts.prompts, parts.texts, documents, file, shownAs);
    if (result.outcome == ImportOutcome::Staged) {
        result.outcome = DownloadConfiguration(parts, true, report) == 1
                             ? ImportOutcome::Applied
                             : ImportOutcome::DownloadFailed;
    }
    return result;
}

FileWriteResult ExportProfileFile(ConfigStore& store, const std::filesystem::path& file) {
    auto lock = store.EditingConfig().Lock();
    return SaveProfileFile(store, false, file);
}

}  // namespace korvel
