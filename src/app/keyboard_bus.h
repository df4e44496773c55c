#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
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
        // Who holds the state file while this bus lives, as other programs are told.
        std::string holderName = "korvel";
    };

    // How long a program waits for another one to give the state file free.
    static constexpr std::chrono::milliseconds kStatePatience{5000};

    // Null with `error` set when the virtual keyboard's state file cannot be used. A named state
    // file is held (a lock beside it, "STATE.lock") from here until the bus is destroyed, so that
    // two programs never work on one virtual keyboard at once and lose each other's changes.
    static std::unique_ptr<KeyboardBus> Open(const Options& options, std::string& error);
    ~KeyboardBus();

    HidBackend& Backend();
    // The virtual keyboard, null on the real bus.
    sim::VirtualKeyboard* VirtualKeyboard();
    // The virtual keyboard sends an event code on its consumer-control interface, as the real
    // one reports its events and G keys; false on the real bus, which cannot be made to.
    bool InjectEvent(std::uint16_t code);

    // When the keyboard is plugged in but this user may not open it: the message that says so and
    // how to install the udev rule at `udevRule`. Empty on the virtual bus and when nothing is
    // blocked, so that "no keyboard found" stays the answer then.
    std::string AccessProblem(const std::filesystem::path& udevRule) const;

    // Saves the virtual keyboard's memory to its state file, if one was named and the memory
    // changed (or the file did not exist yet): a command that only reads never rewrites it.
    bool Save(std::string& error);

private:
    struct Parts;
    explicit KeyboardBus(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

}  // namespace korvel
