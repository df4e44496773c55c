#include <gtest/gtest.h>

#include "device/device_info_block.h"
#include "model/lighting/lighting_record.h"
#include "support/keyboard_fixture.h"
#include "sync/lighting_sleep.h"

namespace korvel {
namespace {

using sim::KeyboardMemory;
using sim::kParamAreaBytes;

class LightingSleep : public test::KeyboardFixture {
protected:
    // Profile 2 active, its record holding bytes of every field, the reserved ones included.
    void SetUp() override {
        KeyboardMemory memory = keyboard.Memory();
        memory.info[kInfoActiveProfileOffset] = 1;
        for (int i = 0; i < kParamRecordBytes; ++i) {
            memory.params[kParamRecordBytes + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(0x40 + i);
        }
        memory.params[kParamRecordBytes + kParamBrightness] = 4;
        keyboard.SetMemory(memory);
        before = keyboard.Memory().params;
    }

    std::array<std::uint8_t, kParamAreaBytes> before{};
};

TEST_F(LightingSleep, DimmingWritesTheActiveProfilesBrightnessAloneAndWakingPutsTheRecordBack) {
    keyboard.ClearReceived();
    const std::optional<DimmedLighting> dimmed = DimLighting(link, 0);
    ASSERT_TRUE(dimmed);
    EXPECT_EQ(dimmed->profile, 1);
    auto expected = before;
    expected[kParamRecordBytes + kParamBrightness] = 0;
    EXPECT_EQ(keyboard.Memory().params, expected) << "one byte changed: profile 2's brightness";
    const auto writes = ReceivedWith(CMD_WRITE_PARAMS);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].Address(), kParamRecordBytes + kParamBrightness);
    EXPECT_EQ(writes[0].Length(), 1);

    // The user changed the effect while the screen was locked: waking puts back the record as
    // it was before the dimming, every byte of it.
    KeyboardMemory memory = keyboard.Memory();
    memory.params[kParamRecordBytes + kParamEffect] = 9;
    keyboard.SetMemory(memory);
    EXPECT_EQ(WakeLighting(link, *dimmed), WakeOutcome::Restored);
    EXPECT_EQ(keyboard.Memory().params, before);
}

TEST_F(LightingSleep, NothingIsWrittenAtTheBrightnessAlreadyThereAndFailuresAreSaid) {
    keyboard.ClearReceived();
    ASSERT_TRUE(DimLighting(link, 4));
    EXPECT_TRUE(ReceivedWith(CMD_WRITE_PARAMS).empty());

    keyboard.SilenceReplies(-1);
    EXPECT_FALSE(DimLighting(link, 0));
    EXPECT_EQ(WakeLighting(link, DimmedLighting{1, {}}), WakeOutcome::NotWritten);
    keyboard.SilenceReplies(0);

    keyboard.CorruptWrites(1);
    DimmedLighting dimmed{1, {}};
    std::copy_n(before.begin() + kParamRecordBytes, kParamRecordBytes, dimmed.record.begin());
    EXPECT_EQ(WakeLighting(link, dimmed), WakeOutcome::Differs);
}

}  // namespace
}  // namespace korvel
