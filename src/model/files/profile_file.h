#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "model/image/config_store.h"

namespace korvel {

// A profile file: the 32832-byte configuration image, macroCount macro records of 16512 bytes,
// then the string pool. Files carry the extension kvp.
inline constexpr std::u16string_view kProfileFileExtension = u"kvp";
inline constexpr std::u16string_view kProfileFileFilter = u"(*.kvp)|*.kvp|(*.*)|*.*||";
inline constexpr std::uint64_t kProfileFileSizeLimit = 0x100000000ull;  // 4 GB

inline constexpr std::string_view kProfileFormatErrorKey = "PROFILE_FORMAT_ERROR";
inline constexpr std::u16string_view kProfileFormatErrorMessage =
    u"wrong file format, revert to the default values: \n  %s";

// Whether a header describes a profile file the import accepts. The file's real size is not
// part of it: a file longer than its header says is still valid.
bool ProfileHeaderValid(const ConfigHeader& header);

// The import's check of a file, from its size and header alone.
enum class ProfileFileCheck {
    Valid,
    Missing,     // no such regular file
    WrongSize,   // 4 GB or larger, or shorter than the image
    BadHeader,   // the header fails: the one case the import names the file for
    Unreadable,  // it cannot be opened or read
    NoMemory,
};
ProfileFileCheck CheckProfileFile(const std::filesystem::path& path);

// What a profile file holds, parsed and checked for consistency but not yet placed anywhere.
struct ProfileContents {
    std::unique_ptr<ConfigImage> image;
    std::vector<MacroRecord> macros;
    StringSlotTable strings;  // texts of the type 3 and 6 entries, by global index
};

enum class ProfileReadError {
    None,
    Missing,         // no such file
    Folder,          // the path names a folder
    NotRegularFile,  // a FIFO, socket or device
    Unreadable,      // it cannot be opened or read
    Short,           // it ends before the image, its macros or its pool do
    Inconsistent,    // more than 100 macros, or a macro record over its limits
    NoMemory,
    JsonMistake,  // the file is the JSON form of a profile, with a mistake
};

// What is wrong with a file a read refused, in words a user reads ("the file cannot be read").
std::string_view ProfileReadErrorReason(ProfileReadError error);

// Reads a whole profile file. A file whose header announces more than it holds is refused as a
// whole, never half taken; a text whose offset lies outside the pool or has no terminator before
// the pool's end is left out.
// Only the part of the file that its header describes is read. The header itself is not judged;
// headerFails, when given, is set when the image could be read and its header fails
// ProfileHeaderValid (the import refuses such a file with the format message).
// A file may also be the JSON form of a profile (told apart by what it holds, not by its name);
// a mistake in it is a JsonMistake, with its JSON path and what is wrong there in `detail`.
std::optional<ProfileContents> ReadProfileFile(const std::filesystem::path& path,
                                               ProfileReadError* error = nullptr,
                                               bool* headerFails = nullptr,
                                               std::string* detail = nullptr);
std::optional<ProfileContents> ParseProfileBytes(std::span<const std::uint8_t> bytes,
                                                 ProfileReadError* error = nullptr);

// The bytes a save writes for EditingConfig: the header is brought up to date and the texts are
// packed, their offsets written into EditingConfig's entries. The caller holds the editing lock.
// Empty when EditingConfig has no image.
std::vector<std::uint8_t> SerializeEditingConfig(EditingHolder& editing);

// Makes contents EditingConfig's configuration, releasing the one it had. Takes the editing lock.
void PlaceProfileContents(ConfigStore& store, ProfileContents&& contents);

// Reads a file into EditingConfig. Nothing in EditingConfig changes unless the whole file could be
// read, so a damaged file never leaves a half-loaded configuration. Takes the editing lock.
bool LoadProfileFile(ConfigStore& store, const std::filesystem::path& path);

// Writes EditingConfig to path with ReplaceFile, so a failed save leaves the old file as it was.
// lockEditing false: the caller already holds the editing lock.
FileWriteResult SaveProfileFile(ConfigStore& store, bool lockEditing,
                                const std::filesystem::path& path);

// SaveProfileFile on the working file below documents, but only when that file already exists:
// none when there is no working file (nothing saved, nothing failed).
std::optional<FileWriteResult> SaveWorkingFile(ConfigStore& store, bool lockEditing,
                                               const std::filesystem::path& documents);

// A printf-style text with one %s, such as PROFILE_FORMAT_ERROR, filled with a path.
std::u16string FormatWithPath(std::u16string_view format, const std::filesystem::path& path);

}  // namespace korvel
