#include <gtest/gtest.h>

#include "device/result_codes.h"
#include "model/lighting/lighting_presets.h"
#include "support/lighting_fixture.h"
#include "sync/lighting_ops.h"

namespace korvel {
namespace {

using test::Concat;
using test::Header;
using test::LightingFixture;

constexpr Color kBlue = MakeColor(0, 0, 0xFF);
constexpr Color kTeal = MakeColor(0, 0x80, 0x80);
constexpr ScanCode kW = 0x011;
constexpr ScanCode kQ = 0x010;

// Profile 1 connected with the panel on and the custom effect selected; the base colour is
// white and every key white, so every key follows it.
class KeyColors : public LightingFixture {
protected:
    void SetUp() override {
        Connect(1);
        ASSERT_EQ(ops.SetEffect(kCustomEffect), DEV_OK);
        keyboard.ClearReceived();
        view.Clear();
    }
};

TEST_F(KeyColors, BaseColourEqualToTheStoredOneIsWrittenOnce) {
    EXPECT_EQ(ops.ChooseBaseColor(kWhite), DEV_OK);
    EXPECT_EQ(Headers(), FieldWrite(1, kParamBaseColor, 3));
    EXPECT_TRUE(view.tintCalls.empty()) << "no recolouring";
}

TEST_F(KeyColors, DifferentBaseColourRecoloursFollowersWritesUploadsAndWritesAgain) {
    // Q no longer follows.
    state.colorTables[1].SetColor(LedOfScan(kQ), kBlue);
    state.followsBaseColor[1][GridKeyOfScan(kQ)] = false;

    EXPECT_EQ(ops.ChooseBaseColor(kTeal), DEV_OK);
    const std::vector<Header> expected = Concat({{{CMD_BEGIN, 0, 0}, {CMD_WRITE_PARAMS, 3, 42 + 9}},
                                                 Upload(1),
                                                 {{CMD_END, 0, 0}},
                                                 FieldWrite(1, kParamBaseColor, 3)});
    EXPECT_EQ(Headers(), expected);
    EXPECT_EQ(KeyboardColor(1, LedOfScan(kW)), kTeal);
    EXPECT_EQ(KeyboardColor(1, LedOfScan(kQ)), kBlue);
    EXPECT_EQ(KeyboardColor(1, kFnLed), kTeal);
    EXPECT_EQ(KeyboardColor(0, LedOfScan(kW)), kWhite) << "other pages untouched";
    EXPECT_EQ(ColorFromWire(std::span<const std::uint8_t, 3>(RecordInKeyboard(1).data() + 9, 3)),
              kTeal);
    EXPECT_EQ(state.current.baseColor, kTeal);
    EXPECT_EQ(view.tints[GridKeyOfScan(kW)], std::optional<Color>(kTeal));
    EXPECT_EQ(view.tints.count(GridKeyOfScan(kQ)), 0u);
}

TEST_F(KeyColors, AllNineGKeysShareOneLight) {
    ops.SetBaseColor(kTeal);
    EXPECT_EQ(KeyboardColor(1, kGKeysLed), kTeal);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(view.tints[GridKeyOfGKey(n)], std::optional<Color>(kTeal)) << "G" << n;
        EXPECT_EQ(KeyGrid()[GridKeyOfGKey(n)].led, kGKeysLed);
    }
}

TEST_F(KeyColors, WithoutEffect20TheBaseColourTouchesNoColourTable) {
    SetKeyboardMemory([](sim::KeyboardMemory& memory) {
        memory = sim::MakeFactoryMemory({.perKeyColors = false});
    });
    Connect(1);
    const auto tables = state.colorTables;
    EXPECT_EQ(ops.ChooseBaseColor(kTeal), DEV_OK);
    EXPECT_EQ(Headers(),
              Concat({FieldWrite(1, kParamBaseColor, 3), FieldWrite(1, kParamBaseColor, 3)}));
    EXPECT_EQ(state.colorTables, tables);
    EXPECT_EQ(ops.ApplyPreset(0), LIGHTING_REFUSED);
    EXPECT_EQ(ops.PaintKey(GridKeyOfScan(kW)), LIGHTING_REFUSED);
    EXPECT_EQ(Headers().size(), 6u) << "nothing more sent";
    EXPECT_EQ(keyboard.Memory().keyColors, sim::MakeFactoryMemory().keyColors);
}

TEST_F(KeyColors, PaintingSendsOneLightAndDecidesWhetherTheKeyFollows) {
    struct Case {
        const char* name;
        int tool;
        Color paint;
        Color expectedColor;
        bool follows;
    };
    const Case cases[] = {
        {"paint colour", kPaintToolPaintColor, kBlue, kBlue, false},
        {"paint colour equal to the base colour", kPaintToolPaintColor, kWhite, kWhite, true},
        {"base colour tool", kPaintToolBaseColor, kBlue, kWhite, true},
    };
    const int w = GridKeyOfScan(kW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ops.SetPaintTool(c.tool);
        ops.SetPaintColor(c.paint);
        state.followsBaseColor[1][w] = !c.follows;
        keyboard.ClearReceived();

        EXPECT_EQ(ops.PaintKey(w), DEV_OK);
        EXPECT_EQ(Headers(),
                  (std::vector<Header>{
                      {CMD_BEGIN, 0, 0}, {CMD_WRITE_KEYCOLORS, 3, 512 + 3 * 44}, {CMD_END, 0, 0}}));
        EXPECT_EQ(KeyboardColor(1, 44), c.expectedColor);
        EXPECT_EQ(state.followsBaseColor[1][w], c.follows);
        EXPECT_EQ(view.tints[w], std::optional<Color>(c.expectedColor));
    }
    // The key painted last follows: a new base colour takes it along.
    ops.SetBaseColor(kTeal);
    EXPECT_EQ(KeyboardColor(1, 44), kTeal);
}

TEST_F(KeyColors, FnPaintsLight110) {
    ops.SetPaintColor(kBlue);
    keyboard.ClearReceived();
    EXPECT_EQ(ops.PaintKey(kFnGridKey), DEV_OK);
    EXPECT_EQ(Headers()[1], (Header{CMD_WRITE_KEYCOLORS, 3, 512 + 3 * kFnLed}));
}

TEST_F(KeyColors, PaintingNeedsThePanelOnAndTheCustomEffect) {
    state.lightingPanelOn = false;
    EXPECT_EQ(ops.PaintKey(GridKeyOfScan(kW)), LIGHTING_REFUSED);
    state.lightingPanelOn = true;
    ops.SetEffect(5);
    keyboard.ClearReceived();
    EXPECT_EQ(ops.PaintKey(GridKeyOfScan(kW)), LIGHTING_REFUSED);
    EXPECT_TRUE(Received().empty());
}

TEST_F(KeyColors, PresetsLeaveUnlistedKeysBlackAndFollowingTheBaseColour) {
    for (int n = 0; n < kLightingPresetCount; ++n) {
        const LightingPreset& preset = LightingPresets()[n];
        SCOPED_TRACE(preset.name);
        keyboard.ClearReceived();
        view.Clear();

        EXPECT_EQ(ops.ApplyPreset(n), DEV_OK);
        const std::vector<Header> baseAndUpload = Concat(
            {{{CMD_BEGIN, 0, 0}, {CMD_WRITE_PARAMS, 3, 42 + 9}}, Upload(1), {{CMD_END, 0, 0}}});
        EXPECT_EQ(Headers(), Concat({baseAndUpload, baseAndUpload}));

        for (int key = 0; key < kGridKeys; ++key) {
            const GridKey& k = KeyGrid()[key];
            Color expected = kBlack;
            for (const PresetKey& entry : preset.keys) {
                if (k.kind == GridKeyKind::Key && entry.scan == k.scan) {
                    expected = entry.color;
                }
            }
            EXPECT_EQ(KeyboardColor(1, k.led), expected) << "key " << key;
            EXPECT_EQ(state.followsBaseColor[1][key], expected == kBlack) << "key " << key;
            EXPECT_EQ(view.tints[key], std::optional<Color>(expected)) << "key " << key;
        }
        EXPECT_EQ(state.current.baseColor, kBlack);
        ASSERT_FALSE(view.shownValues.empty());
        EXPECT_EQ(view.shownValues.back().baseColor, kBlack) << "the base picker shows black";
    }
    // After "RTS": Left Shift is blue and stays so, Q is black and takes the base colour.
    ops.SetBaseColor(kTeal);
    EXPECT_EQ(KeyboardColor(1, LedOfScan(0x02A)), kBlue);
    EXPECT_EQ(KeyboardColor(1, LedOfScan(kQ)), kTeal);
    EXPECT_EQ(KeyboardColor(1, kGKeysLed), kTeal);
}

TEST_F(KeyColors, PresetColoursAreTheListedOnes) {
    const auto presets = LightingPresets();
    ASSERT_EQ(presets.size(), 4u);
    EXPECT_EQ(presets[0].name, "FPS");
    EXPECT_EQ(presets[1].name, "MMO");
    EXPECT_EQ(presets[2].name, "MOBA");
    EXPECT_EQ(presets[3].name, "RTS");
    EXPECT_EQ(presets[0].keys.size(), 10u);
    EXPECT_EQ(presets[1].keys.size(), 17u);
    EXPECT_EQ(presets[2].keys.size(), 13u);
    EXPECT_EQ(presets[3].keys.size(), 11u);
    for (const auto& preset : presets) {
        for (const PresetKey& entry : preset.keys) {
            EXPECT_GE(GridKeyOfScan(entry.scan), 0) << preset.name << " " << entry.scan;
        }
    }
    EXPECT_EQ(FormatColor(presets[1].keys.back().color), "#ff00ff") << "MMO Enter";
    EXPECT_EQ(FormatColor(presets[2].keys[10].color), "#0000ff") << "MOBA A";
}

TEST_F(KeyColors, RestoringDefaultsWritesTheDefaultRecordAndTheFpsPreset) {
    ops.SetPaintColor(kBlue);
    ops.SetBrightness(1);
    ops.SetMulticolor(0);
    state.colorTables[1].SetColor(13, kBlue);  // a light without a key
    const auto tailBefore = RecordInKeyboard(1);
    keyboard.ClearReceived();
    view.Clear();

    EXPECT_EQ(ops.RestoreLightingDefaults(), DEV_OK);
    const std::vector<Header> baseAndUpload =
        Concat({{{CMD_BEGIN, 0, 0}, {CMD_WRITE_PARAMS, 3, 42 + 9}}, Upload(1), {{CMD_END, 0, 0}}});
    const std::vector<Header> expected = Concat({
        {{CMD_BEGIN, 0, 0}, {CMD_WRITE_PARAMS, 1, 42}, {CMD_WRITE_PARAMS, 1, 46}, {CMD_END, 0, 0}},
        {{CMD_BEGIN, 0, 0}},
        Upload(1),
        {{CMD_END, 0, 0}},
        {{CMD_BEGIN, 0, 0}, {CMD_WRITE_PARAMS, 35, 42}, {CMD_END, 0, 0}},
        baseAndUpload,
        baseAndUpload,
    });
    EXPECT_EQ(Headers(), expected);
    EXPECT_EQ(Received()[2].Data()[0], 0) << "effect 1 goes with the multicolour flag in force";

    auto record = RecordInKeyboard(1);
    std::array<std::uint8_t, kParamRecordBytes> expectedRecord = tailBefore;
    std::copy(kDefaultParamRecord.begin(), kDefaultParamRecord.end(), expectedRecord.begin());
    expectedRecord[9] = expectedRecord[10] = expectedRecord[11] = 0;  // the preset's black base
    EXPECT_EQ(record, expectedRecord);
    EXPECT_EQ(state.current.brightness, 5);
    EXPECT_EQ(state.current.effect, 1);
    EXPECT_TRUE(state.current.multicolor);

    EXPECT_EQ(KeyboardColor(1, LedOfScan(kW)), MakeColor(0xFF, 0, 0)) << "FPS W";
    EXPECT_EQ(KeyboardColor(1, LedOfScan(kQ)), kBlack);
    EXPECT_EQ(KeyboardColor(1, 13), kWhite) << "the whole page went white before the preset";
    EXPECT_EQ(view.shownEffects, std::vector<int>{1});
    EXPECT_EQ(view.shownPresets, std::vector<int>{0});
    ASSERT_GE(view.tintCalls.size(), static_cast<std::size_t>(kGridKeys));
    for (const auto& [key, tint] : view.tints) {
        EXPECT_EQ(tint, std::nullopt) << "tint cleared, key " << key;
    }
    EXPECT_EQ(view.shownValues.back(), state.current);
}

TEST_F(KeyColors, RestoringDefaultsNeedsThePanelOn) {
    state.lightingPanelOn = false;
    EXPECT_EQ(ops.RestoreLightingDefaults(), LIGHTING_REFUSED);
    EXPECT_TRUE(Received().empty());
}

TEST_F(KeyColors, RestoringDefaultsWithoutEffects1And20WritesOnlyTheRecord) {
    SetKeyboardMemory([](sim::KeyboardMemory& memory) {
        memory = sim::MakeFactoryMemory({.perKeyColors = false});
        memory.info[kInfoEffectListOffset] = 0;  // no effect 1
    });
    Connect(2);
    EXPECT_EQ(ops.RestoreLightingDefaults(), DEV_OK);
    EXPECT_EQ(Headers(), (std::vector<Header>{
                             {CMD_BEGIN, 0, 0}, {CMD_WRITE_PARAMS, 35, 84}, {CMD_END, 0, 0}}));
    EXPECT_TRUE(view.shownEffects.empty());
    EXPECT_TRUE(view.shownPresets.empty());
    EXPECT_EQ(state.current.effect, 1);
}

}  // namespace
}  // namespace korvel
