// `korvelctl dump` of a profile file at the format's limits (every entry of the four blocks set,
// 100 macros of 2000 actions, a program path on every key of a block), as text and as JSON: the
// JSON dump is written as it goes and should stay within twice the text dump's time. Beside them,
// the same file into its lossless JSON form (which reads itself back to check) and back.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "cli/run_cli.h"
#include "model/files/profile_file.h"
#include "model/files/profile_json.h"
#include "model/image/config_store.h"

namespace {

using namespace korvel;

// Counts what is written and keeps none of it.
class CountingBuffer : public std::streambuf {
public:
    std::size_t written = 0;

protected:
    int_type overflow(int_type c) override {
        ++written;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        written += static_cast<std::size_t>(n);
        return n;
    }
};

const std::filesystem::path& LargestFile() {
    static const std::filesystem::path file = [] {
        ConfigStore store;
        CreateDefaultConfig(store, {}, 0, true);
        EditingHolder& editing = store.EditingConfig();
        for (int k = 0; k < kConfigEntries; ++k) {
            const bool program = k < kBlockSlots;
            editing.Image()->Entry(k) = {program ? kEntryLaunch : kEntryKey, 0, 0x01E};
            if (program) {
                editing.Strings().SetText(k, u"C:\\\\Program Files\\\\Some Tool\\\\tool.exe");
            }
        }
        std::vector<MacroRecord> macros(kMaxMacros);
        for (std::size_t m = 0; m < macros.size(); ++m) {
            macros[m].macroId = static_cast<std::uint16_t>(m + 1);
            macros[m].name = u"macro " + std::u16string(1, static_cast<char16_t>(u'a' + m % 26));
            macros[m].loopCount = 1;
            for (int a = 0; a < kMaxMacroActions; ++a) {
                macros[m].actions.push_back(
                    {static_cast<std::uint32_t>(a), 0x01E, static_cast<std::uint16_t>(a % 2)});
            }
        }
        editing.SetMacros(std::move(macros));
        const auto path = std::filesystem::temp_directory_path() / "korvel-dump-bench.kvp";
        SaveProfileFile(store, true, path);
        return path;
    }();
    return file;
}

void Dump(benchmark::State& state, std::vector<std::string> args) {
    args.insert(args.begin(), {"dump", LargestFile().string()});
    std::size_t written = 0;
    for (auto _ : state) {
        CountingBuffer buffer;
        std::ostream out(&buffer);
        std::ostringstream err;
        benchmark::DoNotOptimize(cli::RunCli(args, out, err));
        written = buffer.written;
    }
    state.counters["output MB"] = static_cast<double>(written) / 1e6;
}

void BM_DumpText(benchmark::State& state) {
    Dump(state, {});
}
BENCHMARK(BM_DumpText)->Unit(benchmark::kMillisecond);

void BM_DumpJson(benchmark::State& state) {
    Dump(state, {"--json"});
}
BENCHMARK(BM_DumpJson)->Unit(benchmark::kMillisecond);

std::vector<std::uint8_t> LargestFileBytes() {
    std::ifstream in(LargestFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void BM_ConvertToJson(benchmark::State& state) {
    const std::vector<std::uint8_t> file = LargestFileBytes();
    std::size_t written = 0;
    for (auto _ : state) {
        std::string error;
        const auto text = ProfileToJson(file, error);
        written = text ? text->size() : 0;
    }
    state.counters["output MB"] = static_cast<double>(written) / 1e6;
}
BENCHMARK(BM_ConvertToJson)->Unit(benchmark::kMillisecond);

void BM_ConvertFromJson(benchmark::State& state) {
    std::string error;
    const std::string text = ProfileToJson(LargestFileBytes(), error).value_or("");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProfileFromJson(text, error));
    }
}
BENCHMARK(BM_ConvertFromJson)->Unit(benchmark::kMillisecond);

}  // namespace
