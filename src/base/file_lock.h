#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace korvel {

// An exclusive lock between processes (and between threads that each take their own), held on a
// lock file for as long as the object lives. The holder writes who it is into the file, so that a
// process that cannot get the lock can say who has it. The lock ends with the process, also when
// it is killed, so no stale lock is ever left to clear by hand.
class FileLock {
public:
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to `patience` for the lock on `lockFile` (created when missing) and then writes
    // `holder` into it. Null when it cannot be had: `error` then names the file and, when known,
    // the holder. In a folder that cannot be written at all there is nothing to guard against,
    // and an empty lock is given.
    static std::unique_ptr<FileLock> Acquire(const std::filesystem::path& lockFile,
                                             const std::string& holder,
                                             std::chrono::milliseconds patience,
                                             std::string& error);

private:
    explicit FileLock(int fd) : m_fd(fd) {}
    int m_fd;
};

// "NAME (process PID)" for this process, as a lock holder.
std::string ThisProcessAsHolder(const std::string& name);

}  // namespace korvel
