// What reading back costs: a download of all three profiles and a macro area, alone and with the
// read-back that checks it, and a complete backup read and restored, on the virtual keyboard at a
// latency of 1 ms per report (a write takes 1 ms, its reply comes 1 ms later).
#include <benchmark/benchmark.h>

#include <vector>

#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "support/scripted_prompts.h"
#include "sync/download_check.h"
#include "sync/hardware_download.h"
#include "sync/keyboard_backup.h"

namespace {

using namespace korvel;

// Ten macros of twenty actions: a macro area of about 2.5 KiB, as a keen user has.
std::vector<MacroRecord> Macros() {
    std::vector<MacroRecord> macros;
    for (std::uint16_t id = 1; id <= 10; ++id) {
        MacroRecord record;
        record.macroId = id;
        record.name = u"macro " + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
        record.loopCount = 1;
        for (int i = 0; i < 20; ++i) {
            record.actions.push_back({30, 0x01E, static_cast<std::uint16_t>(i % 2)});
        }
        macros.push_back(std::move(record));
    }
    return macros;
}

struct Bench {
    Bench() : channel(keyboard) {
        channel.SetLatency(std::chrono::milliseconds(1));
        link.Connect(channel);
        link.SetMacroCapacity(keyboard.Memory().MacroCapacity());
        CreateDefaultConfig(store, {}, 0, true);
        store.EditingConfig().SetMacros(Macros());
        StageConfig(store);
    }
    DownloadPlan Plan() {
        DownloadParts parts{store, link, codec, prompts, [](std::string_view) { return u""; }};
        return *PlanDownload(parts, true);
    }
    void Count(benchmark::State& state, std::size_t reports) {
        state.counters["reports"] = static_cast<double>(reports);
    }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    DeviceLink link;
    ConfigStore store;
    KeyCodec codec;
    ScriptedPrompts prompts;
};

// Argument 0: the download alone; 1: with the read-back that checks it.
void BM_Download(benchmark::State& state) {
    Bench bench;
    const DownloadPlan plan = bench.Plan();
    const bool readBack = state.range(0) != 0;
    for (auto _ : state) {
        bench.keyboard.ClearReceived();
        benchmark::DoNotOptimize(SendDownload(bench.link, plan));
        if (readBack) {
            benchmark::DoNotOptimize(CheckDownload(bench.link, plan, bench.codec).Holds());
        }
    }
    bench.Count(state, bench.keyboard.Received().size());
}
BENCHMARK(BM_Download)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CompleteBackupRead(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        bench.keyboard.ClearReceived();
        benchmark::DoNotOptimize(ReadCompleteBackup(bench.link));
    }
    bench.Count(state, bench.keyboard.Received().size());
}
BENCHMARK(BM_CompleteBackupRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_CompleteBackupRestore(benchmark::State& state) {
    Bench bench;
    const CompleteBackup backup = *ReadCompleteBackup(bench.link);
    for (auto _ : state) {
        bench.keyboard.ClearReceived();
        benchmark::DoNotOptimize(RestoreCompleteBackup(bench.link, backup, bench.codec).outcome);
    }
    bench.Count(state, bench.keyboard.Received().size());
}
BENCHMARK(BM_CompleteBackupRestore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
