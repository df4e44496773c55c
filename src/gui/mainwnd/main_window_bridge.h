#pragma once

#include <QObject>
#include <atomic>

#include "ports/main_window_link.h"

namespace korvel {

class CKorvelDlg;

// The device threads' way into the main window: each call is carried to the GUI thread. The
// reload and keyboard-gone messages wait until the window has handled them; everything else is
// posted. Once the window is closing, calls are dropped so that no thread waits on a window that
// no longer answers.
class MainWindowBridge : public QObject, public MainWindowLink {
    Q_OBJECT

public:
    explicit MainWindowBridge(CKorvelDlg& window);

    void SendReloadFromKeyboard() override;
    void SendKeyboardGone() override;
    void PostOpenMainWindow() override;
    void HideMainWindow() override;
    bool IsReady() const override { return m_ready.load(); }
    void ShowTrayState(bool eventIcon, std::uint16_t icon) override;
    void StartLightingRefresh() override;

    void SetReady() { m_ready.store(true); }
    void SetClosing() { m_closing.store(true); }

private:
    template <typename Call>
    void Send(Call call);
    template <typename Call>
    void Post(Call call);

    CKorvelDlg& m_window;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_closing{false};
};

}  // namespace korvel
