#pragma once

#include <cstdint>
#include <vector>

#include "model/keys/key_codes.h"
#include "model/macros/macro_edit_rules.h"

namespace korvel {

// One step the recorder wants kept: the gap since the step before it, the key and its direction.
struct RecordedStep {
    std::uint32_t gapMs = 0;
    ScanCode key = 0;
    std::uint16_t direction = 0;
    friend bool operator==(const RecordedStep&, const RecordedStep&) = default;
};

// The timing rules of recording a macro from key events. The clock is the caller's (milliseconds
// of any steady clock), so that tests can give it times.
class MacroRecorder {
public:
    explicit MacroRecorder(const MacroEditRules& rules) : m_rules(rules) {}

    // timed: the record-delay option (gaps are measured rather than fixed).
    void Start(std::uint64_t nowMs, bool timed);
    void Stop() { m_running = false; }
    bool Running() const { return m_running; }

    // A key event while recording. Auto-repeat, media keys and no key give no steps. Keys that
    // deliver no press of their own (Print Screen and three others) get one in front of their
    // release, a short fixed gap before it.
    std::vector<RecordedStep> OnKey(ScanCode key, bool release, bool autoRepeat,
                                    std::uint64_t nowMs);

private:
    std::uint32_t Gap(std::uint64_t elapsedMs) const;

    MacroEditRules m_rules;
    bool m_running = false;
    bool m_timed = true;
    std::uint64_t m_lastMs = 0;
    std::vector<ScanCode> m_heldNoPressKeys;  // pressed keys of the kind that may deliver no press
};

}  // namespace korvel
