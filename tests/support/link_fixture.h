#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "device/device_link.h"
#include "device/sim/simulated_channel.h"
#include "device/sim/virtual_keyboard.h"

namespace korvel::test {

// Time-outs short enough that a silent keyboard costs milliseconds, and a pause that is recorded
// instead of slept, together with how many reports the keyboard had received at that moment.
struct RecordedPause {
    std::chrono::milliseconds duration;
    std::size_t reportsReceivedBefore;
};

// A factory-new virtual keyboard, plugged in, on a connected command link.
class LinkFixture : public ::testing::Test {
protected:
    LinkFixture() : channel(keyboard), link(FastTimings()) { link.Connect(channel); }

    LinkTimings FastTimings() {
        LinkTimings timings;
        timings.writeTimeoutMs = 50;
        timings.readTimeoutMs = 20;
        timings.pause = [this](std::chrono::milliseconds duration) {
            pauses.push_back({duration, keyboard.Received().size()});
        };
        return timings;
    }

    std::vector<CommandReport> Received() const { return keyboard.Received(); }

    sim::VirtualKeyboard keyboard;
    sim::SimulatedChannel channel;
    DeviceLink link;
    std::vector<RecordedPause> pauses;
};

}  // namespace korvel::test
