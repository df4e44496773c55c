#pragma once

#include "model/keys/key_buttons.h"

namespace korvel {

// The control ids of the main window, shared by the window and its panels. The ids are the
// window's own numbering (the commands its controls send); code names them by role only. The key
// buttons' ids are in model/keys/key_buttons.h.

// D1..D6 of the flip mode: they stand where F1..F4 are while flip is on.
enum FlipKeyControl : int {
    kFlipKeyD1 = 1016,
    kFlipKeyD6 = 1021,
};

// Every other control of the window.
enum MainControl : int {
    kControlOk = 1,
    kControlCancel = 2,
    kControlApply = 1006,
    kControlMacro = 1007,      // opens the key editor as G9 does
    kControlSceneMode = 1005,  // the scene-mode button: opens the profile manager
    kControlSceneMenu = 1009,  // the command that shows the scene-mode menu
    kControlLink = 1121,
    kControlHelp = 1122,
    kControlMinimize = 1123,
    kControlClose = 1124,
    kControlMenu = 1139,
    kControlVersion = 1134,
    kLockCaps = 1125,
    kLockNum = 1126,
    kLockScroll = 1127,
    kLockAB = 1128,
    kFlipIndicator = 1129,
    kFlipToggleLeft = 1130,
    kFlipToggleRight = 1131,
    kProfileButton1 = 1135,
    kProfileButton2 = 1136,
    kProfileButton3 = 1137,
    kRestoreDefaults = 1138,
    kReportRate1 = 1147,
    kReportRate2 = 1168,
    kReportRate3 = 1169,
    kReportRate4 = 1170,
    kReportRateLabel = 1204,
};

// The lighting panel.
enum LightingControl : int {
    kPanelLabel = 1171,
    kPanelSwitch = 1167,
    kEffectSelector = 1146,
    kBrightnessLabel = 1172,
    kBrightnessSlider = 1178,
    kSpeedLabel = 1166,
    kSpeedSlider = 1179,
    kDirectionLabel = 1148,
    kDirectionFirst = 1149,   // left, or spread for effect 18
    kDirectionSecond = 1150,  // right, or converge for effect 18
    kColorLabel = 1154,
    kColorPicker = 1155,
    kMulticolorLabel = 1173,
    kMulticolorCheck = 1156,
    kReactiveColorLabel = 1151,
    kReactiveColorPicker = 1152,
    kReactiveMulticolorLabel = 1176,
    kReactiveMulticolorCheck = 1175,
    kEffect17Red = 1194,
    kEffect17Yellow = 1195,
    kEffect17Green = 1196,
    kEffect17Blue = 1197,
    kPaintColorLabel = 1159,
    kPaintColorPicker = 1160,
    kBaseColorLabel = 1161,
    kBaseColorPicker = 1162,
    kToolLabel = 1163,
    kToolPaintColor = 1164,
    kToolBaseColor = 1165,
    kPresetSelector = 1198,
};

}  // namespace korvel
