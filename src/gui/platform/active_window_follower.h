#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
struct _XDisplay;

namespace korvel {

// Follows the window in front on an X11 desktop: the window manager announces it in the root
// window's _NET_ACTIVE_WINDOW property, whose changes arrive as events (nothing is polled). The
// program in front is named by the window's class (WM_CLASS) and its process's executable
// (_NET_WM_PID). It keeps a connection of its own to the X server.
//
// Where there is no X server to ask (Wayland sessions show no other program's windows to an X
// client), Following() is false and nothing is announced: the program in front then comes from a
// compositor's script through the D-Bus service.
//
// Threads: the GUI thread.
class ActiveWindowFollower : public QObject {
    Q_OBJECT

public:
    // `display`: the X display to follow ("" for $DISPLAY).
    explicit ActiveWindowFollower(const QString& display = {}, QObject* parent = nullptr);
    ~ActiveWindowFollower() override;

    bool Following() const { return m_display != nullptr; }

signals:
    // Another window came to the front: its class (empty when it has none) and the name of its
    // process's executable (empty when it says no process or that is not on this computer).
    void programActivated(const QString& windowClass, const QString& executable);

private:
    void OnEvents();
    void AnnounceActive();

    _XDisplay* m_display = nullptr;
    unsigned long m_root = 0;
    unsigned long m_activeAtom = 0;
    unsigned long m_pidAtom = 0;
    unsigned long m_lastWindow = 0;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace korvel
