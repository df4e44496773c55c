#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "device/hidapi/hidraw_access.h"

namespace korvel {

// What both programs tell a user whose keyboard is plugged in but whose hidraw nodes this user
// may not open: each node and why, then the commands that install the udev rule shipped at
// `udevRule` and make udev apply it. Empty when `blocked` is empty.
std::string KeyboardAccessMessage(const std::vector<BlockedHidrawNode>& blocked,
                                  const std::filesystem::path& udevRule);

}  // namespace korvel
