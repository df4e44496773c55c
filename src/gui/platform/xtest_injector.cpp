#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "gui/platform/input_injection.h"
#include "model/keys/evdev_key_codes.h"

namespace korvel {
namespace {

// The X server's keycodes are the kernel's key codes plus 8.
constexpr std::uint32_t kXkbKeycodeOffset = 8;

// Key events the X server takes as if they came from its keyboard; they reach the X programs
// (the focused window), not Wayland's or the console's.
class XTestInjector : public InputInjector {
public:
    explicit XTestInjector(Display* display) : m_display(display) {}
    ~XTestInjector() override { XCloseDisplay(m_display); }

    XTestInjector(const XTestInjector&) = delete;
    XTestInjector& operator=(const XTestInjector&) = delete;

    bool Key(ScanCode key, bool press) override {
        const std::uint32_t code = EvdevCodeOfScan(key);
        if (code == 0) {
            return false;
        }
        const bool sent = XTestFakeKeyEvent(m_display, code + kXkbKeycodeOffset,
                                            press ? True : False, CurrentTime) != 0;
        XFlush(m_display);
        return sent;
    }

private:
    // A connection of its own, used only by the thread that plays the keys.
    Display* m_display;
};

}  // namespace

std::unique_ptr<InputInjector> OpenXTestInjector(std::string& problem, const char* name) {
    Display* display = XOpenDisplay(name);
    if (display == nullptr) {
        problem = "no X display to send keys to";
        return nullptr;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        problem = "the X server has no XTest extension";
        return nullptr;
    }
    return std::make_unique<XTestInjector>(display);
}

}  // namespace korvel
