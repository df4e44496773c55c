#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace korvel {

// A regular file opened for reading. A path that names anything else (a folder, a FIFO, a device)
// is refused without being opened, so that nothing waits for a writer or wakes a device; the type
// and the size are then those of the file opened, so that a file replaced meanwhile is read as
// the one that was opened.
class RegularFileReader {
public:
    enum class Status {
        Ok,
        Missing,
        Folder,
        NotRegularFile,  // a FIFO, socket or device
        Unreadable,      // it cannot be opened (no permission, ...)
    };

    explicit RegularFileReader(const std::filesystem::path& file);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    Status GetStatus() const { return m_status; }
    // The open file's size; 0 unless the file was opened.
    std::uint64_t Size() const { return m_size; }
    // Reads the next bytes.size() bytes; false when a read fails or the file ends sooner.
    bool ReadExactly(std::span<std::uint8_t> bytes);
    // Reads up to bytes.size() bytes, fewer only at the end of the file; none when a read fails.
    std::optional<std::size_t> Read(std::span<std::uint8_t> bytes);

private:
    int m_fd = -1;
    Status m_status = Status::Missing;
    std::uint64_t m_size = 0;
};

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

// Reads a whole regular file (RegularFileReader) of at most `maxBytes` bytes; a larger file is
// refused before it is read.
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
