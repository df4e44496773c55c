#include "gui/platform/key_capture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "gui/platform/native_scan_codes.h"

namespace korvel {

KeyCapture::KeyCapture(QWidget* owner) : QObject(owner), m_owner(owner) {}

KeyCapture::~KeyCapture() {
    Stop();
}

void KeyCapture::Start() {
    if (m_running) {
        return;
    }
    m_running = true;
    qApp->installEventFilter(this);
    if (m_owner != nullptr && m_owner->isVisible()) {
        m_owner->grabKeyboard();
    }
}

void KeyCapture::Stop() {
    if (!m_running) {
        return;
    }
    m_running = false;
    qApp->removeEventFilter(this);
    if (m_owner != nullptr) {
        m_owner->releaseKeyboard();
    }
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return QObject::eventFilter(watched, event);
    }
    // Every key event reaches the filter once per widget on its way; only the first, aimed at a
    // window's focus, counts.
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const ScanCode sc = ScanCodeOfNativeKey(key->nativeScanCode(), CurrentNativeKeyNumbering());
    if (sc == 0 || MediaIndexOfScan(sc) >= 0) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        // Claimed, so that no shortcut of the window takes the key before it arrives here.
        event->accept();
        return true;
    }
    emit keyEvent(sc, type == QEvent::KeyRelease, key->isAutoRepeat());
    return true;
}

}  // namespace korvel
