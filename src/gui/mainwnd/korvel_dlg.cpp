#include "gui/mainwnd/korvel_dlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <algorithm>
#include <map>

#include "base/text_encoding.h"
#include "device/command_set.h"
#include "device/device_link.h"
#include "device/result_codes.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/editors/profile_file_chooser.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_bridge.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/platform/lock_keys.h"
#include "gui/shell/about_dialog.h"
#include "gui/shell/launchers.h"
#include "gui/shell/single_instance.h"
#include "gui/shell/tray_icon.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/files/profile_file.h"
#include "model/files/profile_file_name.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_texts_from_table.h"
#include "ports/prompts.h"
#include "ports/settings_store.h"
#include "sync/device_backup.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_service.h"
#include "sync/profile_transfer.h"
#include "text/text_table.h"
#include "version.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
// How often the lock indicators look at the lock keys, in milliseconds.
constexpr int kLockPollMs = 250;
constexpr int kProgressPeriodMs = 50;
// A job that has not ended after this long shows the progress area.
constexpr int kBusyShownAfterMs = 150;

// The controls around the keyboard: id, skin entry.
struct ControlInfo {
    int id;
    const char* entry;
};
constexpr ControlInfo kControls[] = {
    {kControlOk, "CONTROL_OK"},
    {kControlCancel, "CONTROL_CANCEL"},
    {kControlApply, "CONTROL2_APPLY"},
    {kControlLink, "VELMARO_LINK"},
    {kControlHelp, "CONTROL_HELP"},
    {kControlMinimize, "CONTROL_MINIMIZE"},
    {kControlClose, "CONTROL_CLOSE"},
    {kControlMenu, "CONTROL_MENU"},
    {kControlVersion, "VELMARO_VER"},
    {kLockCaps, "LOCK_CAPS"},
    {kLockNum, "LOCK_NUM"},
    {kLockScroll, "LOCK_SCROLL"},
    {kFlipToggleLeft, "FLIP_1"},
    {kFlipToggleRight, "FLIP_2"},
};
// Pictures that lie behind keys: the G-key bank's backdrop and the flip indicator behind F1..F4.
// They take no clicks; every key above them is hovered and clicked on its own.
constexpr ControlInfo kBackdrops[] = {
    {kLockAB, "LOCK_AB"},
    {kFlipIndicator, "FLIP_0"},
};

// Captions of the main buttons: id, text key, tooltip key.
struct CaptionInfo {
    int id;
    const char* caption;
};
constexpr CaptionInfo kCaptions[] = {
    {kControlOk, "PROFILE_OK"},       {kControlCancel, "PROFILE_CANCLE"},
    {kControlApply, "PROFILE_APPLY"}, {kControlMacro, "PROFILE_MACRO"},
    {kProfileButton1, "PROFILE_1"},   {kProfileButton2, "PROFILE_2"},
    {kProfileButton3, "PROFILE_3"},   {kRestoreDefaults, "PROFILE_DEFAULT"},
};
struct TooltipInfo {
    int id;
    const char* tooltip;
};
constexpr TooltipInfo kTooltips[] = {
    {kControlHelp, "MAIN_HELP_PROMPT"},
    {kControlMinimize, "MAIN_MINIMIZE_PROMPT"},
    {kControlClose, "MAIN_CLOSE_PROMPT"},
    {kControlMenu, "MAIN_MENU_PROMPT"},
};

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// Profile files first, then every file.
QString ProfileFileDialogFilter() {
    return QStringLiteral("(*.kvp);;(*)");
}

}  // namespace

