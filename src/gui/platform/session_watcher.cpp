#include "gui/platform/session_watcher.h"

namespace korvel {

SessionWatcher::SessionWatcher(QDBusConnection sessionBus, QDBusConnection systemBus,
                               QObject* parent)
    : QObject(parent) {
    // Any sender: the screen saver's service name differs between desktops.
    for (const char* interface : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"}) {
        sessionBus.connect(QString(), QString(), interface, "ActiveChanged", this,
                           SLOT(OnScreenSaver(bool)));
    }
    systemBus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                      "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                      SLOT(OnPrepareForSleep(bool)));
}

void SessionWatcher::OnScreenSaver(bool active) {
    Update(m_screenSaver, active);
}

void SessionWatcher::OnPrepareForSleep(bool sleeping) {
    Update(m_sleeping, sleeping);
}

void SessionWatcher::Update(bool& flag, bool value) {
    const bool before = Resting();
    flag = value;
    if (Resting() != before) {
        emit restingChanged(Resting());
    }
}

}  // namespace korvel
