#pragma once

namespace korvel {

class SettingsStore;

// The record-delay option ("PROFILES", "RecordDelay"): 1 when the recorders measure the delays
// between keys. Reading writes the value back as "0" or "1" (missing or anything else: 0).
bool ReadRecordDelayOption(SettingsStore& settings);
void WriteRecordDelayOption(SettingsStore& settings, bool on);

}  // namespace korvel
