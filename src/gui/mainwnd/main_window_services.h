#pragma once

#include <QDBusConnection>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "gui/mainwnd/window_skins.h"
#include "sync/device_presence.h"
#include "sync/event_listener.h"
#include "text/app_paths.h"

namespace korvel {

class ConfigStore;
class DeviceLink;
class HidBackend;
class InputInjector;
class KeyCodec;
class ProfileFileChooser;
class Prompts;
class SettingsStore;
class ShellLauncher;
class TextTable;

// What the program hands its main window: the shared core objects, the paths and the keyboard's
// HID stack. All of them outlive the window.
struct MainWindowServices {
    const AppPaths& paths;
    DeviceLink& link;
    ConfigStore& store;
    KeyCodec& keyCodec;
    TextTable& texts;
    Prompts& prompts;
    HidBackend& backend;
    ShellLauncher& launcher;
    bool startSwitch = false;  // "/Start": do not open the window on the first arrival
    PresenceTimings presenceTimings = {};
    ListenerTimings listenerTimings = {};
    // The application's settings store (the stored "Flip"); none: kept in memory.
    SettingsStore* settings = nullptr;
    // Why a keyboard that is plugged in cannot be opened (the access message), empty when nothing
    // is refused; none: never asked.
    std::function<std::string()> keyboardAccessProblem = {};
    // The lock file every transaction with the keyboard holds, so that no other program's falls
    // in between; empty: none.
    std::filesystem::path keyboardLock = {};
    // The profile manager's file dialogs; none: the platform's.
    ProfileFileChooser* profileFiles = nullptr;
    // The skins of the window and its dialogs; none: the ones the program ships.
    SkinSource skins = {};
    // How the G keys are played on this computer; none: they are not, and gKeyInputProblem says
    // why (empty: nobody asked).
    InputInjector* gKeyInput = nullptr;
    std::string gKeyInputProblem = {};
    // Whether the desktop has a notification area; none: the desktop is asked. Without one the
    // window is minimised where it would otherwise hide in the tray.
    std::function<bool()> trayAvailable = {};
    // The desktop's session and system buses: the program's D-Bus service and the screen saver on
    // the first, logind on the second. None: neither offered nor followed (the tests give private
    // buses where they need them).
    std::optional<QDBusConnection> sessionBus = {};
    std::optional<QDBusConnection> systemBus = {};
    // The per-application profiles: where their rules are kept (empty: none), and the X display
    // whose window in front the keyboard follows ("" $DISPLAY; none: not followed, as on Wayland).
    std::filesystem::path programRules = {};
    std::optional<QString> followDisplay = {};
};

}  // namespace korvel
