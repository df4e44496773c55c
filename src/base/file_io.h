#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

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

// Reads a whole file of at most `maxBytes` bytes; a larger file is refused before it is read.
FileBytes ReadFileBytes(const std::filesystem::path& file, std::uintmax_t maxBytes);

// How a file replacement ended.
struct FileWriteResult {
    enum class Status {
        Ok,
        NotRegularFile,  // the target exists and is a device, folder, socket, ...: left alone
        Failed,          // `error` says why (no permission, no space, read-only, ...)
    };
    Status status = Status::Ok;
    std::error_code error;

    explicit operator bool() const { return status == Status::Ok; }
    // A short reason for a message, such as "No space left on device".
    std::string Reason() const;
};

// The one way every stored file is replaced: readers only ever see the old or the new contents,
// and a crash at any moment leaves one of the two. The bytes go to a new file with a unique name
// in the target's folder (two writers of one file never share it), are synced to the disk, take
// the target's permissions (and owner, where the process may set it), and the file is renamed
// over the target; the folder is synced so that the rename itself survives a power loss.
// A symbolic link is followed, so that the file it names is replaced (or created, when it does not
// exist yet), never the link. A target that exists but is not a regular file, or that the user may
// not write, is refused and left alone.
// On failure no temporary file is left behind.
FileWriteResult ReplaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
FileWriteResult ReplaceFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace korvel
