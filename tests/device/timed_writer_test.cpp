#include <gtest/gtest.h>

#include <array>
#include <future>

#include "device/timed_writer.h"

namespace korvel {
namespace {

TEST(TimedWriter, KeepsTheCallersTimeOutWhateverTheWriteDoes) {
    // A write that completes, one that fails, and one that blocks until it is let go: the caller
    // waits no longer than its time-out, and the blocked write finishes on its own copy.
    struct Case {
        const char* name;
        int written;  // what the blocking write returns
        bool blocks;
        TransferResult expected;
        std::size_t count;
    };
    const Case cases[] = {
        {"written", 64, false, TransferResult::Done, 64},
        {"error", -1, false, TransferResult::Failed, 0},
        {"device does not take it", 64, true, TransferResult::TimedOut, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::vector<std::array<std::uint8_t, 4>> seen;
        TimedWriter writer([&](const std::uint8_t* buffer, std::size_t length) {
            if (c.blocks) {
                released.wait();
            }
            std::array<std::uint8_t, 4> head{};
            std::copy_n(buffer, std::min<std::size_t>(length, 4), head.begin());
            seen.push_back(head);
            return c.written;
        });
        std::array<std::uint8_t, 64> report{};
        report = {4, 1, 2, 3};
        std::size_t count = 99;
        EXPECT_EQ(writer.Write(report.data(), report.size(), count, 20), c.expected);
        EXPECT_EQ(count, c.count);
        report.fill(0xEE);  // the caller reuses its buffer at once
        if (c.blocks) {
            EXPECT_EQ(writer.Write(report.data(), report.size(), count, 0),
                      TransferResult::TimedOut)
                << "the next write waits for the one still running";
            release.set_value();
            EXPECT_EQ(writer.Write(report.data(), report.size(), count, -1), TransferResult::Done);
        } else {
            release.set_value();
        }
        EXPECT_EQ(seen.front(), (std::array<std::uint8_t, 4>{4, 1, 2, 3})) << "sent from a copy";
    }
}

}  // namespace
}  // namespace korvel
