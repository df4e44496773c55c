#include "gui/platform/active_window_follower.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <QSocketNotifier>

#include <filesystem>

namespace korvel {
namespace {

// One window-sized property of the window: _NET_ACTIVE_WINDOW of the root, _NET_WM_PID.
std::optional<unsigned long> CardinalProperty(Display* display, Window window, Atom property,
                                              Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format,
                           &count, &after, &data) != Success ||
        data == nullptr) {
        return std::nullopt;
    }
    std::optional<unsigned long> value;
    if (format == 32 && count == 1) {
        value = *reinterpret_cast<unsigned long*>(data);
    }
    XFree(data);
    return value;
}

// A BadWindow from a window that closed between the event and the question is expected.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

ActiveWindowFollower::ActiveWindowFollower(const QString& display, QObject* parent)
    : QObject(parent) {
    const QByteArray name = display.toLocal8Bit();
    m_display = XOpenDisplay(display.isEmpty() ? nullptr : name.constData());
    if (m_display == nullptr) {
        return;
    }
    XSetErrorHandler(IgnoreErrors);
    m_root = DefaultRootWindow(m_display);
    m_activeAtom = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
    m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    XSelectInput(m_display, m_root, PropertyChangeMask);
    XFlush(m_display);
    m_notifier = new QSocketNotifier(ConnectionNumber(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ActiveWindowFollower::OnEvents);
}

ActiveWindowFollower::~ActiveWindowFollower() {
    if (m_display != nullptr) {
        delete m_notifier;
        XCloseDisplay(m_display);
    }
}

void ActiveWindowFollower::OnEvents() {
    bool changed = false;
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        changed = changed || (event.type == PropertyNotify &&
                              event.xproperty.atom == static_cast<Atom>(m_activeAtom));
    }
    if (changed) {
        AnnounceActive();
    }
}

void ActiveWindowFollower::AnnounceActive() {
    const std::optional<unsigned long> window =
        CardinalProperty(m_display, m_root, m_activeAtom, XA_WINDOW);
    if (!window || *window == None || *window == m_lastWindow) {
        return;
    }
    m_lastWindow = *window;
    QString windowClass;
    XClassHint hint{};
    if (XGetClassHint(m_display, *window, &hint) != 0) {
        windowClass = QString::fromLocal8Bit(hint.res_class);
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    QString executable;
    if (const auto pid = CardinalProperty(m_display, *window, m_pidAtom, XA_CARDINAL)) {
        std::error_code error;
        const std::filesystem::path exe =
            std::filesystem::read_symlink("/proc/" + std::to_string(*pid) + "/exe", error);
        if (!error) {
            executable = QString::fromStdString(exe.filename().string());
        }
    }
    emit programActivated(windowClass, executable);
}

}  // namespace korvel
