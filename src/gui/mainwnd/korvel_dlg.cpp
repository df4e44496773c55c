#include "gui/mainwnd/korvel_dlg.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QShortcut>

#include "base/text_encoding.h"
#include "device/device_link.h"
#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/arrival_reload.h"
#include "gui/mainwnd/desktop_remote.h"
#include "gui/mainwnd/edit_history.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/flip_controls.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_bridge.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/no_tray_notice.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/program_profiles.h"
#include "gui/mainwnd/window_dialogs.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/mainwnd/window_tab_order.h"
#include "gui/platform/active_window_follower.h"
#include "gui/platform/launchers.h"
#include "gui/platform/single_instance.h"
#include "gui/platform/tray_icon.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/g_key_play.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_texts_from_table.h"
#include "ports/prompts.h"
#include "ports/settings_store.h"
#include "sync/g_key_player.h"
#include "sync/keyboard_service.h"
#include "text/text_table.h"

namespace korvel {
namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// The skin's labels of the lighting panel and the profile bar in the language chosen.
QString LabelSection(int language) {
    return language == 0   ? QStringLiteral("Control_Name")
           : language == 1 ? QStringLiteral("Control_Name1")
                           : QString();
}

}  // namespace

CKorvelDlg::CKorvelDlg(MainWindowServices services, QWidget* parent)
    : CBaseDialog(parent, services.skins
                              ? services.skins(WindowSkin::Main)
                              : ShippedSkin(services.paths, services.texts, WindowSkin::Main)),
      m_services(services),
      m_settings(services.settings) {
    if (m_settings == nullptr) {
        m_ownSettings = std::make_unique<MemorySettingsStore>();
        m_settings = m_ownSettings.get();
    }
    m_lightingTimer.setSingleShot(true);
    connect(&m_lightingTimer, &QTimer::timeout, this, &CKorvelDlg::lightingRefreshRequested);
    // The keyboard's one owner: every transaction of the window runs there as a job.
    KeyboardService::Options options;
    options.transactionLock = m_services.keyboardLock;
    m_service = std::make_unique<KeyboardService>(m_services.link, std::move(options));
    m_jobs = new KeyboardJobs(*m_service, this);
}

CKorvelDlg::~CKorvelDlg() {
    Shutdown();
    // The editors go before the window's children do.
    m_editors.reset();
}

