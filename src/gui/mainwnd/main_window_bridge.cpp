#include "gui/mainwnd/main_window_bridge.h"

#include <QThread>

#include "gui/mainwnd/korvel_dlg.h"

namespace korvel {

MainWindowBridge::MainWindowBridge(CKorvelDlg& window) : QObject(&window), m_window(window) {}

template <typename Call>
void MainWindowBridge::Send(Call call) {
    if (m_closing.load()) {
        return;
    }
    if (QThread::currentThread() == thread()) {
        call();
    } else {
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
    }
}

template <typename Call>
void MainWindowBridge::Post(Call call) {
    if (!m_closing.load()) {
        QMetaObject::invokeMethod(this, call, Qt::QueuedConnection);
    }
}

void MainWindowBridge::SendReloadFromKeyboard() {
    Send([this] { m_window.OnReloadFromKeyboard(); });
}

void MainWindowBridge::SendKeyboardGone() {
    Send([this] { m_window.OnKeyboardGone(); });
}

void MainWindowBridge::PostOpenMainWindow() {
    Post([this] { m_window.OnOpenMainWindow(); });
}

void MainWindowBridge::HideMainWindow() {
    Post([this] { m_window.hide(); });
}

void MainWindowBridge::ShowTrayState(bool eventIcon, std::uint16_t icon) {
    Post([this, eventIcon, icon] { m_window.ShowTrayState(eventIcon, icon); });
}

void MainWindowBridge::StartLightingRefresh() {
    Post([this] { m_window.OnLightingChangedOnKeyboard(); });
}

}  // namespace korvel
