#pragma once

#include <QObject>

#include <cstdint>

#include "gui/platform/tray_state.h"

namespace korvel {

class CTrayIcon;

// The main window's ShowTrayState: the presence thread and the keyboard's status updates choose
// icons from their own threads, and the icon may be touched only on the GUI thread.
//
// Threads: ShowTrayState from any thread. On the GUI thread it acts at once; from another thread it
// is queued and returns at once, so a device thread never waits on a window that may itself be
// waiting for that thread to end. Queued requests act in the order they were made, and the choice
// between remembered and shown icons is made when they act, so it always matches what is shown.
class TrayIconPresenter : public QObject {
    Q_OBJECT
public:
    explicit TrayIconPresenter(CTrayIcon& tray, QObject* parent = nullptr);

    void ShowTrayState(bool eventIcon, std::uint16_t icon);

    // GUI thread only.
    const TrayState& State() const { return m_state; }

private:
    void Apply(bool eventIcon, std::uint16_t icon);

    CTrayIcon& m_tray;
    TrayState m_state;
};

}  // namespace korvel
