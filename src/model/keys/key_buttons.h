#pragma once

#include <array>

#include "model/keys/key_codes.h"

namespace korvel {

// The key buttons of the main window: 104 keys, the nine G keys and Fn. Their control ids are the
// window's own numbering (the commands the buttons send).

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

// G1..G9 (they edit bank A) and Fn.
enum GKeyControl : int {
    kKeyG1 = 1000,
    kKeyG2 = 1001,
    kKeyG3 = 1002,
    kKeyG4 = 1003,
    kKeyG5 = 1004,
    kKeyG6 = 1140,
    kKeyG7 = 1141,
    kKeyG8 = 1142,
    kKeyG9 = 1143,
    kKeyFn = 1174,
};

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

// The profile-block slot a button edits: the key's slot, or the G key's slot of bank A; -1 for Fn
// (it edits nothing) and for controls that are not key buttons.
int SlotOfKeyControl(int controlId);
// The control id of the button that edits `slot`; 0 when none does (bank B, keys without a
// button).
int KeyControlOfSlot(int slot);
// The lighting-grid index (see KeyGrid() in led_index.h) of a key, G key or Fn button; -1 for
// other controls.
int GridKeyOfKeyControl(int controlId);

}  // namespace korvel
