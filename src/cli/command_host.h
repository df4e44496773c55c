#pragma once

#include <filesystem>

#include "app/documents_folder.h"
#include "app/keyboard_bus.h"
#include "device/device_link.h"

namespace korvel::cli {

// The program that runs a command handed over by another korvelctl: the keyboard's link it
// owns (the command runs as one of its transactions) and what the command's paths and folders
// are relative to in the program that sent it, and the keyboards it runs with.
struct CommandHost {
    DeviceLink& link;
    std::filesystem::path workingFolder;
    EnvironmentLookup environment;
    // The keyboards the program runs with (the virtual keyboard's events); none: not known.
    KeyboardBus* bus = nullptr;
};

}  // namespace korvel::cli
