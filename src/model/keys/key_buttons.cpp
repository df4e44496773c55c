#include "model/keys/key_buttons.h"

#include "model/keys/led_index.h"

namespace korvel {

static_assert(kLightingGridKeys == kGridKeys);
static_assert(kGKeyButtons == kGKeys);

// clang-format off
const std::array<KeyButtonInfo, kKeyButtons> kKeyButtonTable = {{
    // function row
    {kKeyEsc, 0x001},
    {kKeyF1, 0x03B},
    {kKeyF2, 0x03C},
    {kKeyF3, 0x03D},
    {kKeyF4, 0x03E},
    {kKeyF5, 0x03F},
    {kKeyF6, 0x040},
    {kKeyF7, 0x041},
    {kKeyF8, 0x042},
    {kKeyF9, 0x043},
    {kKeyF10, 0x044},
    {kKeyF11, 0x057},
    {kKeyF12, 0x058},
    {kKeyPrintScreen, 0x137},
    {kKeyScrollLock, 0x046},
    {kKeyPause, 0x045},
    // number row
    {kKeyGrave, 0x029},
    {kKeyDigit1, 0x002},
    {kKeyDigit2, 0x003},
    {kKeyDigit3, 0x004},
    {kKeyDigit4, 0x005},
    {kKeyDigit5, 0x006},
    {kKeyDigit6, 0x007},
    {kKeyDigit7, 0x008},
    {kKeyDigit8, 0x009},
    {kKeyDigit9, 0x00A},
    {kKeyDigit0, 0x00B},
    {kKeyMinus, 0x00C},
    {kKeyEquals, 0x00D},
    {kKeyBackspace, 0x00E},
    {kKeyInsert, 0x152},
    {kKeyHome, 0x147},
    {kKeyPageUp, 0x149},
    {kKeyNumLock, 0x145},
    {kKeyNumSlash, 0x135},
    {kKeyNumStar, 0x037},
    {kKeyNumMinus, 0x04A},
    // top letter row
    {kKeyTab, 0x00F},
    {kKeyQ, 0x010},
    {kKeyW, 0x011},
    {kKeyE, 0x012},
    {kKeyR, 0x013},
    {kKeyT, 0x014},
    {kKeyY, 0x015},
    {kKeyU, 0x016},
    {kKeyI, 0x017},
    {kKeyO, 0x018},
    {kKeyP, 0x019},
    {kKeyLeftBracket, 0x01A},
    {kKeyRightBracket, 0x01B},
    {kKeyBackslash, 0x02B},
    {kKeyDelete, 0x153},
    {kKeyEnd, 0x14F},
    {kKeyPageDown, 0x151},
    {kKeyNum7, 0x047},
    {kKeyNum8, 0x048},
    {kKeyNum9, 0x049},
    {kKeyNumPlus, 0x04E},
    // home row
    {kKeyCapsLock, 0x03A},
    {kKeyA, 0x01E},
    {kKeyS, 0x01F},
    {kKeyD, 0x020},
    {kKeyF, 0x021},
    {kKeyG, 0x022},
    {kKeyH, 0x023},
    {kKeyJ, 0x024},
    {kKeyK, 0x025},
    {kKeyL, 0x026},
    {kKeySemicolon, 0x027},
    {kKeyQuote, 0x028},
    {kKeyEnter, 0x01C},
    {kKeyNum4, 0x04B},
    {kKeyNum5, 0x04C},
    {kKeyNum6, 0x04D},
    // bottom letter row
    {kKeyLeftShift, 0x02A},
    {kKeyZ, 0x02C},
    {kKeyX, 0x02D},
    {kKeyC, 0x02E},
    {kKeyV, 0x02F},
    {kKeyB, 0x030},
    {kKeyN, 0x031},
    {kKeyM, 0x032},
    {kKeyComma, 0x033},
    {kKeyPeriod, 0x034},
    {kKeySlash, 0x035},
    {kKeyRightShift, 0x036},
    {kKeyUp, 0x148},
    {kKeyNum1, 0x04F},
    {kKeyNum2, 0x050},
    {kKeyNum3, 0x051},
    {kKeyNumEnter, 0x11C},
    // space row
    {kKeyLeftCtrl, 0x01D},
    {kKeyLeftWin, 0x15B},
    {kKeyLeftAlt, 0x038},
    {kKeySpace, 0x039},
    {kKeyRightAlt, 0x138},
    {kKeyApp, 0x15D},
    {kKeyRightWin, 0x15C},
    {kKeyRightCtrl, 0x11D},
    {kKeyLeft, 0x14B},
    {kKeyDown, 0x150},
    {kKeyRight, 0x14D},
    {kKeyNum0, 0x052},
    {kKeyNumPeriod, 0x053},
}};
// clang-format on

namespace {

const KeyButtonInfo* InfoOfControl(int controlId) {
    for (const KeyButtonInfo& info : kKeyButtonTable) {
        if (info.controlId == controlId) {
            return &info;
        }
    }
    return nullptr;
}

}  // namespace

int GKeyControlId(int n) {
    return n <= 5 ? kKeyG1 + (n - 1) : kKeyG6 + (n - 6);
}

int GKeyOfControl(int controlId) {
    if (controlId >= kKeyG1 && controlId <= kKeyG5) {
        return controlId - kKeyG1 + 1;
    }
    if (controlId >= kKeyG6 && controlId <= kKeyG9) {
        return controlId - kKeyG6 + 6;
    }
    return 0;
}

int SlotOfKeyControl(int controlId) {
    if (const int n = GKeyOfControl(controlId); n != 0) {
        return GKeySlot(n, GKeyBank::A);
    }
    const KeyButtonInfo* info = InfoOfControl(controlId);
    return info != nullptr ? SlotOfScan(info->scan) : -1;
}

int KeyControlOfSlot(int slot) {
    if (const int n = GKeyNumberOfSlot(slot); n != 0) {
        return slot == GKeySlot(n, GKeyBank::A) ? GKeyControlId(n) : 0;
    }
    for (const KeyButtonInfo& info : kKeyButtonTable) {
        if (SlotOfScan(info.scan) == slot) {
            return info.controlId;
        }
    }
    return 0;
}

int GridKeyOfKeyControl(int controlId) {
    if (controlId == kKeyFn) {
        return kFnGridKey;
    }
    if (const int n = GKeyOfControl(controlId); n != 0) {
        return GridKeyOfGKey(n);
    }
    const KeyButtonInfo* info = InfoOfControl(controlId);
    return info != nullptr ? GridKeyOfScan(info->scan) : -1;
}

}  // namespace korvel