CKorvelDlg::CKorvelDlg(MainWindowServices services, QWidget* parent)
    : CBaseDialog(parent, QString::fromStdU16String(services.paths.MainSkin().file.u16string()),
                  QString::fromStdU16String(services.paths.MainSkin().folder.u16string())),
      m_services(services),
      m_settings(services.settings) {
    if (m_settings == nullptr) {
        m_ownSettings = std::make_unique<MemorySettingsStore>();
        m_settings = m_ownSettings.get();
    }
    m_progressTimer.setInterval(kProgressPeriodMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &CKorvelDlg::StepProgress);
    m_lightingTimer.setSingleShot(true);
    connect(&m_lightingTimer, &QTimer::timeout, this, &CKorvelDlg::lightingRefreshRequested);
    m_busyTimer.setSingleShot(true);
    m_busyTimer.setInterval(kBusyShownAfterMs);
    connect(&m_busyTimer, &QTimer::timeout, this, [this] {
        if (m_progress != nullptr && !m_progressTimer.isActive()) {
            m_progress->show();
            m_progressTimer.start();
        }
    });
    // The keyboard's one owner: every transaction of the window runs there as a job.
    KeyboardService::Options options;
    options.transactionLock = m_services.keyboardLock;
    m_service = std::make_unique<KeyboardService>(m_services.link, std::move(options));
    m_jobs = new KeyboardJobs(*m_service, this);
    connect(m_jobs, &KeyboardJobs::busyChanged, this, &CKorvelDlg::OnKeyboardBusy);
    connect(m_jobs, &KeyboardJobs::progress, this, &CKorvelDlg::ShowProgress);
}

CKorvelDlg::~CKorvelDlg() {
    Shutdown();
    // The editors use the host, which goes before the window's children do.
    delete m_keyEditor;
    delete m_macroEditor;
}

std::u16string CKorvelDlg::Caption(const char* key) const {
    return m_services.texts.ReadText(key, m_services.texts.CaptionLanguage());
}

