// The desktop program: settles the single instance, prepares paths, texts and the keyboard, then
// runs the main window until the user ends the program.
#include <malloc.h>
#include <QApplication>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/keyboard_bus.h"
#include "app/runtime_folder.h"
#include "base/text_encoding.h"
#include "device/device_link.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/platform/desktop_language.h"
#include "gui/platform/desktop_shell_launcher.h"
#include "gui/platform/input_injection.h"
#include "gui/platform/launchers.h"
#include "gui/platform/qt_prompts.h"
#include "gui/platform/qt_settings_store.h"
#include "gui/platform/quit_signals.h"
#include "gui/platform/single_instance.h"
#include "gui/shell/command_forwarding.h"
#include "gui/shell/command_line.h"
#include "gui/shell/startup_environment.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/startup_switches.h"
#include "model/files/program_rules.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/keys/key_texts_from_table.h"
#include "text/data_directory.h"
#include "text/text_table.h"
#include "version.h"

using namespace korvel;

namespace {

long long WallClockNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// For the start-up benchmark (bench/startup.sh), when KORVEL_BENCH_FIRST_FRAME is set: prints the
// wall-clock time of the window's first painted frame, then, a moment later, asks the program to
// end as the tray's Exit does and prints when it asked.
constexpr int kSettleMs = 300;

// Allocations from this size on get pages of their own (glibc's starting threshold).
constexpr int kLargeAllocationBytes = 128 * 1024;

class FirstFrameProbe : public QObject {
public:
    explicit FirstFrameProbe(CKorvelDlg& window) : QObject(&window), m_window(window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // After this paint has reached the screen.
            QTimer::singleShot(0, this,
                               [] { std::fprintf(stderr, "first-frame %lld\n", WallClockNs()); });
            // Once the window has settled (the work it leaves for after the first frame is done).
            QTimer::singleShot(kSettleMs, this, [this] {
                std::fprintf(stderr, "exit-requested %lld\n", WallClockNs());
                emit m_window.exitRequested();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CKorvelDlg& m_window;
    bool m_seen = false;
};

}  // namespace

int main(int argc, char** argv) {
    // Read before the QApplication exists, so that --help, --version and a usage error need no
    // display.
    std::string error;
    const auto options = ParseStartCommandLine(
        std::vector<std::string>(argv + std::min(argc, 1), argv + argc), error);
    if (!options) {
        std::cerr << "korvel: " << error << "\nTry 'korvel --help' for more information.\n";
        return 2;
    }
    if (options->help) {
        std::cout << StartUsageText();
        return 0;
    }
    if (options->version) {
        std::cout << "korvel " << kVersion << '\n';
        return 0;
    }

    // A second start and "/Kill" only hand their wish to the running copy: no application (and
    // no display) is needed for that.
    if (SingleInstance::HandOver(options->kill)) {
        return 0;
    }

#ifdef __GLIBC__
    // The skin's pictures are decoded into large buffers that live only while the window is
    // built. A fixed threshold returns each to the system when it is freed; glibc's sliding one
    // would otherwise rise to their size and keep the next ones in the heap for good.
    if (StartupMechanismOn("mallopt")) {
        mallopt(M_MMAP_THRESHOLD, kLargeAllocationBytes);
    }
#endif
    QApplication app(argc, argv);
    SetSettingsRoot();
    ApplyApplicationStyle(app);
    // The program lives in the notification area: closing or hiding the window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (instance.Claim(options->kill) == SingleInstance::Outcome::Exit) {
        return 0;
    }

    const DocumentsFolder documents = StartDocumentsFolder(*options);
    if (documents.path.empty()) {
        std::cerr << "korvel: " << documents.error << "\n";
        QMessageBox::critical(nullptr, QString(), QString::fromStdString(documents.error));
        return 1;
    }
    const AppPaths paths = MakeAppPaths(documents.path);
    TextTable texts(paths.LanguageFile(), paths.LanguageChoiceFile());
    texts.LoadTexts();
    QtSettingsStore settings;
    FollowLocaleOnFirstStart(texts, settings, QLocale::system());
    KeyCodec keyCodec;
    keyCodec.SetTexts(KeyTextsFromTable(texts));
    QtPrompts prompts;

    auto bus = KeyboardBus::Open(options->Bus("korvel"), error);
    if (!bus) {
        std::cerr << "korvel: " << error << "\n";
        QMessageBox::critical(nullptr, QString(), QString::fromStdString(error));
        return 1;
    }
    DesktopShellLauncher launcher;
    StartCompanionProgram(launcher, paths);

    DeviceLink link;
    ConfigStore store;
    MainWindowServices services{paths,   link,           store,    keyCodec,      texts,
                                prompts, bus->Backend(), launcher, options->start};
    services.settings = &settings;
    // Where korvelctl finds this program, and the lock every transaction with the keyboard holds.
    std::optional<KeyboardMeetingPlace> meetingPlace;
    if (const auto runtime = UserRuntimeFolder(error)) {
        meetingPlace = MeetingPlaceOf(*options, *runtime);
    } else {
        std::cerr << "korvel: " << error << "; korvelctl runs on its own\n";
    }
    if (meetingPlace) {
        services.keyboardLock = meetingPlace->lock;
    }
    const std::filesystem::path udevRule = UdevRuleOf(paths.ProgramDirectory());
    services.keyboardAccessProblem = [&bus, udevRule] { return bus->AccessProblem(udevRule); };
    // The keyboard cannot play its G keys: this program plays them on the computer while it runs.
    const InputInjection gKeyInput = OpenInputInjection();
    if (!gKeyInput.injector) {
        std::cerr << "korvel: the G keys cannot be played: " << gKeyInput.problem << "\n";
    }
    services.gKeyInput = gKeyInput.injector.get();
    services.gKeyInputProblem = gKeyInput.problem;
    // The desktop's buses: the program's D-Bus service, the screen saver and logind.
    services.sessionBus = QDBusConnection::sessionBus();
    services.systemBus = QDBusConnection::systemBus();
    services.programRules = ProgramRulesFile();
    // Only an X11 session tells an X client which window is in front.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        services.followDisplay = QString();
    }
    CKorvelDlg window(services);
    prompts.SetOwner(&window);
    if (!window.Initialise()) {
        // Without its pictures the window cannot be drawn at all.
        std::cerr << "korvel: " << window.SkinError().toStdString() << "\n";
        QMessageBox::critical(nullptr, QString(), window.SkinError());
        return 1;
    }
    window.FollowInstance(instance);
    // The window stays hidden until the keyboard is found; a keyboard that is there but refused
    // would otherwise leave the user with nothing at all.
    if (const std::string refused = services.keyboardAccessProblem(); !refused.empty()) {
        std::cerr << "korvel: " << refused << "\n";
        prompts.ShowMessage(Utf8ToUtf16(refused), MessageKind::Warning);
    }
    QObject::connect(&window, &CKorvelDlg::exitRequested, &app, &QCoreApplication::quit);
    // A logout, a closed terminal or `kill` ends the program as /Kill does: the running
    // transaction ends, the keyboard's state is kept, then the program exits.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &CKorvelDlg::ExitProgram,
                     Qt::QueuedConnection);
    std::unique_ptr<CommandServer> commands;
    if (meetingPlace) {
        commands = ServeKorvelctl(window, meetingPlace->socket, bus.get(), error);
        if (!commands) {
            std::cerr << "korvel: " << error << "; korvelctl runs on its own\n";
        }
    }
    if (qEnvironmentVariableIsSet("KORVEL_BENCH_FIRST_FRAME")) {
        new FirstFrameProbe(window);
    }
    const int status = app.exec();
    commands.reset();
    window.Shutdown();
    if (!bus->Save(error)) {
        std::cerr << "korvel: " << error << "\n";
        return 1;
    }
    return status;
}
