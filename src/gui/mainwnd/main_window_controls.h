#pragma once

namespace korvel {

// The control ids of the main window, shared by the window and its panels. The ids are the
// window's own numbering (the commands its controls send); code names them by role only.

// The 104 key buttons, in keyboard rows.
enum KeyControl : int {
    // function row
    kKeyEsc = 1022,
    kKeyF1 = 1010,
    kKeyF2 = 1011,
    kKeyF3 = 1012,
    kKeyF4 = 1013,
    kKeyF5 = 1014,
    kKeyF6 = 1015,
    kKeyF7 = 1023,
    kKeyF8 = 1024,
    kKeyF9 = 1025,
    kKeyF10 = 1026,
    kKeyF11 = 1027,
    kKeyF12 = 1028,
    kKeyPrintScreen = 1091,
    kKeyScrollLock = 1092,
    kKeyPause = 1093,
    // number row
    kKeyGrave = 1029,
    kKeyDigit1 = 1030,
    kKeyDigit2 = 1031,
    kKeyDigit3 = 1032,
    kKeyDigit4 = 1033,
    kKeyDigit5 = 1034,
    kKeyDigit6 = 1035,
    kKeyDigit7 = 1036,
    kKeyDigit8 = 1037,
    kKeyDigit9 = 1038,
    kKeyDigit0 = 1039,
    kKeyMinus = 1040,
    kKeyEquals = 1041,
    kKeyBackspace = 1043,
    kKeyInsert = 1094,
    kKeyHome = 1095,
    kKeyPageUp = 1096,
    kKeyNumLock = 1104,
    kKeyNumSlash = 1105,
    kKeyNumStar = 1106,
    kKeyNumMinus = 1107,
    // top letter row
    kKeyTab = 1056,
    kKeyQ = 1044,
    kKeyW = 1045,
    kKeyE = 1046,
    kKeyR = 1047,
    kKeyT = 1048,
    kKeyY = 1049,
    kKeyU = 1050,
    kKeyI = 1051,
    kKeyO = 1052,
    kKeyP = 1053,
    kKeyLeftBracket = 1054,
    kKeyRightBracket = 1055,
    kKeyBackslash = 1042,
    kKeyDelete = 1097,
    kKeyEnd = 1098,
    kKeyPageDown = 1099,
    kKeyNum7 = 1108,
    kKeyNum8 = 1109,
    kKeyNum9 = 1110,
    kKeyNumPlus = 1111,
    // home row
    kKeyCapsLock = 1069,
    kKeyA = 1058,
    kKeyS = 1059,
    kKeyD = 1060,
    kKeyF = 1061,
    kKeyG = 1062,
    kKeyH = 1063,
    kKeyJ = 1064,
    kKeyK = 1065,
    kKeyL = 1066,
    kKeySemicolon = 1067,
    kKeyQuote = 1068,
    kKeyEnter = 1070,
    kKeyNum4 = 1112,
    kKeyNum5 = 1113,
    kKeyNum6 = 1114,
    // bottom letter row
    kKeyLeftShift = 1082,
    kKeyZ = 1071,
    kKeyX = 1072,
    kKeyC = 1073,
    kKeyV = 1074,
    kKeyB = 1075,
    kKeyN = 1076,
    kKeyM = 1077,
    kKeyComma = 1078,
    kKeyPeriod = 1079,
    kKeySlash = 1080,
    kKeyRightShift = 1081,
    kKeyUp = 1103,
    kKeyNum1 = 1115,
    kKeyNum2 = 1116,
    kKeyNum3 = 1117,
    kKeyNumEnter = 1118,
    // space row
    kKeyLeftCtrl = 1083,
    kKeyLeftWin = 1084,
    kKeyLeftAlt = 1085,
    kKeySpace = 1090,
    kKeyRightAlt = 1086,
    kKeyApp = 1088,
    kKeyRightWin = 1087,
    kKeyRightCtrl = 1089,
    kKeyLeft = 1100,
    kKeyDown = 1101,
    kKeyRight = 1102,
    kKeyNum0 = 1120,
    kKeyNumPeriod = 1119,
};

// G1..G5 and G6..G9 (bank A) and Fn.
enum GKeyControl : int {
    kKeyG1 = 1000,
    kKeyG5 = 1004,
    kKeyG6 = 1140,
    kKeyG9 = 1143,
    kKeyFn = 1174,
};

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
    kFlipArrowLeft = 1132,
    kFlipArrowRight = 1133,
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

// The scene-mode menu: the default profile, then one item per onboard profile.
enum SceneMenuCommand : int {
    kSceneDefault = 9000,
    kSceneProfile1 = 9001,
    kSceneLast = 9200,
};

}  // namespace korvel
