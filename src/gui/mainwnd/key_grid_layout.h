#pragma once

#include <array>

#include "gui/mainwnd/main_window_controls.h"
#include "model/keys/key_codes.h"

namespace korvel {

// A key button of the main window: its control id and the key it stands for.
struct KeyButtonInfo {
    int controlId;
    ScanCode scan;
};

inline constexpr int kKeyButtons = 104;
inline constexpr int kGKeyButtons = 9;
// The keys of the lighting grid: the 104 keys, Fn and the nine G keys.
inline constexpr int kLightingGridKeys = kKeyButtons + 1 + kGKeyButtons;

// The 104 key buttons in keyboard rows, left to right.
extern const std::array<KeyButtonInfo, kKeyButtons> kKeyButtonTable;

// Control id of G key n (1..9): kKeyG1..kKeyG5, then kKeyG6..kKeyG9.
int GKeyControlId(int n);
// The G key (1..9) of a control id, 0 for any other control.
int GKeyOfControl(int controlId);

}  // namespace korvel
