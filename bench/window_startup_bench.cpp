// How long the main window takes from construction to a laid-out, initialised window with its
// device threads running, and back down again (offscreen, virtual keyboard).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>

#include "device/device_link.h"
#include "device/sim/simulated_backend.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/platform/desktop_shell_launcher.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "support/scripted_prompts.h"
#include "text/text_table.h"

namespace {

using namespace korvel;

void BM_MainWindowStartAndStop(benchmark::State& state) {
    QTemporaryDir documents;
    const AppPaths paths(QCoreApplication::applicationDirPath().toStdU16String(),
                         documents.path().toStdU16String());
    TextTable texts(paths.LanguageFile());
    texts.LoadTexts();
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend(keyboard);
    ScriptedPrompts prompts;
    DesktopShellLauncher launcher;
    for (auto _ : state) {
        DeviceLink link;
        ConfigStore store;
        KeyCodec codec;
        CKorvelDlg window(
            MainWindowServices{paths, link, store, codec, texts, prompts, backend, launcher, true});
        if (!window.Initialise()) {
            state.SkipWithError("the skin cannot be used");
            break;
        }
        window.Shutdown();
    }
}
BENCHMARK(BM_MainWindowStartAndStop)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
