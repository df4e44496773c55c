#pragma once

#include <filesystem>

#include "model/image/config_store.h"
#include "sync/hardware_download.h"

namespace korvel {

inline constexpr std::string_view kImportFailedKey = "MAIN_PROMPT_INPORT";
inline constexpr std::u16string_view kImportFailedMessage = u"File format error, import failed! ";

// The import's check. 1: the header is valid. 0: no such file, 4 GB or larger, shorter than the
// image, or a header that fails (then the PROFILE_FORMAT_ERROR message naming the file has been
// shown). -2: the file cannot be opened; -3: memory runs out.
int ValidateProfileFile(const std::filesystem::path& path, Prompts& prompts,
                        const TextLookup& texts);

enum class ImportOutcome {
    Applied,         // loaded and downloaded
    DownloadFailed,  // loaded into EditingConfig, but the keyboard did not take it
    Refused,         // the file is not a profile file; EditingConfig is untouched
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Refused;
    bool workingFileSaved = false;
};

// The main window's import: checks the file (the format message when its header fails), loads it
// into EditingConfig, saves the working file below documents, and applies all three profiles
// through download. A file that cannot be used gives the MAIN_PROMPT_INPORT message and leaves
// EditingConfig as it was, also when the header passed but the file holds less than it says.
// Refreshing the key grid and clearing the modified state are the window's part.
ImportResult ImportProfileFile(ConfigStore& store, HardwareDownload& download, Prompts& prompts,
                               const TextLookup& texts, const std::filesystem::path& documents,
                               const std::filesystem::path& file);

// The main window's export: EditingConfig, under its lock, to file.
bool ExportProfileFile(ConfigStore& store, const std::filesystem::path& file);

}  // namespace korvel
