#pragma once

#include <QObject>
#include <QPointer>

#include "model/keys/key_codes.h"

class QWidget;

namespace korvel {

// Takes the application's key events while it runs, for the single-key page and the macro
// recorders: each key event becomes a ScanCode (through the native scan-code table) and is
// reported, not delivered. Keys the table does not know and media keys pass on untouched. While it
// runs the keyboard is grabbed by the owner widget, so that neither the press nor the release of
// the Super and menu keys reaches the desktop; Stop (and the end of the owner or of the capture)
// releases the grab.
class KeyCapture : public QObject {
    Q_OBJECT

public:
    explicit KeyCapture(QWidget* owner);
    ~KeyCapture() override;

    void Start();
    void Stop();
    bool Running() const { return m_running; }

signals:
    // A key this program knows. Auto-repeated presses are reported with autoRepeat set.
    void keyEvent(ScanCode key, bool release, bool autoRepeat);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_owner;
    bool m_running = false;
};

}  // namespace korvel
