#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "device/command_set.h"
#include "device/hid_device.h"
#include "device/keyboard_identity.h"
#include "device/result_codes.h"
#include "device/sim/simulated_backend.h"
#include "support/recording_window.h"

namespace korvel {
namespace {

TEST(PathMatchesKeyboard, Markers) {
    struct Case {
        const char* path;
        bool matches;
    };
    const Case cases[] = {
        {R"(\\?\hid#vid_0c45&pid_5304&mi_02&col01#8&1a2b)", true},
        {R"(\\?\HID#VID_0C45&PID_5004&MI_02#7&abc)", true},
        {"hidraw:/dev/hidraw3&vid_0c45&pid_5304&mi_01", true},
        {"vid_00000c45&pid_15304", true},  // only the low 16 bits count
        {"vid_0c45&pid_5005", false},
        {"vid_0c46&pid_5304", false},
        {"vid_0c45", false},  // no product marker: product 0
        {"pid_5304", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathMatchesKeyboard(c.path), c.matches) << c.path;
    }
}

class HidDeviceOnSimulator : public ::testing::Test {
protected:
    HidDeviceOnSimulator() : backend(keyboard), device(backend) {}

    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend;
    HidDevice device;
};

TEST_F(HidDeviceOnSimulator, NoInterfacesAtAll) {
    keyboard.SetPlugged(false);
    ASSERT_TRUE(device.Enumerate());
    EXPECT_EQ(device.PathCount(), 0u);
    EXPECT_EQ(device.NextPath(), nullptr);
}

TEST_F(HidDeviceOnSimulator, AllPathsInEnumerationOrder) {
    for (int i = 0; i < 6; ++i) {
        backend.AddForeignDevice("sim:other" + std::to_string(i), {}, {});
    }
    ASSERT_TRUE(device.Enumerate());
    std::vector<std::string> paths;
    while (const std::string* path = device.NextPath()) {
        paths.push_back(*path);
    }
    ASSERT_EQ(paths.size(), 9u);
    EXPECT_EQ(paths[0], "sim:other0");
    EXPECT_EQ(paths[8], sim::SimulatedBackend::kCommandPath);
    device.ReleasePaths();
    EXPECT_EQ(device.NextPath(), nullptr);
}

TEST_F(HidDeviceOnSimulator, OpensTheCommandCollectionAndExchanges) {
    ASSERT_TRUE(device.Enumerate());
    ASSERT_TRUE(OpenNextKeyboardCollection(device, kCommandUsagePage, kCommandUsage, true));
    EXPECT_EQ(device.DevicePath(), sim::SimulatedBackend::kCommandPath);
    EXPECT_EQ(device.Attributes().vendorId, kKeyboardVendorId);
    EXPECT_EQ(device.Capabilities().usagePage, kCommandUsagePage);
    EXPECT_EQ(device.Capabilities().inputReportByteLength, 64u);
    DeviceLink link;
    link.Connect(device);
    DeviceInfoBlock block;
    EXPECT_EQ(DevReadInfo(link, block), DEV_OK);
    EXPECT_EQ(block.MacroCapacityBytes(), 8192);
}

TEST_F(HidDeviceOnSimulator, ExchangesAtAnyLatencyWithinTheProtocolsTimeOuts) {
    // The protocol's own time-outs: a write may take up to 1000 ms, however a transfer is
    // sliced to look at the cancel signal. A keyboard answering later than the 300 ms read
    // time-out is still answered on a retry, with the right bytes.
    sim::KeyboardMemory memory = sim::MakeFactoryMemory();
    memory.info[kInfoActiveProfileOffset] = 1;
    keyboard.SetMemory(memory);
    for (const int latencyMs : {0, 4, 50, 400}) {
        SCOPED_TRACE(testing::Message() << latencyMs << " ms");
        backend.SetLatency(std::chrono::milliseconds(latencyMs));
        ASSERT_TRUE(device.Enumerate());
        ASSERT_TRUE(OpenNextKeyboardCollection(device, kCommandUsagePage, kCommandUsage, true));
        DeviceLink link;
        link.Connect(device);
        DeviceInfoBlock block;
        EXPECT_EQ(DevReadInfo(link, block), DEV_OK);
        EXPECT_EQ(block.bytes, memory.info);
        device.Close();
    }
}

TEST_F(HidDeviceOnSimulator, RepliesCarryTheInputReportIdsTheDescriptorDeclares) {
    // clang-format off
    // The command collection with output report 4 and input reports `in` (and 0x22).
    const auto descriptor = [](std::uint8_t in) {
        return std::vector<std::uint8_t>{
            0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
            0x95, 0x3F, 0x85, 0x04, 0x09, 0x01, 0x91, 0x02, 0x85, in, 0x09, 0x01, 0x81, 0x02,
            0x85, 0x22, 0x95, 0x01, 0x09, 0x02, 0x81, 0x02, 0xC0};
    };
    // clang-format on
    struct Case {
        std::uint8_t declaredInput;
        std::uint8_t replyId;
        int expected;
    };
    const Case cases[] = {
        {0x04, 0x04, DEV_OK},       {0x05, 0x05, DEV_OK}, {0x21, 0x21, DEV_OK},
        {0x05, 0x04, DEV_NO_REPLY},  // the output report's id is not a reply
        {0x05, 0x06, DEV_NO_REPLY},  // an id the collection does not declare
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "input " << int{c.declaredInput} << ", reply " << int{c.replyId});
        backend.SetCommandDescriptor(descriptor(c.declaredInput));
        keyboard.SetReplyReportId(c.replyId);
        ASSERT_TRUE(device.Enumerate());
        ASSERT_TRUE(OpenNextKeyboardCollection(device, kCommandUsagePage, kCommandUsage, true));
        EXPECT_EQ(device.InputReportIds(), (std::vector<std::uint8_t>{c.declaredInput, 0x22}));
        LinkTimings fast;
        fast.readTimeoutMs = 20;
        DeviceLink link(fast);
        link.Connect(device);
        DeviceInfoBlock block;
        EXPECT_EQ(DevReadInfo(link, block), c.expected);
        if (c.expected == DEV_OK) {
            EXPECT_EQ(block.bytes, keyboard.Memory().info);
        }
        device.Close();
    }
}

TEST_F(HidDeviceOnSimulator, RefusesOverlongPaths) {
    EXPECT_FALSE(device.Open(std::string(300, 'x') + "vid_0c45&pid_5304", true, true, true, false));
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(HidDeviceOnSimulator, SilentReadTimesOutWithNothing) {
    ASSERT_TRUE(device.Open(sim::SimulatedBackend::kCommandPath, true, true, true, false));
    std::array<std::uint8_t, 64> buffer{};
    std::size_t count = 99;
    EXPECT_FALSE(device.ReadReport(buffer.data(), buffer.size(), &count, 30));
    EXPECT_EQ(count, 0u);
}

TEST_F(HidDeviceOnSimulator, CancelEndsAnEndlessRead) {
    ASSERT_TRUE(device.Open(sim::SimulatedBackend::kCommandPath, true, true, true, false));
    std::array<std::uint8_t, 64> buffer{};
    std::size_t count = 99;
    std::thread reader([&] {
        EXPECT_FALSE(
            device.ReadReport(buffer.data(), buffer.size(), &count, ReportChannel::kInfinite));
    });
    // Cancelling before the read waits is fine too: the next transfer to wait sees it.
    device.Cancel();
    reader.join();
    EXPECT_EQ(count, 0u);
}

TEST_F(HidDeviceOnSimulator, CloseWhileAnotherThreadReadsWakesIt) {
    ASSERT_TRUE(device.Open(sim::SimulatedBackend::kCommandPath, true, true, true, false));
    std::atomic<bool> returned{false};
    std::thread reader([&] {
        std::array<std::uint8_t, 64> buffer{};
        std::size_t count = 0;
        device.ReadReport(buffer.data(), buffer.size(), &count, ReportChannel::kInfinite);
        returned = true;
    });
    ASSERT_TRUE(test::WaitUntil([&] { return device.IsOpen(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // let the read start waiting
    EXPECT_TRUE(device.Close());
    reader.join();
    EXPECT_TRUE(returned.load());
    EXPECT_FALSE(device.Close()) << "nothing left to close";
}

TEST_F(HidDeviceOnSimulator, StaleInterfaceStaysDeadAfterReplug) {
    ASSERT_TRUE(device.Open(sim::SimulatedBackend::kCommandPath, true, true, true, false));
    keyboard.SetPlugged(false);
    keyboard.SetPlugged(true);
    const auto request = BuildRequest(CMD_BEGIN, 0, 0);
    std::size_t count = 0;
    EXPECT_FALSE(device.WriteReport(request.bytes.data(), 64, &count, 100));
    ASSERT_TRUE(device.Open(sim::SimulatedBackend::kCommandPath, true, true, true, false));
    EXPECT_TRUE(device.WriteReport(request.bytes.data(), 64, &count, 100));
}

TEST_F(HidDeviceOnSimulator, ConsumerEventsDecodeIntoTheFirstItem) {
    ASSERT_TRUE(device.Enumerate());
    ASSERT_TRUE(OpenNextKeyboardCollection(device, kEventUsagePage, kEventUsage, false));
    EXPECT_EQ(device.DevicePath(), sim::SimulatedBackend::kConsumerPath);
    keyboard.InjectEvent(0x1811);
    std::array<std::uint8_t, 8> report{};
    std::size_t count = 0;
    ASSERT_TRUE(
        device.ReadReport(report.data(), device.Capabilities().inputReportByteLength, &count, 100));
    ASSERT_EQ(count, 3u);
    ASSERT_TRUE(device.UnpackInput(std::span(report).first(count)));
    ASSERT_FALSE(device.InputItems().empty());
    const HidDataItem& item = device.InputItems()[0];
    EXPECT_TRUE(item.isButton);
    EXPECT_TRUE(item.isSet);
    EXPECT_EQ(item.usageList[0], 0x1811);
}

// A consumer collection, report id 5, two 16-bit selectors for usages 1..0x2FF whose logical
// range reaches 0x3FF, so a report may name usages outside the collection's range.
const std::vector<std::uint8_t> kWideSelectors = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x15, 0x01, 0x26, 0xFF, 0x03,
    0x19, 0x01, 0x2A, 0xFF, 0x02, 0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0};

TEST_F(HidDeviceOnSimulator, UnpackKeepsOnlyUsagesInsideTheItemsRange) {
    backend.AddForeignDevice("sim:wide", kWideSelectors, {0x0C45, 0x5304, 1});
    ASSERT_TRUE(device.Open("sim:wide", true, false, true, false));
    ASSERT_EQ(device.InputItems().size(), 1u);

    const std::array<std::uint8_t, 5> otherId = {0x06, 0x01, 0x03, 0xE9, 0x00};
    EXPECT_TRUE(device.UnpackInput(otherId));
    EXPECT_FALSE(device.InputItems()[0].isSet) << "a report of another id leaves items alone";

    const std::array<std::uint8_t, 5> report = {0x05, 0x01, 0x03, 0xE9, 0x00};
    EXPECT_TRUE(device.UnpackInput(report));
    const HidDataItem& item = device.InputItems()[0];
    EXPECT_TRUE(item.isSet);
    EXPECT_EQ(item.usageMin, 1u);
    EXPECT_EQ(item.usageMax, 0x2FFu);
    ASSERT_EQ(item.usageList.size(), 2u);
    EXPECT_EQ(item.usageList[0], 0x00E9);
    EXPECT_EQ(item.usageList[1], 0);
}

}  // namespace
}  // namespace korvel
