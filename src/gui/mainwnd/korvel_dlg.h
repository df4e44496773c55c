#pragma once

#include <QTimer>
#include <map>
#include <memory>

#include "base/file_io.h"
#include "gui/mainwnd/main_window_services.h"
#include "gui/shell/tray_icon_presenter.h"
#include "gui/widgets/base_dialog.h"
#include "gui/widgets/skin_surfaces.h"
#include "ports/text_lookup.h"

class QLabel;

namespace korvel {

class CAboutDlg;
class CPngButton;
class CTrayIcon;
class SingleInstance;
class DevicePresence;
class EventListener;
class KeyGrid;
class LightingPanel;
class ProfileBar;
class MainWindowBridge;

// The main window: the keyboard view and the controls around it. It starts the device threads,
// takes their messages, and carries the modified state of the staged key assignments. It lives
// hidden in the background while the keyboard is away and is shown when it arrives, from the tray
// or by a second start.
class CKorvelDlg : public CBaseDialog {
    Q_OBJECT

public:
    explicit CKorvelDlg(MainWindowServices services, QWidget* parent = nullptr);
    ~CKorvelDlg() override;

    // Lays out the skin, builds the default configuration and starts the device threads. False
    // when the skin cannot be used; SkinError() names the file.
    bool Initialise();
    // Stops the device threads (idempotent); the window then takes no more of their messages.
    void Shutdown();

    void RefreshKeyGrid();
    void SetModified(bool modified);
    bool IsModified() const { return m_modified; }
    bool IsReady() const;
    bool Applying() const { return m_applying; }

    KeyGrid& Keys() { return *m_keyGrid; }
    ProfileBar& Profiles() { return *m_profileBar; }
    LightingPanel& Lighting() { return *m_lightingPanel; }
    CPngButton* Control(int controlId) const;
    const TrayState& Tray() const { return m_trayPresenter->State(); }
    CTrayIcon* TrayIcon() const { return m_trayIcon.get(); }
    DevicePresence& Presence() { return *m_presence; }

    // Messages of the device threads, a second start and the window itself.
    void OnReloadFromKeyboard();
    void OnKeyboardGone();
    void OnOpenMainWindow();
    void OnInitialised();
    void ShowTrayState(bool eventIcon, std::uint16_t icon);
    void OnLightingChangedOnKeyboard();
    void ExitProgram();
    void ShowAbout();

    // A second start shows this window; "/Kill" ends the program.
    void FollowInstance(SingleInstance& instance);

    // A key button was clicked: opens the key editor for it.
    void OpenKeyEditor(int controlId);

    // Saves the working file and downloads the edited configuration when something was modified,
    // with the progress picture running meanwhile; applyFinished tells the outcome.
    void Apply();

    // The menu's Import: loads a profile file, saves the working file and downloads all three
    // profiles. False when the file was refused or the keyboard did not take it.
    bool Import(const std::filesystem::path& file);

    // 0 Chinese, 1 English: the texts, captions, tips and tray tooltip follow at once.
    void SwitchLanguage(int language);

signals:
    void applyFinished(bool applied);
    // The program should end (Close, Exit, the kill message).
    void exitRequested();
    // The keyboard changed its lighting itself: what the panel shows must be read again.
    void lightingRefreshRequested();

private:
    bool LoadSurfaces();
    void LayOutControls();
    CPngButton* AddControl(int controlId, const char* skinEntry);
    void SetCaptions();
    void ShowMenu();
    void OnKeyClicked(int controlId);
    void StepProgress();
    void FinishApply(bool applied);
    int ActiveProfile();
    TextLookup Texts() const;
    // A stored file could not be replaced: says which and why (from any thread).
    void ShowWriteFailure(const std::filesystem::path& file, const FileWriteResult& write);
    std::u16string Caption(const char* key) const;

    MainWindowServices m_services;
    SkinSurfaces m_surfaces;
    std::map<int, CPngButton*> m_controls;
    KeyGrid* m_keyGrid = nullptr;
    ProfileBar* m_profileBar = nullptr;
    LightingPanel* m_lightingPanel = nullptr;
    MainWindowBridge* m_bridge = nullptr;
    std::unique_ptr<EventListener> m_listener;
    std::unique_ptr<DevicePresence> m_presence;
    std::unique_ptr<CTrayIcon> m_trayIcon;
    std::unique_ptr<TrayIconPresenter> m_trayPresenter;
    CAboutDlg* m_about = nullptr;
    QString m_linkAddress;
    bool m_modified = false;
    bool m_applying = false;
    bool m_shutDown = false;

    QLabel* m_progress = nullptr;
    QTimer m_progressTimer;  // timer 1050: steps the progress picture
    int m_progressFrame = 0;
    QTimer m_lightingTimer;  // timer 1051: the keyboard changed its lighting itself
};

}  // namespace korvel
