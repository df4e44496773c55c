#include "gui/editors/record_delay_option.h"

#include "ports/settings_store.h"

namespace korvel {
namespace {

constexpr std::string_view kRecordDelayKey = "RecordDelay";

}  // namespace

bool ReadRecordDelayOption(SettingsStore& settings) {
    const bool on = settings.ReadString(kProfilesSection, kRecordDelayKey) == u"1";
    WriteRecordDelayOption(settings, on);
    return on;
}

void WriteRecordDelayOption(SettingsStore& settings, bool on) {
    settings.WriteString(kProfilesSection, kRecordDelayKey, on ? u"1" : u"0");
}

}  // namespace korvel
