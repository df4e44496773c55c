// The virtual keyboard's state file: a refused file leaves the memory as it was, an accepted one
// gives a keyboard that is consistent with itself. Each input is tried as it is and with its last
// four bytes replaced by the right check sum, so that the contents behind the check are reached.
#include <cstdlib>
#include <vector>

#include "base/crc32.h"
#include "device/sim/keyboard_state_file.h"

namespace {

void Check(std::span<const std::uint8_t> bytes) {
    using namespace korvel::sim;
    static const KeyboardMemory factory = MakeFactoryMemory();
    KeyboardMemory memory = factory;
    std::string error;
    if (!ParseKeyboardState(bytes, memory, error)) {
        if (memory != factory || error.empty()) {
            std::abort();
        }
        return;
    }
    if (static_cast<std::size_t>(memory.MacroCapacity()) != memory.macroArea.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(std::span<const std::uint8_t>(data, size));
    if (size >= 4) {
        std::vector<std::uint8_t> sealed(data, data + size);
        const std::uint32_t crc = korvel::Crc32(std::span<const std::uint8_t>(data, size - 4));
        for (int i = 0; i < 4; ++i) {
            sealed[size - 4 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (8 * i));
        }
        Check(sealed);
    }
    return 0;
}