bool CKorvelDlg::Initialise() {
    if (!ApplySkin() || !LoadSurfaces()) {
        return false;
    }
    m_services.link.SetActiveProfileCache(-1);
    {
        auto lock = m_services.store.EditingConfig().Lock();
        ReleaseEditingConfig(m_services.store);
        CreateDefaultConfig(m_services.store, {}, 0, true);
    }
    m_linkAddress = ResolveLinkAddress(
        Skin().Value(QStringLiteral("SCREEN"), QStringLiteral("Link"), QString()),
        m_services.paths);
    // The pictures behind the keys come first, so that every key lies above them.
    LayOutBackdrops();
    m_keyGrid = new KeyGrid(this, Skin(), &m_surfaces, m_services.keyCodec);
    const int language = m_services.texts.GetLanguageValue();
    m_qtTexts.Follow(language);
    m_profileBar = new ProfileBar(this, Skin(), &m_surfaces, LabelSection(language));
    EnsureProfileDirectory(m_services.paths.DocumentsDirectory());
    m_lightingPanel = new LightingPanel(this, Skin(), language, *m_keyGrid, m_services.link,
                                        *m_jobs, m_services.paths.LightingSettingsFile());
    LayOutControls();
    BuildControllers();
    m_flip->LayOut();
    m_flip->Update();
    ConnectControls();
    SetCaptions();
    m_switcher->BuildSceneMenu();
    m_applier->SetModified(false);
    SetTabStops(WindowTabOrder(*this));
    // The window itself holds the focus when it is first activated, so that no control is
    // pressed by an Enter before Tab has shown where the focus is.
    setFocus(Qt::OtherFocusReason);
    if (!PackButtonSurfaces()) {
        return false;
    }

    // While the window only lives in the background it is never mapped, so it has no taskbar
    // button without further flags; changing its flags later would restyle every control.
    setWindowTitle(Q(m_services.texts.Text(TextKey::MAIN_CAPTION)));

    m_trayIcon = std::make_unique<CTrayIcon>(m_services.texts, this, m_services.trayAvailable);
    m_trayIcon->Create(TrayTooltip(), kIconKeyboardGone);
    m_trayPresenter = std::make_unique<TrayIconPresenter>(*m_trayIcon);
    // Queued, so the menu that asked has finished before the window acts.
    connect(m_trayIcon.get(), &CTrayIcon::openRequested, this, &CKorvelDlg::OnOpenMainWindow,
            Qt::QueuedConnection);
    connect(m_trayIcon.get(), &CTrayIcon::exitRequested, this, &CKorvelDlg::RequestExit,
            Qt::QueuedConnection);
    connect(m_trayIcon.get(), &CTrayIcon::aboutRequested, m_dialogs, &WindowDialogs::ShowAbout,
            Qt::QueuedConnection);
    connect(m_switcher, &ProfileSwitcher::profileShown, this,
            [this] { m_trayIcon->SetTooltipText(TrayTooltip()); });
    // The tray as a remote: the onboard profiles and the lighting, without the window.
    m_trayIcon->SetMenuState([this] {
        const bool present = m_presence != nullptr && m_presence->LastReportedState() == 1;
        return TrayMenuState{present ? m_parts->ActiveProfile() : -1,
                             m_remote->Dimmed(DesktopRemote::Dimmer::Tray)};
    });
    connect(m_trayIcon.get(), &CTrayIcon::profileRequested, m_switcher,
            &ProfileSwitcher::SwitchProfile, Qt::QueuedConnection);
    connect(
        m_trayIcon.get(), &CTrayIcon::lightingRequested, m_remote,
        [this](bool on) {
            if (on) {
                m_remote->Undim(DesktopRemote::Dimmer::Tray);
            } else {
                m_remote->Dim(DesktopRemote::Dimmer::Tray, 0);
            }
        },
        Qt::QueuedConnection);
    if (m_services.sessionBus) {
        m_remote->Start(*m_services.sessionBus,
                        m_services.systemBus.value_or(QDBusConnection(QStringLiteral("none"))));
    }

    // The device threads start last, so their first messages find every control in place.
    m_bridge = new MainWindowBridge(*this);
    m_listener =
        std::make_unique<EventListener>(m_services.backend, *m_bridge, m_services.listenerTimings);
    m_presence = std::make_unique<DevicePresence>(
        m_services.backend, m_services.link, m_services.keyCodec, *m_bridge, m_services.prompts,
        m_parts->Texts(), m_services.presenceTimings);
    m_presence->SetService(m_service.get());
    StartGKeyPlayer();
    if (m_services.startSwitch) {
        // Without a notification area a hidden window could not be reached: it starts minimised.
        if (HidesInTray()) {
            m_presence->SetFirstOpenDone();
        } else {
            m_startMinimised = true;
        }
    }
    m_listener->Start();
    m_presence->Start();
    QMetaObject::invokeMethod(this, &CKorvelDlg::OnInitialised, Qt::QueuedConnection);
    return true;
}

