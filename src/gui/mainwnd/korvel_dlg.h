#pragma once

#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "gui/mainwnd/main_window_services.h"
#include "gui/platform/tray_icon_presenter.h"
#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"
#include "ports/text_lookup.h"

class QLabel;
class QMenu;

namespace korvel {

class CAboutDlg;
class CKorvel_DlgProfile;
class CKorvel_DlgUpdate;
class ProfileFileChooser;
class CKorvel_DlgMacro;
class Korvel_DlgComposite;
struct EditorHost;
class CPngButton;
class CTrayIcon;
class SingleInstance;
class DevicePresence;
class EventListener;
class KeyGrid;
class KeyboardJobs;
class KeyboardService;
class LightingPanel;
class ProfileBar;
class MainWindowBridge;
class SettingsStore;

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
    // The keyboard's owner, and the window's jobs on it.
    KeyboardService& Service() { return *m_service; }
    KeyboardJobs& Jobs() { return *m_jobs; }
    // Whether a job of the window's has not come back yet.
    bool KeyboardBusy() const;
    // The keyboard's setup is being read after its arrival: the window says so meanwhile.
    bool Reading() const { return m_reading; }
    // Asks the keyboard into its boot loader as a job; the continuation hears whether it went.
    void EnterBootLoader(std::function<void(bool)> done);
    // korvelctl changed the keyboard through this program (`command`: its first word): the window
    // shows the change as its own controls would have. `documents`: where the command kept its
    // working file.
    void FollowHandedOver(const std::string& command, const std::filesystem::path& documents);

    // Messages of the device threads, a second start and the window itself.
    void OnReloadFromKeyboard();
    void OnKeyboardGone();
    void OnOpenMainWindow();
    void OnInitialised();
    void ShowTrayState(bool eventIcon, std::uint16_t icon);
    void OnLightingChangedOnKeyboard();
    // True from a reload while hidden until the lighting has been read after the first frame.
    void ExitProgram();
    void ShowAbout();
    // The firmware update dialog, created on first use and kept, so that the chosen updater
    // survives closing it.
    void OpenUpdateDialog();
    CKorvel_DlgUpdate* UpdateDialog() const { return m_update; }

    // A second start shows this window; "/Kill" ends the program.
    void FollowInstance(SingleInstance& instance);

    // A key button was clicked: opens the key editor for it beside the button.
    void OpenKeyEditor(int controlId);
    // The "Macros" button: the macro editor. Both editors are built on first opening; until
    // then KeyEditor() and MacroEditor() are null.
    void OpenMacroEditor();
    Korvel_DlgComposite* KeyEditor() const { return m_keyEditor; }
    CKorvel_DlgMacro* MacroEditor() const { return m_macroEditor; }

    // Saves the working file and downloads the edited configuration when something was modified,
    // with the progress picture running meanwhile; applyFinished tells the outcome.
    void Apply();

    // The menu's Import: loads a profile file, saves the working file and downloads all three
    // profiles as a job. False when the file was refused at once; importFinished tells the rest.
    bool Import(const std::filesystem::path& file);

    // The menu's Export: EditingConfig to `file`, ".kvp" added when it has no extension. False
    // when the file could not be written.
    bool Export(const std::filesystem::path& file);

    // 0 Chinese, 1 English: the texts, captions, tips and tray tooltip follow at once.
    void SwitchLanguage(int language);

    // The profile bar.
    // Checks the button of the keyboard's active profile and makes it the panel's profile; an
    // unknown active profile changes nothing.
    void SyncProfileButtons();
    // Profile button 0..2: the panel shows that profile, and the keyboard switches to it.
    void OnProfileButton(int profile);
    // Report-rate button 0..3: written to the current profile's lighting at once.
    void OnReportRate(int index);
    // Asks, then clears the active profile's keys (and the lighting while the panel is on) and
    // downloads at once; a failed download is reported.
    void RestoreDefaults();
    // Flip mode: "0" or "1" in the settings store, shown by F1..F4 or D1..D6.
    int Flip() const;
    void ToggleFlip();
    void UpdateFlipControls();
    CPngButton* FlipKey(int n) const { return m_flipKeys[static_cast<std::size_t>(n - 1)]; }

