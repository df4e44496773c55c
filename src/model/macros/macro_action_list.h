#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/macros/macro_record.h"

namespace korvel {

// The steps of the macro being edited, with the selected row, as both macro editors show them.
// Each action's delayMs is the wait after it. At most kMaxMacroActions rows.
class MacroActionList {
public:
    static constexpr int kNoRow = -1;

    void Load(std::vector<MacroAction> actions);
    const std::vector<MacroAction>& Actions() const { return m_actions; }
    int Size() const { return static_cast<int>(m_actions.size()); }
    int Selected() const { return m_selected; }
    void Select(int row);

    // One recorded step: inserted after the selected row (at the end when none is selected) and
    // selected. The row above takes `gapMs` as its delay and the new row the delay the row above
    // had; a new first row waits 0. False when the list is full (the step is dropped).
    bool Record(std::uint32_t gapMs, ScanCode key, std::uint16_t direction);

    // Editing and ordering of the selected row; each answers whether something changed.
    bool DeleteSelected();
    bool Clear();
    bool MoveSelectedToTop();
    bool MoveSelectedUp();
    bool MoveSelectedDown();
    bool MoveSelectedToBottom();
    bool SetKey(int row, ScanCode key);
    bool SetDirection(int row, std::uint16_t direction);
    bool SetDelay(int row, std::uint32_t delayMs);

    // The keys whose last step in the list is a press, in KeySlot order.
    std::vector<ScanCode> KeysLeftPressed() const;

private:
    bool MoveSelectedTo(int row);

    std::vector<MacroAction> m_actions;
    int m_selected = kNoRow;
};

// The keys a list of actions presses and never releases afterwards, in slot order.
std::vector<ScanCode> KeysLeftPressed(std::span<const MacroAction> actions);
// Appends a release, waiting 0 ms, for each key the actions leave pressed (as far as the
// kMaxMacroActions rows allow). True when anything was added.
bool AddMissingReleases(std::vector<MacroAction>& actions);

// A delay typed into a delay cell as it is kept: limited to 40000 ms and rounded to the nearest
// multiple of `step`, a delay that is not 0 never to 0 (the keyboard counts delays in steps).
struct TypedDelay {
    std::uint32_t delayMs = 0;
    bool overMaximum = false;  // the user is told the maximum
};
TypedDelay DelayFromTypedNumber(std::uint64_t typed, std::uint32_t step);

// The cycles field: a number within 1..255; text that is no number gives 1.
std::uint8_t CyclesFromText(const std::u16string& text);

}  // namespace korvel
