#include "gui/platform/tray_state.h"

namespace korvel {
namespace {

constexpr std::uint16_t kEventIcon = 142;

}  // namespace

TrayState::TrayState(std::uint16_t initialIcon) : m_shown(initialIcon), m_lastChosen(initialIcon) {}

std::optional<std::uint16_t> TrayState::Show(bool eventIcon, std::uint16_t icon) {
    const std::lock_guard lock(m_mutex);
    std::uint16_t wanted = m_lastChosen;
    if (eventIcon) {
        wanted = kEventIcon;
    } else if (icon != 0) {
        m_lastChosen = icon;
        wanted = icon;
    }
    if (wanted == m_shown) {
        return std::nullopt;
    }
    m_shown = wanted;
    return wanted;
}

std::uint16_t TrayState::ShownIcon() const {
    const std::lock_guard lock(m_mutex);
    return m_shown;
}

std::uint16_t TrayState::LastChosenIcon() const {
    const std::lock_guard lock(m_mutex);
    return m_lastChosen;
}

}  // namespace korvel
