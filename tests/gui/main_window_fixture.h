#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "device/command_report.h"
#include "device/device_link.h"
#include "device/sim/simulated_backend.h"
#include "device/sim/virtual_keyboard.h"
#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/arrival_reload.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/flip_controls.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/profile_switcher.h"
#include "gui/mainwnd/window_dialogs.h"
#include "gui/recording_launcher.h"
#include "gui/scripted_file_chooser.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "ports/settings_store.h"
#include "support/scripted_prompts.h"
#include "text/text_table.h"

namespace korvel::fixtures {

// Handles events until `done` holds; the device threads answer within milliseconds, the bound only
// keeps a broken build from hanging (a test on a slow keyboard gives a longer one).
inline bool PumpUntil(const std::function<bool()>& done, int boundMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > boundMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

inline int CountCommands(const sim::VirtualKeyboard& keyboard, std::uint8_t command) {
    int count = 0;
    for (const CommandReport& report : keyboard.Received()) {
        count += report.Command() == command;
    }
    return count;
}

// The whole program around a main window, on a virtual keyboard whose profile 1 plays B on A.
class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture()
        : keyboard(RemappedKeyboard()),
          backend(keyboard),
          paths(QCoreApplication::applicationDirPath().toStdU16String(),
                documents.path().toStdU16String()),
          texts(OwnLanguageFile()) {
        texts.LoadTexts();
    }

    // A copy of the language file, so that a language switch never writes the build's own.
    std::filesystem::path OwnLanguageFile() {
        const std::filesystem::path copy = documents.filePath("language.ini").toStdU16String();
        std::filesystem::copy_file(paths.LanguageFile(), copy);
        return copy;
    }

    static sim::KeyboardMemory RemappedKeyboard() {
        sim::KeyboardMemory memory = sim::MakeFactoryMemory();
        // Matrix position 19 holds A (02 02 04); make it send B (02 02 05) in profile 1.
        memory.keyTables[19 * 3 + 2] = 0x05;
        return memory;
    }

    std::unique_ptr<CKorvelDlg> Start(bool startSwitch = false) {
        PresenceTimings fast{std::chrono::milliseconds(5), std::chrono::milliseconds(20),
                             std::chrono::milliseconds(1), std::chrono::milliseconds(1)};
        MainWindowServices services{paths,
                                    link,
                                    store,
                                    codec,
                                    texts,
                                    prompts,
                                    backend,
                                    launcher,
                                    startSwitch,
                                    fast,
                                    ListenerTimings{std::chrono::milliseconds(20)}};
        services.settings = &settings;
        services.profileFiles = &profileFiles;
        services.skins = skins;
        services.gKeyInput = gKeyInput;
        services.trayAvailable = [this] { return trayAvailable; };
        services.sessionBus = sessionBus;
        services.systemBus = systemBus;
        services.programRules = programRules;
        services.followDisplay = followDisplay;
        auto window = std::make_unique<CKorvelDlg>(services);
        EXPECT_TRUE(window->Initialise()) << window->SkinError().toStdString();
        return window;
    }

    // Shown, and the reads that follow the keyboard's arrival shown.
    static bool Settled(CKorvelDlg& window) {
        return window.isVisible() && !window.Reload().Reading() && !window.KeyboardBusy();
    }

    // Every job of the window's has ended and its result is shown; events already posted (a
    // slider's last position) have submitted theirs first.
    static bool Idle(CKorvelDlg& window) {
        QCoreApplication::sendPostedEvents();
        return PumpUntil([&] { return !window.KeyboardBusy(); });
    }

    // A window shown after the keyboard's arrival, with the keyboard's log emptied.
    std::unique_ptr<CKorvelDlg> StartShown() {
        auto window = Start();
        EXPECT_TRUE(PumpUntil([&] { return Settled(*window); }));
        keyboard.ClearReceived();
        return window;
    }

    // Every parameter write the keyboard received: its address and bytes.
    struct ParamWrite {
        int address;
        std::vector<std::uint8_t> bytes;
        bool operator==(const ParamWrite&) const = default;
    };
    std::vector<ParamWrite> ParamWrites() const {
        std::vector<ParamWrite> writes;
        for (const CommandReport& report : keyboard.Received()) {
            if (report.Command() == CMD_WRITE_PARAMS) {
                const auto data = report.Data();
                writes.push_back(
                    {report.Address(),
                     std::vector<std::uint8_t>(data.begin(), data.begin() + report.Length())});
            }
        }
        return writes;
    }

    // Byte `offset` of profile p's lighting record in the keyboard.
    int RecordByte(int profile, int offset) const {
        return keyboard.Memory().params[static_cast<std::size_t>(profile * 42 + offset)];
    }

    CPngButton* KeyA(CKorvelDlg& window) { return window.Keys().ButtonOfControl(kKeyA); }
    // A remap of A in onboard profile 1, staged as the key editor leaves it.
    void StageRemapOfA(CKorvelDlg& window, ScanCode target) {
        {
            auto lock = store.EditingConfig().Lock();
            store.EditingConfig().Image()->blocks[0][SlotOfScan(0x01E)] = {kEntryKey, 0, target};
        }
        window.Applier().SetModified(true);
    }
    // The code matrix position 19 (A) holds in the keyboard's onboard profile 1.
    std::vector<std::uint8_t> KeyboardCodeOfA() const {
        const auto tables = keyboard.Memory().keyTables;
        return {tables.begin() + 57, tables.begin() + 60};
    }

    QTemporaryDir documents;
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend;
    AppPaths paths;
    TextTable texts;
    DeviceLink link;
    ConfigStore store;
    KeyCodec codec;
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    MemorySettingsStore settings;
    ScriptedFileChooser profileFiles;
    // The skins the window hands its dialogs; none: the shipped ones.
    SkinSource skins;
    // Where the window plays the G keys; none: it does not.
    InputInjector* gKeyInput = nullptr;
    // Whether the desktop has a notification area: the offscreen platform has none, but the
    // window's tests take the desktops that do unless they say otherwise.
    bool trayAvailable = true;
    // No desktop bus unless a test gives a private one.
    std::optional<QDBusConnection> sessionBus;
    std::optional<QDBusConnection> systemBus;
    // No per-application profiles unless a test gives rules and an X server to follow.
    std::filesystem::path programRules;
    std::optional<QString> followDisplay;
};

}  // namespace korvel::fixtures
