#pragma once

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
    static std::unique_ptr<KeyboardSession> Open(const GlobalOptions& options,
                                                 std::ostream& traceOut, std::string& error);
    ~KeyboardSession();

    DeviceLink& Link();
    bool Save(std::string& error);

private:
    struct Parts;
    explicit KeyboardSession(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

// The message for a keyboard that cannot be found: what was looked for and how to grant access.
std::string KeyboardNotFoundMessage();

}  // namespace korvel::cli
