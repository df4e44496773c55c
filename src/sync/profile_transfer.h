#pragma once

#include <filesystem>
#include <optional>

#include "base/file_io.h"
#include "model/files/profile_file.h"
#include "model/image/config_store.h"
#include "ports/prompts.h"
#include "ports/text_lookup.h"
#include "sync/hardware_download.h"

namespace korvel {

inline constexpr std::string_view kImportFailedKey = "MAIN_PROMPT_INPORT";
inline constexpr std::u16string_view kImportFailedMessage = u"File format error, import failed! ";

// The import's check. 1: the header is valid. 0: no such file, 4 GB or larger, shorter than the
// image, or a header that fails (then the PROFILE_FORMAT_ERROR message naming the file has been
// shown). -2: the file cannot be opened; -3: memory runs out.
int ValidateProfileFile(const std::filesystem::path& path, Prompts& prompts,
                        const TextLookup& texts);

inline constexpr std::string_view kFileWriteFailedKey = "FILE_WRITE_FAILED";
inline constexpr std::u16string_view kFileWriteFailedMessage =
    u"The file could not be written; it is as it was before:\n  %s";

// The FILE_WRITE_FAILED message for a file that could not be replaced, naming it and the reason.
std::u16string FileWriteFailedText(const TextLookup& texts, const std::filesystem::path& file,
                                   const FileWriteResult& write);

// The import's check and read in one pass over the file (a profile file or its JSON form): its
// contents when it can be imported; none when not, after the PROFILE_FORMAT_ERROR message when
// its header fails. `detail`: where a JSON form has its mistake.
std::optional<ProfileContents> ReadImportableProfile(const std::filesystem::path& path,
                                                     Prompts& prompts, const TextLookup& texts,
                                                     ProfileReadError* error = nullptr,
                                                     std::string* detail = nullptr);

enum class ImportOutcome {
    Staged,          // loaded into EditingConfig and staged in ActiveConfig, ready to be sent
    Applied,         // loaded and downloaded
    DownloadFailed,  // loaded into EditingConfig, but not staged, or the keyboard did not take it
    Refused,         // the file is not a profile file; nothing changed
    NoRoom,          // the keyboard cannot hold the file's macros; nothing changed
};

enum class WorkingFileState {
    Saved,
    Absent,  // there is no working file to save
    Failed,  // it could not be written: workingFileWrite says why
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Refused;
    WorkingFileState workingFile = WorkingFileState::Absent;
    FileWriteResult workingFileWrite;
};

// The import without the keyboard: reads and checks the file once (the format message when its
// header fails), makes sure a keyboard of `macroCapacity` bytes can hold its macros (the
// download's refusal message when not; none: not checked), loads it into EditingConfig, saves the
// working file below documents and stages it (Staged). A file that cannot be used gives the
// MAIN_PROMPT_INPORT message followed by the file (as `shownAs` names it, when given) and what is
// wrong with it; a refused file changes neither EditingConfig nor the working file.
// Sending all three profiles, refreshing the key grid, telling the user about a working file that
// could not be written and clearing the modified state are the caller's part.
ImportResult ImportProfileFile(ConfigStore& store, std::optional<std::uint32_t> macroCapacity,
                               Prompts& prompts, const TextLookup& texts,
                               const std::filesystem::path& documents,
                               const std::filesystem::path& file,
                               const std::filesystem::path& shownAs = {});

// The import with its download, for a caller on the keyboard's thread: ImportProfileFile, then all
// three profiles sent (Applied or DownloadFailed); `report` tells what was sent.
ImportResult ImportAndDownload(DownloadParts& parts, const std::filesystem::path& documents,
                               const std::filesystem::path& file, DownloadReport* report = nullptr,
                               const std::filesystem::path& shownAs = {});

// The main window's export: EditingConfig, under its lock, to file.
FileWriteResult ExportProfileFile(ConfigStore& store, const std::filesystem::path& file);

}  // namespace korvel
