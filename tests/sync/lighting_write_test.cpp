#include <gtest/gtest.h>

#include "device/result_codes.h"
#include "support/lighting_fixture.h"
#include "sync/lighting_ops.h"

namespace korvel {
namespace {

using test::Concat;
using test::Header;
using test::LightingFixture;

class LightingWrite : public LightingFixture {};

struct FieldWriteCase {
    const char* name;
    std::function<int(LightingOps&)> run;
    // Each field the sequence writes, in order: offset and bytes.
    std::vector<std::pair<int, std::vector<std::uint8_t>>> writes;
};

// Profile 1 of a factory keyboard: effect 1, brightness 5, speed 3, direction right, multicolour.
TEST_F(LightingWrite, EachSetterSendsOneSequenceAtProfileTimes42PlusOffset) {
    const FieldWriteCase cases[] = {
        {"effect 4", [](LightingOps& o) { return o.SetEffect(4); }, {{0, {4}}}},
        {"effect 2 also writes the multicolour flag",
         [](LightingOps& o) { return o.SetEffect(2); },
         {{0, {2}}, {4, {1}}}},
        {"effect 20", [](LightingOps& o) { return o.SetEffect(20); }, {{0, {20}}}},
        {"brightness 2", [](LightingOps& o) { return o.SetBrightness(2); }, {{1, {2}}}},
        {"speed slider position 4",
         [](LightingOps& o) { return o.SetSpeed(SpeedOfSliderPosition(4)); },
         {{2, {1}}}},
        {"direction left", [](LightingOps& o) { return o.SetDirection(1); }, {{3, {1}}}},
        {"multicolour off", [](LightingOps& o) { return o.SetMulticolor(0); }, {{4, {0}}}},
        {"effect colour",
         [](LightingOps& o) { return o.SetEffectColor(MakeColor(0x12, 0x34, 0x56)); },
         {{4, {0}}, {5, {0x12, 0x34, 0x56}}}},
        {"paint colour",
         [](LightingOps& o) { return o.SetPaintColor(MakeColor(0xAB, 0xCD, 0xEF)); },
         {{12, {0xAB, 0xCD, 0xEF}}}},
        {"report rate", [](LightingOps& o) { return o.SetReportRate(0); }, {{15, {0}}}},
        {"paint tool", [](LightingOps& o) { return o.SetPaintTool(1); }, {{16, {1}}}},
        {"effect-17 colour", [](LightingOps& o) { return o.SetEffect17Color(2); }, {{17, {2}}}},
        {"a raw field",
         [](LightingOps& o) {
             const std::uint8_t bytes[] = {0x42};
             return o.WriteParamField(19, bytes);
         },
         {{19, {0x42}}}},
    };
    constexpr int kProfile = 1;
    for (const FieldWriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetKeyboardMemory([](sim::KeyboardMemory& memory) { memory = sim::MakeFactoryMemory(); });
        Connect(kProfile);
        auto expectedRecord = RecordInKeyboard(kProfile);
        std::vector<Header> expected = {{CMD_BEGIN, 0, 0}};
        for (const auto& [offset, bytes] : c.writes) {
            expected.push_back(
                {CMD_WRITE_PARAMS, static_cast<int>(bytes.size()), kProfile * 42 + offset});
            std::copy(bytes.begin(), bytes.end(), expectedRecord.begin() + offset);
        }
        expected.push_back({CMD_END, 0, 0});

        EXPECT_EQ(c.run(ops), DEV_OK);
        EXPECT_EQ(Headers(), expected);
        EXPECT_EQ(RecordInKeyboard(kProfile), expectedRecord);
        EXPECT_EQ(state.records[kProfile].bytes, expectedRecord) << "the mirror follows";
        EXPECT_EQ(state.current, DecodeRecord(state.records[kProfile]));
        EXPECT_EQ(RecordInKeyboard(0), RecordInKeyboard(2)) << "other profiles untouched";
        ASSERT_EQ(pauses.size(), 1u);
        EXPECT_EQ(pauses.back().reportsReceivedBefore, expected.size() - 1)
            << "DevEnd pauses before its own exchange";
        pauses.clear();
    }
}

TEST_F(LightingWrite, BrightnessAndSpeedAreWrittenOnlyWhenTheyChange) {
    Connect();
    EXPECT_EQ(ops.SetBrightness(5), DEV_OK);
    EXPECT_EQ(ops.SetSpeed(3), DEV_OK);
    EXPECT_TRUE(Received().empty()) << "factory values already";
    EXPECT_EQ(ops.SetBrightness(0), DEV_OK);
    keyboard.ClearReceived();
    EXPECT_EQ(ops.SetBrightness(5), DEV_OK);
    EXPECT_EQ(Headers(), FieldWrite(0, kParamBrightness, 1));
    EXPECT_EQ(Received()[1].Data()[0], 5);
}

TEST_F(LightingWrite, ArgumentsOutOfRangeAndEffectsNotOfferedSendNothing) {
    const std::pair<const char*, std::function<int(LightingOps&)>> cases[] = {
        {"brightness 6", [](LightingOps& o) { return o.SetBrightness(6); }},
        {"speed -1", [](LightingOps& o) { return o.SetSpeed(-1); }},
        {"direction 2", [](LightingOps& o) { return o.SetDirection(2); }},
        {"multicolour 2", [](LightingOps& o) { return o.SetMulticolor(2); }},
        {"tool 2", [](LightingOps& o) { return o.SetPaintTool(2); }},
        {"effect-17 colour 4", [](LightingOps& o) { return o.SetEffect17Color(4); }},
        {"report rate 4", [](LightingOps& o) { return o.SetReportRate(4); }},
        {"effect 0", [](LightingOps& o) { return o.SetEffect(0); }},
        {"effect 19", [](LightingOps& o) { return o.SetEffect(19); }},
        {"effect 21", [](LightingOps& o) { return o.SetEffect(21); }},
        {"field past the record",
         [](LightingOps& o) {
             const std::uint8_t bytes[] = {1, 2};
             return o.WriteParamField(41, bytes);
         }},
        {"preset 4", [](LightingOps& o) { return o.ApplyPreset(4); }},
        {"paint a G key", [](LightingOps& o) { return o.PaintKey(GridKeyOfGKey(3)); }},
    };
    Connect();
    ASSERT_EQ(ops.SetEffect(20), DEV_OK);
    keyboard.ClearReceived();
    const auto before = state.records;
    for (const auto& [name, run] : cases) {
        EXPECT_EQ(run(ops), LIGHTING_REFUSED) << name;
    }
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(state.records, before);
}

TEST_F(LightingWrite, EffectsTintTheGridByTheirRule) {
    Connect();
    const Color green = MakeColor(0, 0xFF, 0);
    ops.SetEffectColor(green);
    ASSERT_EQ(view.tints.size(), static_cast<std::size_t>(kGridKeys));
    for (const auto& [key, tint] : view.tints) {
        EXPECT_EQ(tint, std::optional<Color>(green)) << "key " << key;
    }
    ops.SetMulticolor(1);
    EXPECT_EQ(view.tints[0], std::nullopt) << "multicolour shows no tint";
    ops.SetEffect(12);
    EXPECT_EQ(view.tints[0], std::nullopt);
    ops.SetMulticolor(0);
    ops.SetEffect(6);
    EXPECT_EQ(view.tints[kFnGridKey], std::optional<Color>(green)) << "reactive colour group";
    ops.SetEffect(20);
    EXPECT_EQ(view.tints[GridKeyOfGKey(1)], std::optional<Color>(kWhite)) << "own colour";
    ops.SetLightingPanelOn(false);
    for (const auto& [key, tint] : view.tints) {
        EXPECT_EQ(tint, std::nullopt) << "panel off, key " << key;
    }
}

TEST_F(LightingWrite, ASequenceWhoseBeginWasWrittenIsAlwaysClosed) {
    // SetEffectColor: DevBegin, two parameter writes, DevEnd. A keyboard that failed part of the
    // way is told the end of the sequence all the same; only a DevBegin never written is not.
    struct Case {
        const char* name;
        std::function<void(sim::VirtualKeyboard&, sim::SimulatedChannel&)> fault;
        int result;
        std::vector<int> commands;
    };
    const int B = CMD_BEGIN, W = CMD_WRITE_PARAMS, E = CMD_END;
    const Case cases[] = {
        {"begin gets no reply",
         [](sim::VirtualKeyboard& k, sim::SimulatedChannel&) { k.SilenceReplies(4); },
         DEV_NO_REPLY,
         {B, B, B, B, E}},
        {"begin answers an error",
         [](sim::VirtualKeyboard& k, sim::SimulatedChannel&) { k.AnswerWithStatus(0xFF, 1); },
         DEV_ERR_STATUS_FF,
         {B, E}},
        {"first write answers an error",
         [](sim::VirtualKeyboard& k, sim::SimulatedChannel&) { k.AnswerWithStatus(0xFE, 1, 1); },
         DEV_ERR_STATUS_FE,
         {B, W, E}},
        {"second write gets no reply",
         [](sim::VirtualKeyboard& k, sim::SimulatedChannel&) { k.SilenceReplies(4, 2); },
         DEV_NO_REPLY,
         {B, W, W, W, W, W, E}},
        {"begin cannot be written",
         [](sim::VirtualKeyboard&, sim::SimulatedChannel& ch) { ch.FailWrites(1); },
         DEV_WRITE_FAILED,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Connect(1);
        c.fault(keyboard, channel);
        EXPECT_EQ(ops.SetEffectColor(MakeColor(1, 2, 3)), c.result);
        std::vector<int> commands;
        for (const Header& header : Headers()) {
            commands.push_back(header.command);
        }
        EXPECT_EQ(commands, c.commands);
        EXPECT_EQ(state.current.effectColor, MakeColor(1, 2, 3));
    }
}

TEST_F(LightingWrite, WritesNotTakenStillChangeTheState) {
    Connect(2);
    keyboard.SilenceReplies(-1);
    EXPECT_EQ(ops.SetBrightness(1), DEV_NO_REPLY);
    EXPECT_EQ(state.current.brightness, 1);

    link.Disconnect();
    keyboard.ClearReceived();
    EXPECT_EQ(ops.SetEffectColor(MakeColor(1, 2, 3)), DEV_NO_REPLY);
    EXPECT_EQ(state.current.effectColor, MakeColor(1, 2, 3));
    EXPECT_FALSE(state.current.multicolor);
    EXPECT_TRUE(Received().empty());
}

}  // namespace
}  // namespace korvel