void CKorvelDlg::BuildControllers() {
    m_parts = std::make_unique<WindowParts>(
        m_services, *m_jobs, *this, Skin(), *m_keyGrid, *m_profileBar, *m_lightingPanel,
        [this](int id) { return Control(id); }, *m_settings);
    m_applier = new ApplyController(*m_parts, m_progress, this);
    m_editors = std::make_unique<EditorLauncher>(*m_parts, *m_applier, this);
    m_switcher = new ProfileSwitcher(*m_parts, *m_applier, *m_editors, this);
    m_reload = new ArrivalReload(*m_parts, *m_applier, *m_switcher, this);
    m_dialogs = new WindowDialogs(*m_parts, *m_applier, *m_switcher, m_linkAddress, this);
    m_remote = new DesktopRemote(*m_parts, *m_switcher, *m_applier, *m_editors, this);
    m_programs = new ProgramProfiles(*m_parts, *m_switcher, *m_applier, *m_editors, *m_reload,
                                     m_services.programRules, this);
    connect(m_remote, &DesktopRemote::programActivated, m_programs,
            [this](const QString& program) { m_programs->ProgramActivated(program, program); });
    if (m_services.followDisplay) {
        m_follower = new ActiveWindowFollower(*m_services.followDisplay, this);
        connect(m_follower, &ActiveWindowFollower::programActivated, m_programs,
                &ProgramProfiles::ProgramActivated);
    }
    m_parts->chooseLanguage = [this](int language) { SwitchLanguage(language); };
    m_parts->addAwayMenu = [this](QMenu& menu) { m_remote->AddAwayMenu(menu); };
    m_flip = new FlipControls(
        *m_parts,
        FlipSurfaces{m_surfaces, m_flipSurfaces, m_arrowSurfaces, m_flipIndicatorSurfaces}, this);

    connect(m_jobs, &KeyboardJobs::busyChanged, m_applier, &ApplyController::OnKeyboardBusy);
    connect(m_jobs, &KeyboardJobs::progress, m_applier, &ApplyController::ShowProgress);
    connect(m_applier, &ApplyController::modifiedChanged, this, &CKorvelDlg::ShowModified);
    connect(m_dialogs, &WindowDialogs::exitRequested, this, &CKorvelDlg::RequestExit);
    connect(m_dialogs, &WindowDialogs::keyboardRestored, m_reload, &ArrivalReload::Reload);
    connect(m_keyGrid, &KeyGrid::keyClicked, this, &CKorvelDlg::OnKeyClicked);
    connect(m_lightingPanel, &LightingPanel::turnOnRequested, m_switcher,
            &ProfileSwitcher::TurnLightingPanelOn);
    connect(m_lightingPanel, &LightingPanel::turnedOff, this, [this] { m_parts->RefreshKeys(); });
    connect(m_lightingPanel, &LightingPanel::redrawn, this,
            [this] { m_profileBar->ShowReportRate(m_lightingPanel->ReportRate()); });
    connect(this, &CKorvelDlg::lightingRefreshRequested, m_lightingPanel,
            &LightingPanel::ReadCurrent);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { m_parts->ShowHelp(); });
    ConnectHistory();
}

void CKorvelDlg::ConnectHistory() {
    m_history = new EditHistory(*m_parts, *m_applier, this);
    m_history->SetBlocked([this] { return m_editors->OpenEditors() > 0 || m_applier->Applying(); });
    m_dialogs->SetEditHistory(m_history);
    connect(m_editors.get(), &EditorLauncher::edited, m_history, &EditHistory::StagedEdited);
    // What the steps were made on is gone: another profile, what the keyboard holds read again,
    // an import, the defaults.
    connect(m_switcher, &ProfileSwitcher::profileShown, m_history, &EditHistory::ProfileShown);
    connect(m_reload, &ArrivalReload::reloaded, m_history, &EditHistory::Restart);
    connect(m_applier, &ApplyController::importFinished, m_history, &EditHistory::Restart);
    connect(m_applier, &ApplyController::defaultsRestored, m_history, &EditHistory::Restart);
    connect(m_applier, &ApplyController::applyFinished, m_history, [this](bool applied) {
        if (applied) {
            m_history->MarkApplied();
        }
    });
    // One shortcut per key sequence: two on the same keys would only be ambiguous.
    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    connect(undo, &QShortcut::activated, m_history, &EditHistory::Undo);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        auto* redo = new QShortcut(keys, this);
        connect(redo, &QShortcut::activated, m_history, &EditHistory::Redo);
    }
}

