#pragma once

#include <filesystem>
#include <functional>
#include <map>

#include "gui/skin/skin_surfaces.h"
#include "gui/widgets/base_dialog.h"

class QLabel;
class QTableWidget;

namespace korvel {

class ConfigStore;
class CPngButton;
class ProfileFileChooser;
class SettingsStore;
class TextTable;

// What the profile manager works with: the shared objects, and the main window's profile switch
// and import, which it uses rather than repeating them.
struct ProfileDialogParts {
    const TextTable& texts;
    SettingsStore& settings;
    ConfigStore& store;
    std::filesystem::path documents;  // the user's Documents folder
    ProfileFileChooser& chooser;
    // The keyboard's active onboard profile, -1 when unknown.
    std::function<int()> activeProfile;
    // Makes an onboard profile the keyboard's active one (asking about unsaved key edits first);
    // false when refused or when the keyboard did not switch.
    std::function<bool(int)> switchProfile;
    // Loads a profile file's three profiles into the keyboard; false when it was not taken.
    std::function<bool(const std::filesystem::path&)> importFile;
    std::function<void()> help;
};

// The profile manager: the three onboard profiles and the profile files the user adds, one of them
// checked. Applying activates a checked onboard profile; a checked profile file is imported, its
// three profiles replacing the keyboard's key assignments and macros while the active profile
// stays. The list is kept in the settings store.
class CKorvel_DlgProfile : public CBaseDialog {
    Q_OBJECT

public:
    enum ControlId : int {
        kOk = 1,
        kCancel = 2,
        kList = 1007,
        kLoad = 1008,
        kAdd = 1010,
        kDelete = 1011,
        kApply = 1012,
    };
    enum Column : int { kColumnActive = 0, kColumnName = 1, kColumnFolder = 2 };

    CKorvel_DlgProfile(ProfileDialogParts parts, std::shared_ptr<const DialogSkin> skin,
                       QWidget* parent = nullptr);

    // Lays out the skin and fills the list: a row per onboard profile, the active one checked.
    // False when the skin cannot be used (SkinError()).
    bool Initialise();

    QTableWidget* List() const { return m_list; }
    CPngButton* Button(int controlId) const;
    bool IsModified() const { return m_modified; }
    // The checked row, -1 for none; checking a row unchecks the others.
    int CheckedRow() const;
    void CheckRow(int row);
    // The file a row stands for: the working file for the onboard profiles.
    std::filesystem::path RowFile(int row) const;

    // The buttons' commands.
    void AddNewFile();
    void LoadFile();
    void DeleteSelected();
    // Keeps the list and activates the checked row; false when that did not happen.
    bool Apply();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool LoadSurfaces();
    void LayOut();
    void SetTexts();
    void FillOnboardRows();
    // The files added to the list before, kept in the settings.
    void FillKeptRows();
    // The list as it stands is kept in the settings, so that it is there when the manager opens
    // again, in this run or the next.
    void KeepList();
    void AppendRow(const QString& name, const std::filesystem::path& file, bool onboard);
    void OnItemChanged(int row, int column);
    void UpdateDeleteButton();
    void SetModified(bool modified);
    QString Caption(const char* key) const;

    ProfileDialogParts m_parts;
    SkinSurfaces m_surfaces;
    std::map<int, CPngButton*> m_buttons;
    QTableWidget* m_list = nullptr;
    QLabel* m_title = nullptr;
    bool m_modified = false;
    bool m_checking = false;
};

}  // namespace korvel
