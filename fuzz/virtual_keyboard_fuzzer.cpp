// Command reports sent to the virtual keyboard: every 64-byte slice of the input is one request.
// The first byte chooses whether requests get a correct checksum (most do, so the commands
// themselves are reached) and whether the keyboard starts with another macro capacity.
#include <cstdlib>

#include "device/command_report.h"
#include "device/sim/virtual_keyboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    if (size == 0) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    sim::FactoryOptions options;
    options.macroCapacityUnits = (mode & 0x02) ? (mode >> 2) : 64;
    sim::VirtualKeyboard keyboard(sim::MakeFactoryMemory(options));
    for (std::size_t at = 1; at < size; at += kReportBytes) {
        const std::size_t length = std::min(kReportBytes, size - at);
        if (length < kReportBytes || (mode & 0x01)) {
            (void)keyboard.HandleRequest(std::span<const std::uint8_t>(data + at, length));
            continue;
        }
        CommandReport request;
        std::copy_n(data + at, kReportBytes, request.bytes.begin());
        request.bytes[kOffsetReportId] = kCommandReportId;
        SealChecksum(request);
        const auto reply = keyboard.HandleRequest(request.bytes);
        const sim::KeyboardMemory memory = keyboard.Memory();
        if (static_cast<std::size_t>(memory.MacroCapacity()) != memory.macroArea.size()) {
            std::abort();  // the area the keyboard addresses is the one it announces
        }
        (void)reply;
    }
    return 0;
}
