#include <gtest/gtest.h>

#include <set>

#include "device/sim/keyboard_memory.h"
#include "model/keys/led_index.h"
#include "model/lighting/effect_list.h"
#include "model/lighting/lighting_color.h"
#include "model/lighting/lighting_record.h"
#include "support/temp_folder.h"
#include "text/private_profile.h"

namespace korvel {
namespace {

TEST(LedIndex, KeysOfTheGridHaveTheirLights) {
    struct Case {
        const char* name;
        ScanCode scan;
        LedIndex led;
    };
    const Case cases[] = {
        {"Esc", 0x001, 0},          {"F12", 0x058, 12},        {"Print Screen", 0x137, 14},
        {"Pause", 0x045, 16},       {"grave", 0x029, 21},      {"0", 0x00B, 31},
        {"Num Lock", 0x145, 38},    {"Num -", 0x04A, 41},      {"Tab", 0x00F, 42},
        {"\\", 0x02B, 55},          {"Num +", 0x04E, 62},      {"Caps Lock", 0x03A, 63},
        {"'", 0x028, 74},           {"Enter", 0x01C, 76},      {"Num 6", 0x04D, 82},
        {"Left Shift", 0x02A, 84},  {"Z", 0x02C, 86},          {"Right Shift", 0x036, 97},
        {"Up", 0x148, 99},          {"Num Enter", 0x11C, 104}, {"Left Ctrl", 0x01D, 105},
        {"Space", 0x039, 108},      {"Right Alt", 0x138, 109}, {"App", 0x15D, 111},
        {"Right Ctrl", 0x11D, 113}, {"Left", 0x14B, 119},      {"Right", 0x14D, 121},
        {"Num 0", 0x052, 123},      {"Num .", 0x053, 124},     {"not on the grid", 0x05B, kNoLed},
        {"no key", 0, kNoLed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LedOfScan(c.scan), c.led) << c.name;
    }
}

TEST(LedIndex, TheGridHas104KeysFnAndNineGKeysWithDistinctLightsExceptTheGKeys) {
    const auto grid = KeyGrid();
    std::set<LedIndex> lights;
    std::set<ScanCode> scans;
    for (int i = 0; i < kGridPlainKeys; ++i) {
        EXPECT_EQ(grid[i].kind, GridKeyKind::Key);
        EXPECT_TRUE(lights.insert(grid[i].led).second) << "light " << grid[i].led;
        EXPECT_TRUE(scans.insert(grid[i].scan).second);
        EXPECT_GE(grid[i].led, 0);
        EXPECT_LT(grid[i].led, kLedCount);
        EXPECT_EQ(GridKeyOfScan(grid[i].scan), i);
    }
    EXPECT_EQ(grid[kFnGridKey].kind, GridKeyKind::Fn);
    EXPECT_EQ(grid[kFnGridKey].led, kFnLed);
    EXPECT_EQ(lights.count(kFnLed), 0u);
    for (int n = 1; n <= 9; ++n) {
        const int key = GridKeyOfGKey(n);
        EXPECT_EQ(grid[key].kind, GridKeyKind::GKey);
        EXPECT_EQ(grid[key].gKey, n);
        EXPECT_EQ(grid[key].led, kGKeysLed);
    }
    EXPECT_EQ(GridKeyOfGKey(0), -1);
    EXPECT_EQ(GridKeyOfGKey(10), -1);
}

TEST(LightingColor, WireOrderFormatAndParse) {
    const Color color = MakeColor(0x12, 0xAB, 0xF0);
    EXPECT_EQ(color, 0x00F0AB12u) << "0x00BBGGRR in memory";
    EXPECT_EQ(ColorToWire(color), (std::array<std::uint8_t, 3>{0x12, 0xAB, 0xF0}));
    EXPECT_EQ(FormatColor(color), "#12abf0");
    const std::pair<const char*, std::optional<Color>> cases[] = {
        {"#12abf0", color},        {"12ABF0", color},          {"#000000", kBlack},
        {"#fff", std::nullopt},    {"#12abf0a", std::nullopt}, {"#12abfg", std::nullopt},
        {"#+1abf0", std::nullopt}, {"", std::nullopt},         {"red", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseColor(text), expected) << text;
    }
}

TEST(LightingRecord, FactoryKeyboardHoldsTheDefaultRecordWithAZeroTail) {
    const auto memory = sim::MakeFactoryMemory();
    for (int p = 0; p < 3; ++p) {
        ProfileParamRecord record;
        std::copy_n(memory.params.begin() + p * kParamRecordBytes, kParamRecordBytes,
                    record.bytes.begin());
        EXPECT_TRUE(std::equal(kDefaultParamRecord.begin(), kDefaultParamRecord.end(),
                               record.bytes.begin()));
        EXPECT_TRUE(std::all_of(record.bytes.begin() + kDefaultParamRecordBytes, record.bytes.end(),
                                [](std::uint8_t b) { return b == 0; }));
        const LightingValues values = DecodeRecord(record);
        EXPECT_EQ(values.effect, 1);
        EXPECT_EQ(values.brightness, 5);
        EXPECT_EQ(values.speed, 3);
        EXPECT_EQ(values.direction, kDirectionRight);
        EXPECT_TRUE(values.multicolor);
        EXPECT_EQ(values.effectColor, kRed);
        EXPECT_EQ(values.baseColor, kWhite);
        EXPECT_EQ(values.paintColor, kRed);
        EXPECT_EQ(values.reportRate, 3);
        EXPECT_EQ(values.paintTool, 0);
        EXPECT_EQ(values.effect17Color, 0);
    }
    EXPECT_EQ(SliderPositionOfSpeed(3), 2);
    EXPECT_EQ(SpeedOfSliderPosition(4), 1);
}

TEST(EffectList, WhatEachEffectUses) {
    struct Case {
        int effect;
        bool handled, speed, direction, color, writesMulticolor;
    };
    const Case cases[] = {
        {0, false, false, false, false, false}, {1, true, true, true, true, true},
        {4, true, true, false, false, false},   {6, true, false, false, true, false},
        {12, true, true, true, false, false},   {13, true, true, false, true, true},
        {16, true, false, false, true, false},  {17, true, false, false, false, false},
        {18, true, false, true, false, false},  {19, false, false, false, false, false},
        {20, true, false, false, false, false}, {21, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.effect);
        EXPECT_EQ(IsHandledEffect(c.effect), c.handled);
        EXPECT_EQ(EffectUsesSpeed(c.effect), c.speed);
        EXPECT_EQ(EffectUsesDirection(c.effect), c.direction);
        EXPECT_EQ(EffectUsesColor(c.effect), c.color);
        EXPECT_EQ(EffectWritesMulticolor(c.effect), c.writesMulticolor);
    }
}

TEST(EffectList, SlotTableCountsListedEntriesOnlyAndFindsTheFirst) {
    DeviceInfoBlock block;
    const std::uint8_t ids[] = {0, 5, 0, 20, 7, 5};
    std::copy(std::begin(ids), std::end(ids), block.bytes.begin() + kInfoEffectListOffset);
    const EffectList list = EffectList::Of(block);
    EXPECT_TRUE(list.HasPerKeyColors());
    EXPECT_FALSE(list.Contains(0)) << "0 marks an empty slot";
    const EffectSlotTable table(list);
    ASSERT_EQ(table.Slots().size(), 4u);
    EXPECT_EQ(table.PositionOf(5), 0);
    EXPECT_EQ(table.PositionOf(20), 1);
    EXPECT_EQ(table.PositionOf(7), 2);
    EXPECT_EQ(table.PositionOf(1), -1);
    EXPECT_EQ(table.EffectAt(3), 5);
    EXPECT_EQ(table.EffectAt(4), 0);
    EXPECT_EQ(table.EffectAt(-1), 0);
}

TEST(EffectList, NamesComeFromTheSkinsModeSections) {
    korvel::fixtures::TempFolder folder;
    korvel::fixtures::WriteBytes(folder / "Main.ini",
                                 "[Mode]\n1=Wave\n20=Custom\n[Mode1]\n1=Welle\n");
    const PrivateProfile skin = PrivateProfile::Load(folder / "Main.ini");
    EXPECT_EQ(EffectName(skin, 0, 1), u"Wave");
    EXPECT_EQ(EffectName(skin, 0, 20), u"Custom");
    EXPECT_EQ(EffectName(skin, 1, 1), u"Welle");
    EXPECT_EQ(EffectName(skin, 1, 20), u"1") << "missing key";
    EXPECT_EQ(EffectName(skin, 2, 1), u"") << "no names for other languages";
}

}  // namespace
}  // namespace korvel
