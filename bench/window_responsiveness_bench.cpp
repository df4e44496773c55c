// How long the window's thread goes without handling events while the user works on a keyboard
// that takes 20 ms per report (KORVEL_BENCH_LATENCY_MS): a 2 ms timer on the window's thread
// records the longest gap between its ticks from the user's action until the keyboard has had time
// to finish. The counter longest_gap_ms is the figure; a window that never waits for the keyboard
// keeps it near the timer's period whatever the keyboard costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>

#include "device/device_link.h"
#include "device/sim/simulated_backend.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/mainwnd/apply_controller.h"
#include "gui/mainwnd/editor_launcher.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/platform/desktop_shell_launcher.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_file.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "model/lighting/lighting_state.h"
#include "ports/settings_store.h"
#include "support/scripted_prompts.h"
#include "text/text_table.h"

namespace {

using namespace korvel;
using Clock = std::chrono::steady_clock;

// 20 ms a report unless KORVEL_BENCH_LATENCY_MS says otherwise (0 shows what the window's own
// work costs).
std::chrono::milliseconds Latency() {
    bool given = false;
    const int ms = qEnvironmentVariableIntValue("KORVEL_BENCH_LATENCY_MS", &given);
    return std::chrono::milliseconds(given ? ms : 20);
}
// Long enough for the slowest action here (an import of three profiles) to end at 20 ms a report.
constexpr int kSettleMs = 2500;

// Handles events for `ms` while a 2 ms timer measures the longest pause between its ticks.
class GapMeter {
public:
    GapMeter() {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }
    void Start() {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    // Runs `action` (on the window's thread, inside the measurement), then handles events.
    double Measure(const std::function<void()>& action, int ms = kSettleMs) {
        Start();
        action();
        Tick();
        Pump(ms);
        m_timer.stop();
        return static_cast<double>(m_longest);
    }
    static void Pump(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

private:
    void Tick() {
        const qint64 now = m_clock.elapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// The program around a window on a virtual keyboard of 20 ms per report.
struct Program {
    Program()
        : paths(QCoreApplication::applicationDirPath().toStdU16String(),
                documents.path().toStdU16String()),
          texts(paths.LanguageFile()),
          backend(keyboard) {
        texts.LoadTexts();
        backend.SetLatency(Latency());
    }
    std::unique_ptr<CKorvelDlg> Window() {
        MainWindowServices services{paths,   link,    store,    codec, texts,
                                    prompts, backend, launcher, false};
        services.settings = &settings;
        auto window = std::make_unique<CKorvelDlg>(services);
        window->Initialise();
        return window;
    }

    QTemporaryDir documents;
    AppPaths paths;
    TextTable texts;
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend;
    DeviceLink link;
    ConfigStore store;
    KeyCodec codec;
    ScriptedPrompts prompts;
    DesktopShellLauncher launcher;
    MemorySettingsStore settings;
};

// A shown window whose arrival reads have ended.
std::unique_ptr<CKorvelDlg> Shown(Program& program) {
    auto window = program.Window();
    QElapsedTimer clock;
    clock.start();
    while (!window->isVisible() && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    GapMeter::Pump(kSettleMs);
    return window;
}

template <typename T>
T* PanelControl(CKorvelDlg& window, int id) {
    return static_cast<T*>(window.Lighting().Control(id));
}

void TurnLightingOn(CKorvelDlg& window) {
    if (!window.Lighting().IsOn()) {
        PanelControl<CPictureButton>(window, kPanelSwitch)->click();
        GapMeter::Pump(kSettleMs);
    }
}

void Report(benchmark::State& state, double gap) {
    state.counters["longest_gap_ms"] = gap;
}

// One measured action on a shown window: `prepare` sets the scene (not measured), `act` is what
// the user does.
using Step = std::function<void(Program&, CKorvelDlg&)>;
void MeasureAction(benchmark::State& state, const Step& prepare, const Step& act) {
    for (auto _ : state) {
        Program program;
        auto window = Shown(program);
        if (prepare) {
            prepare(program, *window);
        }
        GapMeter meter;
        Report(state, meter.Measure([&] { act(program, *window); }));
        window->Shutdown();
    }
}

void BM_FirstFrameAndArrival(benchmark::State& state) {
    for (auto _ : state) {
        Program program;
        GapMeter meter;
        // From a built window on: the keyboard's arrival, the first frame and the reads.
        std::unique_ptr<CKorvelDlg> window = program.Window();
        Report(state, meter.Measure([] {}));
        window->Shutdown();
    }
}

void BM_PickEffect(benchmark::State& state) {
    MeasureAction(
        state, [](Program&, CKorvelDlg& window) { TurnLightingOn(window); },
        [](Program&, CKorvelDlg& window) {
            auto* selector = PanelControl<QComboBox>(window, kEffectSelector);
            const int position = window.Lighting().State().effectSlots.PositionOf(4);
            selector->setCurrentIndex(position);
            emit selector->activated(position);
        });
}

// A drag across the brightness range, one position every 30 ms as a hand moves it.
void DragBrightness(CKorvelDlg& window) {
    auto* slider = PanelControl<CImageSlider>(window, kBrightnessSlider);
    const auto at = [slider](int p) {
        return QPoint((2 * p + 1) * slider->width() / 12, slider->height() / 2);
    };
    const auto send = [&](QEvent::Type type, int p, Qt::MouseButtons held) {
        QMouseEvent event(type, at(p), slider->mapToGlobal(at(p)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(slider, &event);
    };
    send(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    for (int p : {1, 2, 3, 4, 5, 4, 3}) {
        GapMeter::Pump(30);
        send(QEvent::MouseMove, p, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, 3, Qt::NoButton);
}

void BM_DragSlider(benchmark::State& state) {
    MeasureAction(
        state, [](Program&, CKorvelDlg& window) { TurnLightingOn(window); },
        [](Program&, CKorvelDlg& window) { DragBrightness(window); });
}

void BM_ClickProfile(benchmark::State& state) {
    MeasureAction(state, {},
                  [](Program&, CKorvelDlg& window) { window.Control(kProfileButton2)->click(); });
}

void BM_ClickReportRate(benchmark::State& state) {
    MeasureAction(state, {},
                  [](Program&, CKorvelDlg& window) { window.Control(kReportRate1)->click(); });
}

std::filesystem::path ImportFile(Program& program) {
    return std::filesystem::path(program.documents.path().toStdU16String()) / "import.kvp";
}

void BM_Import(benchmark::State& state) {
    MeasureAction(
        state,
        [](Program& program, CKorvelDlg&) {
            SaveProfileFile(program.store, false, ImportFile(program));
        },
        [](Program& program, CKorvelDlg& window) { window.Applier().Import(ImportFile(program)); });
}

// A remap waiting to be sent.
void EditKeyA(Program& program, CKorvelDlg& window) {
    {
        auto lock = program.store.EditingConfig().Lock();
        program.store.EditingConfig().Image()->blocks[0][19] = KeyEntry{kEntryKey, 0, 0x03B};
    }
    window.Applier().SetModified(true);
}

void BM_Apply(benchmark::State& state) {
    MeasureAction(state, EditKeyA, [](Program&, CKorvelDlg& window) { window.Applier().Apply(); });
}

void BM_ClickKeyDuringApply(benchmark::State& state) {
    MeasureAction(
        state,
        [](Program& program, CKorvelDlg& window) {
            // The editor is built once beforehand: building it is not waiting for the keyboard.
            window.Editors().OpenKeyEditor(kKeyA);
            window.Editors().KeyEditor()->CancelEditor();
            EditKeyA(program, window);
            window.Applier().Apply();
            GapMeter::Pump(100);  // the download is under way
        },
        [](Program&, CKorvelDlg& window) {
            window.Keys().ButtonOfControl(kKeyA)->click();
            GapMeter::Pump(50);
            if (window.Editors().KeyEditor() != nullptr) {
                window.Editors().KeyEditor()->CancelEditor();
            }
        });
}

BENCHMARK(BM_FirstFrameAndArrival)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickEffect)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragSlider)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickProfile)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickReportRate)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickKeyDuringApply)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
