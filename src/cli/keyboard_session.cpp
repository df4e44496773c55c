#include "cli/keyboard_session.h"

#include <chrono>
#include <filesystem>
#include <optional>

#include "app/runtime_folder.h"
#include "base/file_lock.h"
#include "device/hid_device.h"
#include "device/keyboard_identity.h"
#include "device/tracing_channel.h"
#include "text/data_directory.h"

namespace korvel::cli {

struct KeyboardSession::Parts {
    // Opened here.
    struct Own {
        explicit Own(std::unique_ptr<KeyboardBus> openedBus)
            : bus(std::move(openedBus)), device(bus->Backend()) {}
        std::unique_ptr<FileLock> transaction;
        std::unique_ptr<KeyboardBus> bus;
        HidDevice device;
        std::optional<TracingChannel> tracing;
        DeviceLink link;
    };
    std::unique_ptr<Own> own;
    DeviceLink* link = nullptr;
};

std::unique_ptr<KeyboardSession> KeyboardSession::Borrow(DeviceLink& link) {
    auto parts = std::make_unique<Parts>();
    parts->link = &link;
    return std::unique_ptr<KeyboardSession>(new KeyboardSession(std::move(parts)));
}

std::unique_ptr<KeyboardSession> KeyboardSession::Open(const GlobalOptions& options,
                                                       std::ostream& traceOut, std::string& error) {
    // The virtual keyboard's state file is held by the bus itself; the real keyboard is shared
    // with every other program of this user through its transaction lock.
    std::unique_ptr<FileLock> transaction;
    if (!options.simulate) {
        std::string ignored;
        if (const auto runtime = UserRuntimeFolder(ignored)) {
            const auto place = MeetingPlaceOf(options, *runtime);
            transaction = FileLock::Acquire(place->lock, ThisProcessAsHolder("korvelctl"),
                                            kTransactionPatience, error);
            if (!transaction) {
                error = "the keyboard is in use: " + error;
                return nullptr;
            }
        }
    }
    auto bus = KeyboardBus::Open(options.Bus("korvelctl"), error);
    if (!bus) {
        return nullptr;
    }
    auto parts = std::make_unique<Parts>();
    parts->own = std::make_unique<Parts::Own>(std::move(bus));
    parts->own->transaction = std::move(transaction);
    Parts::Own& own = *parts->own;
    parts->link = &own.link;
    if (!own.device.Enumerate() ||
        !OpenNextKeyboardCollection(own.device, kCommandUsagePage, kCommandUsage, true)) {
        // A keyboard that is there but refused is told apart from one that is not there at all.
        std::error_code ignored;
        const auto program = std::filesystem::read_symlink("/proc/self/exe", ignored);
        error = own.bus->AccessProblem(UdevRuleOf(program.parent_path()));
        if (error.empty()) {
            error = KeyboardNotFoundMessage();
        }
        return nullptr;
    }
    own.device.ReleasePaths();
    ReportChannel* channel = &own.device;
    if (options.trace) {
        own.tracing.emplace(own.device,
                            [&traceOut](char direction, std::span<const std::uint8_t> report) {
                                traceOut << FormatTraceLine(direction, report) << '\n';
                            });
        channel = &*own.tracing;
    }
    own.link.Connect(*channel);
    return std::unique_ptr<KeyboardSession>(new KeyboardSession(std::move(parts)));
}

KeyboardSession::KeyboardSession(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}

KeyboardSession::~KeyboardSession() {
    if (m_parts->own) {
        m_parts->own->link.Disconnect();
        m_parts->own->device.Close();
    }
}

DeviceLink& KeyboardSession::Link() {
    return *m_parts->link;
}

bool KeyboardSession::Save(std::string& error) {
    return !m_parts->own || m_parts->own->bus->Save(error);
}

std::string KeyboardNotFoundMessage() {
    return "no keyboard found: looked for a HID interface of vendor 0x0C45, product 0x5304 or "
           "0x5004, with the command collection (usage page 0xFF1C, usage 0x92).\n"
           "If the keyboard is plugged in, this user may not be allowed to open it. On Linux, "
           "install the udev rule:\n"
           "  sudo cp resources/udev/70-korvel.rules /etc/udev/rules.d/\n"
           "  sudo udevadm control --reload && sudo udevadm trigger\n"
           "then plug the keyboard in again. To try korvelctl without a keyboard, add --simulate.";
}

}  // namespace korvel::cli
