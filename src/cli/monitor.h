#pragma once

#include <atomic>
#include <chrono>
#include <ostream>

#include "device/hid_backend.h"

namespace korvel::cli {

// Follows the keyboard on `backend` as the window would: prints "connected" when it arrives,
// "disconnected" when it goes and "event 0xNNNN" for every event it reports, one line each, until
// `stop` is set. Returns the exit status.
int RunMonitor(HidBackend& backend, std::ostream& out, std::ostream& err,
               const std::atomic<bool>& stop,
               std::chrono::milliseconds stopPoll = std::chrono::milliseconds(50));

}  // namespace korvel::cli
