#pragma once

#include <QTimer>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/mainwnd/main_window_services.h"
#include "gui/platform/qt_translations.h"
#include "gui/platform/tray_icon_presenter.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"

class QLabel;

namespace korvel {

class ApplyController;
class ArrivalReload;
class CPngButton;
class CTrayIcon;
class ActiveWindowFollower;
class DesktopRemote;
class ProgramProfiles;
class DevicePresence;
class EditHistory;
class EditorLauncher;
class EventListener;
class FlipControls;
class GKeyPlayer;
class KeyGrid;
class KeyboardJobs;
class KeyboardService;
class LightingPanel;
class MainWindowBridge;
class ProfileBar;
class ProfileSwitcher;
class SettingsStore;
class SingleInstance;
class WindowDialogs;
class WindowParts;

// The main window: the keyboard view and the controls around it, wired to the keyboard service
// and the device threads. It lays out its skin, builds its views (keys, lighting panel, profile
// bar, flip keys) and controllers (apply, profile switching, the arrival's reload, editors, menu
// and dialogs), connects them, and takes the device threads' messages. It lives hidden in the
// background while the keyboard is away and is shown when it arrives, from the tray or by a
// second start.
class CKorvelDlg : public CBaseDialog {
    Q_OBJECT

public:
    explicit CKorvelDlg(MainWindowServices services, QWidget* parent = nullptr);
    ~CKorvelDlg() override;

    // Lays out the skin, builds the default configuration and starts the device threads. False
    // when the skin cannot be used; SkinError() names the file.
    bool Initialise();
    // Stops the keyboard service and the device threads (idempotent); the window then takes no
    // more of their messages.
    void Shutdown();
    bool IsReady() const;

    // The views.
    KeyGrid& Keys() { return *m_keyGrid; }
    ProfileBar& Profiles() { return *m_profileBar; }
    LightingPanel& Lighting() { return *m_lightingPanel; }
    FlipControls& Flip() { return *m_flip; }
    CPngButton* Control(int controlId) const;
    // The controllers.
    ApplyController& Applier() { return *m_applier; }
    ProfileSwitcher& Switcher() { return *m_switcher; }
    ArrivalReload& Reload() { return *m_reload; }
    EditorLauncher& Editors() { return *m_editors; }
    WindowDialogs& Dialogs() { return *m_dialogs; }
    EditHistory& History() { return *m_history; }
    DesktopRemote& Remote() { return *m_remote; }
    ProgramProfiles& Programs() { return *m_programs; }
    WindowParts& Parts() { return *m_parts; }

    const TrayState& Tray() const { return m_trayPresenter->State(); }
    CTrayIcon* TrayIcon() const { return m_trayIcon.get(); }
    DevicePresence& Presence() { return *m_presence; }
    // The keyboard's owner, and the window's jobs on it.
    KeyboardService& Service() { return *m_service; }
    KeyboardJobs& Jobs() { return *m_jobs; }
    // Whether a job of the window's has not come back yet.
    bool KeyboardBusy() const;

    // Messages of the device threads, a second start and the window itself.
    void OnReloadFromKeyboard();
    void OnKeyboardGone();
    void OnOpenMainWindow();
    void OnInitialised();
    void ShowTrayState(bool eventIcon, std::uint16_t icon);
    void OnLightingChangedOnKeyboard();
    void ExitProgram();
    // × and Exit: with edits not yet applied, asks first whether to apply them, discard them or
    // stay; then ExitProgram.
    void RequestExit();
    // A second start shows this window; "/Kill" ends the program.
    void FollowInstance(SingleInstance& instance);