QString CKorvelDlg::TrayTooltip() const {
    const TextTable& texts = m_services.texts;
    // The G keys only do something while this program runs: the tray says so.
    const char* gKeys = m_services.gKeyInput != nullptr ? "G_KEY_PLAYED" : "G_KEY_NOT_PLAYED";
    QString tooltip = Q(texts.Text(TextKey::KEYBOARD_TRAY_DESC)) + QLatin1Char('\n') +
                      Q(texts.ReadText(gKeys, texts.TextLanguage()));
    // The keyboard's active profile, which may follow the program in front.
    static constexpr const char* kProfiles[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
    if (const int active = m_parts ? m_parts->ActiveProfile() : -1; active >= 0 && active < 3) {
        tooltip += QLatin1Char('\n') + Q(texts.ReadText(kProfiles[active], texts.TextLanguage()));
    }
    return tooltip;
}

void CKorvelDlg::StartGKeyPlayer() {
    if (m_services.gKeyInput == nullptr) {
        return;
    }
    // A G key plays what the window shows for it in the keyboard's active profile, read when it
    // is pressed.
    m_gKeyPlayer = std::make_unique<GKeyPlayer>(
        [store = &m_services.store, link = &m_services.link](int slot) {
            return GKeyPlayOf(store->EditingConfig(), link->ActiveProfileCache(), slot);
        },
        *m_services.gKeyInput);
    m_listener->SetGKeyHandler([player = m_gKeyPlayer.get()](int slot) { player->Press(slot); });
    m_gKeyPlayer->Start();
}

bool CKorvelDlg::IsReady() const {
    return m_bridge != nullptr && m_bridge->IsReady();
}

bool CKorvelDlg::KeyboardBusy() const {
    return m_jobs != nullptr && m_jobs->InFlight() > 0;
}

void CKorvelDlg::ShowModified(bool modified) {
    if (CPngButton* apply = Control(kControlApply); apply != nullptr && !m_reload->Reading()) {
        apply->setEnabled(modified);
    }
}

void CKorvelDlg::OnKeyClicked(int controlId) {
    // The keys' setup is being read: an edit now would be replaced by what is read.
    if (m_reload->Reading()) {
        return;
    }
    // A key click paints while the panel shows the custom effect; any other click (another
    // effect, a G key) opens the key's editor, so that no key ever looks dead.
    if (m_lightingPanel->PaintsKeys() && GKeyOfControl(controlId) == 0) {
        m_lightingPanel->ClickKey(controlId);
        return;
    }
    if (controlId != kKeyFn) {
        m_editors->OpenKeyEditor(controlId);
    }
}

void CKorvelDlg::OnInitialised() {
    m_bridge->SetReady();
    if (m_presence) {
        m_presence->WindowReady();
    }
    hide();
}

void CKorvelDlg::OnReloadFromKeyboard() {
    m_reload->Reload();
}

void CKorvelDlg::OnKeyboardGone() {
    m_dialogs->CloseAll();
    m_editors->CancelEditors();
}

void CKorvelDlg::OnOpenMainWindow() {
    if (m_presence == nullptr || m_presence->LastReportedState() != 1) {
        const std::string refused =
            m_services.keyboardAccessProblem ? m_services.keyboardAccessProblem() : std::string();
        if (!refused.empty()) {
            m_services.prompts.ShowMessage(Utf8ToUtf16(refused), MessageKind::Warning);
            return;
        }
        m_services.prompts.ShowMessage(m_services.texts.Text(TextKey::MAIN_NO_DEVICE_PROMPT),
                                       MessageKind::Information);
        return;
    }
    if (!isVisible()) {
        PrefetchShownFaces(*this);
    }
    if (m_startMinimised) {
        m_startMinimised = false;
        PutAway();
        return;
    }
    // A minimised window comes back too, not only a hidden one.
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

bool CKorvelDlg::HidesInTray() const {
    return m_trayIcon && m_trayIcon->IsCreated();
}

void CKorvelDlg::PutAway() {
    if (HidesInTray()) {
        hide();
        return;
    }
    // A window that was never mapped cannot be minimised on X11 (the window manager ignores the
    // request and then maps it normally): it is mapped first.
    if (!isVisible()) {
        show();
    }
    showMinimized();
    TellOnceWhyMinimised(*m_settings, m_services.prompts, m_parts->Caption("NO_TRAY_MINIMISED"));
}

void CKorvelDlg::reject() {
    PutAway();
}

void CKorvelDlg::ShowTrayState(bool eventIcon, std::uint16_t icon) {
    m_trayPresenter->ShowTrayState(eventIcon, icon);
}

void CKorvelDlg::OnLightingChangedOnKeyboard() {
    m_lightingTimer.start(0);
}

void CKorvelDlg::FollowInstance(SingleInstance& instance) {
    // Queued: leaving the program waits for the device threads while handling events, which must
    // not happen inside the handler of the socket that carried the request.
    connect(&instance, &SingleInstance::openRequested, this, &CKorvelDlg::OnOpenMainWindow,
            Qt::QueuedConnection);
    connect(&instance, &SingleInstance::killRequested, this, &CKorvelDlg::ExitProgram,
            Qt::QueuedConnection);
}

void CKorvelDlg::SwitchLanguage(int language) {
    m_services.texts.SwitchLanguage(language);
    m_qtTexts.Follow(m_services.texts.GetLanguageValue());
    m_services.keyCodec.SetTexts(KeyTextsFromTable(m_services.texts));
    SetCaptions();
    m_lightingPanel->SetLanguage(language, Skin().Caption("COLOR_OTHER"));
    m_profileBar->SetLabels(LabelSection(language));
    m_switcher->BuildSceneMenu();
    setWindowTitle(Q(m_services.texts.Text(TextKey::MAIN_CAPTION)));
    if (m_trayIcon) {
        m_trayIcon->SetTooltipText(TrayTooltip());
    }
    m_parts->RefreshKeys();
}

void CKorvelDlg::RequestExit() {
    if (m_applier->IsModified()) {
        switch (m_services.prompts.AskAboutPendingEdits(m_parts->Caption("MAIN_EXIT_PENDING"))) {
            case PendingEdits::Keep:
                return;
            case PendingEdits::Discard:
                break;
            case PendingEdits::Apply: {
                auto applied = std::make_shared<bool>(false);
                connect(
                    m_applier, &ApplyController::applyFinished, this,
                    [applied](bool done) { *applied = done; }, Qt::SingleShotConnection);
                m_applier->ApplyAndWait();
                // A failed apply has said why; the edits stay and so does the program.
                if (!*applied) {
                    return;
                }
                break;
            }
        }
    }
    ExitProgram();
}

void CKorvelDlg::ExitProgram() {
    hide();
    m_dialogs->CloseAll();
    Shutdown();
    if (m_trayIcon) {
        m_trayIcon->Remove();
    }
    m_applier->SetModified(false);
    {
        auto lock = m_services.store.EditingConfig().Lock();
        ReleaseEditingConfig(m_services.store);
    }
    emit exitRequested();
}

void CKorvelDlg::Shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    if (m_parts) {
        m_parts->SetClosing();
    }
    if (m_bridge != nullptr) {
        m_bridge->SetClosing();
    }
    // The running transaction ends first (DevEnd on the wire), while the presence thread still
    // keeps the keyboard open; jobs still waiting are dropped. No job waits for this thread.
    if (m_service) {
        m_service->Stop();
    }
    // A device thread may be waiting for this window to handle a message: keep handling events
    // until both threads have ended, then join them.
    if (m_listener) {
        m_listener->RequestStop();
    }
    if (m_presence) {
        m_presence->RequestStop();
    }
    while ((m_listener && m_listener->Running()) || (m_presence && m_presence->Running())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (m_listener) {
        m_listener->Stop();
    }
    // After the listener, which hands it the presses; it lets go of any key a macro holds.
    if (m_gKeyPlayer) {
        m_gKeyPlayer->Stop();
    }
    if (m_presence) {
        m_presence->Stop();
    }
    if (m_applier != nullptr) {
        m_applier->Stop();
    }
}

}  // namespace korvel
