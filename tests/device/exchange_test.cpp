#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <thread>

#include "device/command_set.h"
#include "device/exchange.h"
#include "device/reply_match.h"
#include "device/result_codes.h"
#include "device/sim/keyboard_memory.h"
#include "device/tracing_channel.h"
#include "support/link_fixture.h"
#include "support/wait_until.h"

namespace korvel {
namespace {

using test::LinkFixture;

class Exchange : public LinkFixture {};

TEST_F(Exchange, NothingIsSentWhileDisconnected) {
    link.Disconnect();
    DeviceInfoBlock block;
    CommandReport reply;
    EXPECT_EQ(DevExchange(link, BuildRequest(CMD_BEGIN, 0, 0).bytes, reply), DEV_NO_REPLY);
    EXPECT_EQ(DevReadInfo(link, block), DEV_NO_REPLY);
    EXPECT_EQ(DevWriteMacroArea(link, std::array<std::uint8_t, 100>{}), DEV_NO_REPLY);
    EXPECT_EQ(DevEnterBoot(link), 0);
    EXPECT_TRUE(Received().empty());
}

TEST_F(Exchange, ShortRequestIsPaddedWithZeros) {
    const std::array<std::uint8_t, 8> request = {4, 9, 0, 1, 0, 0, 0, 0};
    CommandReport reply;
    ASSERT_EQ(DevExchange(link, request, reply), DEV_OK);
    ASSERT_EQ(Received().size(), 1u);
    const auto sent = Received()[0].bytes;
    EXPECT_TRUE(std::equal(request.begin(), request.end(), sent.begin()));
    EXPECT_TRUE(std::all_of(sent.begin() + 8, sent.end(), [](auto b) { return b == 0; }));
}

TEST_F(Exchange, SilentKeyboardGetsFourIdenticalWritesAndNoReply) {
    keyboard.SilenceReplies(-1);
    DeviceInfoBlock block;
    EXPECT_EQ(DevReadInfo(link, block), DEV_NO_REPLY);
    const auto sent = Received();
    ASSERT_EQ(sent.size(), 4u);
    for (const auto& report : sent) {
        EXPECT_EQ(report.bytes, sent[0].bytes);
    }
}

TEST_F(Exchange, ReplyAfterMissedAttemptsIsTaken) {
    keyboard.SilenceReplies(3);
    DeviceInfoBlock block;
    EXPECT_EQ(DevReadInfo(link, block), DEV_OK);
    EXPECT_EQ(Received().size(), 4u);
    EXPECT_EQ(block.MacroCapacityBytes(), 8192);
}

TEST_F(Exchange, FailedWriteIsNeverRetried) {
    channel.FailWrites(1);
    EXPECT_EQ(DevBegin(link), DEV_WRITE_FAILED);
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(DevBegin(link), DEV_OK);
}

TEST_F(Exchange, StatusByteDecidesWhateverTheOtherBytesHold) {
    struct Case {
        std::uint8_t status;
        int result;
    };
    for (const Case c : {Case{0xFF, DEV_ERR_STATUS_FF}, Case{0xFE, DEV_ERR_STATUS_FE},
                         Case{0x00, DEV_OK}, Case{0x01, DEV_OK}, Case{0x80, DEV_OK}}) {
        keyboard.ClearReceived();
        keyboard.AnswerWithStatus(c.status, 1);
        DeviceInfoBlock block;
        block.bytes.fill(0x5A);
        EXPECT_EQ(DevReadInfo(link, block), c.result) << int(c.status);
        EXPECT_EQ(Received().size(), 1u) << "an error status is not retried";
        if (c.result != DEV_OK) {
            EXPECT_EQ(block.bytes[0], 0x5A) << "no data is taken from an error reply";
        }
    }
}

TEST_F(Exchange, ShortAndForeignReportsAreNotTakenForTheReply) {
    // While the request is on its way, a report of another collection and a truncated report
    // arrive in front of the real reply; each would read as an error status.
    channel.SetLatency(std::chrono::milliseconds(4));
    std::array<std::uint8_t, 64> foreign{};
    foreign[0] = 1;
    foreign[7] = 0xFF;
    const std::array<std::uint8_t, 10> shortReport = {4, 0, 0, 3, 44, 0, 0, 0xFE, 0, 0};
    channel.QueueInput(foreign, std::chrono::milliseconds(1));
    channel.QueueInput(shortReport, std::chrono::milliseconds(1));
    DeviceInfoBlock block;
    EXPECT_EQ(DevReadInfo(link, block), DEV_OK);
    EXPECT_EQ(Received().size(), 1u);
    EXPECT_EQ(block.MacroCapacityBytes(), 8192);
}

TEST_F(Exchange, OnlyJunkForEveryAttemptGivesNoReply) {
    keyboard.SilenceReplies(-1);
    std::array<std::uint8_t, 64> foreign{};
    foreign[0] = 2;
    foreign[7] = 0xFF;
    for (int i = 0; i < 8; ++i) {
        channel.QueueInput(std::span<const std::uint8_t>(foreign).first(i % 2 ? 64 : 5),
                           std::chrono::milliseconds(1 + i));
    }
    DeviceInfoBlock block;
    EXPECT_EQ(DevReadInfo(link, block), DEV_NO_REPLY);
}

TEST_F(Exchange, StaleReplyWaitingBeforeTheRequestIsDiscarded) {
    // A late reply to an earlier request, with an error status, is already in the queue.
    CommandReport stale = BuildRequest(CMD_READ_INFO, 44, 0);
    stale.bytes[kOffsetStatus] = 0xFE;
    channel.QueueInput(stale.bytes);
    EXPECT_EQ(DevBegin(link), DEV_OK);
}

TEST(ReplyEcho, NamesTheRequestOnlyByWhatItEchoes) {
    const CommandReport request = BuildRequest(CMD_READ_KEYTABLE, 56, 0x017E);
    struct Case {
        std::uint8_t command;
        std::uint16_t address;
        ReplyEcho expected;
    };
    const Case cases[] = {
        {CMD_READ_KEYTABLE, 0x017E, ReplyEcho::ThisRequest},
        {0, 0, ReplyEcho::NoEcho},
        {0, 0x017E, ReplyEcho::NoEcho},
        {CMD_READ_KEYTABLE, 0x0146, ReplyEcho::AnotherRequest},
        {CMD_READ_KEYTABLE, 0, ReplyEcho::AnotherRequest},
        {CMD_READ_INFO, 0x017E, ReplyEcho::AnotherRequest},
        {CMD_READ_INFO, 0, ReplyEcho::AnotherRequest},
        {0, 0x0146, ReplyEcho::AnotherRequest},
    };
    for (const Case& c : cases) {
        CommandReport reply;
        reply.bytes[kOffsetReportId] = kCommandReportId;
        reply.bytes[kOffsetCommand] = c.command;
        reply.bytes[kOffsetAddressLow] = static_cast<std::uint8_t>(c.address & 0xFF);
        reply.bytes[kOffsetAddressHigh] = static_cast<std::uint8_t>(c.address >> 8);
        EXPECT_EQ(EchoOf(reply, request.bytes), c.expected)
            << int{c.command} << " at " << c.address;
    }
}

TEST(ExchangeWithALateKeyboard, AReplyCountsOnlyForItsOwnRequest) {
    // Three distinct key tables. The late rows answer 20 ms after a write that itself takes
    // 20 ms, against a read time-out of 15 ms: the protocol's 300 ms against a 400 ms keyboard,
    // scaled down. A reply may fail to come in time, but it never answers another request.
    struct Case {
        const char* name;
        int latencyMs;
        bool echoes;
        bool mustSucceed;
    };
    const Case cases[] = {
        {"prompt keyboard", 0, true, true},
        {"prompt keyboard that echoes nothing", 0, false, true},
        {"late keyboard", 20, true, true},
        {"late keyboard that echoes nothing", 20, false, false},
    };
    sim::KeyboardMemory memory = sim::MakeFactoryMemory();
    for (std::size_t i = 0; i < memory.keyTables.size(); ++i) {
        memory.keyTables[i] = static_cast<std::uint8_t>(i * 7 + i / kKeyTableBytes * 101);
    }
    memory.info[kInfoActiveProfileOffset] = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::VirtualKeyboard keyboard(memory);
        keyboard.SetEchoRequest(c.echoes);
        sim::SimulatedChannel channel(keyboard);
        channel.SetLatency(std::chrono::milliseconds(c.latencyMs));
        LinkTimings timings;
        timings.writeTimeoutMs = 100;
        timings.readTimeoutMs = 15;
        timings.pause = [](std::chrono::milliseconds) {};
        DeviceLink link(timings);
        link.Connect(channel);
        for (const int profile : {0, 1, 2}) {
            KeyTableBytes table{};
            const int result = DevReadKeyTable(link, table, profile);
            if (c.mustSucceed) {
                EXPECT_EQ(result, DEV_OK) << "profile " << profile;
            }
            if (result == DEV_OK) {
                EXPECT_TRUE(std::equal(table.begin(), table.end(),
                                       memory.keyTables.begin() + profile * kKeyTableBytes))
                    << "profile " << profile;
            }
        }
        DeviceInfoBlock block;
        const int result = DevReadInfo(link, block);
        if (c.mustSucceed) {
            EXPECT_EQ(result, DEV_OK);
        }
        if (result == DEV_OK) {
            EXPECT_EQ(block.bytes, memory.info);
        }
    }
}

TEST_F(Exchange, SendOnlyWritesTheReportExactlyAsBuilt) {
    std::array<std::uint8_t, 64> report{};
    report[0] = 4;
    report[1] = 0x12;  // a checksum byte the caller chose, wrong on purpose
    report[3] = CMD_BEGIN;
    EXPECT_EQ(DevSendOnly(link, report), 1);
    ASSERT_EQ(Received().size(), 1u);
    EXPECT_EQ(Received()[0].bytes, report);
    channel.FailWrites(1);
    EXPECT_EQ(DevSendOnly(link, report), 0);
}

TEST_F(Exchange, KeyboardVanishingMidTransferEndsTheTransfer) {
    std::array<std::uint8_t, 200> area{};
    channel.UnplugAfterWrites(2);
    EXPECT_EQ(DevWriteMacroArea(link, area), DEV_WRITE_FAILED);
    EXPECT_EQ(Received().size(), 2u) << "the chunks before the keyboard vanished were sent";
    EXPECT_FALSE(keyboard.IsPlugged());
}

TEST_F(Exchange, KeyboardFallingSilentHalfWayThroughATableGivesNoReply) {
    keyboard.SilenceReplies(-1, 3);
    KeyTableBytes table{};
    EXPECT_EQ(DevReadKeyTable(link, table, 1), DEV_NO_REPLY);
    const auto sent = Received();
    ASSERT_EQ(sent.size(), 3u + 4u) << "three answered chunks, then four tries of the fourth";
    EXPECT_EQ(sent[3].Address(), 378 + 168);
    EXPECT_EQ(sent[6].bytes, sent[3].bytes);
    EXPECT_TRUE(std::equal(table.begin(), table.begin() + 168, kBuiltInDefaultKeyTable.begin()));
}

TEST_F(Exchange, KeyboardVanishingWhileAReplyIsAwaitedEndsTheWait) {
    keyboard.SilenceReplies(-1);
    // Unplugged once the request has arrived, while its reply is awaited.
    std::thread unplug([this] {
        test::WaitUntil([this] { return keyboard.Received().size() == 1; });
        keyboard.SetPlugged(false);
    });
    LinkTimings slow;
    slow.readTimeoutMs = 10000;  // only unplugging can end this read early
    DeviceLink patient(slow);
    patient.Connect(channel);
    DeviceInfoBlock block;
    // The read ends when the keyboard goes; the next attempt cannot write any more.
    EXPECT_EQ(DevReadInfo(patient, block), DEV_WRITE_FAILED);
    unplug.join();
    EXPECT_EQ(Received().size(), 1u);
}

TEST_F(Exchange, TraceShowsEveryReportBothWays) {
    std::vector<std::string> lines;
    TracingChannel tracing(channel, [&](char direction, std::span<const std::uint8_t> report) {
        lines.push_back(FormatTraceLine(direction, report));
    });
    DeviceLink traced(FastTimings());
    traced.Connect(tracing);
    ASSERT_EQ(DevBegin(traced), DEV_OK);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "> 0401000100000000" + std::string(112, '0'));
    EXPECT_EQ(lines[1].substr(0, 2), "< ");
    EXPECT_EQ(lines[1].size(), 2u + 128u);
}

}  // namespace
}  // namespace korvel
