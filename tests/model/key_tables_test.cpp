#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "model/keys/key_codes.h"

namespace korvel {
namespace {

bool Named(KeySlot slot) {
    const KeyDescriptor& d = KeyDescriptorOf(slot);
    return !d.name.empty() || d.mediaIndex >= 0;
}

TEST(KeyTables, AssignableListHasEveryPositionOnceInItsOrder) {
    const std::u16string expected[kAssignableKeys] = {
        u"A",        u"B",       u"C",           u"D",           u"E",
        u"F",        u"G",       u"H",           u"I",           u"J",
        u"K",        u"L",       u"M",           u"N",           u"O",
        u"P",        u"Q",       u"R",           u"S",           u"T",
        u"U",        u"V",       u"W",           u"X",           u"Y",
        u"Z",        u"1",       u"2",           u"3",           u"4",
        u"5",        u"6",       u"7",           u"8",           u"9",
        u"0",        u"Enter",   u"Esc",         u"Backspace",   u"Tab",
        u"Space",    u"-",       u"=",           u"[",           u"]",
        u"\\",       u";",       u"'",           u"`",           u",",
        u".",        u"/",       u"F1",          u"F2",          u"F3",
        u"F4",       u"F5",      u"F6",          u"F7",          u"F8",
        u"F9",       u"F10",     u"F11",         u"F12",         u"Print Screen",
        u"Pause",    u"Break",   u"Insert",      u"Delete",      u"Home",
        u"End",      u"Page Up", u"Page Down",   u"\u2191",      u"\u2193",
        u"\u2190",   u"\u2192",  u"Scroll Lock", u"Caps Lock",   u"Num Lock",
        u"Num /",    u"Num *",   u"Num -",       u"Num +",       u"Num Enter",
        u"Num 1",    u"Num 2",   u"Num 3",       u"Num 4",       u"Num 5",
        u"Num 6",    u"Num 7",   u"Num 8",       u"Num 9",       u"Num 0",
        u"Num .",    u"K45",     u"App",         u"Ctrl",        u"Shift",
        u"Alt",      u"Win",     u"Right Ctrl",  u"Right Shift", u"Right Alt",
        u"Right Win"};
    std::map<int, std::vector<ScanCode>> holders;
    std::set<std::uint16_t> outside;
    for (int slot = 0; slot < kKeySlots; ++slot) {
        const KeyDescriptor& d = KeyDescriptorOf(static_cast<KeySlot>(slot));
        if (!Named(static_cast<KeySlot>(slot))) {
            EXPECT_EQ(d.listPosition, kListPositionNone) << slot;
            EXPECT_EQ(d.hidCode, 0) << slot;
            continue;
        }
        if (d.listPosition < kAssignableKeys) {
            holders[d.listPosition].push_back(ScanOfSlot(static_cast<KeySlot>(slot)));
        } else {
            EXPECT_GE(d.listPosition, 0x8001);
            EXPECT_LE(d.listPosition, 0x8030);
            EXPECT_TRUE(outside.insert(d.listPosition).second) << "listPosition used twice";
        }
    }
    EXPECT_EQ(outside.size(), 0x30u);
    for (int p = 0; p < kAssignableKeys; ++p) {
        ASSERT_FALSE(holders[p].empty()) << p;
        EXPECT_EQ(ListPositionName(p), expected[p]) << p;
        EXPECT_EQ(ListPositionOfScan(ScanOfListPosition(p)), p);
        if (p == 103) {
            // Right Shift has two codes; the list offers the first.
            EXPECT_EQ(holders[p], (std::vector<ScanCode>{0x036, 0x136}));
        } else {
            EXPECT_EQ(holders[p].size(), 1u) << p;
        }
    }
    EXPECT_EQ(ListPositionName(106), u"");
    EXPECT_EQ(ScanOfListPosition(-1), 0);
}

TEST(KeyTables, LettersDigitsAndFunctionKeysFollowTheirRules) {
    for (int i = 0; i < 26; ++i) {
        const ScanCode sc = ScanOfListPosition(i);
        const KeyDescriptor& d = KeyDescriptorOf(SlotOfScan(sc));
        EXPECT_EQ(d.name, std::u16string(1, static_cast<char16_t>(u'A' + i)));
        EXPECT_EQ(d.vk, 'A' + i);
        EXPECT_EQ(d.hidCode, 0x04 + i);
    }
    for (int i = 0; i < 10; ++i) {  // 1..9, 0
        const KeyDescriptor& d = KeyDescriptorOf(SlotOfScan(static_cast<ScanCode>(0x002 + i)));
        EXPECT_EQ(d.listPosition, 26 + i);
        EXPECT_EQ(d.hidCode, 0x1E + i);
        EXPECT_EQ(d.vk, i == 9 ? '0' : '1' + i);
    }
    for (int i = 0; i < 12; ++i) {
        const KeyDescriptor& d = KeyDescriptorOf(SlotOfScan(ScanOfListPosition(52 + i)));
        const std::string digits = std::to_string(i + 1);
        EXPECT_EQ(d.name, u"F" + std::u16string(digits.begin(), digits.end()));
        EXPECT_EQ(d.vk, 0x70 + i);
        EXPECT_EQ(d.hidCode, 0x3A + i);
    }
}

TEST(KeyTables, ModifierBitsMatchTheirKeyboardUsages) {
    // HID modifier bit k is the modifier with keyboard usage 0xE0 + k.
    for (const ModifierKey& m : ModifierKeyTable()) {
        int bitIndex = 0;
        while ((1 << bitIndex) != m.bit) {
            ++bitIndex;
        }
        EXPECT_EQ(ScanToHidUsage(m.scan),
                  (HidUsage{kPageKeyboard, std::uint16_t(0xE0 + bitIndex)}));
        EXPECT_EQ(ModifierBitOf(m.scan), m.bit);
        EXPECT_EQ(ModifierScanOf(m.bit), m.scan);
    }
    EXPECT_EQ(ModifierBitOf(0x136), 0);
    EXPECT_EQ(ModifierBitOf(0x01E), 0);
    EXPECT_EQ(ModifierScanOf(0), 0);
    EXPECT_EQ(ModifierScanOf(0x30), 0x11D);  // lowest set bit wins
}

TEST(KeyTables, MediaKeysAgreeWithTheConsumerTable) {
    std::set<ScanCode> scans;
    for (int i = 0; i < kMediaKeys; ++i) {
        const MediaKey& m = MediaKeyTable()[i];
        const KeyDescriptor& d = KeyDescriptorOf(SlotOfScan(m.scan));
        EXPECT_EQ(d.mediaIndex, i) << m.languageKey;
        EXPECT_EQ(d.hidCode, m.hidCode) << m.languageKey;
        ASSERT_GE(m.hidCode, 0xC0);
        EXPECT_EQ(ConsumerCodeTable()[m.hidCode - 0xC0], m.consumerUsage) << m.languageKey;
        EXPECT_EQ(ScanToHidUsage(m.scan), (HidUsage{kPageConsumer, m.consumerUsage}));
        EXPECT_EQ(HidUsageToScan(kPageConsumer, m.consumerUsage), m.scan);
        EXPECT_EQ(MediaIndexOfScan(m.scan), i);
        scans.insert(m.scan);
    }
    EXPECT_EQ(scans.size(), 18u);
    int mediaDescriptors = 0;
    for (int slot = 0; slot < kKeySlots; ++slot) {
        mediaDescriptors += KeyDescriptorOf(static_cast<KeySlot>(slot)).mediaIndex >= 0;
    }
    EXPECT_EQ(mediaDescriptors, 18);
    EXPECT_EQ(MediaIndexOfScan(0x01E), -1);
}

TEST(KeyTables, UsagesRoundTripExceptForTheSharedCodes) {
    // Break shares Pause's usage, 0x136 shares Right Shift's, and four keys map to an empty
    // consumer entry, so those come back as the first key of their code.
    const std::map<ScanCode, ScanCode> firstOfCode = {{0x146, 0x045}, {0x136, 0x036},
                                                      {0x174, 0x174}, {0x175, 0x174},
                                                      {0x17B, 0x174}, {0x17C, 0x174}};
    for (int slot = 0; slot < kKeySlots; ++slot) {
        const ScanCode sc = ScanOfSlot(static_cast<KeySlot>(slot));
        const HidUsage u = ScanToHidUsage(sc);
        if (u.page == 0) {
            EXPECT_EQ(u.usage, 0);
            continue;
        }
        const auto it = firstOfCode.find(sc);
        EXPECT_EQ(HidUsageToScan(u.page, u.usage), it == firstOfCode.end() ? sc : it->second)
            << std::hex << sc;
    }
}

TEST(KeyTables, VirtualKeyTableNamesKeysWithThatCode) {
    const std::map<int, KeySlot> exceptions = {
        {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x2C, SlotOfScan(0x137)}};
    for (int vk = 0; vk < 256; ++vk) {
        const KeySlot slot = VirtualKeyToSlot(static_cast<std::uint8_t>(vk));
        if (const auto it = exceptions.find(vk); it != exceptions.end()) {
            EXPECT_EQ(slot, it->second);
            continue;
        }
        if (slot == 0) {
            continue;
        }
        EXPECT_EQ(KeyDescriptorOf(slot).vk, vk);
        for (int earlier = 0; earlier < slot; ++earlier) {
            EXPECT_NE(KeyDescriptorOf(static_cast<KeySlot>(earlier)).vk, vk) << vk;
        }
    }
    for (int vk : {0x01, 0x02, 0x04, 0x88, 0x8C, 0x97, 0x9F, 0xFF}) {
        EXPECT_EQ(VirtualKeyToSlot(static_cast<std::uint8_t>(vk)), 0) << vk;
    }
    EXPECT_EQ(VirtualKeyToSlot(0x0D), 0x1C);  // Enter before Num Enter
    EXPECT_EQ(VirtualKeyToSlot(0xA1), 0x36);
}

}  // namespace
}  // namespace korvel
