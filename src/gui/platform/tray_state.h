#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

namespace korvel {

// Which notification-area icon to show. Connection changes choose 128 or 141 and that choice is
// remembered; the keyboard's special state shows 142 on top of it without being remembered, so
// that its end (icon 0) goes back to whatever the connection says by then.
//
// Threads: any thread may call Show; the caller applies the returned icon on the GUI thread.
class TrayState {
public:
    explicit TrayState(std::uint16_t initialIcon = 128);

    // The icon to put in the notification area now, or nothing when it is already shown.
    std::optional<std::uint16_t> Show(bool eventIcon, std::uint16_t icon);

    std::uint16_t ShownIcon() const;
    std::uint16_t LastChosenIcon() const;

private:
    mutable std::mutex m_mutex;
    std::uint16_t m_shown;
    std::uint16_t m_lastChosen;
};

}  // namespace korvel
