#include "model/files/profile_locations.h"

#include <system_error>

#include "text/app_paths.h"

namespace korvel {

std::filesystem::path ProfileDirectory(const std::filesystem::path& documents) {
    return documents / kProfileFolderName;
}

bool EnsureProfileDirectory(const std::filesystem::path& documents, std::error_code* why) {
    // Only the program's own folder is made: a Documents folder that does not exist is a wrong
    // path, not a tree to create.
    std::error_code error;
    const auto fail = [why](std::error_code reason) {
        if (why != nullptr) {
            *why = reason ? reason : std::make_error_code(std::errc::not_a_directory);
        }
        return false;
    };
    if (documents.empty() || !std::filesystem::is_directory(documents, error)) {
        return fail(error ? error : std::make_error_code(std::errc::no_such_file_or_directory));
    }
    const std::filesystem::path directory = ProfileDirectory(documents);
    std::filesystem::create_directory(directory, error);
    if (error) {
        return fail(error);
    }
    return std::filesystem::is_directory(directory, error) || fail(error);
}

std::filesystem::path WorkingFile(const std::filesystem::path& documents) {
    return ProfileDirectory(documents) / "$Profile0";
}

std::filesystem::path LightingSettingsFile(const std::filesystem::path& documents) {
    return ProfileDirectory(documents) / kLightingSettingsFileName;
}

std::filesystem::path ProfileFilePath(const std::filesystem::path& folder,
                                      const std::filesystem::path& name) {
    std::filesystem::path path = folder / name;
    path += ".kvp";
    return path;
}

}  // namespace korvel
