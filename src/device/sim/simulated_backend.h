#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "device/sim/virtual_keyboard.h"

namespace korvel::sim {

// Report ids of the virtual keyboard's collections.
inline constexpr std::uint8_t kConsumerReportId = 3;

// The report descriptors of the virtual keyboard's three interfaces.
std::span<const std::uint8_t> BootKeyboardDescriptor();
std::span<const std::uint8_t> ConsumerControlDescriptor();  // report id 3, one 16-bit usage
std::span<const std::uint8_t> CommandDescriptor();          // 0xFF1C/0x92, report id 4, 63 bytes

// The virtual keyboard as the HID stack would show it: while plugged in, three interfaces of
// vendor 0x0C45 / product 0x5304 (a boot keyboard that cannot be opened for writing, the
// consumer-control collection that delivers the keyboard's events, and the command collection),
// plus any foreign devices a test adds. Each opened command interface has its own reply queue.
class SimulatedBackend : public HidBackend {
public:
    explicit SimulatedBackend(VirtualKeyboard& keyboard);

    bool Enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<HidConnection> Open(const std::string& path, bool forRead, bool forWrite,
                                        bool exclusive) override;
    bool Exists(const std::string& path) override;

    // Latency of every report on command interfaces opened from now on.
    void SetLatency(std::chrono::milliseconds latency);
    // The descriptor of command interfaces opened from now on, in place of CommandDescriptor():
    // a keyboard whose command collection declares other report ids.
    void SetCommandDescriptor(std::vector<std::uint8_t> descriptor);
    // Another device on the bus (its path need not name the keyboard), with its descriptor.
    void AddForeignDevice(const std::string& path, std::vector<std::uint8_t> descriptor,
                          HidAttributes attributes);
    // Makes Enumerate fail, as when the system cannot list its devices.
    void FailEnumeration(bool fail);
    // How many interfaces have been opened so far, and how many Exists checks were made.
    int OpenCount() const { return m_opens.load(); }
    int ExistsCount() const { return m_existsChecks.load(); }

    static const std::string kBootKeyboardPath;
    static const std::string kConsumerPath;
    static const std::string kCommandPath;

private:
    struct Foreign {
        std::string path;
        std::vector<std::uint8_t> descriptor;
        HidAttributes attributes;
    };

    VirtualKeyboard& m_keyboard;
    mutable std::mutex m_mutex;
    std::chrono::milliseconds m_latency{0};
    std::vector<std::uint8_t> m_commandDescriptor;
    std::vector<Foreign> m_foreign;
    bool m_failEnumeration = false;
    std::atomic<int> m_opens{0};
    std::atomic<int> m_existsChecks{0};
};

}  // namespace korvel::sim
