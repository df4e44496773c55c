// A whole backup of a keyboard whose memory is the input: information block, three key tables
// and the macro area, in that order (zero-padded). Whatever the keyboard holds, the backup either
// fails or writes a profile file that the import's check takes.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "model/keys/key_codec.h"
#include "support/scripted_prompts.h"
#include "sync/device_backup.h"
#include "sync/profile_transfer.h"

namespace {

// The file each backup writes: one per process, removed when the process ends.
const std::filesystem::path& BackupFile() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("korvel-backup-fuzz-" + std::to_string(getpid()) + ".kvp");
    return file;
}

void RemoveBackupFile() {
    std::error_code ignored;
    std::filesystem::remove(BackupFile(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const std::filesystem::path& file = BackupFile();
    // Registered after the path exists, so it runs before the path is destroyed.
    static const bool removedAtExit = std::atexit(RemoveBackupFile) == 0;
    (void)removedAtExit;
    static const KeyCodec keyCodec;
    static const TextLookup texts = [](std::string_view) { return std::u16string(); };

    std::span<const std::uint8_t> input(data, size);
    const auto take = [&input](auto& area) {
        const std::size_t count = std::min(area.size(), input.size());
        std::copy_n(input.begin(), count, area.begin());
        input = input.subspan(count);
    };
    sim::FactoryOptions options;
    options.macroCapacityUnits =
        size > kInfoMacroCapacityOffset ? data[kInfoMacroCapacityOffset] : 64;
    sim::KeyboardMemory memory = sim::MakeFactoryMemory(options);
    take(memory.info);
    memory.info[kInfoMacroCapacityOffset] = static_cast<std::uint8_t>(options.macroCapacityUnits);
    take(memory.keyTables);
    take(memory.macroArea);

    sim::VirtualKeyboard keyboard(memory);
    sim::SimulatedChannel channel(keyboard);
    LinkTimings timings;
    timings.readTimeoutMs = 1;
    timings.pause = [](std::chrono::milliseconds) {};
    DeviceLink link(timings);
    link.Connect(channel);
    std::filesystem::remove(file);
    if (BackupDeviceToFile(link, keyCodec, texts, file)) {
        ScriptedPrompts prompts;
        if (ValidateProfileFile(file, prompts, texts) != 1) {
            std::abort();
        }
    }
    return 0;
}
