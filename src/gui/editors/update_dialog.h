#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"

class QLabel;
class QComboBox;

namespace korvel {

class ConfigStore;
class CPngButton;
class Prompts;
class ShellLauncher;
class TextTable;

// What the firmware update dialog works with. The two choosers stand for the file dialogs so that
// tests can answer them; none: the platform's dialogs.
struct UpdateDialogParts {
    const TextTable& texts;
    Prompts& prompts;
    // Asks the keyboard into its boot loader without waiting for it; the continuation runs on
    // the dialog's thread with whether the keyboard took the request.
    std::function<void(std::function<void(bool)>)> enterBoot;
    ConfigStore& store;
    ShellLauncher& launcher;
    std::filesystem::path packageFolder;  // where the updater picker starts
    // The user's Documents folder: the backup picker starts in its profile folder.
    std::filesystem::path documents = {};
    std::function<std::optional<std::filesystem::path>(QWidget*, const std::filesystem::path&)>
        chooseUpdater = {};
    std::function<std::optional<std::filesystem::path>(QWidget*)> chooseBackupFile = {};
};

// The firmware update: the user picks the updater program that came with the firmware, may back
// up the configuration to a profile file, and Update asks the keyboard into its boot loader and
// starts the updater, which does the flashing. The updater must exist and be executable before
// the keyboard is asked, so that it is never left in its boot loader for nothing.
class CKorvel_DlgUpdate : public CBaseDialog {
    Q_OBJECT

public:
    enum ControlId : int {
        kCombo = 1178,
        kPathLabel = 1179,
        kCancelUpdate = 1180,
        kOpen = 1181,
        kBackup = 1182,
        kUpdate = 1147,
    };

    CKorvel_DlgUpdate(UpdateDialogParts parts, std::shared_ptr<const DialogSkin> skin,
                      QWidget* parent = nullptr);

    // Lays out the skin the first time; later calls only show the current path. False when the
    // skin cannot be used (SkinError()).
    bool Initialise();

    CPngButton* Button(int controlId) const;
    QLabel* PathLabel() const { return m_pathLabel; }
    const std::filesystem::path& UpdaterPath() const { return m_updaterPath; }

    // The buttons' commands.
    void ChooseUpdater();
    // Checks the updater, then asks the keyboard into its boot loader; once it is there the
    // updater starts and the dialog closes. False when refused at once; updateFinished tells
    // the rest.
    bool Update();
    void CancelUpdate();
    // True when the profile file was written.
    bool Backup();

signals:
    // Update's end: whether the updater was started.
    void updateFinished(bool started);

protected:
    // Esc closes it, as the Close button does; Enter closes nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void StartUpdater(bool enteredBoot, const QString& program);
    bool LoadSurfaces();
    void LayOut();
    void SetTexts();
    void ShowPath();
    QString Caption(const char* key) const;

    UpdateDialogParts m_parts;
    bool m_asking = false;  // the keyboard has been asked into its boot loader
    SkinSurfaces m_surfaces;
    std::map<int, CPngButton*> m_buttons;
    QLabel* m_pathLabel = nullptr;
    QComboBox* m_combo = nullptr;
    bool m_laidOut = false;
    // Kept across openings of the dialog; emptied by Cancel update and by every start attempt.
    std::filesystem::path m_updaterPath;
};

}  // namespace korvel
