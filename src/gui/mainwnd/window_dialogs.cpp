#include "gui/mainwnd/window_dialogs.h"

#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QWidget>

#include "gui/editors/about_dialog.h"
#include "gui/editors/profile_dialog.h"
#include "gui/editors/profile_file_chooser.h"
#include "gui/editors/update_dialog.h"
#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/backup_before.h"
#include "gui/mainwnd/backup_restorer.h"
#include "gui/mainwnd/edit_history.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/language_menu.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/program_rules_dialog.h"
#include "gui/mainwnd/window_parts.h"
#include "gui/platform/launchers.h"
#include "model/files/backup_folder.h"
#include "model/files/profile_locations.h"
#include "ports/prompts.h"
#include "sync/keyboard_requests.h"
#include "sync/keyboard_service.h"

namespace korvel {
namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// Profile files first, then every file.
QString ProfileFileDialogFilter(const WindowParts& parts) {
    return Q(parts.Caption("PROFILE_FILE_FILTER")) + QStringLiteral(" (*.kvp);;") +
           Q(parts.Caption("ALL_FILES_FILTER")) + QStringLiteral(" (*)");
}

}  // namespace

WindowDialogs::WindowDialogs(WindowParts& parts, ApplyController& applier,
                             ProfileSwitcher& switcher, QString linkAddress, QObject* parent)
    : QObject(parent),
      m_parts(parts),
      m_applier(applier),
      m_switcher(switcher),
      m_linkAddress(std::move(linkAddress)),
      m_restorer(new BackupRestorer(parts, this)) {
    connect(m_restorer, &BackupRestorer::restored, this, &WindowDialogs::keyboardRestored);
}

WindowDialogs::~WindowDialogs() = default;

void WindowDialogs::ShowMenu() {
    QWidget* window = &m_parts.window;
    const AppPaths& paths = m_parts.services.paths;
    QMenu menu(window);
    const auto caption = [this](const char* key) { return Q(m_parts.Caption(key)); };
    const QString folder = Q(ProfileDirectory(paths.DocumentsDirectory()).u16string());
    if (m_history != nullptr) {
        QAction* undo = menu.addAction(m_history->UndoText(), m_history, &EditHistory::Undo);
        undo->setShortcut(QKeySequence::Undo);
        undo->setEnabled(m_history->CanUndo());
        QAction* redo = menu.addAction(m_history->RedoText(), m_history, &EditHistory::Redo);
        redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        redo->setEnabled(m_history->CanRedo());
        menu.addSeparator();
    }
    menu.addAction(caption("MENU_1"), this, [this, window, folder, &paths] {
        EnsureProfileDirectory(paths.DocumentsDirectory());
        const QString file = QFileDialog::getOpenFileName(window, QString(), folder,
                                                          ProfileFileDialogFilter(m_parts), nullptr,
                                                          QFileDialog::DontUseNativeDialog);
        if (!file.isEmpty()) {
            m_applier.Import(std::filesystem::path(file.toStdU16String()));
        }
    });
    menu.addAction(caption("MENU_2"), this, [this, window, folder, &paths] {
        EnsureProfileDirectory(paths.DocumentsDirectory());
        QFileDialog dialog(window, QString(), folder, ProfileFileDialogFilter(m_parts));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("kvp"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            m_applier.Export(
                std::filesystem::path(dialog.selectedFiles().first().toStdU16String()));
        }
    });
    menu.addAction(caption("MENU_RESTORE_BACKUP"), m_restorer, &BackupRestorer::Choose);
    menu.addAction(caption("MENU_5"), this, &WindowDialogs::OpenUpdateDialog);
    menu.addAction(caption("MENU_6"), this, [this] { m_parts.ShowHelp(); });
    AddLanguageMenu(menu, m_parts.services.texts, m_parts.chooseLanguage);
    if (m_parts.addAwayMenu) {
        m_parts.addAwayMenu(menu);
    }
    if (!m_parts.services.programRules.empty()) {
        menu.addAction(caption("RULES_MENU"), this, [this] {
            EditProgramRules(m_parts, m_parts.services.followDisplay.has_value());
        });
    }
    menu.addSeparator();
    menu.addAction(caption("MENU_3"), this, &WindowDialogs::ShowAbout);
    menu.addAction(caption("MENU_4"), this, &WindowDialogs::exitRequested);
    menu.exec(QCursor::pos());
}

