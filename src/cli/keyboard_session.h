#pragma once

#include <chrono>
#include <memory>
#include <ostream>
#include <string>

#include "app/keyboard_bus.h"
#include "cli/cli_options.h"
#include "device/device_link.h"
#include "device/hid_backend.h"

namespace korvel::cli {

// The keyboard one command talks to: its command collection opened on the bus, behind the trace
// when asked for, on a connected command link.
class KeyboardSession {
public:
    // Opens the keyboard the options name; returns null with `error` set when there is none.
    // On the real keyboard the session holds the keyboard's transaction lock while it lives, so
    // that no other program's transaction falls between its commands.
    static std::unique_ptr<KeyboardSession> Open(const GlobalOptions& options,
                                                 std::ostream& traceOut, std::string& error);
    // The keyboard of the program that runs a handed-over command: its link, already connected
    // and owned by that program; nothing is opened, locked or saved.
    static std::unique_ptr<KeyboardSession> Borrow(DeviceLink& link);
    ~KeyboardSession();

    DeviceLink& Link();
    bool Save(std::string& error);

private:
    struct Parts;
    explicit KeyboardSession(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

// How long a command waits for another program's transaction on the real keyboard.
inline constexpr std::chrono::milliseconds kTransactionPatience{10000};

// The message for a keyboard that cannot be found: what was looked for and how to grant access.
std::string KeyboardNotFoundMessage();

}  // namespace korvel::cli
