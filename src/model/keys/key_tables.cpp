#include "model/keys/key_codes.h"

#include <string_view>

// The static key tables. The descriptor table is built once from a short list of keys, so that
// the keys outside the assignable list get their 0x8001.. numbers in slot order, as the keyboard
// tool has always numbered them.

namespace korvel {
namespace {

struct KeyRow {
    ScanCode scan;
    std::u16string_view name;
    std::uint8_t vk;
    std::uint8_t vkNumLockOff;
    std::uint8_t hidCode;
    int listPosition;  // -1: outside the assignable list
    int mediaIndex;    // -1: literal name
};

constexpr int kNone = -1;

constexpr KeyRow Key(ScanCode scan, std::u16string_view name, std::uint8_t vk, std::uint8_t hid,
                     int listPosition) {
    return {scan, name, vk, vk, hid, listPosition, -1};
}
constexpr KeyRow Media(ScanCode scan, int mediaIndex, std::uint8_t vk, std::uint8_t hid) {
    return {scan, u"", vk, vk, hid, kNone, mediaIndex};
}

// clang-format off
constexpr KeyRow kKeyRows[] = {
    Key(0x001, u"Esc", 0x1B, 0x29, 37),
    Key(0x002, u"1", '1', 0x1E, 26), Key(0x003, u"2", '2', 0x1F, 27), Key(0x004, u"3", '3', 0x20, 28),
    Key(0x005, u"4", '4', 0x21, 29), Key(0x006, u"5", '5', 0x22, 30), Key(0x007, u"6", '6', 0x23, 31),
    Key(0x008, u"7", '7', 0x24, 32), Key(0x009, u"8", '8', 0x25, 33), Key(0x00A, u"9", '9', 0x26, 34),
    Key(0x00B, u"0", '0', 0x27, 35),
    Key(0x00C, u"-", 0xBD, 0x2D, 41),
    Key(0x00D, u"=", 0xBB, 0x2E, 42),
    Key(0x00E, u"Backspace", 0x08, 0x2A, 38),
    Key(0x00F, u"Tab", 0x09, 0x2B, 39),
    Key(0x010, u"Q", 'Q', 0x14, 16), Key(0x011, u"W", 'W', 0x1A, 22), Key(0x012, u"E", 'E', 0x08, 4),
    Key(0x013, u"R", 'R', 0x15, 17), Key(0x014, u"T", 'T', 0x17, 19), Key(0x015, u"Y", 'Y', 0x1C, 24),
    Key(0x016, u"U", 'U', 0x18, 20), Key(0x017, u"I", 'I', 0x0C, 8), Key(0x018, u"O", 'O', 0x12, 14),
    Key(0x019, u"P", 'P', 0x13, 15),
    Key(0x01A, u"[", 0xDB, 0x2F, 43),
    Key(0x01B, u"]", 0xDD, 0x30, 44),
    Key(0x01C, u"Enter", 0x0D, 0x28, 36),
    Key(0x01D, u"Ctrl", 0xA2, 0xE0, 98),
    Key(0x01E, u"A", 'A', 0x04, 0), Key(0x01F, u"S", 'S', 0x16, 18), Key(0x020, u"D", 'D', 0x07, 3),
    Key(0x021, u"F", 'F', 0x09, 5), Key(0x022, u"G", 'G', 0x0A, 6), Key(0x023, u"H", 'H', 0x0B, 7),
    Key(0x024, u"J", 'J', 0x0D, 9), Key(0x025, u"K", 'K', 0x0E, 10), Key(0x026, u"L", 'L', 0x0F, 11),
    Key(0x027, u";", 0xBA, 0x33, 46),
    Key(0x028, u"'", 0xDE, 0x34, 47),
    Key(0x029, u"`", 0xC0, 0x35, 48),
    Key(0x02A, u"Shift", 0xA0, 0xE1, 99),
    Key(0x02B, u"\\", 0xDC, 0x31, 45),
    Key(0x02C, u"Z", 'Z', 0x1D, 25), Key(0x02D, u"X", 'X', 0x1B, 23), Key(0x02E, u"C", 'C', 0x06, 2),
    Key(0x02F, u"V", 'V', 0x19, 21), Key(0x030, u"B", 'B', 0x05, 1), Key(0x031, u"N", 'N', 0x11, 13),
    Key(0x032, u"M", 'M', 0x10, 12),
    Key(0x033, u",", 0xBC, 0x36, 49),
    Key(0x034, u".", 0xBE, 0x37, 50),
    Key(0x035, u"/", 0xBF, 0x38, 51),
    Key(0x036, u"Right Shift", 0xA1, 0xE5, 103),
    Key(0x037, u"Num *", 0x6A, 0x55, 81),
    Key(0x038, u"Alt", 0xA4, 0xE2, 100),
    Key(0x039, u"Space", 0x20, 0x2C, 40),
    Key(0x03A, u"Caps Lock", 0x14, 0x39, 78),
    Key(0x03B, u"F1", 0x70, 0x3A, 52), Key(0x03C, u"F2", 0x71, 0x3B, 53), Key(0x03D, u"F3", 0x72, 0x3C, 54),
    Key(0x03E, u"F4", 0x73, 0x3D, 55), Key(0x03F, u"F5", 0x74, 0x3E, 56), Key(0x040, u"F6", 0x75, 0x3F, 57),
    Key(0x041, u"F7", 0x76, 0x40, 58), Key(0x042, u"F8", 0x77, 0x41, 59), Key(0x043, u"F9", 0x78, 0x42, 60),
    Key(0x044, u"F10", 0x79, 0x43, 61),
    Key(0x045, u"Pause", 0x13, 0x48, 65),
    Key(0x046, u"Scroll Lock", 0x91, 0x47, 77),
    {0x047, u"Num 7", 0x67, 0x24, 0x5F, 91, -1},
    {0x048, u"Num 8", 0x68, 0x26, 0x60, 92, -1},
    {0x049, u"Num 9", 0x69, 0x21, 0x61, 93, -1},
    Key(0x04A, u"Num -", 0x6D, 0x56, 82),
    {0x04B, u"Num 4", 0x64, 0x25, 0x5C, 88, -1},
    {0x04C, u"Num 5", 0x65, 0x0C, 0x5D, 89, -1},
    {0x04D, u"Num 6", 0x66, 0x27, 0x5E, 90, -1},
    Key(0x04E, u"Num +", 0x6B, 0x57, 83),
    {0x04F, u"Num 1", 0x61, 0x23, 0x59, 85, -1},
    {0x050, u"Num 2", 0x62, 0x28, 0x5A, 86, -1},
    {0x051, u"Num 3", 0x63, 0x22, 0x5B, 87, -1},
    {0x052, u"Num 0", 0x60, 0x2D, 0x62, 94, -1},
    {0x053, u"Num .", 0x6E, 0x2E, 0x63, 95, -1},
    Key(0x054, u"Sys Req", 0x2C, 0x00, kNone),
    Key(0x056, u"K45", 0xE2, 0x64, 96),
    Key(0x057, u"F11", 0x7A, 0x44, 62),
    Key(0x058, u"F12", 0x7B, 0x45, 63),
    Key(0x064, u"F13", 0x7C, 0x00, kNone),
    Key(0x070, u"ROMA (133)", 0xFF, 0x88, kNone),
    Key(0x071, u"KL", 0xE9, 0x91, kNone),
    Key(0x072, u"KR", 0xFF, 0x90, kNone),
    Key(0x073, u"K56", 0xC1, 0x87, kNone),
    Key(0x079, u"CHG (132)", 0xFF, 0x8A, kNone),
    Key(0x07B, u"N-CHG (131)", 0xEB, 0x8B, kNone),
    Key(0x07D, u"K14", 0xFF, 0x89, kNone),
    Key(0x07E, u"K107", 0xC2, 0x85, kNone),
    Media(0x110, 3, 0xB1, 0xD0),
    Media(0x119, 4, 0xB0, 0xD1),
    Key(0x11C, u"Num Enter", 0x0D, 0x58, 84),
    Key(0x11D, u"Right Ctrl", 0xA3, 0xE4, 102),
    Media(0x120, 7, 0xAD, 0xCD),
    Media(0x121, 16, 0xB7, 0xC4),
    Media(0x122, 1, 0xB3, 0xCE),
    Media(0x124, 2, 0xB2, 0xCF),
    Media(0x12E, 5, 0xAE, 0xC1),
    Media(0x130, 6, 0xAF, 0xC0),
    Media(0x132, 8, 0xAC, 0xC7),
    Key(0x135, u"Num /", 0x6F, 0x54, 80),
    Key(0x136, u"Right Shift", 0xA1, 0xE5, 103),
    Key(0x137, u"Print Screen", 0x2C, 0x46, 64),
    Key(0x138, u"Right Alt", 0xA5, 0xE6, 104),
    Key(0x145, u"Num Lock", 0x90, 0x53, 79),
    Key(0x146, u"Break", 0x03, 0x48, 66),
    Key(0x147, u"Home", 0x24, 0x4A, 69),
    Key(0x148, u"\u2191", 0x26, 0x52, 73),
    Key(0x149, u"Page Up", 0x21, 0x4B, 71),
    Key(0x14B, u"\u2190", 0x25, 0x50, 75),
    Key(0x14D, u"\u2192", 0x27, 0x4F, 76),
    Key(0x14F, u"End", 0x23, 0x4D, 70),
    Key(0x150, u"\u2193", 0x28, 0x51, 74),
    Key(0x151, u"Page Down", 0x22, 0x4E, 72),
    Key(0x152, u"Insert", 0x2D, 0x49, 67),
    Key(0x153, u"Delete", 0x2E, 0x4C, 68),
    Key(0x15B, u"Win", 0x5B, 0xE3, 101),
    Key(0x15C, u"Right Win", 0x5C, 0xE7, 105),
    Key(0x15D, u"App", 0x5D, 0x65, 97),
    Key(0x15E, u"Power", 0xFF, 0x81, kNone),
    Key(0x15F, u"Sleep", 0x5F, 0x82, kNone),
    Key(0x163, u"Wake", 0xFF, 0x83, kNone),
    Media(0x165, 14, 0xAA, 0xC6),
    Media(0x166, 13, 0xAB, 0xCC),
    Media(0x167, 9, 0xA8, 0xCB),
    Media(0x168, 10, 0xA9, 0xCA),
    Media(0x169, 12, 0xA7, 0xC9),
    Media(0x16A, 11, 0xA6, 0xC8),
    Media(0x16B, 15, 0xB6, 0xC5),
    Media(0x16C, 17, 0xB4, 0xC3),
    Media(0x16D, 0, 0xB5, 0xC2),
    Key(0x16E, u"Pan Left", 0x88, 0x00, kNone),
    Key(0x16F, u"Pan Right", 0x89, 0x00, kNone),
    Key(0x170, u"Double Click", 0x8A, 0x00, kNone),
    Key(0x171, u"Left Button", 0x01, 0x00, kNone),
    Key(0x172, u"Right Button", 0x02, 0x00, kNone),
    Key(0x173, u"Middle Button", 0x04, 0x00, kNone),
    Key(0x174, u"Zoom-", 0x8B, 0xD2, kNone),
    Key(0x175, u"Zoom+", 0x8C, 0xD3, kNone),
    Key(0x176, u"Copy", 0x97, 0x00, kNone),
    Key(0x177, u"Cut", 0x98, 0x00, kNone),
    Key(0x178, u"Paste", 0x99, 0x00, kNone),
    Key(0x179, u"Minimize", 0x9A, 0x00, kNone),
    Key(0x17A, u"Maximize", 0x9B, 0x00, kNone),
    Key(0x17B, u"Word", 0x9C, 0xD4, kNone),
    Key(0x17C, u"Excel", 0x9D, 0xD5, kNone),
    Key(0x17D, u"PowerPoint", 0x9E, 0x00, kNone),
    Key(0x17E, u"Calendar", 0x9F, 0x00, kNone),
};
// clang-format on

constexpr std::array<KeyDescriptor, kKeySlots> BuildDescriptors() {
    std::array<KeyDescriptor, kKeySlots> table{};
    for (auto& d : table) {
        d = KeyDescriptor{};
    }
    for (const KeyRow& row : kKeyRows) {
        KeyDescriptor& d = table[row.scan < 0x100 ? row.scan : ((row.scan - 0x80) & 0xFF)];
        d.name = row.name;
        d.vk = row.vk;
        d.vkNumLockOff = row.vkNumLockOff;
        d.hidCode = row.hidCode;
        d.mediaIndex = static_cast<std::int8_t>(row.mediaIndex);
        d.listPosition = row.listPosition >= 0 ? static_cast<std::uint16_t>(row.listPosition) : 0;
    }
    // Keys outside the list are numbered 0x8001.. in slot order.
    std::uint16_t outside = 0x8001;
    for (int slot = 0; slot < kKeySlots; ++slot) {
        KeyDescriptor& d = table[slot];
        const bool named = !d.name.empty() || d.mediaIndex >= 0;
        if (!named) {
            d.listPosition = kListPositionNone;
            continue;
        }
        bool listed = false;
        for (const KeyRow& row : kKeyRows) {
            if ((row.scan < 0x100 ? row.scan : ((row.scan - 0x80) & 0xFF)) == slot) {
                listed = row.listPosition >= 0;
            }
        }
        if (!listed) {
            d.listPosition = outside++;
        }
    }
    return table;
}

constexpr std::array<KeyDescriptor, kKeySlots> kDescriptors = BuildDescriptors();

constexpr std::array<std::uint16_t, kConsumerCodes> kConsumerCodeTable = {
    0x00E9, 0x00EA, 0x0183, 0x018A, 0x0192, 0x0194, 0x0221, 0x0223, 0x0224, 0x0225, 0x0226,
    0x0227, 0x022A, 0x00E2, 0x00CD, 0x00B7, 0x00B6, 0x00B5, 0,      0,      0,      0,
    0,      0,      0,      0,      0,      0,      0,      0,      0,      0};

constexpr std::array<MediaKey, kMediaKeys> kMediaKeyTable = {{
    {"MEDIA_PALYER_1", 0x0183, 0x16D, 0xC2},
    {"MEDIA_PALY_PAUSE_2", 0x00CD, 0x122, 0xCE},
    {"MEDIA_STOP_PALY_3", 0x00B7, 0x124, 0xCF},
    {"MEDIA_PREV_TRACK_4", 0x00B6, 0x110, 0xD0},
    {"MEDIA_Next_TRACK_5", 0x00B5, 0x119, 0xD1},
    {"MEDIA_V_LOW_6", 0x00EA, 0x12E, 0xC1},
    {"MEDIA_V_ADD_7", 0x00E9, 0x130, 0xC0},
    {"MEDIA_MUTE_8", 0x00E2, 0x120, 0xCD},
    {"MEDIA_WWW_HOME_9", 0x0223, 0x132, 0xC7},
    {"MEDIA_WWW_REFRESH_10", 0x0227, 0x167, 0xCB},
    {"MEDIA_WWW_STOP_11", 0x0226, 0x168, 0xCA},
    {"MEDIA_WWW_BACK_12", 0x0224, 0x16A, 0xC8},
    {"MEDIA_WWW_FORWARD_13", 0x0225, 0x169, 0xC9},
    {"MEDIA_WWW_FAVORITE_14", 0x022A, 0x166, 0xCC},
    {"MEDIA_WWW_SEARCH_15", 0x0221, 0x165, 0xC6},
    {"MEDIA_MY_PC_16", 0x0194, 0x16B, 0xC5},
    {"MEDIA_CALC_17", 0x0192, 0x121, 0xC4},
    {"MEDIA_MAIL_18", 0x018A, 0x16C, 0xC3},
}};

// In the order the modifier byte's bits are tested.
constexpr std::array<ModifierKey, 8> kModifierKeys = {{
    {0x01D, 0x01},
    {0x02A, 0x02},
    {0x038, 0x04},
    {0x15B, 0x08},
    {0x11D, 0x10},
    {0x036, 0x20},
    {0x138, 0x40},
    {0x15C, 0x80},
}};

constexpr std::array<std::string_view, kFunctionKeys> kFunctionKeyLanguageKeys = {
    "FUNC_KEY_DESC1", "FUNC_KEY_DESC2", "FUNC_KEY_DESC3", "FUNC_KEY_DESC4", "FUNC_KEY_DESC5",
    "FUNC_KEY_DESC6", "FUNC_KEY_DESC7", "FUNC_KEY_DESC8", "FUNC_KEY_DESC9"};

constexpr bool NoKeyVirtualCode(int vk) {
    // Mouse buttons and program-level pseudo keys of the descriptor table; no keyboard reports
    // them, so a hook event with such a code is never taken for one of those keys.
    return vk == 0x01 || vk == 0x02 || vk == 0x04 || (vk >= 0x88 && vk <= 0x8C) ||
           (vk >= 0x97 && vk <= 0x9F) || vk == 0xFF;
}

constexpr std::array<KeySlot, 256> BuildVirtualKeyTable() {
    std::array<KeySlot, 256> table{};
    for (int vk = 0; vk < 256; ++vk) {
        table[vk] = 0;
        if (NoKeyVirtualCode(vk)) {
            continue;
        }
        for (int slot = 0; slot < kKeySlots; ++slot) {
            if (kDescriptors[slot].vk == vk) {
                table[vk] = static_cast<KeySlot>(slot);
                break;
            }
        }
    }
    // Generic Shift, Control and Alt stand for the left keys; snapshot is Print Screen, not the
    // Sys Req descriptor that shares its code.
    table[0x10] = 0x2A;
    table[0x11] = 0x1D;
    table[0x12] = 0x38;
    table[0x2C] = 0x137 - 0x80;
    return table;
}

constexpr std::array<KeySlot, 256> kVirtualKeyTable = BuildVirtualKeyTable();

}  // namespace

const KeyDescriptor& KeyDescriptorOf(KeySlot slot) {
    return kDescriptors[slot];
}

std::span<const std::uint16_t, kConsumerCodes> ConsumerCodeTable() {
    return kConsumerCodeTable;
}

std::span<const MediaKey, kMediaKeys> MediaKeyTable() {
    return kMediaKeyTable;
}

std::span<const ModifierKey, 8> ModifierKeyTable() {
    return kModifierKeys;
}

std::span<const std::string_view, kFunctionKeys> FunctionKeyLanguageKeys() {
    return kFunctionKeyLanguageKeys;
}

KeySlot VirtualKeyToSlot(std::uint8_t vk) {
    return kVirtualKeyTable[vk];
}

}  // namespace korvel
