#pragma once

#include <QDBusConnection>
#include <QObject>

namespace korvel {

// Follows whether the user is away, as the desktop tells it over D-Bus: the screen saver's
// ActiveChanged (the screen locked or blanked after the session went idle; the freedesktop and
// GNOME names) on the session bus, and logind's PrepareForSleep (before suspend, and after
// resume) on the system bus. Either bus may be missing: then that half is simply not followed.
//
// Threads: the GUI thread.
class SessionWatcher : public QObject {
    Q_OBJECT

public:
    SessionWatcher(QDBusConnection sessionBus, QDBusConnection systemBus,
                   QObject* parent = nullptr);

    // Whether the screen is locked or blanked, or the computer is going to sleep.
    bool Resting() const { return m_screenSaver || m_sleeping; }

signals:
    // Resting() changed.
    void restingChanged(bool resting);

private slots:
    void OnScreenSaver(bool active);
    void OnPrepareForSleep(bool sleeping);

private:
    void Update(bool& flag, bool value);

    bool m_screenSaver = false;
    bool m_sleeping = false;
};

}  // namespace korvel
