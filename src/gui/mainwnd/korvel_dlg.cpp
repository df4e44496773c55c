#include "gui/mainwnd/korvel_dlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>

#include "base/text_encoding.h"
#include "device/device_link.h"
#include "gui/editors/about_dialog.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/editors/korvel_dlg_macro.h"
#include "gui/editors/profile_file_chooser.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_bridge.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/platform/launchers.h"
#include "gui/platform/single_instance.h"
#include "gui/platform/tray_icon.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_file.h"
#include "model/files/profile_file_name.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_texts_from_table.h"
#include "ports/prompts.h"
#include "ports/settings_store.h"
#include "sync/keyboard_service.h"
#include "sync/profile_transfer.h"
#include "text/text_table.h"

namespace korvel {
namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
constexpr int kProgressPeriodMs = 50;
// A job that has not ended after this long shows the progress area.
constexpr int kBusyShownAfterMs = 150;

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// Profile files first, then every file.
QString ProfileFileDialogFilter() {
    return QStringLiteral("(*.kvp);;(*)");
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
    return Skin().Caption(key).toStdU16String();
}

std::shared_ptr<const DialogSkin> CKorvelDlg::SkinOf(WindowSkin dialog) const {
    return m_services.skins ? m_services.skins(dialog)
                            : ShippedSkin(m_services.paths, m_services.texts, dialog);
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
    SetModified(false);

    m_linkAddress = ResolveLinkAddress(
        Skin().Value(QStringLiteral("SCREEN"), QStringLiteral("Link"), QString()),
        m_services.paths);
    // The pictures behind the keys come first, so that every key lies above them.
    LayOutBackdrops();
    m_keyGrid = new KeyGrid(this, Skin(), &m_surfaces, m_services.keyCodec);
    connect(m_keyGrid, &KeyGrid::keyClicked, this, &CKorvelDlg::OnKeyClicked);
    const int language = m_services.texts.GetLanguageValue();
    const QString labels = language == 0   ? QStringLiteral("Control_Name")
                           : language == 1 ? QStringLiteral("Control_Name1")
                                           : QString();
    m_profileBar = new ProfileBar(this, Skin(), &m_surfaces, labels);
    EnsureProfileDirectory(m_services.paths.DocumentsDirectory());
    m_lightingPanel = new LightingPanel(this, Skin(), language, *m_keyGrid, m_services.link,
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
