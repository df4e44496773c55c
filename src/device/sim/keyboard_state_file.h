#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "device/sim/keyboard_memory.h"

namespace korvel::sim {

enum class StateLoad {
    Loaded,   // `memory` holds the saved keyboard
    Missing,  // no file: `memory` is a factory-new keyboard
    Failed,   // damaged or foreign file: `memory` untouched, `error` says why
};

// The virtual keyboard's memory on disk, so that it remembers what was downloaded as a real one
// does. The file carries a magic, a version, the macro capacity, every area, and a CRC-32 over all
// of it; anything else is refused with a message naming the file and the fault.
StateLoad LoadKeyboardState(const std::filesystem::path& path, KeyboardMemory& memory,
                            std::string& error);

// The loader's check of a whole file's bytes. Fills `memory` only when the whole file is sound;
// otherwise `error` says what is wrong (without naming a file) and `memory` is untouched.
bool ParseKeyboardState(std::span<const std::uint8_t> bytes, KeyboardMemory& memory,
                        std::string& error);

// Writes to a temporary file beside `path` and renames it into place, so an interrupted save
// keeps the previous state. Returns false with `error` set when the file cannot be written.
bool SaveKeyboardState(const std::filesystem::path& path, const KeyboardMemory& memory,
                       std::string& error);

}  // namespace korvel::sim
