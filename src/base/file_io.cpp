#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace korvel {

namespace {

namespace fs = std::filesystem;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// A name in the target's folder that no other writer uses: the rename that follows must stay
// within one file system, and two writers (threads or processes) must never share a temporary
// file. The exclusive create below is what guarantees it; the name only makes collisions rare.
// Its length is fixed, so that a target whose own name has the longest length a folder allows
// still gets one.
fs::path TemporaryName(const fs::path& target, int attempt) {
    static std::atomic<std::uint64_t> counter{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t tag = now ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^
                              ((counter.fetch_add(1) + attempt) * 0x9E3779B97F4A7C15ULL);
    char name[32];
    std::snprintf(name, sizeof name, ".korvel-%016llx.tmp", static_cast<unsigned long long>(tag));
    fs::path candidate = target;
    candidate.replace_filename(name);
    return candidate;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Makes the folder's entry for a renamed file durable. Some file systems cannot sync a folder;
// the file is in place either way, so this never turns a finished replacement into a failure.
void SyncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file `path` names once the symbolic links at its end are followed, whether it exists or not:
// a link to a file not yet created names the file to create. A relative link points from the
// link's own folder.
bool FollowLinks(fs::path& path, std::error_code& error) {
    constexpr int kMaxLinks = 40;  // as many as the system follows before it gives up
    for (int followed = 0; followed < kMaxLinks; ++followed) {
        const fs::file_status status = fs::symlink_status(path, error);
        if (status.type() == fs::file_type::not_found) {
            error.clear();
            return true;
        }
        if (error) {
            return false;
        }
        if (!fs::is_symlink(status)) {
            return true;
        }
        const fs::path next = fs::read_symlink(path, error);
        if (error) {
            return false;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return false;
}

FileWriteResult Failure(std::error_code error) {
    return {FileWriteResult::Status::Failed, error};
}

}  // namespace

std::string FileWriteResult::Reason() const {
    switch (status) {
        case Status::Ok:
            return "";
        case Status::NotRegularFile:
            return "not a regular file";
        case Status::Failed:
            break;
    }
    return error.message();
}

namespace {

RegularFileReader::Status KindOf(const struct stat& info) {
    if (S_ISREG(info.st_mode)) {
        return RegularFileReader::Status::Ok;
    }
    return S_ISDIR(info.st_mode) ? RegularFileReader::Status::Folder
                                 : RegularFileReader::Status::NotRegularFile;
}

RegularFileReader::Status StatusOfError(int error) {
    return error == ENOENT || error == ENOTDIR ? RegularFileReader::Status::Missing
                                               : RegularFileReader::Status::Unreadable;
}

}  // namespace

RegularFileReader::RegularFileReader(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        m_status = StatusOfError(errno);
        return;
    }
    m_status = KindOf(info);
    if (m_status != Status::Ok) {
        return;
    }
    // Not blocking: should a FIFO have taken the file's place since, opening it does not wait for
    // a writer, and the check below refuses it.
    m_fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) {
        m_status = StatusOfError(errno);
        return;
    }
    if (::fstat(m_fd, &info) != 0) {
        m_status = Status::Unreadable;
    } else {
        m_status = KindOf(info);
    }
    if (m_status != Status::Ok) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
}

RegularFileReader::~RegularFileReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::optional<std::size_t> RegularFileReader::Read(std::span<std::uint8_t> bytes) {
    if (m_fd < 0) {
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(m_fd, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool RegularFileReader::ReadExactly(std::span<std::uint8_t> bytes) {
    const std::optional<std::size_t> got = Read(bytes);
    return got && *got == bytes.size();
}

FileBytes ReadFileBytes(const fs::path& file, std::uintmax_t maxBytes) {
    FileBytes result;
    RegularFileReader reader(file);
    switch (reader.GetStatus()) {
        case RegularFileReader::Status::Ok:
            break;
        case RegularFileReader::Status::Missing:
            result.status = FileReadStatus::Missing;
            return result;
        case RegularFileReader::Status::Folder:
        case RegularFileReader::Status::NotRegularFile:
        case RegularFileReader::Status::Unreadable:
            result.status = FileReadStatus::Unreadable;
            return result;
    }
    const std::uint64_t size = reader.Size();
    if (size > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    // Read up to one byte more than allowed, in case the file grows while it is read.
    result.bytes.resize(static_cast<std::size_t>(size + 1));
    const std::optional<std::size_t> got = reader.Read(
        std::span(reinterpret_cast<std::uint8_t*>(result.bytes.data()), result.bytes.size()));
    if (!got) {
        result = {FileReadStatus::Unreadable, {}};
        return result;
    }
    result.bytes.resize(*got);
    if (result.bytes.size() > maxBytes) {
        result = {FileReadStatus::TooLarge, {}};
        return result;
    }
    result.status = FileReadStatus::Ok;
    return result;
}

FileWriteResult ReplaceFile(const fs::path& file, std::span<const std::uint8_t> bytes) {
    if (file.empty() || !file.has_filename()) {
        return Failure(std::make_error_code(std::errc::invalid_argument));
    }
    std::error_code ec;
    fs::path target = file;
    if (!FollowLinks(target, ec)) {
        return Failure(ec);
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        return Failure(LastError());
    }
    // A link to "name/" names a folder, never a file to create.
    if (!exists && !target.has_filename()) {
        return Failure(std::make_error_code(std::errc::is_a_directory));
    }
    if (exists) {
        if (!S_ISREG(existing.st_mode)) {
            return {FileWriteResult::Status::NotRegularFile, {}};
        }
        // A file the user may not write stays as it is, although its folder would let a rename
        // replace it.
        if (::access(target.c_str(), W_OK) != 0) {
            return Failure(LastError());
        }
    }

    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = TemporaryName(target, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return Failure(LastError());
        }
    }
    if (fd < 0) {
        return Failure(std::make_error_code(std::errc::file_exists));
    }
    auto abandon = [&](std::error_code error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return Failure(error);
    };
    if (exists) {
        // Keep who may read the file: a private file must not become readable by everyone.
        // The owner can only be kept by a process allowed to give files away (root).
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            return abandon(LastError());
        }
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0 && errno != EPERM) {
            return abandon(LastError());
        }
    }
    if (!WriteAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
        return abandon(LastError());
    }
    if (::close(fd) != 0) {
        const std::error_code error = LastError();
        ::unlink(temporary.c_str());
        return Failure(error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const std::error_code error = LastError();
        ::unlink(temporary.c_str());
        return Failure(error);
    }
    SyncFolder(target.parent_path());
    return {};
}

FileWriteResult ReplaceFile(const fs::path& file, std::string_view bytes) {
    return ReplaceFile(
        file, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace korvel
