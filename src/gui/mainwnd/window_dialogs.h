#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

namespace korvel {

class ApplyController;
class BackupRestorer;
class CAboutDlg;
class CKorvel_DlgProfile;
class CKorvel_DlgUpdate;
class EditHistory;
class ProfileFileChooser;
class ProfileSwitcher;
class WindowParts;

// The main window's menu and the dialogs it and the scene-mode button open: import and export
// file choosers, restoring a backup, the firmware update, help, the about box and the profile
// manager.
class WindowDialogs : public QObject {
    Q_OBJECT

public:
    WindowDialogs(WindowParts& parts, ApplyController& applier, ProfileSwitcher& switcher,
                  QString linkAddress, QObject* parent);
    ~WindowDialogs() override;

    // The menu button's menu.
    void ShowMenu();
    void ShowAbout();
    // The firmware update dialog, created on first use and kept, so that the chosen updater
    // survives closing it.
    void OpenUpdateDialog();
    CKorvel_DlgUpdate* UpdateDialog() const { return m_update; }
    // Asks the keyboard into its boot loader as a job; the continuation hears whether it went.
    void EnterBootLoader(std::function<void(bool)> done);
    // The profile manager, opened by the scene-mode button; it stays open until it is closed, the
    // keyboard goes or the program ends.
    void OpenProfileManager();
    CKorvel_DlgProfile* ProfileManager() const;
    // The keyboard went away or the program ends: the about box and the profile manager close.
    void CloseAll();
    // The menu's Undo and Redo items act on this history.
    void SetEditHistory(EditHistory* history) { m_history = history; }
    // The menu's "Restore a backup…".
    BackupRestorer& Restorer() { return *m_restorer; }

signals:
    // The menu's Exit.
    void exitRequested();
    // A backup was written to the keyboard: what it holds is to be read again.
    void keyboardRestored();

private:
    WindowParts& m_parts;
    ApplyController& m_applier;
    ProfileSwitcher& m_switcher;
    QString m_linkAddress;
    BackupRestorer* m_restorer;
    EditHistory* m_history = nullptr;
    CAboutDlg* m_about = nullptr;
    CKorvel_DlgUpdate* m_update = nullptr;
    QPointer<CKorvel_DlgProfile> m_profileManager;
    std::unique_ptr<ProfileFileChooser> m_ownProfileFiles;
};

}  // namespace korvel
