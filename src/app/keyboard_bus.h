#pragma once

#include <memory>
#include <string>

#include "device/hid_backend.h"

namespace korvel {

namespace sim {
class VirtualKeyboard;
}

// Where the programs find keyboards: the system's HID stack, or the virtual keyboard (loaded from
// and saved back to its state file when one is named), plugged in from the start.
class KeyboardBus {
public:
    struct Options {
        bool simulate = false;
        std::string statePath;  // empty: a fresh virtual keyboard that is not saved
        int latencyMs = 0;
    };

    // Null with `error` set when the virtual keyboard's state file cannot be used.
    static std::unique_ptr<KeyboardBus> Open(const Options& options, std::string& error);
    ~KeyboardBus();

    HidBackend& Backend();
    // The virtual keyboard, null on the real bus.
    sim::VirtualKeyboard* VirtualKeyboard();

    // Saves the virtual keyboard's memory to its state file, if one was named.
    bool Save(std::string& error);

private:
    struct Parts;
    explicit KeyboardBus(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

}  // namespace korvel
