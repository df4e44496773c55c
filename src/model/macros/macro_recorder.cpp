#include "model/macros/macro_recorder.h"

#include <algorithm>

#include "model/keys/key_codes.h"
#include "model/macros/macro_record.h"

namespace korvel {
namespace {

// The gap put between the press made up for a key that delivers none and its release.
constexpr std::uint32_t kMadeUpPressGapMs = 2;

}  // namespace

void MacroRecorder::Start(std::uint64_t nowMs, bool timed) {
    m_running = true;
    m_timed = timed;
    m_lastMs = nowMs;
    m_heldNoPressKeys.clear();
}

std::uint32_t MacroRecorder::Gap(std::uint64_t elapsedMs) const {
    if (!m_timed) {
        return m_rules.delayWhenNotTimed;
    }
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(elapsedMs, kMaxMacroDelayMs));
}

std::vector<RecordedStep> MacroRecorder::OnKey(ScanCode key, bool release, bool autoRepeat,
                                               std::uint64_t nowMs) {
    std::vector<RecordedStep> steps;
    if (!m_running || key == 0 || MediaIndexOfScan(key) >= 0 || (autoRepeat && !release)) {
        return steps;
    }
    const std::uint32_t gap = Gap(nowMs >= m_lastMs ? nowMs - m_lastMs : 0);
    m_lastMs = nowMs;
    const auto held = std::find(m_heldNoPressKeys.begin(), m_heldNoPressKeys.end(), key);
    if (KeyDeliversNoPress(key)) {
        if (!release) {
            if (held == m_heldNoPressKeys.end()) {
                m_heldNoPressKeys.push_back(key);
            }
        } else if (held != m_heldNoPressKeys.end()) {
            m_heldNoPressKeys.erase(held);
        } else {
            // Only the release came: the press goes first, the release a moment after it.
            steps.push_back({gap, key, kMacroPress});
            steps.push_back(
                {m_timed ? kMadeUpPressGapMs : m_rules.delayWhenNotTimed, key, kMacroRelease});
            return steps;
        }
    }
    steps.push_back({gap, key, release ? kMacroRelease : kMacroPress});
    return steps;
}

}  // namespace korvel
