#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvel {

enum class FileReadStatus {
    Ok,
    Missing,
    Unreadable,  // exists but cannot be opened or read, or is not a regular file
    TooLarge,
};

struct FileBytes {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;
};

// Reads a whole file of at most `maxBytes` bytes.
FileBytes ReadFileBytes(const std::filesystem::path& file, std::uintmax_t maxBytes);

// Replaces `file` with `bytes` so that readers only ever see the old or the new contents: the bytes
// go to a new file in the same folder, which is then renamed over the target. An existing file
// that cannot be opened for writing is left alone (as a read-only file must be), and a symbolic
// link is followed so that the file it names is replaced, not the link. Returns false, leaving no
// temporary file behind, when anything fails.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace korvel
