#pragma once

#include <QLocale>
#include <string_view>

namespace korvel {

class SettingsStore;
class TextTable;

// The language the desktop's locale asks for: 0 Chinese for any Chinese locale, else 1 English.
int LanguageOfLocale(const QLocale& locale);

// The settings' record that the first start has chosen the language: from then on the language
// is the user's choice, kept in the language file, and the locale is not asked again.
inline constexpr std::string_view kFirstStartSection = "WINDOW";
inline constexpr std::string_view kLanguageFollowedKey = "LanguageFromLocale";

// At the first start only, switches the texts to the locale's language; returns whether it did.
bool FollowLocaleOnFirstStart(TextTable& texts, SettingsStore& settings, const QLocale& locale);

}  // namespace korvel
