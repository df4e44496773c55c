#include "device/sim/simulated_backend.h"

#include <algorithm>
#include <array>
#include <thread>

#include "device/keyboard_identity.h"
#include "device/sim/simulated_channel.h"

namespace korvel::sim {
namespace {

// clang-format off
// The standard boot keyboard: 8 modifier bits, a reserved byte, 6 key slots; 5 LED bits out.
constexpr std::array<std::uint8_t, 63> kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// Consumer control, report id 3: one 16-bit usage 0..0x7FFF, which also carries the vendor events.
constexpr std::array<std::uint8_t, 25> kConsumer = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x7F, 0x19, 0x00,
    0x2A, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};

// The command collection, report id 4: 63 bytes in, 63 bytes out.
constexpr std::array<std::uint8_t, 27> kCommand = {
    0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
// clang-format on

const HidAttributes kKeyboardAttributes{kKeyboardVendorId, kKeyboardProductId, 0x0105};

// Shared by the keyboard's three interfaces: alive while the keyboard stays plugged in since the
// interface was opened.
class KeyboardConnection : public HidConnection {
public:
    KeyboardConnection(VirtualKeyboard& keyboard, std::span<const std::uint8_t> descriptor)
        : m_keyboard(keyboard),
          m_generation(keyboard.PlugGeneration()),
          m_descriptor(descriptor.begin(), descriptor.end()) {}

    HidAttributes Attributes() const override { return kKeyboardAttributes; }
    std::vector<std::uint8_t> ReportDescriptor() const override { return m_descriptor; }

protected:
    bool Alive() const {
        return m_keyboard.IsPlugged() && m_keyboard.PlugGeneration() == m_generation;
    }
    TransferResult Waited(int timeoutMs) const {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return Alive() ? TransferResult::TimedOut : TransferResult::Failed;
    }

    VirtualKeyboard& m_keyboard;

private:
    std::uint64_t m_generation;
    std::vector<std::uint8_t> m_descriptor;
};

class BootKeyboardConnection : public KeyboardConnection {
public:
    explicit BootKeyboardConnection(VirtualKeyboard& keyboard)
        : KeyboardConnection(keyboard, kBootKeyboard) {}

    TransferResult Write(const std::uint8_t*, std::size_t, std::size_t& count, int) override {
        count = 0;
        return TransferResult::Failed;
    }
    TransferResult Read(std::uint8_t*, std::size_t, std::size_t& count, int timeoutMs) override {
        count = 0;  // nobody types on the virtual keyboard
        return Alive() ? Waited(timeoutMs) : TransferResult::Failed;
    }
};

class ConsumerConnection : public KeyboardConnection {
public:
    explicit ConsumerConnection(VirtualKeyboard& keyboard)
        : KeyboardConnection(keyboard, kConsumer) {}

    TransferResult Write(const std::uint8_t*, std::size_t, std::size_t& count, int) override {
        count = 0;
        return TransferResult::Failed;
    }
    TransferResult Read(std::uint8_t* buffer, std::size_t length, std::size_t& count,
                        int timeoutMs) override {
        count = 0;
        if (!Alive()) {
            return TransferResult::Failed;
        }
        const auto code = m_keyboard.WaitEvent(std::chrono::milliseconds(timeoutMs));
        if (!code) {
            return Alive() ? TransferResult::TimedOut : TransferResult::Failed;
        }
        const std::array<std::uint8_t, 3> report = {kConsumerReportId,
                                                    static_cast<std::uint8_t>(*code & 0xFF),
                                                    static_cast<std::uint8_t>(*code >> 8)};
        count = std::min(length, report.size());
        std::copy_n(report.begin(), count, buffer);
        return TransferResult::Done;
    }
};

class CommandConnection : public KeyboardConnection {
public:
    CommandConnection(VirtualKeyboard& keyboard, std::chrono::milliseconds latency,
                      std::span<const std::uint8_t> descriptor)
        : KeyboardConnection(keyboard, descriptor), m_channel(keyboard) {
        m_channel.SetLatency(latency);
    }

    TransferResult Write(const std::uint8_t* buffer, std::size_t length, std::size_t& count,
                         int timeoutMs) override {
        if (!Alive()) {
            count = 0;
            return TransferResult::Failed;
        }
        return Result(m_channel.WriteReport(buffer, length, &count, timeoutMs));
    }
    TransferResult Read(std::uint8_t* buffer, std::size_t length, std::size_t& count,
                        int timeoutMs) override {
        if (!Alive()) {
            count = 0;
            return TransferResult::Failed;
        }
        return Result(m_channel.ReadReport(buffer, length, &count, timeoutMs));
    }

private:
    TransferResult Result(bool done) const {
        if (done) {
            return TransferResult::Done;
        }
        return Alive() ? TransferResult::TimedOut : TransferResult::Failed;
    }

    SimulatedChannel m_channel;
};

class ForeignConnection : public HidConnection {
public:
    ForeignConnection(std::vector<std::uint8_t> descriptor, HidAttributes attributes)
        : m_descriptor(std::move(descriptor)), m_attributes(attributes) {}

    HidAttributes Attributes() const override { return m_attributes; }
    std::vector<std::uint8_t> ReportDescriptor() const override { return m_descriptor; }
    TransferResult Write(const std::uint8_t*, std::size_t, std::size_t& count, int) override {
        count = 0;
        return TransferResult::Failed;
    }
    TransferResult Read(std::uint8_t*, std::size_t, std::size_t& count, int timeoutMs) override {
        count = 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return TransferResult::TimedOut;
    }

private:
    std::vector<std::uint8_t> m_descriptor;
    HidAttributes m_attributes;
};

}  // namespace

const std::string SimulatedBackend::kBootKeyboardPath = "sim:keyboard&vid_0c45&pid_5304&mi_00";
const std::string SimulatedBackend::kConsumerPath = "sim:keyboard&vid_0c45&pid_5304&mi_01";
const std::string SimulatedBackend::kCommandPath = "sim:keyboard&vid_0c45&pid_5304&mi_02";

std::span<const std::uint8_t> BootKeyboardDescriptor() {
    return kBootKeyboard;
}
std::span<const std::uint8_t> ConsumerControlDescriptor() {
    return kConsumer;
}
std::span<const std::uint8_t> CommandDescriptor() {
    return kCommand;
}

SimulatedBackend::SimulatedBackend(VirtualKeyboard& keyboard) : m_keyboard(keyboard) {}

bool SimulatedBackend::Enumerate(std::vector<std::string>& paths) {
    std::lock_guard lock(m_mutex);
    if (m_failEnumeration) {
        return false;
    }
    paths.clear();
    for (const Foreign& device : m_foreign) {
        paths.push_back(device.path);
    }
    if (m_keyboard.IsPlugged()) {
        paths.push_back(kBootKeyboardPath);
        paths.push_back(kConsumerPath);
        paths.push_back(kCommandPath);
    }
    return true;
}

std::unique_ptr<HidConnection> SimulatedBackend::Open(const std::string& path, bool /*forRead*/,
                                                      bool forWrite, bool /*exclusive*/) {
    std::lock_guard lock(m_mutex);
    for (const Foreign& device : m_foreign) {
        if (device.path == path) {
            ++m_opens;
            return std::make_unique<ForeignConnection>(device.descriptor, device.attributes);
        }
    }
    if (!m_keyboard.IsPlugged()) {
        return nullptr;
    }
    if (path == kBootKeyboardPath) {
        // The system keeps keyboards to itself: they cannot be opened for writing.
        if (forWrite) {
            return nullptr;
        }
        ++m_opens;
        return std::make_unique<BootKeyboardConnection>(m_keyboard);
    }
    if (path == kConsumerPath) {
        ++m_opens;
        return std::make_unique<ConsumerConnection>(m_keyboard);
    }
    if (path == kCommandPath) {
        ++m_opens;
        const std::span<const std::uint8_t> descriptor =
            m_commandDescriptor.empty() ? std::span<const std::uint8_t>(kCommand)
                                        : std::span<const std::uint8_t>(m_commandDescriptor);
        return std::make_unique<CommandConnection>(m_keyboard, m_latency, descriptor);
    }
    return nullptr;
}

bool SimulatedBackend::Exists(const std::string& path) {
    ++m_existsChecks;
    std::lock_guard lock(m_mutex);
    for (const Foreign& device : m_foreign) {
        if (device.path == path) {
            return true;
        }
    }
    return m_keyboard.IsPlugged() &&
           (path == kBootKeyboardPath || path == kConsumerPath || path == kCommandPath);
}

void SimulatedBackend::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(m_mutex);
    m_latency = latency;
}

void SimulatedBackend::SetCommandDescriptor(std::vector<std::uint8_t> descriptor) {
    std::lock_guard lock(m_mutex);
    m_commandDescriptor = std::move(descriptor);
}

void SimulatedBackend::AddForeignDevice(const std::string& path,
                                        std::vector<std::uint8_t> descriptor,
                                        HidAttributes attributes) {
    std::lock_guard lock(m_mutex);
    m_foreign.push_back(Foreign{path, std::move(descriptor), attributes});
}

void SimulatedBackend::FailEnumeration(bool fail) {
    std::lock_guard lock(m_mutex);
    m_failEnumeration = fail;
}

}  // namespace korvel::sim
