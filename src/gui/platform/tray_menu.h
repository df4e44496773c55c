#pragma once

class QMenu;

namespace korvel {

class TextTable;

// The commands of the notification-area menu, as the main window receives them.
enum TrayCommand : int {
    kCmdTrayOpen = 32771,
    kCmdTrayAbout = 32773,
    kCmdTrayExit = 32774,
    kCmdTrayProfile1 = 32780,  // .. kCmdTrayProfile1 + 2
    kCmdTrayLightingOff = 32790,
    kCmdTrayLightingOn = 32791,
};

// What the menu offers besides Open, About and Exit: the onboard profiles (the active one
// checked) and the lighting off or on, while the keyboard is there.
struct TrayMenuState {
    int activeProfile = -1;  // 0..2; -1: no keyboard, no profiles offered
    bool lightingDown = false;
};

// Puts the profiles (PROFILE_1..3), the lighting switch (TRAY_LIGHTING_OFF / _ON), then Open,
// About and Exit (MENU_11, MENU_22, MENU_33) into `menu`, replacing what it held, in the language
// the language file names now, so that a language switch shows at the next click. Each action
// carries its command in data(); Open is the default item.
void FillTrayMenu(QMenu& menu, const TextTable& texts, const TrayMenuState& state = {});

}  // namespace korvel
