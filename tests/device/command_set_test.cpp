#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <thread>
#include <vector>

#include "device/command_set.h"
#include "device/result_codes.h"
#include "support/link_fixture.h"

namespace korvel {
namespace {

using test::LinkFixture;

class CommandSet : public LinkFixture {
protected:
    // (command, length, address) of every report the keyboard received.
    struct Header {
        int command;
        int length;
        int address;
        bool operator==(const Header&) const = default;
    };
    std::vector<Header> Headers() const {
        std::vector<Header> headers;
        for (const auto& report : Received()) {
            headers.push_back({report.Command(), report.Length(), report.Address()});
        }
        return headers;
    }
    void ExpectChecksumsValid() const {
        for (const auto& report : Received()) {
            EXPECT_EQ(report.StoredChecksum(), ReportChecksum(report));
        }
    }
};

TEST_F(CommandSet, KeyTableOfProfile2TravelsInSevenChunks) {
    KeyTableBytes table;
    std::iota(table.begin(), table.end(), 0);
    ASSERT_EQ(DevWriteKeyTable(link, table, 2), DEV_OK);
    std::vector<Header> expected;
    for (int i = 0; i < 7; ++i) {
        expected.push_back({CMD_WRITE_KEYTABLE, i < 6 ? 56 : 42, 756 + 56 * i});
    }
    EXPECT_EQ(Headers(), expected);
    ExpectChecksumsValid();
    const auto last = Received().back();
    EXPECT_EQ(last.Data()[0], table[336]);
    EXPECT_EQ(last.Data()[41], table[377]);
    EXPECT_EQ(last.Data()[42], 0) << "bytes after the chunk stay zero";

    keyboard.ClearReceived();
    KeyTableBytes read{};
    ASSERT_EQ(DevReadKeyTable(link, read, 2), DEV_OK);
    EXPECT_EQ(read, table);
    for (auto& header : expected) {
        header.command = CMD_READ_KEYTABLE;
    }
    EXPECT_EQ(Headers(), expected);
    EXPECT_EQ(keyboard.Memory().keyTables[756], table[0]);
}

TEST_F(CommandSet, KeyTableCommandsRefuseProfilesOutsideTheKeyboard) {
    KeyTableBytes table{};
    for (const int profile : {3, -1, 255}) {
        EXPECT_EQ(DevReadKeyTable(link, table, profile), DEV_ERR_BAD_PROFILE);
        EXPECT_EQ(DevWriteKeyTable(link, table, profile), DEV_ERR_BAD_PROFILE);
    }
    EXPECT_TRUE(Received().empty());
}

TEST_F(CommandSet, MacroTransfersAreCutIn56ByteChunks) {
    struct Case {
        std::size_t size;
        std::vector<Header> headers;
    };
    const Case cases[] = {
        {0, {}},
        {56, {{CMD_WRITE_MACROS, 56, 0}}},
        {57, {{CMD_WRITE_MACROS, 56, 0}, {CMD_WRITE_MACROS, 1, 56}}},
        {200,
         {{CMD_WRITE_MACROS, 56, 0},
          {CMD_WRITE_MACROS, 56, 56},
          {CMD_WRITE_MACROS, 56, 112},
          {CMD_WRITE_MACROS, 32, 168}}},
    };
    for (const Case& c : cases) {
        keyboard.ClearReceived();
        std::vector<std::uint8_t> data(c.size);
        std::iota(data.begin(), data.end(), 7);
        EXPECT_EQ(DevWriteMacroArea(link, data), DEV_OK) << c.size;
        EXPECT_EQ(Headers(), c.headers) << c.size;
        ExpectChecksumsValid();

        keyboard.ClearReceived();
        std::vector<std::uint8_t> back(c.size, 0xEE);
        EXPECT_EQ(DevReadMacroArea(link, back), DEV_OK);
        EXPECT_EQ(back, data);
        EXPECT_EQ(Received().size(), c.headers.size());
    }
}

TEST_F(CommandSet, MacroAreaBeyondSixteenBitOffsetsIsRefusedUnsent) {
    std::vector<std::uint8_t> huge(kMaxMacroAreaBytes + 1);
    EXPECT_EQ(DevWriteMacroArea(link, huge), DEV_WRITE_FAILED);
    EXPECT_TRUE(Received().empty());
}

TEST_F(CommandSet, ChunkedTransferStopsAtTheFirstErrorStatus) {
    KeyTableBytes table;
    table.fill(0x42);
    keyboard.AnswerWithStatus(0xFE, 1, 3);  // the fourth chunk is refused
    EXPECT_EQ(DevWriteKeyTable(link, table, 0), DEV_ERR_STATUS_FE);
    EXPECT_EQ(Received().size(), 4u) << "nothing is sent after the refused chunk";
    const auto memory = keyboard.Memory().keyTables;
    EXPECT_EQ(memory[167], 0x42) << "earlier chunks stay written";
    EXPECT_EQ(memory[168], kBuiltInDefaultKeyTable[168]);

    keyboard.ClearReceived();
    keyboard.AnswerWithStatus(0xFF, 1, 1);
    KeyTableBytes read{};
    EXPECT_EQ(DevReadKeyTable(link, read, 0), DEV_ERR_STATUS_FF);
    EXPECT_EQ(Received().size(), 2u);
}

TEST_F(CommandSet, SingleReportCommands) {
    std::array<std::uint8_t, 56> out{};
    ASSERT_EQ(DevReadParams(link, out, 56, 84), DEV_OK);
    EXPECT_EQ(out[0], 0x01) << "the third lighting record starts with effect 1";
    EXPECT_EQ(out[42], 0) << "bytes past the record area read as zero";

    const std::array<std::uint8_t, 3> colour = {0x10, 0x20, 0x30};
    ASSERT_EQ(DevWriteKeyColors(link, colour, 18, 1), DEV_OK);
    ASSERT_EQ(DevReadKeyColors(link, out, 54, 18, 1), DEV_OK);
    EXPECT_EQ(out[0], 0x10);
    EXPECT_EQ(out[2], 0x30);
    EXPECT_EQ(out[3], 0xFF);
    ASSERT_EQ(DevWriteParams(link, {}, 5), DEV_OK);

    EXPECT_EQ(Headers(), (std::vector<Header>{{CMD_READ_PARAMS, 56, 84},
                                              {CMD_WRITE_KEYCOLORS, 3, 566},
                                              {CMD_READ_KEYCOLORS, 54, 566},
                                              {CMD_WRITE_PARAMS, 0, 5}}));
    ExpectChecksumsValid();
}

TEST_F(CommandSet, EndPausesOnceBeforeItsExchangeAndBeginNever) {
    ASSERT_EQ(DevBegin(link), DEV_OK);
    EXPECT_TRUE(pauses.empty());
    ASSERT_EQ(DevEnd(link), DEV_OK);
    ASSERT_EQ(pauses.size(), 1u);
    EXPECT_EQ(pauses[0].duration, std::chrono::milliseconds(10));
    EXPECT_EQ(pauses[0].reportsReceivedBefore, 1u) << "the pause comes before the end request";
    EXPECT_EQ(Headers(), (std::vector<Header>{{CMD_BEGIN, 0, 0}, {CMD_END, 0, 0}}));
}

TEST_F(CommandSet, EnterBootSendsItsUncheckedReport) {
    EXPECT_EQ(DevEnterBoot(link), 1);
    ASSERT_EQ(Received().size(), 1u);
    std::array<std::uint8_t, 64> expected{};
    expected[0] = 4;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(Received()[0].bytes, expected);
    EXPECT_TRUE(keyboard.InBootLoader());
}

TEST_F(CommandSet, ActiveProfileIsReadOnceAndCached) {
    keyboard.SilenceReplies(4);  // the first read fails in all its attempts
    EXPECT_EQ(DevGetActiveProfile(link), -1);
    EXPECT_EQ(link.ActiveProfileCache(), -1);
    keyboard.ClearReceived();
    EXPECT_EQ(DevGetActiveProfile(link), 0);
    EXPECT_EQ(DevGetActiveProfile(link), 0);
    EXPECT_EQ(Headers(), (std::vector<Header>{{CMD_READ_INFO, 44, 0}}));
    link.Disconnect();
    EXPECT_EQ(link.ActiveProfileCache(), -1);
}

TEST_F(CommandSet, SetActiveProfileWritesTheBlockBackWithOnlyTheProfileChanged) {
    const auto info = keyboard.Memory().info;
    DevSetActiveProfile(link, 1);
    ASSERT_EQ(Headers(), (std::vector<Header>{{CMD_READ_INFO, 44, 0}, {CMD_WRITE_INFO, 44, 0}}));
    const CommandReport written = Received()[1];
    for (std::size_t i = 0; i < kInfoBlockBytes; ++i) {
        EXPECT_EQ(written.Data()[i], i == 10 ? 1 : info[i]) << "byte " << i;
    }
    ExpectChecksumsValid();
    EXPECT_EQ(link.ActiveProfileCache(), 1);
    EXPECT_EQ(keyboard.Memory().info[10], 1);
    EXPECT_EQ(DevGetActiveProfile(link), 1);
}

TEST_F(CommandSet, SetActiveProfileFailures) {
    DevSetActiveProfile(link, -1);
    EXPECT_TRUE(Received().empty());

    link.SetActiveProfileCache(2);
    keyboard.SilenceReplies(4);
    DevSetActiveProfile(link, 1);
    EXPECT_EQ(link.ActiveProfileCache(), 2) << "a failed read leaves the cache alone";

    keyboard.ClearReceived();
    DevSetActiveProfile(link, 7);  // the keyboard refuses a profile it does not have
    EXPECT_EQ(Received().size(), 2u);
    EXPECT_EQ(link.ActiveProfileCache(), -1) << "a failed write makes the profile unknown";
    EXPECT_EQ(keyboard.Memory().info[10], 0);
}

TEST_F(CommandSet, DefaultKeyTableIsReadInSevenChunks) {
    KeyTableBytes table{};
    ASSERT_EQ(DevReadDefaultKeyTable(link, table), DEV_OK);
    EXPECT_EQ(table, kBuiltInDefaultKeyTable);
    ASSERT_EQ(Received().size(), 7u);
    EXPECT_EQ(Received()[6].Address(), 336);
    EXPECT_EQ(Received()[6].Length(), 42);
}

}  // namespace
}  // namespace korvel
