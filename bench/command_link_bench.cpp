// Cost of the command link itself: building requests and moving them through the exchange to the
// virtual keyboard with no latency, so what is measured is the tool's own overhead per report.
#include <benchmark/benchmark.h>

#include <vector>

#include "device/command_report.h"
#include "device/command_set.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"

namespace {

using namespace korvel;

void BM_BuildRequest(benchmark::State& state) {
    std::array<std::uint8_t, 56> data{};
    data.fill(0xA5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildRequest(CMD_WRITE_MACROS, 56, 0x1234, data));
    }
}
BENCHMARK(BM_BuildRequest);

void BM_WriteThreeKeyTables(benchmark::State& state) {
    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel(keyboard);
    DeviceLink link;
    link.Connect(channel);
    KeyTableBytes table = kBuiltInDefaultKeyTable;
    for (auto _ : state) {
        for (int profile = 0; profile < kOnboardProfiles; ++profile) {
            benchmark::DoNotOptimize(DevWriteKeyTable(link, table, profile));
        }
        keyboard.ClearReceived();
    }
    state.counters["reports/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 21 * 2, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WriteThreeKeyTables);

void BM_WriteFullMacroArea(benchmark::State& state) {
    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel(keyboard);
    DeviceLink link;
    link.Connect(channel);
    const std::vector<std::uint8_t> area(8192, 0x11);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DevWriteMacroArea(link, area));
        keyboard.ClearReceived();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 8192);
}
BENCHMARK(BM_WriteFullMacroArea);

// One exchange with the virtual keyboard at a 1 ms latency: the write takes 1 ms and the reply
// comes 1 ms later, so the ideal is 2 ms; what lies above it is the simulator's oversleep.
void BM_ReadInfoAtOneMillisecondLatency(benchmark::State& state) {
    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel(keyboard);
    channel.SetLatency(std::chrono::milliseconds(1));
    DeviceLink link;
    link.Connect(channel);
    DeviceInfoBlock block;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DevReadInfo(link, block));
        keyboard.ClearReceived();
    }
    state.counters["exchanges/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadInfoAtOneMillisecondLatency)->UseRealTime();

}  // namespace
