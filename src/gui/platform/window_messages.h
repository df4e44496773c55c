#pragma once

#include <cstdint>

namespace korvel {

// Window messages of the main window, WM_USER + n, and the four-character tags they carry:
// the presence thread's reload, keyboard-gone and open messages.
inline constexpr int kMsgReloadFromKeyboard = 0x5452;
inline constexpr std::uint32_t kTagProf = 0x50524F46;  // "PROF"
inline constexpr int kMsgKeyboardGone = 0x4753;
inline constexpr int kMsgOpenMainWindow = 0x5350;
inline constexpr std::uint32_t kTagOpen = 0x4F50454E;  // "OPEN"

// What one instance asks of the running one, WM_USER + n with the four-character tags; the open
// message and its tag above are the ones the presence thread also posts.
inline constexpr int kMsgKillMainWindow = 0x4D4B;
inline constexpr std::uint32_t kTagKill = 0x4C4C494B;  // "KILL"
inline constexpr int kMsgMainWindowInitialised = 0x494E;
inline constexpr std::uint32_t kTagInit = 0x494E4954;  // "INIT"

// The name under which the running instance listens.
inline constexpr const char* kInstanceName = "Halvorn";

}  // namespace korvel
