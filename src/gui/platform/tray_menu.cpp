#include "gui/platform/tray_menu.h"

#include <QAction>
#include <QMenu>
#include <QString>

#include "text/text_table.h"

namespace korvel {

void FillTrayMenu(QMenu& menu, const TextTable& texts) {
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
    for (const Item& item : kItems) {
        QAction* action =
            menu.addAction(QString::fromStdU16String(texts.ReadText(item.key, language)));
        action->setData(static_cast<int>(item.command));
    }
    menu.setDefaultAction(menu.actions().constFirst());
}

}  // namespace korvel
