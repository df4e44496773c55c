#include "gui/platform/desktop_language.h"

#include "ports/settings_store.h"
#include "text/text_table.h"

namespace korvel {

int LanguageOfLocale(const QLocale& locale) {
    return locale.language() == QLocale::Chinese ? 0 : 1;
}

bool FollowLocaleOnFirstStart(TextTable& texts, SettingsStore& settings, const QLocale& locale) {
    if (settings.ReadString(kFirstStartSection, kLanguageFollowedKey).has_value()) {
        return false;
    }
    settings.WriteString(kFirstStartSection, kLanguageFollowedKey, u"1");
    const int language = LanguageOfLocale(locale);
    if (texts.GetLanguageValue() == language) {
        return false;
    }
    texts.SwitchLanguage(language);
    return true;
}

}  // namespace korvel