bool CKorvelDlg::Initialise() {
    // The background and normal pictures decode on helper threads while the controls are built.
    if (!StartSkin() || !LoadSurfaces()) {
        return false;
    }
    m_services.link.SetActiveProfileCache(-1);
    {
        auto lock = m_services.store.EditingConfig().Lock();
        ReleaseEditingConfig(m_services.store);
        CreateDefaultConfig(m_services.store, {}, 0, true);
    }
    SetModified(false);

    m_linkAddress = ResolveLinkAddress(
        Skin().Read(QStringLiteral("SCREEN"), QStringLiteral("Link"), QString()), m_services.paths);
    // The pictures behind the keys come first, so that every key lies above them.
    for (const ControlInfo& control : kBackdrops) {
        AddControl(control.id, control.entry)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_keyGrid = new KeyGrid(this, Skin(), &m_surfaces, m_services.keyCodec);
    connect(m_keyGrid, &KeyGrid::keyClicked, this, &CKorvelDlg::OnKeyClicked);
    const int language = m_services.texts.GetLanguageValue();
    const QString labels = language == 0   ? QStringLiteral("Control_Name")
                           : language == 1 ? QStringLiteral("Control_Name1")
                                           : QString();
    m_profileBar = new ProfileBar(this, Skin(), &m_surfaces, labels);
    EnsureProfileDirectory(m_services.paths.DocumentsDirectory());
    m_lightingPanel =
        new LightingPanel(this, Skin(), SkinFolder(), language, *m_keyGrid, m_services.link,
                          *m_jobs, m_services.paths.LightingSettingsFile());
    connect(m_lightingPanel, &LightingPanel::turnOnRequested, this,
            &CKorvelDlg::SetLightingPanelOn);
    connect(m_lightingPanel, &LightingPanel::turnedOff, this, &CKorvelDlg::RefreshKeyGrid);
    connect(m_lightingPanel, &LightingPanel::redrawn, this,
            [this] { m_profileBar->ShowReportRate(m_lightingPanel->ReportRate()); });
    connect(this, &CKorvelDlg::lightingRefreshRequested, m_lightingPanel,
            &LightingPanel::ReadCurrent);
    LayOutControls();
    LayOutFlipControls();
    UpdateFlipControls();
    SetCaptions();
    BuildSceneMenu();
    if (!PackButtonSurfaces()) {
        return false;
    }
    CreateEditorHost();

    // While the window only lives in the background it is never mapped, so it has no taskbar
    // button without further flags; changing its flags later would restyle every control.
    setWindowTitle(Q(m_services.texts.Text(TextKey::MAIN_CAPTION)));

    m_trayIcon = std::make_unique<CTrayIcon>(m_services.texts, this);
    m_trayIcon->Create(Q(m_services.texts.Text(TextKey::KEYBOARD_TRAY_DESC)), kIconKeyboardGone);
    m_trayPresenter = std::make_unique<TrayIconPresenter>(*m_trayIcon);
    // Queued, so the menu that asked has finished before the window acts.
    connect(m_trayIcon.get(), &CTrayIcon::openRequested, this, &CKorvelDlg::OnOpenMainWindow,
            Qt::QueuedConnection);
    connect(m_trayIcon.get(), &CTrayIcon::exitRequested, this, &CKorvelDlg::ExitProgram,
            Qt::QueuedConnection);
    connect(m_trayIcon.get(), &CTrayIcon::aboutRequested, this, &CKorvelDlg::ShowAbout,
            Qt::QueuedConnection);

    // The device threads start last, so their first messages find every control in place.
    m_bridge = new MainWindowBridge(*this);
    const TextLookup texts = Texts();
    m_listener =
        std::make_unique<EventListener>(m_services.backend, *m_bridge, m_services.listenerTimings);
    m_presence = std::make_unique<DevicePresence>(
        m_services.backend, m_services.link, m_services.keyCodec, *m_bridge, m_services.prompts,
        texts, m_services.presenceTimings);
    m_presence->SetService(m_service.get());
    if (m_services.startSwitch) {
        m_presence->SetFirstOpenDone();
    }
    m_listener->Start();
    m_presence->Start();
    QMetaObject::invokeMethod(this, &CKorvelDlg::OnInitialised, Qt::QueuedConnection);
    return true;
}

void CKorvelDlg::ShowLockStates() {
    // While the window is hidden nobody sees them: no questions to the display.
    if (m_lockStatesShown && !isVisible()) {
        return;
    }
    // Without a way to read them (no X11) the indicators stay unlit.
    const LockStates states = ReadLockStates().value_or(LockStates{});
    m_lockStatesShown = true;
    const std::pair<int, bool> indicators[] = {
        {kLockCaps, states.caps}, {kLockNum, states.num}, {kLockScroll, states.scroll}};
    for (const auto& [id, on] : indicators) {
        if (Control(id)->IsChecked() != on) {
            Control(id)->SetChecked(on);
        }
    }
}

CPngButton* CKorvelDlg::AddControl(int controlId, const char* skinEntry) {
    auto* button = new CPngButton(this);
    button->setObjectName(QString::fromLatin1(skinEntry));
    PlaceImageButton(button, Skin(), kButtonInfo, QString::fromLatin1(skinEntry), &m_surfaces);
    m_controls[controlId] = button;
    return button;
}

void CKorvelDlg::LayOutControls() {
    for (const ControlInfo& control : kControls) {
        AddControl(control.id, control.entry);
    }
    Control(kControlVersion)->setEnabled(false);
    // The lock indicators only show; hovering them must not change their face.
    for (int id : {kLockCaps, kLockNum, kLockScroll}) {
        Control(id)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_lockTimer.setInterval(kLockPollMs);
    connect(&m_lockTimer, &QTimer::timeout, this, &CKorvelDlg::ShowLockStates);
    m_lockTimer.start();
    ShowLockStates();
    connect(Control(kControlOk), &QAbstractButton::clicked, this, [this] {
        Apply();
        hide();
    });
    connect(Control(kControlCancel), &QAbstractButton::clicked, this, &QWidget::hide);
    connect(Control(kControlApply), &QAbstractButton::clicked, this, &CKorvelDlg::Apply);
    const int profileButtons[] = {kProfileButton1, kProfileButton2, kProfileButton3};
    for (int p = 0; p < 3; ++p) {
        connect(Control(profileButtons[p]), &QAbstractButton::clicked, this,
                [this, p] { OnProfileButton(p); });
    }
    const int reportButtons[] = {kReportRate1, kReportRate2, kReportRate3, kReportRate4};
    for (int i = 0; i < 4; ++i) {
        connect(Control(reportButtons[i]), &QAbstractButton::clicked, this,
                [this, i] { OnReportRate(i); });
    }
    connect(Control(kRestoreDefaults), &QAbstractButton::clicked, this,
            &CKorvelDlg::RestoreDefaults);
    // The scene-mode button opens the profile manager; its context menu switches at once.
    connect(Control(kControlSceneMode), &QAbstractButton::clicked, this,
            &CKorvelDlg::OpenProfileManager);
    Control(kControlSceneMode)->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Control(kControlSceneMode), &QWidget::customContextMenuRequested, this,
            &CKorvelDlg::ShowSceneMenu);
    connect(Control(kControlMacro), &QAbstractButton::clicked, this, &CKorvelDlg::OpenMacroEditor);
    connect(Control(kControlHelp), &QAbstractButton::clicked, this,
            [this] { ShowHelp(m_services.launcher, m_services.paths); });
    connect(Control(kControlMinimize), &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(Control(kControlClose), &QAbstractButton::clicked, this, &CKorvelDlg::ExitProgram);
    connect(Control(kControlLink), &QAbstractButton::clicked, this,
            [this] { OpenLinkAddress(m_services.launcher, m_linkAddress); });
    connect(Control(kControlMenu), &QAbstractButton::clicked, this, &CKorvelDlg::ShowMenu);

    m_progress = new QLabel(this);
    PlaceControl(m_progress, Skin(), kButtonInfo, QStringLiteral("CONTROL_JDTStatic"));
    m_progress->setScaledContents(true);
    m_progress->hide();
}

void CKorvelDlg::SetCaptions() {
    for (const CaptionInfo& caption : kCaptions) {
        CPngButton* button = Control(caption.id);
        button->setText(Q(Caption(caption.caption)));
        button->SetTextStyle(true, 9, QStringLiteral("Tahoma"), Qt::white);
    }
    // The language's version label, followed by the program's version.
    const QString label = Q(m_services.texts.Text(TextKey::MAIN_BUTTON_VELMARO_VER)).trimmed();
    const QString version = QStringLiteral("v") + QString::fromLatin1(kVersion);
    Control(kControlVersion)
        ->setText(label.isEmpty() ? version : label + QLatin1Char(' ') + version);
    Control(kControlVersion)
        ->SetTextStyle(true, 8, QStringLiteral("Verdana"), QColor(0xE4, 0xE4, 0xE4));
    for (const TooltipInfo& tip : kTooltips) {
        Control(tip.id)->SetTooltip(Q(Caption(tip.tooltip)));
    }
    Control(kControlLink)->SetTooltip(m_linkAddress);
    KeyTipTexts tips;
    tips.set = m_services.texts.Text(TextKey::KEY_PROMPT_SET);
    tips.single = m_services.texts.Text(TextKey::KEY_PROMPT_SINGLE);
    tips.macro = m_services.texts.Text(TextKey::KEY_PROMPT_MACRO);
    tips.media = m_services.texts.Text(TextKey::KEY_PROMPT_MEDIA);
    tips.function = m_services.texts.Text(TextKey::KEY_PROMPT_FUNCTION);
    m_keyGrid->SetTipTexts(tips);
}

CPngButton* CKorvelDlg::Control(int controlId) const {
    const auto it = m_controls.find(controlId);
    if (it != m_controls.end()) {
        return it->second;
    }
    return m_profileBar != nullptr ? m_profileBar->Button(controlId) : nullptr;
}

bool CKorvelDlg::IsReady() const {
    return m_bridge != nullptr && m_bridge->IsReady();
}

void CKorvelDlg::SetModified(bool modified) {
    m_modified = modified;
    if (CPngButton* apply = Control(kControlApply)) {
        apply->setEnabled(modified);
    }
}

int CKorvelDlg::ActiveProfile() {
    // What the keyboard last said; the jobs that switch or read it keep it up to date.
    return m_services.link.ActiveProfileCache();
}

void CKorvelDlg::RefreshKeyGrid() {
    auto lock = m_services.store.EditingConfig().Lock();
    m_keyGrid->RefreshKeyButtons(m_services.store.EditingConfig(), ActiveProfile());
}

void CKorvelDlg::OnInitialised() {
    m_bridge->SetReady();
    if (m_presence) {
        m_presence->WindowReady();
    }
    hide();
}

void CKorvelDlg::OnKeyboardGone() {
    if (m_about != nullptr) {
        m_about->hide();
    }
    CloseProfileManager();
    if (m_keyEditor != nullptr) {
        m_keyEditor->CancelEditor();
    }
    if (m_macroEditor != nullptr) {
        m_macroEditor->CancelEditor();
    }
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
    show();
    raise();
    activateWindow();
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

void CKorvelDlg::ShowMenu() {
    QMenu menu(this);
    const auto caption = [this](const char* key) { return Q(Caption(key)); };
    const QString folder = Q(ProfileDirectory(m_services.paths.DocumentsDirectory()).u16string());
    menu.addAction(caption("MENU_1"), this, [this, folder] {
        EnsureProfileDirectory(m_services.paths.DocumentsDirectory());
        const QString file =
            QFileDialog::getOpenFileName(this, QString(), folder, ProfileFileDialogFilter(),
                                         nullptr, QFileDialog::DontUseNativeDialog);
        if (!file.isEmpty()) {
            Import(std::filesystem::path(file.toStdU16String()));
        }
    });
    menu.addAction(caption("MENU_2"), this, [this, folder] {
        EnsureProfileDirectory(m_services.paths.DocumentsDirectory());
        QFileDialog dialog(this, QString(), folder, ProfileFileDialogFilter());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("kvp"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            Export(std::filesystem::path(dialog.selectedFiles().first().toStdU16String()));
        }
    });
    menu.addAction(caption("MENU_5"), this, &CKorvelDlg::OpenUpdateDialog);
    menu.addAction(caption("MENU_6"), this,
                   [this] { ShowHelp(m_services.launcher, m_services.paths); });
    menu.addSeparator();
    menu.addAction(caption("MENU_3"), this, &CKorvelDlg::ShowAbout);
    menu.addAction(caption("MENU_4"), this, &CKorvelDlg::ExitProgram);
    menu.exec(QCursor::pos());
}

void CKorvelDlg::ShowWriteFailure(const std::filesystem::path& file, const FileWriteResult& write) {
    m_services.prompts.ShowMessage(FileWriteFailedText(Texts(), file, write), MessageKind::Error);
}

TextLookup CKorvelDlg::Texts() const {
    return [this](std::string_view key) { return m_services.texts.Text(key); };
}

bool CKorvelDlg::Export(const std::filesystem::path& file) {
    const std::filesystem::path path = WithProfileExtension(file);
    const FileWriteResult written = ExportProfileFile(m_services.store, path);
    if (!written) {
        ShowWriteFailure(path, written);
    }
    return static_cast<bool>(written);
}

void CKorvelDlg::SwitchLanguage(int language) {
    m_services.texts.SwitchLanguage(language);
    m_services.keyCodec.SetTexts(KeyTextsFromTable(m_services.texts));
    SetCaptions();
    m_lightingPanel->SetLanguage(language, Q(Caption("COLOR_OTHER")));
    m_profileBar->SetLabels(language == 0   ? QStringLiteral("Control_Name")
                            : language == 1 ? QStringLiteral("Control_Name1")
                                            : QString());
    BuildSceneMenu();
    setWindowTitle(Q(m_services.texts.Text(TextKey::MAIN_CAPTION)));
    if (m_trayIcon) {
        m_trayIcon->SetTooltipText(Q(m_services.texts.Text(TextKey::KEYBOARD_TRAY_DESC)));
    }
    RefreshKeyGrid();
}

void CKorvelDlg::ShowAbout() {
    if (m_about == nullptr) {
        m_about = new CAboutDlg(m_services.texts, m_services.launcher, m_linkAddress, this);
    }
    m_about->ShowBox();
}

void CKorvelDlg::ExitProgram() {
    hide();
    CloseProfileManager();
    Shutdown();
    if (m_trayIcon) {
        m_trayIcon->Remove();
    }
    SetModified(false);
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
    if (m_presence) {
        m_presence->Stop();
    }
    m_applying = false;
    m_busyTimer.stop();
    m_progressTimer.stop();
}

}  // namespace korvel
