#include "gui/platform/tray_icon_presenter.h"

#include <QThread>

#include "gui/platform/tray_icon.h"

namespace korvel {

TrayIconPresenter::TrayIconPresenter(CTrayIcon& tray, QObject* parent)
    : QObject(parent), m_tray(tray) {}

void TrayIconPresenter::ShowTrayState(bool eventIcon, std::uint16_t icon) {
    if (QThread::currentThread() == thread()) {
        Apply(eventIcon, icon);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, eventIcon, icon] { Apply(eventIcon, icon); }, Qt::QueuedConnection);
}

void TrayIconPresenter::Apply(bool eventIcon, std::uint16_t icon) {
    if (const auto shown = m_state.Show(eventIcon, icon)) {
        m_tray.SetIcon(*shown);
    }
}

}  // namespace korvel
