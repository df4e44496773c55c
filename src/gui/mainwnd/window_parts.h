#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "gui/mainwnd/main_window_services.h"
#include "gui/mainwnd/window_skins.h"
#include "ports/text_lookup.h"

class QWidget;

class QMenu;

namespace korvel {

class CPngButton;
class DialogSkin;
class KeyGrid;
class KeyboardJobs;
class LightingPanel;
class ProfileBar;
struct FileWriteResult;

// What the main window's controllers share: the program's services, the keyboard's jobs, the
// window's skin and views, and the few things each of them says or shows the same way. The window
// owns it; everything here outlives the controllers.
class WindowParts {
public:
    WindowParts(MainWindowServices& services, KeyboardJobs& jobs, QWidget& window,
                const DialogSkin& skin, KeyGrid& keys, ProfileBar& profiles,
                LightingPanel& lighting, std::function<CPngButton*(int)> control,
                SettingsStore& settings);

    MainWindowServices& services;
    KeyboardJobs& jobs;
    QWidget& window;
    const DialogSkin& skin;
    KeyGrid& keys;
    ProfileBar& profiles;
    LightingPanel& lighting;
    SettingsStore& settings;

    // A control of the window or its profile bar by id; null for other ids.
    CPngButton* Control(int controlId) const { return m_control(controlId); }
    // The keyboard's active profile as it last said, -1 when unknown.
    int ActiveProfile() const;
    // The key buttons show the active profile's entries of the editing configuration.
    void RefreshKeys() const;
    // The skin a dialog of the window is given.
    std::shared_ptr<const DialogSkin> SkinOf(WindowSkin dialog) const;

    // The text table as a lookup (GUI thread), or a copy of some of its texts for a job, which
    // must not read the table from its thread.
    TextLookup Texts() const;
    TextLookup TextsFor(std::initializer_list<const char*> keys) const;
    std::u16string Caption(const char* key) const;
    // The caption of `prefix` + `word` in capitals with '-' as '_' ("EDIT_OF_" and "report-rate"
    // give EDIT_OF_REPORT_RATE's); empty when the language file has none.
    std::u16string CaptionOf(std::string_view prefix, std::string_view word) const;
    // The caption of `key` with `value` in place of its "%s" (after it, on a line of its own,
    // when it has none).
    std::u16string CaptionWith(const char* key, std::u16string_view value) const;

    // The language the user chose from the window's menu (0 Chinese, 1 English): the whole
    // window follows. Set by the window once its views are in place.
    std::function<void(int)> chooseLanguage;
    // Adds the choice of what the lighting does while the screen is locked to the window's menu.
    std::function<void(QMenu&)> addAwayMenu;

    // The window is closing: results that arrive now are no longer shown.
    void SetClosing() { m_closing = true; }
    bool Closing() const { return m_closing; }
    // A job could not have the keyboard: another program held it.
    void ShowKeyboardHeld(const std::string& holder) const;
    // Opens the user guide; says so when it cannot be opened (the file is missing, or nothing on
    // the desktop opens it).
    void ShowHelp() const;
    // A stored file could not be replaced: says which and why.
    void ShowWriteFailure(const std::filesystem::path& file, const FileWriteResult& write) const;

private:
    std::function<CPngButton*(int)> m_control;
    bool m_closing = false;
};

}  // namespace korvel
