#include "gui/platform/tray_menu.h"

#include <QAction>
#include <QMenu>
#include <QString>

#include "text/text_table.h"

namespace korvel {

void FillTrayMenu(QMenu& menu, const TextTable& texts, const TrayMenuState& state) {
    struct Item {
        const char* key;
        TrayCommand command;
    };
    static constexpr Item kItems[] = {
        {"MENU_11", kCmdTrayOpen},
        {"MENU_22", kCmdTrayAbout},
        {"MENU_33", kCmdTrayExit},
    };
    menu.clear();
    const Language language = texts.TextLanguage();
    const auto add = [&](const char* key, int command) {
        QAction* action = menu.addAction(QString::fromStdU16String(texts.ReadText(key, language)));
        action->setData(command);
        return action;
    };
    if (state.activeProfile >= 0) {
        static constexpr const char* kProfiles[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
        for (int p = 0; p < 3; ++p) {
            QAction* profile = add(kProfiles[p], kCmdTrayProfile1 + p);
            profile->setCheckable(true);
            profile->setChecked(p == state.activeProfile);
        }
        add(state.lightingDown ? "TRAY_LIGHTING_ON" : "TRAY_LIGHTING_OFF",
            state.lightingDown ? kCmdTrayLightingOn : kCmdTrayLightingOff);
        menu.addSeparator();
    }
    QAction* open = nullptr;
    for (const Item& item : kItems) {
        QAction* action = add(item.key, item.command);
        open = open != nullptr ? open : action;
    }
    menu.setDefaultAction(open);
}

}  // namespace korvel
