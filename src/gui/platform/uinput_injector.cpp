#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <cerrno>
#include <cstring>

#include "gui/platform/input_injection.h"
#include "model/keys/evdev_key_codes.h"

namespace korvel {
namespace {

// A keyboard of the kernel's own that presses the keys the program plays; every program (X11,
// Wayland, the console) reads it as it reads a real keyboard.
class UinputInjector : public InputInjector {
public:
    explicit UinputInjector(libevdev_uinput* device) : m_device(device) {}
    ~UinputInjector() override { libevdev_uinput_destroy(m_device); }

    UinputInjector(const UinputInjector&) = delete;
    UinputInjector& operator=(const UinputInjector&) = delete;

    bool Key(ScanCode key, bool press) override {
        const std::uint32_t code = EvdevCodeOfScan(key);
        if (code == 0) {
            return false;
        }
        return libevdev_uinput_write_event(m_device, EV_KEY, code, press ? 1 : 0) == 0 &&
               libevdev_uinput_write_event(m_device, EV_SYN, SYN_REPORT, 0) == 0;
    }

private:
    libevdev_uinput* m_device;
};

}  // namespace

std::unique_ptr<InputInjector> OpenUinputInjector(std::string& problem) {
    libevdev* description = libevdev_new();
    if (description == nullptr) {
        problem = "no memory for the virtual keyboard";
        return nullptr;
    }
    libevdev_set_name(description, "Korvel G keys");
    libevdev_enable_event_type(description, EV_KEY);
    for (ScanCode sc = 1; sc <= 0x1FF; ++sc) {
        if (const std::uint32_t code = EvdevCodeOfScan(sc); code != 0) {
            libevdev_enable_event_code(description, EV_KEY, code, nullptr);
        }
    }
    libevdev_uinput* device = nullptr;
    const int result =
        libevdev_uinput_create_from_device(description, LIBEVDEV_UINPUT_OPEN_MANAGED, &device);
    libevdev_free(description);
    if (result != 0) {
        problem = std::string("/dev/uinput cannot be opened for writing (") +
                  std::strerror(-result) + ")";
        return nullptr;
    }
    return std::make_unique<UinputInjector>(device);
}

}  // namespace korvel
