#include "text/data_directory.h"

#include <cstdlib>
#include <system_error>

namespace korvel {
namespace {

bool HasSkins(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder / "Skins", error);
}

std::filesystem::path InstalledDataOf(const std::filesystem::path& programDirectory) {
    return (programDirectory / ".." / "share" / "korvel").lexically_normal();
}

}  // namespace

bool IsInstalledLayout(const std::filesystem::path& programDirectory) {
    return !HasSkins(programDirectory) && HasSkins(InstalledDataOf(programDirectory));
}

std::filesystem::path DataDirectoryOf(const std::filesystem::path& programDirectory) {
    return IsInstalledLayout(programDirectory) ? InstalledDataOf(programDirectory)
                                               : programDirectory;
}

std::filesystem::path UdevRuleOf(const std::filesystem::path& programDirectory) {
    return DataDirectoryOf(programDirectory) / "udev" / "70-korvel.rules";
}

std::filesystem::path LanguageChoiceFileOf(const std::filesystem::path& programDirectory) {
    if (!IsInstalledLayout(programDirectory)) {
        return {};
    }
    const std::filesystem::path config = UserConfigFolder();
    return config.empty() ? config : config / "language.ini";
}

std::filesystem::path UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "Korvel_Tolvane";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".config" / "Korvel_Tolvane";
    }
    return {};
}

}  // namespace korvel
