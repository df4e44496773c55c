#pragma once

#include <string_view>

namespace korvel {

class Prompts;
class SettingsStore;

// Where the desktop has no notification area the window is minimised where it would otherwise
// hide there. The user is told why the first time it happens, and the settings remember that it
// was said, so that it is said once and never again.
inline constexpr std::string_view kWindowSection = "WINDOW";
inline constexpr std::string_view kNoTrayToldKey = "NoTrayTold";

// Shows `text` unless the settings say it was shown; returns whether it was shown now.
bool TellOnceWhyMinimised(SettingsStore& settings, Prompts& prompts, std::u16string_view text);

}  // namespace korvel
