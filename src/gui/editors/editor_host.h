#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace korvel {

class ConfigStore;
class KeyCodec;
class Prompts;
class SettingsStore;
class ShellLauncher;
class TextTable;

// What the key and macro editors need from the program and its main window. Everything outlives
// the editors.
struct EditorHost {
    ConfigStore& store;
    const KeyCodec& codec;
    const TextTable& texts;
    Prompts& prompts;
    SettingsStore& settings;
    ShellLauncher& launcher;
    // The keyboard's active profile, -1 when it is not known.
    std::function<int()> activeProfile;
    // The main window: its modified state, its key buttons' looks and tips, its count of open
    // editors, and help.
    std::function<void()> markModified;
    std::function<void()> refreshKeys;
    std::function<void()> editorOpened;
    std::function<void()> editorClosed;
    std::function<void()> showHelp;
    // The desktop's on-screen keyboard program; empty when none is installed.
    QString onScreenKeyboard;
    // Milliseconds of a steady clock, for the recorder's delays.
    std::function<std::uint64_t()> clockMs;
    // Why the G keys, which this program plays on the computer, cannot be played here; empty
    // when they can.
    QString gKeysNotPlayed = {};
};

}  // namespace korvel
