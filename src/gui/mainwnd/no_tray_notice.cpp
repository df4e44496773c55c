#include "gui/mainwnd/no_tray_notice.h"

#include "ports/prompts.h"
#include "ports/settings_store.h"

namespace korvel {

bool TellOnceWhyMinimised(SettingsStore& settings, Prompts& prompts, std::u16string_view text) {
    if (settings.ReadString(kWindowSection, kNoTrayToldKey) == u"1") {
        return false;
    }
    // Remembered first: the message is modal, and a second start while it shows must not ask again.
    settings.WriteString(kWindowSection, kNoTrayToldKey, u"1");
    prompts.ShowMessage(text, MessageKind::Information);
    return true;
}

}  // namespace korvel