void WindowDialogs::ShowAbout() {
    if (m_about == nullptr) {
        m_about = new CAboutDlg(m_parts.services.texts, m_parts.services.launcher, m_linkAddress,
                                &m_parts.window);
    }
    m_about->ShowBox();
}

void WindowDialogs::EnterBootLoader(std::function<void(bool)> done) {
    // The firmware update may leave the keyboard's memory as the new firmware sets it up: what it
    // holds is kept first.
    auto finish = std::make_shared<std::function<void(bool)>>(std::move(done));
    BackUpBefore(
        m_parts, kBackupBeforeFirmwareUpdate,
        [this, finish] {
            m_parts.jobs.Submit<bool>(
                "boot loader", [](JobContext& job) { return korvel::EnterBootLoader(job.Link()); },
                [finish](JobResult<bool> result) { (*finish)(result.value.value_or(false)); });
        },
        [finish] { (*finish)(false); });
}

void WindowDialogs::OpenUpdateDialog() {
    MainWindowServices& services = m_parts.services;
    if (m_update == nullptr) {
        UpdateDialogParts parts{
            services.texts,
            services.prompts,
            [this](std::function<void(bool)> done) { EnterBootLoader(std::move(done)); },
            services.store,
            services.launcher,
            services.paths.UpdatePackageFolder(),
            services.paths.DocumentsDirectory()};
        m_update = new CKorvel_DlgUpdate(std::move(parts), m_parts.SkinOf(WindowSkin::Update),
                                         &m_parts.window);
    }
    if (!m_update->Initialise()) {
        services.prompts.ShowMessage(m_update->SkinError().toStdU16String(), MessageKind::Error);
        return;
    }
    m_update->exec();
}

void WindowDialogs::OpenProfileManager() {
    if (m_profileManager != nullptr) {
        m_profileManager->raise();
        m_profileManager->activateWindow();
        return;
    }
    MainWindowServices& services = m_parts.services;
    ProfileFileChooser* chooser = services.profileFiles;
    if (chooser == nullptr) {
        if (!m_ownProfileFiles) {
            m_ownProfileFiles = std::make_unique<QtProfileFileChooser>();
        }
        chooser = m_ownProfileFiles.get();
    }
    ProfileDialogParts parts{services.texts,
                             m_parts.settings,
                             services.store,
                             services.paths.DocumentsDirectory(),
                             *chooser,
                             [this] { return m_parts.ActiveProfile(); },
                             [this](int profile) { return m_switcher.SwitchProfile(profile); },
                             [this](const std::filesystem::path& file) {
                                 return m_applier.Import(file, kBackupBeforeProfileImport);
                             },
                             [this] { m_parts.ShowHelp(); }};
    auto* dialog = new CKorvel_DlgProfile(
        std::move(parts), m_parts.SkinOf(WindowSkin::ProfileManager), &m_parts.window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->Initialise()) {
        services.prompts.ShowMessage(dialog->SkinError().toStdU16String(), MessageKind::Error);
        delete dialog;
        return;
    }
    m_profileManager = dialog;
    connect(&m_switcher, &ProfileSwitcher::profileShown, dialog, &CKorvel_DlgProfile::CheckRow);
    // Modal, but without a nested event loop: the device threads' messages keep arriving.
    dialog->setWindowModality(Qt::ApplicationModal);
    const QWidget& window = m_parts.window;
    dialog->move(window.geometry().center() - dialog->rect().center());
    dialog->show();
}

CKorvel_DlgProfile* WindowDialogs::ProfileManager() const {
    return m_profileManager.data();
}

void WindowDialogs::CloseAll() {
    if (m_about != nullptr) {
        m_about->hide();
    }
    if (m_profileManager != nullptr) {
        m_profileManager->reject();
    }
}

}  // namespace korvel
