#include "model/macros/macro_action_list.h"

#include <algorithm>
#include <array>

namespace korvel {

void MacroActionList::Load(std::vector<MacroAction> actions) {
    if (actions.size() > static_cast<std::size_t>(kMaxMacroActions)) {
        actions.resize(kMaxMacroActions);
    }
    m_actions = std::move(actions);
    m_selected = kNoRow;
}

void MacroActionList::Select(int row) {
    m_selected = row >= 0 && row < Size() ? row : kNoRow;
}

bool MacroActionList::Record(std::uint32_t gapMs, ScanCode key, std::uint16_t direction) {
    if (Size() >= kMaxMacroActions) {
        return false;
    }
    const int row = m_selected == kNoRow ? Size() : m_selected + 1;
    MacroAction action{0, key, direction};
    if (row > 0) {
        MacroAction& above = m_actions[static_cast<std::size_t>(row - 1)];
        action.delayMs = above.delayMs;
        above.delayMs = gapMs;
    }
    m_actions.insert(m_actions.begin() + row, action);
    m_selected = row;
    return true;
}

bool MacroActionList::DeleteSelected() {
    if (m_selected == kNoRow) {
        return false;
    }
    m_actions.erase(m_actions.begin() + m_selected);
    m_selected = std::min(m_selected, Size() - 1);
    return true;
}

bool MacroActionList::Clear() {
    if (m_actions.empty()) {
        return false;
    }
    m_actions.clear();
    m_selected = kNoRow;
    return true;
}

bool MacroActionList::MoveSelectedTo(int row) {
    if (m_selected == kNoRow || row < 0 || row >= Size() || row == m_selected) {
        return false;
    }
    const MacroAction moved = m_actions[static_cast<std::size_t>(m_selected)];
    m_actions.erase(m_actions.begin() + m_selected);
    m_actions.insert(m_actions.begin() + row, moved);
    m_selected = row;
    return true;
}

bool MacroActionList::MoveSelectedToTop() {
    return MoveSelectedTo(0);
}
bool MacroActionList::MoveSelectedUp() {
    return MoveSelectedTo(m_selected - 1);
}
bool MacroActionList::MoveSelectedDown() {
    return m_selected != kNoRow && MoveSelectedTo(m_selected + 1);
}
bool MacroActionList::MoveSelectedToBottom() {
    return MoveSelectedTo(Size() - 1);
}

bool MacroActionList::SetKey(int row, ScanCode key) {
    if (row < 0 || row >= Size() || key == 0 ||
        m_actions[static_cast<std::size_t>(row)].key == key) {
        return false;
    }
    m_actions[static_cast<std::size_t>(row)].key = key;
    return true;
}

bool MacroActionList::SetDirection(int row, std::uint16_t direction) {
    if (row < 0 || row >= Size() || direction > kMacroRelease ||
        m_actions[static_cast<std::size_t>(row)].direction == direction) {
        return false;
    }
    m_actions[static_cast<std::size_t>(row)].direction = direction;
    return true;
}

bool MacroActionList::SetDelay(int row, std::uint32_t delayMs) {
    if (row < 0 || row >= Size()) {
        return false;
    }
    m_actions[static_cast<std::size_t>(row)].delayMs = std::min(delayMs, kMaxMacroDelayMs);
    return true;
}

std::vector<ScanCode> MacroActionList::KeysLeftPressed() const {
    return korvel::KeysLeftPressed(m_actions);
}

std::vector<ScanCode> KeysLeftPressed(std::span<const MacroAction> actions) {
    std::array<int, kKeySlots> last{};  // 0 none, 1 press, 2 release
    for (const MacroAction& action : actions) {
        last[SlotOfScan(action.key)] = action.direction == kMacroPress ? 1 : 2;
    }
    std::vector<ScanCode> pressed;
    for (int slot = 0; slot < kKeySlots; ++slot) {
        if (last[static_cast<std::size_t>(slot)] == 1) {
            pressed.push_back(ScanOfSlot(static_cast<KeySlot>(slot)));
        }
    }
    return pressed;
}

bool AddMissingReleases(std::vector<MacroAction>& actions) {
    bool added = false;
    for (const ScanCode key : KeysLeftPressed(actions)) {
        if (actions.size() >= static_cast<std::size_t>(kMaxMacroActions)) {
            break;
        }
        MacroAction release;
        release.key = key;
        release.direction = kMacroRelease;
        release.delayMs = 0;
        actions.push_back(release);
        added = true;
    }
    return added;
}

TypedDelay DelayFromTypedNumber(std::uint64_t typed, std::uint32_t step) {
    TypedDelay delay;
    if (typed > kMaxMacroDelayMs) {
        delay.overMaximum = true;
        typed = kMaxMacroDelayMs;
    }
    const std::uint64_t by = std::max<std::uint32_t>(step, 1);
    std::uint64_t kept = (typed + by / 2) / by * by;
    if (typed != 0 && kept == 0) {
        kept = by;
    }
    // The maximum is a whole number of steps only if the step divides it.
    while (kept > kMaxMacroDelayMs) {
        kept -= by;
    }
    delay.delayMs = static_cast<std::uint32_t>(kept);
    return delay;
}

std::uint8_t CyclesFromText(const std::u16string& text) {
    std::uint64_t value = 0;
    bool digits = false;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            break;
        }
        digits = true;
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(c - u'0'), 1000);
    }
    if (!digits || value == 0) {
        return 1;
    }
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(value, 255));
}

}  // namespace korvel