    // Profile switching. Makes onboard profile `index` (3 and above: 0) the keyboard's active one,
    // asking first whether to save unsaved key edits; refused while an editor is open. A negative
    // index switches nothing but still refreshes. The switch is a job: false only when refused
    // here; when the keyboard does not switch, the window says so, keeps its configuration and
    // shows the profile read again. profileShown() follows the switch's end.
    bool SwitchProfile(int index);
    // The scene-mode menu and the scene-mode button's text and tooltip.
    void BuildSceneMenu();
    QMenu* SceneMenu() const { return m_sceneMenu; }
    // The profile manager, opened by the scene-mode button; it stays open until it is closed, the
    // keyboard goes or the program ends.
    void OpenProfileManager();
    CKorvel_DlgProfile* ProfileManager() const;
    // Runs a command of the scene-mode menu (9000: the default profile, 9001.. the profiles).
    void OnSceneCommand(int command);
    // Editors count themselves open while they run; a profile switch waits for them.
    void EditorOpened() { ++m_openEditors; }
    void EditorClosed() { --m_openEditors; }

signals:
    void applyFinished(bool applied);
    void importFinished(bool applied);
    // A reload from the keyboard (its arrival, a command of korvelctl) is shown.
    void reloaded();
    // A profile switch has ended: the window shows the keyboard's active profile (-1: unknown).
    void profileShown(int profile);
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
    void LayOutBackdrops();
    void LayOutControls();
    CPngButton* AddControl(int controlId, const char* skinEntry);
    void SetCaptions();
    void LayOutFlipControls();
    void ShowArrow(int toggleId);
    void ShowMenu();
    void ShowSceneMenu();
    void CloseProfileManager();
    void RedrawLighting();
    void SetLightingPanelOn();
    void ShowActiveProfile();
    void ApplyAndWait();
    SettingsStore& Settings() const { return *m_settings; }
    void OnKeyClicked(int controlId);
    // The editors' shared services and the F1 shortcut.
    void CreateEditorHost();
    // The editor, built and skinned on first use; null (after saying why) when its skin cannot be
    // used.
    template <typename Editor>
    Editor* EnsureEditor(Editor*& editor, WindowSkin skin);
    std::shared_ptr<const DialogSkin> SkinOf(WindowSkin dialog) const;
    bool EditorOpen() const;
    void StepProgress();
    // Frame 0..9 of the progress picture.
    void ShowProgressFrame(int frame);
    // EditingConfig from the working file, whatever it held.
    void LoadWorkingFile();
    // Once every button is in place: where each normal face lies in the background (the atlas),
    // and the faces drawn there.
    bool PackButtonSurfaces();
    // Lights the Caps, Num and Scroll indicators as the desktop's lock keys stand.
    void ShowLockStates();
    void FinishApply(bool applied);
    // Sends a download plan as a job; `done` hears whether the keyboard took it.
    void SendPlan(struct DownloadPlan plan, std::function<void(bool)> done);
    // The progress area: moving while the keyboard is busy, filling as a download goes.
    void ShowProgress(int done, int planned);
    void OnKeyboardBusy(bool busy);
    // While the keyboard's setup is read after its arrival, what would act on the setup is
    // disabled and the lighting area says why.
    void ShowReading(bool reading);
    // A job could not have the keyboard: another program held it.
    void ShowKeyboardHeld(const std::string& holder);
    // The texts a job needs, copied: a job must not read the window's table from its thread.
    TextLookup TextsFor(std::initializer_list<const char*> keys) const;
    int ActiveProfile();
    TextLookup Texts() const;
    // A stored file could not be replaced: says which and why (from any thread).
    void ShowWriteFailure(const std::filesystem::path& file, const FileWriteResult& write);
    std::u16string Caption(const char* key) const;

    MainWindowServices m_services;
    SettingsStore* m_settings = nullptr;
    std::unique_ptr<SettingsStore> m_ownSettings;
    SkinSurfaces m_surfaces;
    SkinSurfaces m_flipSurfaces;   // the flip layer: D1..D6 where F1..F4 are
    SkinSurfaces m_arrowSurfaces;  // Arrow.jpg in every state
    SkinSurfaces m_flipIndicatorSurfaces;
    std::array<CPngButton*, 6> m_flipKeys{};
    QMenu* m_sceneMenu = nullptr;
    QPointer<CKorvel_DlgProfile> m_profileManager;
    std::unique_ptr<ProfileFileChooser> m_ownProfileFiles;
    int m_openEditors = 0;
    bool m_savePromptShowing = false;
    std::map<int, CPngButton*> m_controls;
    KeyGrid* m_keyGrid = nullptr;
    ProfileBar* m_profileBar = nullptr;
    LightingPanel* m_lightingPanel = nullptr;
    MainWindowBridge* m_bridge = nullptr;
    std::unique_ptr<KeyboardService> m_service;
    KeyboardJobs* m_jobs = nullptr;
    std::unique_ptr<EventListener> m_listener;
    std::unique_ptr<DevicePresence> m_presence;
    std::unique_ptr<CTrayIcon> m_trayIcon;
    std::unique_ptr<TrayIconPresenter> m_trayPresenter;
    CAboutDlg* m_about = nullptr;
    std::unique_ptr<EditorHost> m_editorHost;
    Korvel_DlgComposite* m_keyEditor = nullptr;
    CKorvel_DlgMacro* m_macroEditor = nullptr;
    CKorvel_DlgUpdate* m_update = nullptr;
    QString m_linkAddress;
    bool m_modified = false;
    bool m_applying = false;
    bool m_shutDown = false;

    QLabel* m_progress = nullptr;
    QTimer m_progressTimer;  // timer 1050: steps the progress picture
    int m_progressFrame = 0;
    QTimer m_lockTimer;  // follows the lock keys while the window is shown
    bool m_lockStatesShown = false;
    bool m_reading = false;  // the arrival's reload has not been shown yet
    QLabel* m_readingLabel = nullptr;
    std::vector<QWidget*> m_disabledWhileReading;
    QTimer m_busyTimer;      // shows the progress area once a job takes long
    QTimer m_lightingTimer;  // timer 1051: the keyboard changed its lighting itself
};

}  // namespace korvel
