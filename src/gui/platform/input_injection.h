#pragma once

#include <memory>
#include <string>

#include "ports/input_injector.h"

namespace korvel {

// The way the computer takes the keys the program plays for the G keys.
struct InputInjection {
    std::unique_ptr<InputInjector> injector;  // none: the G keys cannot be played here
    std::string way;                          // "uinput" or "XTest" when there is one
    std::string problem;                      // why there is none, in words a user reads
};

// A virtual keyboard of the kernel (/dev/uinput) where the user may create one, which reaches
// every program on X11 and Wayland alike; otherwise the X server's XTest extension when the
// program runs on X11.
InputInjection OpenInputInjection();

// The kernel's virtual keyboard alone; none, with the reason in `problem`, when /dev/uinput is
// missing or not writable.
std::unique_ptr<InputInjector> OpenUinputInjector(std::string& problem);
// The X server's XTest extension alone, on `display` (none: the one DISPLAY names); none, with the
// reason, when there is no such display or it lacks the extension.
std::unique_ptr<InputInjector> OpenXTestInjector(std::string& problem,
                                                 const char* display = nullptr);

}  // namespace korvel
