#include "sync/keyboard_service.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "device/command_set.h"
#include "device/result_codes.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

LinkTimings Fast() {
    LinkTimings timings;
    timings.writeTimeoutMs = 50;
    timings.readTimeoutMs = 20;
    timings.pause = [](std::chrono::milliseconds) {};
    return timings;
}

// One short transaction as the lighting writes it: DevBegin, one parameter write, DevEnd.
int WriteOneField(DeviceLink& link, std::uint8_t value, std::uint16_t address = 0) {
    const std::array<std::uint8_t, 1> bytes{value};
    int result = DevBegin(link);
    if (result == DEV_OK) {
        result = DevWriteParams(link, bytes, address);
    }
    const int end = DevEnd(link);
    return result == DEV_OK ? end : result;
}

// The commands on the wire, in order.
std::vector<std::uint8_t> Commands(const sim::VirtualKeyboard& keyboard) {
    std::vector<std::uint8_t> commands;
    for (const CommandReport& report : keyboard.Received()) {
        commands.push_back(report.Command());
    }
    return commands;
}

class KeyboardServiceTest : public ::testing::Test {
protected:
    KeyboardServiceTest() : channel(keyboard), link(Fast()) { link.Connect(channel); }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    DeviceLink link;
};

TEST_F(KeyboardServiceTest, JobsRunInOrderOnItsThreadAndOthersMayNotTalkToTheKeyboard) {
    KeyboardService service(link);
    std::vector<int> order;
    std::promise<void> last;
    for (int i = 0; i < 3; ++i) {
        service.Submit<int>(
            "write", [&, i](JobContext& job) { return WriteOneField(job.Link(), 0x10 + i); },
            [&, i](JobResult<int> result) {
                EXPECT_TRUE(service.OnServiceThread());
                EXPECT_EQ(result.end, JobEnd::Ran);
                EXPECT_EQ(result.value, DEV_OK);
                order.push_back(i);
                if (i == 2) {
                    last.set_value();
                }
            });
    }
    last.get_future().wait();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));

    // A call from any other thread is refused before it reaches the wire.
    const auto before = keyboard.Received().size();
    DeviceInfoBlock info;
    EXPECT_EQ(DevReadInfo(link, info), DEV_WRITE_FAILED);
    EXPECT_EQ(link.ForeignExchanges(), 1);
    EXPECT_EQ(keyboard.Received().size(), before);

    // Once stopped, the link is anyone's again and late submissions end at once.
    service.Stop();
    EXPECT_EQ(DevReadInfo(link, info), DEV_OK);
    JobEnd end = JobEnd::Ran;
    service.Submit<int>(
        "late", [](JobContext&) { return 1; }, [&](JobResult<int> result) { end = result.end; });
    EXPECT_EQ(end, JobEnd::Stopped);
}

TEST_F(KeyboardServiceTest, WaitingWritesOfOneFieldMergeAndTheLastValueWins) {
    KeyboardService service(link);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    service.Submit<int>("hold", [released](JobContext&) { return released.wait(), 0; }, {});
    std::vector<JobEnd> ends(3, JobEnd::Ran);
    for (int i = 0; i < 3; ++i) {
        service.Submit<int>(
            "brightness", [i](JobContext& job) { return WriteOneField(job.Link(), 1 + i); },
            [&ends, i](JobResult<int> result) { ends[static_cast<std::size_t>(i)] = result.end; },
            "lighting.brightness");
    }
    EXPECT_EQ(ends[0], JobEnd::Superseded);
    EXPECT_EQ(ends[1], JobEnd::Superseded);
    release.set_value();
    const auto done = service.Run<int>("sync", [](JobContext&) { return 0; });
    EXPECT_EQ(done.end, JobEnd::Ran);
    EXPECT_EQ(ends[2], JobEnd::Ran);
    const auto writes = keyboard.Received();
    ASSERT_EQ(writes.size(), 3u);  // one sequence, with the last value only
    EXPECT_EQ(writes[1].Data()[0], 3);
}

