#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "device/device_link.h"

namespace korvel::cli {

// The keyboard one command talks to: the virtual keyboard (loaded from and saved back to its
// state file when one is named), behind the trace when asked for, on a connected command link.
class KeyboardSession {
public:
    // Opens the keyboard the options name; returns null with `error` set when there is none.
    static std::unique_ptr<KeyboardSession> Open(const GlobalOptions& options,
                                                 std::ostream& traceOut, std::string& error);
    ~KeyboardSession();

    DeviceLink& Link();

    // Saves the virtual keyboard's memory to its state file, if one was named.
    bool Save(std::string& error);

private:
    struct Parts;
    explicit KeyboardSession(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

}  // namespace korvel::cli
