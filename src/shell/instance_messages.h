#pragma once

#include <cstdint>

#include "device/main_window_link.h"

namespace korvel {

// What one instance asks of the running one, WM_USER + n with the four-character tags; the open
// message and its tag are the ones the presence thread also posts.
inline constexpr int kMsgKillMainWindow = 0x4D4B;
inline constexpr std::uint32_t kTagKill = 0x4C4C494B;  // "KILL"
inline constexpr int kMsgMainWindowInitialised = 0x494E;
inline constexpr std::uint32_t kTagInit = 0x494E4954;  // "INIT"

// The name under which the running instance listens.
inline constexpr const char* kInstanceName = "Halvorn";

}  // namespace korvel
