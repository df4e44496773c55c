#pragma once

#include "device/device_link.h"

namespace korvel {

// Makes onboard profile `profile` (0..2) the keyboard's active one. The active-profile cache is
// forgotten first, so that only the keyboard's acceptance can make it name `profile`; when the
// keyboard does not take it, the profile it now reports is read again into the cache. True when
// the keyboard took it.
bool SwitchActiveProfile(DeviceLink& link, int profile);

// Asks the keyboard into its boot loader, where it waits for a firmware updater. True when the
// request went out.
bool EnterBootLoader(DeviceLink& link);

}  // namespace korvel
