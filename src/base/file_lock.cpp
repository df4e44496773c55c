#include "base/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <thread>

namespace korvel {
namespace {

constexpr std::chrono::milliseconds kRetryPause{20};

std::string HolderOf(int fd) {
    char text[256] = {};
    const ssize_t length = ::pread(fd, text, sizeof text - 1, 0);
    std::string holder(text, length > 0 ? static_cast<std::size_t>(length) : 0);
    // The holder's line; what may follow it is the end of an earlier, longer one not yet cut off.
    holder.resize(std::min(holder.find_first_of(std::string_view("\n\0", 2)), holder.size()));
    return holder;
}

}  // namespace

FileLock::~FileLock() {
    // Closing the descriptor releases the lock; the file stays for the next holder, since removing
    // it could let two processes lock two different files of the same name.
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::filesystem::path& lockFile,
                                            const std::string& holder,
                                            std::chrono::milliseconds patience,
                                            std::string& error) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EROFS || errno == EACCES)) {
        // Where no lock file can be made, nobody can replace the guarded file either: reading it
        // needs no lock, and a write would fail on its own with a clear reason.
        return std::unique_ptr<FileLock>(new FileLock(-1));
    }
    if (fd < 0) {
        error = "The lock file " + lockFile.string() +
                " cannot be opened: " + std::strerror(errno) + ".";
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        if ((reason != EWOULDBLOCK && reason != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            const std::string by = HolderOf(fd);
            error = lockFile.string() + " is held" + (by.empty() ? "" : " by " + by) +
                    (reason == EWOULDBLOCK ? "; try again when it has finished."
                                           : ": " + std::string(std::strerror(reason)) + ".");
            ::close(fd);
            return nullptr;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
    // The new name is written over the old one before the rest is cut off, so that a process
    // that waits reads a holder at every moment, never an emptied file.
    const std::string line = holder + "\n";
    if (::pwrite(fd, line.data(), line.size(), 0) == static_cast<ssize_t>(line.size())) {
        [[maybe_unused]] const int cut = ::ftruncate(fd, static_cast<off_t>(line.size()));
    }
    return std::unique_ptr<FileLock>(new FileLock(fd));
}

std::string ThisProcessAsHolder(const std::string& name) {
    return name + " (process " + std::to_string(::getpid()) + ")";
}

}  // namespace korvel
