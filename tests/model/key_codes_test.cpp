#include <gtest/gtest.h>

#include "model/keys/key_codes.h"

namespace korvel {
namespace {

TEST(KeyCodes, SlotFoldingOfScanCodes) {
    struct Case {
        ScanCode scan;
        KeySlot slot;
    };
    const Case cases[] = {{0x000, 0x00}, {0x01E, 0x1E}, {0x07F, 0x7F}, {0x100, 0x80},
                          {0x11D, 0x9D}, {0x145, 197},  {0x17F, 0xFF}};
    for (const Case& c : cases) {
        EXPECT_EQ(SlotOfScan(c.scan), c.slot) << std::hex << c.scan;
        EXPECT_EQ(ScanOfSlot(c.slot), c.scan) << std::hex << c.scan;
    }
    // Codes past the numbering fold into it rather than leave the table.
    EXPECT_EQ(SlotOfScan(0x180), 0x00);
    EXPECT_EQ(SlotOfScan(0xFFFF), 0x7F);
    for (int slot = 0; slot < kKeySlots; ++slot) {
        EXPECT_EQ(SlotOfScan(ScanOfSlot(static_cast<KeySlot>(slot))), slot);
    }
    EXPECT_EQ(KeySkinName(SlotOfScan(0x145)), "KEY_0C5");
    EXPECT_EQ(KeySkinName(SlotOfScan(0x01E)), "KEY_01E");
}

TEST(KeyCodes, TieBreaksTakeTheFirstKeyInSlotOrder) {
    EXPECT_EQ(ScanOfListPosition(103), 0x036);
    EXPECT_EQ(ListPositionOfScan(0x136), 103);
    EXPECT_EQ(ListPositionOfScan(0x036), 103);
    EXPECT_EQ(HidUsageToScan(kPageKeyboard, 0x48), 0x045);
    EXPECT_EQ(ScanToHidUsage(0x146), (HidUsage{kPageKeyboard, 0x48}));
    EXPECT_EQ(HidUsageToScan(kPageKeyboard, 0xE5), 0x036);
    EXPECT_EQ(ListPositionOfScan(0x0AA), kListPositionNone);
    EXPECT_EQ(ListPositionOfScan(0x054), 0x8001);  // Sys Req: first key outside the list
}

TEST(KeyCodes, ScanToHidUsageCases) {
    struct Case {
        ScanCode scan;
        HidUsage usage;
    };
    const Case cases[] = {
        {0x01E, {0x07, 0x04}},   {0x122, {0x0C, 0x00CD}}, {0x174, {0x0C, 0x0000}},
        {0x17B, {0x0C, 0x0000}}, {0x054, {0x00, 0x00}},   {0x15E, {0x01, 0x81}},
        {0x163, {0x01, 0x83}},   {0x070, {0x07, 0x88}},   {0x0AA, {0x00, 0x00}},
        {0x000, {0x00, 0x00}},   {0x171, {0x00, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScanToHidUsage(c.scan), c.usage) << std::hex << c.scan;
    }
}

TEST(KeyCodes, HidUsageToScanCases) {
    struct Case {
        std::uint16_t page;
        std::uint16_t usage;
        ScanCode scan;
    };
    const Case cases[] = {
        {0x07, 0x04, 0x01E},   {0x07, 0x148, 0x000}, {0x07, 0x00, 0x000},   {0x01, 0x82, 0x15F},
        {0x01, 0x84, 0x000},   {0x01, 0x04, 0x000},  {0x0C, 0x00B6, 0x110}, {0x0C, 0x0000, 0x174},
        {0x0C, 0x1234, 0x000}, {0x09, 0x01, 0x000},  {0x00, 0x04, 0x000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HidUsageToScan(c.page, c.usage), c.scan) << c.page << "/" << c.usage;
    }
}

TEST(KeyCodes, DeviceCodeToScanCases) {
    struct Case {
        DeviceKeyCode code;
        ScanCode scan;
    };
    const Case cases[] = {
        {{0x02, 0x01, 0x00}, 0x000}, {{0x02, 0x01, 0x30}, 0x11D}, {{0x02, 0x01, 0x20}, 0x036},
        {{0x02, 0x02, 0x29}, 0x001}, {{0x02, 0x02, 0x48}, 0x045}, {{0x02, 0x07, 0x02}, 0x02A},
        {{0x03, 0xB6, 0x00}, 0x110}, {{0x03, 0x00, 0x00}, 0x174}, {{0x03, 0x83, 0x01}, 0x16D},
        {{0x04, 0x81, 0x00}, 0x15E}, {{0x04, 0x81, 0x01}, 0x000}, {{0x05, 0x01, 0x03}, 0x000},
        {{0x05, 0x00, 0x00}, 0x000}, {{0x00, 0x00, 0x00}, 0x000}, {{0x01, 0x02, 0x04}, 0x000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceCodeToScan(c.code), c.scan)
            << std::hex << int(c.code.b0) << " " << int(c.code.b1) << " " << int(c.code.b2);
    }
}

TEST(KeyCodes, ScanFromKeyMessageCases) {
    struct Case {
        std::uint8_t vk;
        ScanCode reported;  // scan code with its extended bit, as in lParam bits 16..24
        ScanCode expected;
    };
    const Case cases[] = {
        {0x2D, 0x052, 0x052},  // keypad 0 with Num Lock off
        {0x2D, 0x000, 0x152},  // no scan code: the virtual key's own key
        {0x41, 0x036, 0x036},  // Right Shift's code wins whatever the virtual key
        {0xA1, 0x036, 0x036},
        {0xFF, 0x070, 0x070},  // no virtual key: the hardware code stands
        {0x41, 0x01E, 0x01E},
        {0x41, 0x030, 0x01E},  // code and virtual key disagree: the virtual key decides
        {0x10, 0x02A, 0x02A},  // generic Shift
        {0x11, 0x11D, 0x11D},  // generic Control from the right key
        {0x0D, 0x11C, 0x11C},  // Num Enter shares Enter's virtual key
        {0x2C, 0x000, 0x137},  // snapshot is Print Screen
        {0x2C, 0x137, 0x137},
        {0x01, 0x000, 0x000},  // a mouse button is no key
        {0x41, 0x100, 0x01E},  // extended bit alone counts as no code
    };
    for (const Case& c : cases) {
        const std::uint32_t lParam = (static_cast<std::uint32_t>(c.reported) << 16) | 1u;
        EXPECT_EQ(ScanFromKeyMessage(c.vk, lParam), c.expected)
            << std::hex << int(c.vk) << " " << c.reported;
    }
}

TEST(KeyCodes, GKeySlotsAndCodes) {
    EXPECT_EQ(GKeySlot(1, GKeyBank::A), 256);
    EXPECT_EQ(GKeySlot(9, GKeyBank::A), 264);
    EXPECT_EQ(GKeySlot(1, GKeyBank::B), 265);
    EXPECT_EQ(GKeySlot(9, GKeyBank::B), 273);
    for (int n = 1; n <= kGKeys; ++n) {
        EXPECT_EQ(GKeyCodeOfSlot(GKeySlot(n, GKeyBank::A)), 0x0300 + n);
        EXPECT_EQ(GKeyCodeOfSlot(GKeySlot(n, GKeyBank::B)), 0x1300 + n);
        EXPECT_EQ(GKeyNumberOfSlot(GKeySlot(n, GKeyBank::A)), n);
        EXPECT_EQ(GKeyNumberOfSlot(GKeySlot(n, GKeyBank::B)), n);
    }
    EXPECT_EQ(GKeyCodeOfSlot(255), 0);
    EXPECT_EQ(GKeyCodeOfSlot(274), 0);
    EXPECT_EQ(GKeyNumberOfSlot(255), 0);
    EXPECT_EQ(GKeyNumberOfSlot(274), 0);
    EXPECT_EQ(GKeyLabel(7), u"G7");
    EXPECT_EQ(GKeySkinName(3), "FUNC_G3");
}

// One rule for the keys whose press never arrives, for the recorder and the single-key page.
TEST(KeyCodes, KeysThatDeliverNoPress) {
    for (ScanCode key : {0x054, 0x071, 0x072, 0x137}) {
        EXPECT_TRUE(KeyDeliversNoPress(key)) << key;
    }
    for (ScanCode key : {0x000, 0x01E, 0x037, 0x136, 0x138, 0x145}) {
        EXPECT_FALSE(KeyDeliversNoPress(key)) << key;
    }
}

}  // namespace
}  // namespace korvel
