#include <gtest/gtest.h>

#include "device/result_codes.h"
#include "support/lighting_fixture.h"
#include "sync/lighting_ops.h"
#include "text/private_profile.h"

namespace korvel {
namespace {

using test::Concat;
using test::Header;
using test::LightingFixture;

class LightingRead : public LightingFixture {
protected:
    static std::vector<Header> ColorReads(int profile) {
        std::vector<Header> headers;
        for (int k = 0; k < 7; ++k) {
            headers.push_back({CMD_READ_KEYCOLORS, 54, profile * 512 + 54 * k});
        }
        return headers;
    }
    static std::vector<Header> RecordReads() {
        return {{CMD_READ_PARAMS, 56, 0}, {CMD_READ_PARAMS, 56, 42}, {CMD_READ_PARAMS, 56, 84}};
    }
    static constexpr Header kInfo{CMD_READ_INFO, 44, 0};
    static constexpr Header kBegin{CMD_BEGIN, 0, 0};
    static constexpr Header kEnd{CMD_END, 0, 0};
};

TEST_F(LightingRead, ReadAllReadsInfoThenColourPagesThenThreeRecordsInsideOneSequence) {
    SetKeyboardMemory([](sim::KeyboardMemory& memory) {
        for (std::size_t i = 0; i < memory.keyColors.size(); ++i) {
            memory.keyColors[i] = static_cast<std::uint8_t>(i * 7);
        }
        memory.params[42 + kParamBrightness] = 2;
    });
    state.currentProfile = 1;
    ASSERT_EQ(ops.ReadAllLighting(), 0);
    EXPECT_TRUE(ops.LastReadComplete());

    EXPECT_EQ(
        Headers(),
        Concat(
            {{kInfo, kBegin}, ColorReads(0), ColorReads(1), ColorReads(2), RecordReads(), {kEnd}}));
    const auto memory = keyboard.Memory();
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(std::equal(state.colorTables[p].bytes.begin(), state.colorTables[p].bytes.end(),
                               memory.keyColors.begin() + p * 512))
            << "page " << p;
        EXPECT_EQ(state.records[p].bytes, RecordInKeyboard(p));
    }
    EXPECT_EQ(state.current.brightness, 2) << "the current profile's record is decoded";
    EXPECT_EQ(state.effectSlots.Slots().size(), 19u);
    EXPECT_EQ(state.effectSlots.PositionOf(20), 18);
    EXPECT_EQ(state.effectSlots.EffectAt(17), 18);
    EXPECT_EQ(view.selectorClears, 1);
}

TEST_F(LightingRead, ReadCurrentReadsOnlyTheCurrentProfilesColourPage) {
    state.currentProfile = 2;
    ASSERT_EQ(ops.ReadCurrentLighting(), 0);
    EXPECT_EQ(Headers(), Concat({{kInfo, kBegin}, ColorReads(2), RecordReads(), {kEnd}}));
}

TEST_F(LightingRead, WithoutEffect20NoColourTableIsReadOrCompared) {
    SetKeyboardMemory([](sim::KeyboardMemory& memory) {
        memory = sim::MakeFactoryMemory({.perKeyColors = false});
    });
    state.colorTables[0].Fill(MakeColor(1, 2, 3));
    state.followsBaseColor[0].fill(false);
    for (const bool all : {true, false}) {
        keyboard.ClearReceived();
        ASSERT_EQ(all ? ops.ReadAllLighting() : ops.ReadCurrentLighting(), 0);
        EXPECT_EQ(Headers(), Concat({{kInfo, kBegin}, RecordReads(), {kEnd}}));
    }
    ops.RecomputeBaseMembership();
    EXPECT_EQ(state.colorTables[0].ColorOf(0), MakeColor(1, 2, 3));
    EXPECT_FALSE(state.followsBaseColor[0][0]) << "nothing compared";
    EXPECT_EQ(state.effectSlots.PositionOf(20), -1);
}

TEST_F(LightingRead, AnEffectListOfZerosLeavesTheSelectorEmpty) {
    SetKeyboardMemory([](sim::KeyboardMemory& memory) {
        std::fill_n(memory.info.begin() + kInfoEffectListOffset, kInfoEffectSlots, 0);
    });
    ASSERT_EQ(ops.ReadAllLighting(), 0);
    EXPECT_TRUE(state.effectSlots.Slots().empty());
    EXPECT_EQ(state.effectSlots.EffectAt(0), 0);
    EXPECT_EQ(Headers(), Concat({{kInfo, kBegin}, RecordReads(), {kEnd}}));
}

TEST_F(LightingRead, RecordBytesDecodeAsThePanelShowsThem) {
    struct Case {
        int offset;
        std::uint8_t stored;
        int LightingValues::*field;
        int expected;
    };
    const Case cases[] = {
        {kParamReportRate, 0xFF, &LightingValues::reportRate, 3},
        {kParamReportRate, 4, &LightingValues::reportRate, 3},
        {kParamReportRate, 2, &LightingValues::reportRate, 2},
        {kParamPaintTool, 0xFF, &LightingValues::paintTool, 0},
        {kParamPaintTool, 1, &LightingValues::paintTool, 1},
        {kParamEffect17Color, 9, &LightingValues::effect17Color, 0},
        {kParamEffect17Color, 3, &LightingValues::effect17Color, 3},
        {kParamSpeed, 4, &LightingValues::speed, 4},
        {kParamDirection, 1, &LightingValues::direction, 1},
    };
    for (const Case& c : cases) {
        ProfileParamRecord record;
        record.bytes[c.offset] = c.stored;
        EXPECT_EQ(DecodeRecord(record).*(c.field), c.expected)
            << "offset " << c.offset << " value " << int(c.stored);
    }
    ProfileParamRecord record;
    record.bytes[kParamMulticolor] = 7;
    record.SetColorAt(kParamEffectColor, MakeColor(0x11, 0x22, 0x33));
    EXPECT_TRUE(DecodeRecord(record).multicolor) << "any non-zero flag reads as multicolour";
    EXPECT_EQ(DecodeRecord(record).effectColor, 0x332211u);

    // Through the keyboard: the factory record holds 0xFF in bytes 15 and 16.
    ASSERT_EQ(ops.ReadCurrentLighting(), 0);
    EXPECT_EQ(state.current.reportRate, 3);
    EXPECT_EQ(state.current.paintTool, 0);
    EXPECT_EQ(state.current.effect, 1);
    EXPECT_EQ(state.current.baseColor, kWhite);
    EXPECT_EQ(state.current.paintColor, kRed);
}

TEST_F(LightingRead, UnreadableInformationBlockEmptiesTheEffectListAndKeepsTheRest) {
    ASSERT_EQ(ops.ReadAllLighting(), 0);
    const auto records = state.records;
    const auto tables = state.colorTables;
    keyboard.SilenceReplies(-1);
    keyboard.ClearReceived();

    EXPECT_EQ(ops.ReadAllLighting(), -1);
    EXPECT_FALSE(ops.LastReadComplete());
    EXPECT_FALSE(state.Effects().Contains(1));
    EXPECT_TRUE(state.effectSlots.Slots().empty());
    EXPECT_EQ(state.records, records);
    EXPECT_EQ(state.colorTables, tables);
    EXPECT_EQ(view.selectorClears, 2);
    for (const Header& header : Headers()) {
        EXPECT_EQ(header.command, CMD_READ_INFO) << "nothing follows a failed information read";
    }
}

// The keyboard stops answering after the first record: what was read is kept, what was not
// keeps its old value, the reading stops and the sequence is still closed.
TEST_F(LightingRead, KeyboardGoingAwayHalfWayKeepsTheOldValuesOfWhatWasNotRead) {
    struct Fault {
        const char* name;
        std::function<void()> inject;
        Header lastRead;  // an unplugged keyboard never sees the failing request
    };
    // info, begin, 21 colour chunks, first record: 24 requests go through.
    const Fault faults[] = {
        {"silent", [this] { keyboard.SilenceReplies(-1, 24); }, {CMD_READ_PARAMS, 56, 42}},
        {"unplugged", [this] { channel.UnplugAfterWrites(24); }, {CMD_READ_PARAMS, 56, 0}},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        keyboard.SetPlugged(true);
        keyboard.SilenceReplies(0);
        SetKeyboardMemory([](sim::KeyboardMemory& memory) { memory = sim::MakeFactoryMemory(); });
        ASSERT_EQ(ops.ReadAllLighting(), 0);
        const auto before = state.records;
        SetKeyboardMemory([](sim::KeyboardMemory& memory) {
            for (int p = 0; p < 3; ++p) {
                memory.params[p * 42 + kParamBrightness] = 1;
            }
            memory.keyColors.fill(0x10);
        });
        fault.inject();
        keyboard.ClearReceived();

        EXPECT_EQ(ops.ReadAllLighting(), 0) << "later failures are not reported";
        EXPECT_FALSE(ops.LastReadComplete());
        EXPECT_EQ(state.records[0].bytes[kParamBrightness], 1);
        EXPECT_EQ(state.records[1], before[1]);
        EXPECT_EQ(state.records[2], before[2]);
        EXPECT_EQ(state.colorTables[2].ColorOf(125), MakeColor(0x10, 0x10, 0x10));
        EXPECT_EQ(state.current.brightness, 1);
        const auto headers = Headers();
        EXPECT_EQ(std::count(headers.begin(), headers.end(), Header{CMD_READ_PARAMS, 56, 84}), 0);
        auto last = headers.rbegin();
        while (last != headers.rend() && last->command == CMD_END) {
            ++last;  // the sequence is closed in case the keyboard still listens
        }
        ASSERT_NE(last, headers.rend());
        EXPECT_EQ(*last, fault.lastRead) << "reading stops at the failure";
    }
}

TEST_F(LightingRead, PanelSettingComesFromDengCheck) {
    struct Case {
        const char* file;  // nullptr: no file
        bool on;
    };
    const Case cases[] = {
        {nullptr, false},
        {"[KEYCOLOR]\nDengCheck=1\n", true},
        {"[keycolor]\ndengcheck = 1 \n", true},
        {"[KEYCOLOR]\nDengCheck=0\n", false},
        {"[KEYCOLOR]\nDengCheck=11\n", false},
        {"[KEYCOLOR]\nDengCheck=on\n", false},
        {"[OTHER]\nDengCheck=1\n", false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder / "deze.ini");
        if (c.file != nullptr) {
            korvel::fixtures::WriteBytes(folder / "deze.ini", c.file);
        }
        ASSERT_EQ(ops.ReadAllLighting(), 0);
        EXPECT_EQ(state.lightingPanelOn, c.on) << (c.file ? c.file : "(no file)");
    }
}

TEST_F(LightingRead, TurningThePanelOnAndOffIsKeptInDengCheck) {
    korvel::fixtures::WriteBytes(folder / "deze.ini", "[OTHER]\nKeep=me\n");
    EXPECT_TRUE(ops.SetLightingPanelOn(true));
    EXPECT_TRUE(Received().empty()) << "the panel switch itself sends nothing";
    EXPECT_EQ(ReadProfileString(folder / "deze.ini", u"KEYCOLOR", u"DengCheck"), u"1");
    ASSERT_EQ(ops.ReadAllLighting(), 0);
    EXPECT_TRUE(state.lightingPanelOn);
    EXPECT_TRUE(ops.SetLightingPanelOn(false));
    EXPECT_EQ(ReadProfileString(folder / "deze.ini", u"KEYCOLOR", u"DengCheck"), u"0");
    EXPECT_EQ(ReadProfileString(folder / "deze.ini", u"OTHER", u"Keep"), u"me");
    EXPECT_FALSE(state.lightingPanelOn);
}

TEST_F(LightingRead, MembershipComparesEachKeyWithItsProfilesBaseColour) {
    constexpr Color kBlue = MakeColor(0, 0, 0xFF);
    SetKeyboardMemory([&](sim::KeyboardMemory& memory) {
        // Profile 1: base colour blue; W and the G keys blue, everything else white.
        memory.params[42 + kParamBaseColor] = 0;
        memory.params[42 + kParamBaseColor + 1] = 0;
        for (const LedIndex led : {LedOfScan(0x011), kGKeysLed}) {
            const std::size_t at = 512 + 3 * static_cast<std::size_t>(led);
            memory.keyColors[at] = 0;
            memory.keyColors[at + 1] = 0;
        }
    });
    Connect();
    const int w = GridKeyOfScan(0x011);
    const int q = GridKeyOfScan(0x010);
    EXPECT_TRUE(state.followsBaseColor[1][w]);
    EXPECT_FALSE(state.followsBaseColor[1][q]);
    EXPECT_FALSE(state.followsBaseColor[1][kFnGridKey]);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_TRUE(state.followsBaseColor[1][GridKeyOfGKey(n)]) << "G" << n;
    }
    EXPECT_TRUE(state.followsBaseColor[0][q]) << "profile 0: white on white";
    EXPECT_EQ(state.colorTables[1].ColorOf(kGKeysLed), kBlue);
}

}  // namespace
}  // namespace korvel
