#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

enum class TransferResult {
    Done,      // the report moved; the count says how many bytes
    TimedOut,  // nothing moved within the time-out; the interface is still there
    Failed,    // an error: the interface has gone or cannot transfer
};

// One opened HID interface of a backend. It only moves bytes; HidDevice adds cancelling, report
// filtering and decoding, so every backend gets the same behaviour.
//
// Threads: one read and one write may run at the same time from different threads; the object
// is destroyed only when no transfer runs on it.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    virtual HidAttributes Attributes() const = 0;
    // The interface's report descriptor as the device declares it.
    virtual std::vector<std::uint8_t> ReportDescriptor() const = 0;

    // Both wait at most `timeoutMs` (0: only what is ready now; a write may also be given -1, no
    // limit). A returned transfer has finished: nothing is left pending on `buffer`.
    virtual TransferResult Write(const std::uint8_t* buffer, std::size_t length, std::size_t& count,
                                 int timeoutMs) = 0;
    virtual TransferResult Read(std::uint8_t* buffer, std::size_t length, std::size_t& count,
                                int timeoutMs) = 0;
};

// Where HID interfaces come from: the operating system's HID stack (hidapi) or the virtual
// keyboard. Paths carry "vid_XXXX" and "pid_XXXX" so that the keyboard can be recognised by its
// path alone.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // The paths of every HID interface present, in a stable order. False when the system cannot
    // be asked at all.
    virtual bool Enumerate(std::vector<std::string>& paths) = 0;

    // Opens one interface; null when it is gone or access is refused (a backend may refuse to
    // open an interface for writing that the system reserves, such as a boot keyboard).
    virtual std::unique_ptr<HidConnection> Open(const std::string& path, bool forRead,
                                                bool forWrite, bool exclusive) = 0;

    // Whether the interface at `path` is still there, without opening it for transfers.
    virtual bool Exists(const std::string& path) = 0;
};

}  // namespace korvel
