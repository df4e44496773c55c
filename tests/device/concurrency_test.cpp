#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "device/command_set.h"
#include "device/result_codes.h"
#include "support/link_fixture.h"

namespace korvel {
namespace {

// Two threads issue commands at once while the keyboard answers with latency; each thread knows
// what its replies must hold, so a reply read by the wrong thread shows as wrong data.
class Concurrency : public test::LinkFixture {
protected:
    Concurrency() {
        sim::KeyboardMemory memory = keyboard.Memory();
        for (std::size_t i = 0; i < memory.keyTables.size(); ++i) {
            memory.keyTables[i] = static_cast<std::uint8_t>(0x40 + i / kKeyTableBytes);
        }
        memory.defaultKeyTable.fill(0x99);
        memory.info[kInfoActiveProfileOffset] = 2;
        keyboard.SetMemory(memory);
        channel.SetLatency(std::chrono::milliseconds(1));
    }
};

TEST_F(Concurrency, TwoThreadsNeverReadEachOthersReplies) {
    constexpr int kRounds = 15;
    std::atomic<int> wrong{0};
    std::atomic<int> failed{0};
    auto keyTables = [&] {
        for (int round = 0; round < kRounds; ++round) {
            KeyTableBytes table{};
            const int profile = round % kOnboardProfiles;
            if (DevReadKeyTable(link, table, profile) != DEV_OK) {
                ++failed;
            }
            for (const std::uint8_t byte : table) {
                wrong += byte != 0x40 + profile;
            }
        }
    };
    auto infoAndDefaults = [&] {
        for (int round = 0; round < kRounds; ++round) {
            DeviceInfoBlock block;
            KeyTableBytes defaults{};
            if (DevReadInfo(link, block) != DEV_OK ||
                DevReadDefaultKeyTable(link, defaults) != DEV_OK) {
                ++failed;
            }
            wrong += block.ActiveProfile() != 2 || block.MacroCapacityBytes() != 8192;
            for (const std::uint8_t byte : defaults) {
                wrong += byte != 0x99;
            }
        }
    };
    std::thread first(keyTables);
    std::thread second(infoAndDefaults);
    first.join();
    second.join();
    EXPECT_EQ(failed.load(), 0);
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(Received().size(), static_cast<std::size_t>(kRounds * 7 + kRounds * 8));
}

TEST_F(Concurrency, UnplugWhileTwoThreadsTransferEndsBothPromptly) {
    // The keyboard goes away in the middle of the two transfers, after its 20th report.
    channel.UnplugAfterWrites(20);
    std::vector<std::thread> threads;
    std::vector<int> results(2, DEV_OK);
    for (std::size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&, t] {
            std::vector<std::uint8_t> area(8192);
            results[t] = DevWriteMacroArea(link, area);
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    // Promptly: each thread ends at its first failed write, as a write failure, and never sits out
    // read time-outs and retries (that would end as DEV_NO_REPLY) on a keyboard that is gone.
    EXPECT_EQ(results, (std::vector<int>{DEV_WRITE_FAILED, DEV_WRITE_FAILED}));
    EXPECT_EQ(Received().size(), 20u);
}

}  // namespace
}  // namespace korvel
