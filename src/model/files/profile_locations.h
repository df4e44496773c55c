#pragma once

#include <filesystem>
#include <span>
#include <system_error>

namespace korvel {

// Where profile files live. documents is the user's Documents folder, which the caller finds (the
// window asks the platform, korvelctl takes --documents); the core never looks for it itself.
std::filesystem::path ProfileDirectory(const std::filesystem::path& documents);
// Creates the profile directory in an existing Documents folder when it is missing; false when
// Documents does not exist or the folder cannot be made, with the reason in `why` when given (a
// write into the folder would only say that it does not exist).
bool EnsureProfileDirectory(const std::filesystem::path& documents, std::error_code* why = nullptr);
// The file that mirrors the keyboard: "$Profile0" in the profile directory, for all three
// onboard profiles at once.
std::filesystem::path WorkingFile(const std::filesystem::path& documents);
// deze.ini in the profile directory: the lighting panel's settings.
std::filesystem::path LightingSettingsFile(const std::filesystem::path& documents);
// folder + name + ".kvp", as the profile list stores it.
std::filesystem::path ProfileFilePath(const std::filesystem::path& folder,
                                      const std::filesystem::path& name);

}  // namespace korvel
