#pragma once

#include <cstdint>

namespace korvel {

// The notification-area icons ShowTrayState chooses among; the window draws each.
inline constexpr std::uint16_t kIconKeyboardGone = 128;
inline constexpr std::uint16_t kIconKeyboardPresent = 141;
inline constexpr std::uint16_t kIconKeyboardEvent = 142;

// What the device threads ask of the main window. The window implements it; tests record it.
//
// Threads: called from the presence thread, the event listener and its status updates, never
// from the window's own thread. "Send" calls return only when the window has handled them; "Post"
// calls return at once.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // The keyboard arrived: reload what the window shows from it (tag PROF).
    virtual void SendReloadFromKeyboard() = 0;
    // The keyboard went away.
    virtual void SendKeyboardGone() = 0;
    // Show the main window for the first time (tag OPEN).
    virtual void PostOpenMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    // Whether the window has finished initialising.
    virtual bool IsReady() const = 0;

    // eventIcon: show icon 142 without remembering it. Otherwise a non-zero icon is shown and
    // remembered as the icon last chosen, and icon 0 shows the icon last chosen again.
    virtual void ShowTrayState(bool eventIcon, std::uint16_t icon) = 0;

    // The keyboard changed its lighting itself: re-read the lighting settings (timer 1051, 0 ms).
    virtual void StartLightingRefresh() = 0;
};

}  // namespace korvel