    // Whether the window hides in the notification area; false where the desktop has none, and
    // the window is then minimised instead, so that it can always be reached.
    bool HidesInTray() const;
    // Cancel, OK, Escape and the window manager's close: into the tray, or minimised where there
    // is none (the first time saying why).
    void PutAway();
    void reject() override;
    // 0 Chinese, 1 English: the texts, captions, tips, names for assistive technology, the tray
    // tooltip and Qt's own dialogs and buttons follow at once; the choice is remembered. The
    // window's menu offers it.
    void SwitchLanguage(int language);

signals:
    // The program should end (Close, Exit, the kill message).
    void exitRequested();
    // The keyboard changed its lighting itself: what the panel shows must be read again.
    void lightingRefreshRequested();

private:
    struct StatePicture {
        QPixmap* surface;
        const char* file;
        // Where the picture is kept as its file, its faces decoded when first shown; null for
        // the normal faces, which are drawn into the background.
        std::shared_ptr<const LazyFaces>* lazy;
    };
    std::vector<StatePicture> StatePictures();
    bool LoadSurfaces();
    // Draws the normal faces into the background picture at their buttons' places.
    bool DrawNormalFaces();
    // Once every button is in place: where each normal face lies in the background (the atlas),
    // and the faces drawn there.
    bool PackButtonSurfaces();
    void LayOutBackdrops();
    void LayOutControls();
    CPngButton* AddControl(int controlId, const char* skinEntry);
    // The controllers, once the views are in place, and the controls' clicks wired to them.
    void BuildControllers();
    // Undo and redo: the history, what feeds it and its shortcuts.
    void ConnectHistory();
    void StartGKeyPlayer();
    QString TrayTooltip() const;
    void ConnectControls();
    void SetCaptions();
    // Names for assistive technology where a control shows its meaning only as a picture.
    void NameControlsForAssistance();
    void OnKeyClicked(int controlId);
    void ShowModified(bool modified);
    // Lights the Caps, Num and Scroll indicators as the desktop's lock keys stand.
    void ShowLockStates();

    MainWindowServices m_services;
    SettingsStore* m_settings = nullptr;
    std::unique_ptr<SettingsStore> m_ownSettings;
    SkinSurfaces m_surfaces;
    SkinSurfaces m_flipSurfaces;   // the flip layer: D1..D6 where F1..F4 are
    SkinSurfaces m_arrowSurfaces;  // Arrow.jpg in every state
    SkinSurfaces m_flipIndicatorSurfaces;
    std::map<int, CPngButton*> m_controls;
    QLabel* m_progress = nullptr;
    QString m_linkAddress;

    KeyGrid* m_keyGrid = nullptr;
    ProfileBar* m_profileBar = nullptr;
    LightingPanel* m_lightingPanel = nullptr;
    std::unique_ptr<WindowParts> m_parts;
    ApplyController* m_applier = nullptr;
    std::unique_ptr<EditorLauncher> m_editors;
    ProfileSwitcher* m_switcher = nullptr;
    ArrivalReload* m_reload = nullptr;
    WindowDialogs* m_dialogs = nullptr;
    EditHistory* m_history = nullptr;
    DesktopRemote* m_remote = nullptr;
    ProgramProfiles* m_programs = nullptr;
    ActiveWindowFollower* m_follower = nullptr;
    FlipControls* m_flip = nullptr;

    MainWindowBridge* m_bridge = nullptr;
    std::unique_ptr<KeyboardService> m_service;
    KeyboardJobs* m_jobs = nullptr;
    std::unique_ptr<EventListener> m_listener;
    std::unique_ptr<GKeyPlayer> m_gKeyPlayer;
    std::unique_ptr<DevicePresence> m_presence;
    std::unique_ptr<CTrayIcon> m_trayIcon;
    std::unique_ptr<TrayIconPresenter> m_trayPresenter;
    bool m_shutDown = false;
    // "/Start" on a desktop without a notification area: the first opening minimises.
    bool m_startMinimised = false;

    QTimer m_lockTimer;  // follows the lock keys while the window is shown
    bool m_lockStatesShown = false;
    QTimer m_lightingTimer;    // the keyboard changed its lighting itself
    QtTranslations m_qtTexts;  // Qt's own dialogs and buttons in the window's language
};

}  // namespace korvel
