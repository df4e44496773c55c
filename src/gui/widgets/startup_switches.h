#pragma once

namespace korvel {

// The start-up mechanisms that `make bench-startup` measures on and off. Each is on unless the
// environment variable KORVEL_STARTUP_OFF names it (a comma-separated list; for measurements only):
//   prefetch  faces about to show decoded ahead on a helper thread
//   mallopt   large buffers returned to the system at once
// The figures that decided what was kept are in bench/startup-figures.md.
bool StartupMechanismOn(const char* name);

}  // namespace korvel
