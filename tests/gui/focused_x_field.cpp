#include "gui/focused_x_field.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

namespace korvel::test {

struct FocusedXField::Parts {
    Display* display = nullptr;
    Window window = 0;
    std::string text;
};

FocusedXField::FocusedXField(const std::string& display) : m_parts(std::make_unique<Parts>()) {
    Parts& p = *m_parts;
    p.display = XOpenDisplay(display.c_str());
    if (p.display == nullptr) {
        return;
    }
    const int screen = DefaultScreen(p.display);
    p.window =
        XCreateSimpleWindow(p.display, RootWindow(p.display, screen), 0, 0, 200, 40, 0, 0, 0);
    XSelectInput(p.display, p.window, KeyPressMask);
    XMapWindow(p.display, p.window);
    XSync(p.display, False);
    XSetInputFocus(p.display, p.window, RevertToParent, CurrentTime);
    XSync(p.display, False);
}

FocusedXField::~FocusedXField() {
    if (m_parts->display != nullptr) {
        XCloseDisplay(m_parts->display);
    }
}

std::string FocusedXField::WaitFor(const std::string& expected) {
    Parts& p = *m_parts;
    if (p.display == nullptr) {
        return "(no display)";
    }
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (p.text != expected && std::chrono::steady_clock::now() < limit) {
        while (XPending(p.display) > 0) {
            XEvent event;
            XNextEvent(p.display, &event);
            if (event.type == KeyPress) {
                char typed[8] = {};
                const int count = XLookupString(&event.xkey, typed, sizeof typed, nullptr, nullptr);
                p.text.append(typed, static_cast<std::size_t>(std::max(count, 0)));
            }
        }
        pollfd ready{ConnectionNumber(p.display), POLLIN, 0};
        ::poll(&ready, 1, 20);
    }
    return p.text;
}

}  // namespace korvel::test
