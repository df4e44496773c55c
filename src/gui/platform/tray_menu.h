#pragma once

class QMenu;

namespace korvel {

class TextTable;

// The commands of the notification-area menu, as the main window receives them.
enum TrayCommand : int {
    kCmdTrayOpen = 32771,
    kCmdTrayAbout = 32773,
    kCmdTrayExit = 32774,
};

// Puts Open, About and Exit (MENU_11, MENU_22, MENU_33) into `menu`, replacing what it held, in
// the language the language file names now, so that a language switch shows at the next click.
// Each action carries its command in data(); Open is the default item.
void FillTrayMenu(QMenu& menu, const TextTable& texts);

}  // namespace korvel
