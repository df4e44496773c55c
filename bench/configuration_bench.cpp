// Cost of the configuration model's heavy paths: encoding the key tables, building and parsing the
// largest macro area, loading and saving the largest profile file, and a whole download to the
// virtual keyboard, with and without the per-report latency of a USB transfer.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "device/command_set.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "model/files/profile_file.h"
#include "model/keys/key_codes.h"
#include "model/keys/key_table_codec.h"
#include "model/macros/macro_blob.h"
#include "sync/hardware_download.h"

namespace {

using namespace korvel;

class SilentPrompts : public Prompts {
public:
    void ShowMessage(std::u16string_view, MessageKind) override {}
    Answer AskYesNo(std::u16string_view, Answer defaultAnswer) override { return defaultAnswer; }
};

MacroRecord MakeMacro(std::uint16_t id, int actions, std::size_t nameLength) {
    static constexpr ScanCode kKeys[] = {0x01E, 0x02A, 0x122, 0x11D, 0x030, 0x15B};
    MacroRecord record;
    record.macroId = id;
    record.loopCount = 1;
    record.name.assign(nameLength, u'n');
    for (int i = 0; i < actions; ++i) {
        record.actions.push_back({static_cast<std::uint32_t>(10 * (i % 4000)), kKeys[i % 6],
                                  static_cast<std::uint16_t>(i % 2)});
    }
    return record;
}

// 100 macros whose area with names is as large as the 16-bit size field allows.
std::vector<MacroRecord> LargestArea() {
    std::vector<MacroRecord> macros;
    for (std::uint16_t id = 1; id <= 100; ++id) {
        macros.push_back(MakeMacro(id, 161, 0));
    }
    // 16 + 200 + 100 x 648 = 65016 bytes bare; names fill the rest up to 65534.
    macros[0].name.assign(100, u'a');
    macros[1].name.assign(100, u'b');
    macros[2].name.assign(59, u'c');
    return macros;
}

ProfileBlock BusyBlock() {
    ProfileBlock block = FreshProfileBlock();
    std::mt19937 random(1);
    for (int slot = 0; slot < kKeySlots; ++slot) {
        block[static_cast<std::size_t>(slot)] = {static_cast<std::uint16_t>(random() % 9), 0,
                                                 static_cast<std::uint32_t>(random() % 18)};
    }
    return block;
}

// Every keyboard usage and every consumer code back to its key, as a macro area's reading does for
// each of its actions.
void BM_HidUsageToScanAllUsages(benchmark::State& state) {
    for (auto _ : state) {
        unsigned sum = 0;
        for (std::uint16_t usage = 0; usage < 0x100; ++usage) {
            sum += HidUsageToScan(kPageKeyboard, usage);
        }
        for (const std::uint16_t usage : ConsumerCodeTable()) {
            sum += HidUsageToScan(kPageConsumer, usage);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_HidUsageToScanAllUsages);

void BM_EncodeThreeProfiles(benchmark::State& state) {
    const ProfileBlock block = BusyBlock();
    const MacroPositionOf position = [](std::uint16_t id) { return std::uint16_t(id % 100); };
    for (auto _ : state) {
        for (int p = 0; p < kOnboardProfiles; ++p) {
            benchmark::DoNotOptimize(EncodeKeyTable(block, kBuiltInDefaultKeyTable, position));
        }
    }
}
BENCHMARK(BM_EncodeThreeProfiles);

void BM_BuildLargestMacroArea(benchmark::State& state) {
    const std::vector<MacroRecord> macros = LargestArea();
    const BlobForm form = ChooseBlobForm(MeasureMacros(macros), 64 * 1024);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildMacroBlob(macros, form.size, form.withNames));
    }
    state.counters["bytes"] = form.size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * form.size);
}
BENCHMARK(BM_BuildLargestMacroArea);

void BM_ParseLargestMacroArea(benchmark::State& state) {
    const std::vector<MacroRecord> macros = LargestArea();
    const BlobForm form = ChooseBlobForm(MeasureMacros(macros), 64 * 1024);
    const auto blob = BuildMacroBlob(macros, form.size, form.withNames);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseMacroBlob(*blob, u"Macro"));
    }
    state.counters["bytes"] = form.size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * form.size);
}
BENCHMARK(BM_ParseLargestMacroArea);

class ProfileFileBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override {
        m_file = std::filesystem::temp_directory_path() /
                 ("korvel-bench-" + std::to_string(std::random_device{}()) + ".kvp");
        CreateDefaultConfig(m_store, {}, 0, true);
        std::vector<MacroRecord> macros;
        for (std::uint16_t id = 1; id <= 100; ++id) {
            macros.push_back(MakeMacro(id, kMaxMacroActions, 40));
        }
        m_store.EditingConfig().SetMacros(std::move(macros));
        SaveProfileFile(m_store, true, m_file);
    }
    void TearDown(benchmark::State&) override { std::filesystem::remove(m_file); }

protected:
    ConfigStore m_store;
    std::filesystem::path m_file;
};

BENCHMARK_DEFINE_F(ProfileFileBench, Save100MacrosOf2000Actions)(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveProfileFile(m_store, true, m_file));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(m_file)));
}
BENCHMARK_REGISTER_F(ProfileFileBench, Save100MacrosOf2000Actions)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(ProfileFileBench, Load100MacrosOf2000Actions)(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadProfileFile(m_store, m_file));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(m_file)));
}
BENCHMARK_REGISTER_F(ProfileFileBench, Load100MacrosOf2000Actions)->Unit(benchmark::kMillisecond);

// A whole download (all three profiles) to a keyboard of the largest capacity its information
// block can announce, 255 x 128 bytes, with the macro area filled. The protocol floor is what the
// reports alone cost: every exchange is one request and one reply of one latency each, plus the
// pause before the end command.
void BM_FullDownload(benchmark::State& state) {
    const auto latency = std::chrono::milliseconds(state.range(0));
    sim::FactoryOptions options;
    options.macroCapacityUnits = 255;
    sim::VirtualKeyboard keyboard(sim::MakeFactoryMemory(options));
    sim::SimulatedChannel channel(keyboard);
    channel.SetLatency(latency);
    DeviceLink link;
    link.Connect(channel);
    link.SetMacroCapacity(keyboard.Memory().MacroCapacity());
    KeyCodec keyCodec;
    SilentPrompts prompts;
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    std::vector<MacroRecord> macros;
    for (std::uint16_t id = 1; id <= 50; ++id) {
        macros.push_back(MakeMacro(id, 158, 10));
    }
    store.EditingConfig().SetMacros(std::move(macros));
    *store.EditingConfig().Image() = [&] {
        ConfigImage image = *store.EditingConfig().Image();
        image.blocks[0] = image.blocks[1] = image.blocks[2] = BusyBlock();
        return image;
    }();
    DownloadParts parts{store, link, keyCodec, prompts, {}};
    DownloadReport report;
    std::size_t exchanges = 0;
    for (auto _ : state) {
        keyboard.ClearReceived();
        benchmark::DoNotOptimize(StageAndDownload(parts, true, &report));
        exchanges = keyboard.Received().size();
    }
    const double floorMs =
        static_cast<double>(2 * exchanges * static_cast<std::size_t>(latency.count())) +
        static_cast<double>(link.Timings().endPause.count());
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["macro_bytes"] = report.macroAreaBytes;
    state.counters["floor_ms"] = floorMs;
}
BENCHMARK(BM_FullDownload)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