TEST_F(KeyboardServiceTest, StoppingWaitsForTheRunningTransactionAndDropsTheWaitingOnes) {
    // A slow keyboard, with time-outs that wait for it however busy the machine is: a report sent
    // again after a time-out would be counted twice.
    channel.SetLatency(std::chrono::milliseconds(30));
    LinkTimings patient = Fast();
    patient.writeTimeoutMs = 1000;
    patient.readTimeoutMs = 1000;
    DeviceLink slowLink(patient);
    slowLink.Connect(channel);
    KeyboardService service(slowLink);
    std::promise<void> started;
    service.Submit<int>("download",
                        [&](JobContext& job) {
                            started.set_value();
                            int result = DevBegin(job.Link());
                            // The rest of the transaction goes out once Stop has been asked
                            // for, however late the test thread gets to it.
                            while (!service.StopRequested()) {
                                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                            }
                            for (int i = 0; i < 4 && result == DEV_OK; ++i) {
                                result =
                                    DevWriteParams(job.Link(), std::array<std::uint8_t, 1>{1}, 0);
                                job.ReportProgress(i + 1, 4);
                            }
                            return DevEnd(job.Link());
                        },
                        {});
    JobEnd waiting = JobEnd::Ran;
    service.Submit<int>(
        "waiting", [](JobContext& job) { return WriteOneField(job.Link(), 9); },
        [&](JobResult<int> result) { waiting = result.end; });
    started.get_future().wait();
    service.Stop();
    EXPECT_EQ(waiting, JobEnd::Stopped);
    const auto commands = Commands(keyboard);
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_EQ(commands.front(), CMD_BEGIN);
    EXPECT_EQ(commands.back(), CMD_END);
}

// Two programs on one keyboard, each with its own link and service, share the keyboard's
// transaction lock: on the wire every DevBegin is followed by its own writes and DevEnd before
// the next DevBegin.
TEST_F(KeyboardServiceTest, TwoOwnersOfOneKeyboardNeverInterleaveTransactions) {
    fixtures::TempFolder folder;
    sim::SimulatedChannel otherChannel(keyboard);
    DeviceLink otherLink(Fast());
    otherLink.Connect(otherChannel);
    channel.SetLatency(std::chrono::milliseconds(1));
    otherChannel.SetLatency(std::chrono::milliseconds(1));
    KeyboardService::Options options;
    options.transactionLock = folder / "keyboard.lock";
    KeyboardService first(link, options);
    KeyboardService second(otherLink, options);
    constexpr int kEach = 20;
    std::atomic<int> failures{0};
    const auto count = [&](JobResult<int> result) {
        if (result.end != JobEnd::Ran || result.value != DEV_OK) {
            ++failures;
        }
    };
    for (int i = 0; i < kEach; ++i) {
        first.Submit<int>(
            "a", [](JobContext& job) { return WriteOneField(job.Link(), 0xA, 0); }, count);
        second.Submit<int>(
            "b", [](JobContext& job) { return WriteOneField(job.Link(), 0xB, 1); }, count);
    }
    first.Run<int>("end", [](JobContext&) { return 0; });
    second.Run<int>("end", [](JobContext&) { return 0; });
    EXPECT_EQ(failures.load(), 0);

    const auto received = keyboard.Received();
    ASSERT_EQ(received.size(), 2u * kEach * 3);
    for (std::size_t i = 0; i < received.size(); i += 3) {
        EXPECT_EQ(received[i].Command(), CMD_BEGIN) << i;
        EXPECT_EQ(received[i + 1].Command(), CMD_WRITE_PARAMS) << i;
        EXPECT_EQ(received[i + 2].Command(), CMD_END) << i;
    }
}

// Run from inside a job (the presence thread's reads run that way when a job needs them) does
// the work at once, within the running job, instead of waiting for itself.
TEST_F(KeyboardServiceTest, RunInsideAJobWorksWithinIt) {
    KeyboardService service(link);
    const auto outer = service.Run<int>("outer", [&service](JobContext&) {
        const auto inner =
            service.Run<int>("inner", [](JobContext& job) { return WriteOneField(job.Link(), 1); });
        return inner.end == JobEnd::Ran ? *inner.value : -99;
    });
    ASSERT_EQ(outer.end, JobEnd::Ran);
    EXPECT_EQ(*outer.value, DEV_OK);
    EXPECT_EQ(Commands(keyboard),
              (std::vector<std::uint8_t>{CMD_BEGIN, CMD_WRITE_PARAMS, CMD_END}));
}

}  // namespace
}  // namespace korvel
