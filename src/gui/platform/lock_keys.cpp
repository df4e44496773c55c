#include "gui/platform/lock_keys.h"

#include <QGuiApplication>

#if __has_include(<X11/XKBlib.h>)
#include <X11/XKBlib.h>
#define KORVEL_HAVE_XKB 1
#endif

namespace korvel {

#ifdef KORVEL_HAVE_XKB
namespace {

std::optional<bool> IndicatorOn(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None) {
        return std::nullopt;
    }
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return std::nullopt;
    }
    return on != False;
}

}  // namespace

std::optional<LockStates> ReadLockStates() {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 == nullptr ? nullptr : x11->display();
    if (display == nullptr) {
        return std::nullopt;
    }
    const auto caps = IndicatorOn(display, "Caps Lock");
    const auto num = IndicatorOn(display, "Num Lock");
    const auto scroll = IndicatorOn(display, "Scroll Lock");
    if (!caps && !num && !scroll) {
        return std::nullopt;
    }
    return LockStates{caps.value_or(false), num.value_or(false), scroll.value_or(false)};
}
#else
std::optional<LockStates> ReadLockStates() {
    return std::nullopt;
}
#endif

}  // namespace korvel
