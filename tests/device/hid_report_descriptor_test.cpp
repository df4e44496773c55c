#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "device/hid_device.h"
#include "device/hid_report_descriptor.h"
#include "device/keyboard_identity.h"
#include "device/sim/simulated_backend.h"

namespace korvel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Usages = std::vector<std::uint32_t>;

// clang-format off
// The boot keyboard of the HID class definition's appendix.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,              // Generic Desktop / Keyboard, Application
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,              // Key codes E0..E7
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08,  // 0..1, 8 x 1 bit
    0x81, 0x02,                                      // Input (Data, Variable): modifiers
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,              // Input (Constant): reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05,
    0x91, 0x02,                                      // Output (Data, Variable): 5 LEDs
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,              // Output (Constant): padding
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,  // 6 x 8 bits, 0..101
    0x05, 0x07, 0x19, 0x00, 0x29, 0x65,
    0x81, 0x00,                                      // Input (Data, Array): key codes
    0xC0,
};

// The boot mouse of the same appendix: three buttons, padding, relative X and Y inside a
// Physical collection.
const Bytes kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,
    0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01,
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F,
    0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
};

// Consumer control, report 3: one 16-bit selector over usages 0..0x7FFF.
const Bytes kConsumer = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x7F,
    0x19, 0x00, 0x2A, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
};

// Vendor-defined command collection, report 4: 63 bytes each way.
const Bytes kVendor = {
    0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0,
};

// Consumer control, report 1: two 16-bit selectors over usages 1..0x2FF.
const Bytes kConsumerTwoKeys = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x15, 0x01, 0x26, 0xFF, 0x02,
    0x19, 0x01, 0x2A, 0xFF, 0x02, 0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0,
};

// A joystick axis: X, logical -127..127, physical 0..255.
const Bytes kJoystickAxis = {
    0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x09, 0x30, 0x15, 0x81, 0x25, 0x7F,
    0x35, 0x00, 0x46, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0,
};
// clang-format on

Bytes Concat(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

HidReportDescriptor MustParse(const Bytes& bytes) {
    std::string error;
    auto parsed = HidReportDescriptor::Parse(bytes, &error);
    EXPECT_TRUE(parsed.has_value()) << error;
    return parsed ? *parsed : *HidReportDescriptor::Parse(kBootKeyboard);
}

TEST(HidReportDescriptor, BootKeyboardCollectionAndLengths) {
    ASSERT_EQ(kBootKeyboard.size(), 63u);
    const HidReportDescriptor d = MustParse(kBootKeyboard);
    ASSERT_EQ(d.TopLevelCollections().size(), 1u);
    EXPECT_EQ(d.TopLevelCollections()[0].usagePage, 0x0001);
    EXPECT_EQ(d.TopLevelCollections()[0].usage, 0x0006);
    EXPECT_TRUE(d.TopLevelCollections()[0].reportIds.empty());
    EXPECT_FALSE(d.UsesReportIds());
    EXPECT_EQ(d.InputReportByteLength(), 9u);
    EXPECT_EQ(d.OutputReportByteLength(), 2u);
    EXPECT_EQ(d.FeatureReportByteLength(), 0u);
    EXPECT_EQ(d.TopLevelCollections()[0].inputReportByteLength, 9u);
    EXPECT_EQ(d.TopLevelCollections()[0].outputReportByteLength, 2u);
}

TEST(HidReportDescriptor, BootKeyboardFields) {
    const HidReportDescriptor d = MustParse(kBootKeyboard);
    ASSERT_EQ(d.InputFields().size(), 3u);
    const HidField& modifiers = d.InputFields()[0];
    EXPECT_EQ(modifiers.usagePage, 0x07);
    EXPECT_TRUE(modifiers.isButton);
    EXPECT_FALSE(modifiers.isArray);
    EXPECT_EQ(modifiers.usageMin, 0xE0u);
    EXPECT_EQ(modifiers.usageMax, 0xE7u);
    EXPECT_EQ(modifiers.bitOffset, 0u);
    const HidField& reserved = d.InputFields()[1];
    EXPECT_TRUE(reserved.isConstant);
    EXPECT_EQ(reserved.bitOffset, 8u);
    const HidField& keys = d.InputFields()[2];
    EXPECT_TRUE(keys.isButton);
    EXPECT_TRUE(keys.isArray);
    EXPECT_EQ(keys.bitOffset, 16u);
    EXPECT_EQ(keys.reportSize, 8u);
    EXPECT_EQ(keys.reportCount, 6u);
    EXPECT_EQ(keys.logicalMax, 101);
    ASSERT_EQ(d.OutputFields().size(), 2u);
    EXPECT_EQ(d.OutputFields()[0].usagePage, 0x08);
    EXPECT_EQ(d.OutputFields()[1].bitOffset, 5u);
}

TEST(HidReportDescriptor, BootKeyboardLeftShiftAndA) {
    const HidReportDescriptor d = MustParse(kBootKeyboard);
    const Bytes report = {0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(d.GetUsages(report, d.InputFields()[0]), Usages{0xE1});
    EXPECT_EQ(d.GetUsages(report, d.InputFields()[1]), Usages{});
    EXPECT_EQ(d.GetUsages(report, d.InputFields()[2]), Usages{0x04});
    EXPECT_FALSE(d.GetUsageValue(report, d.InputFields()[2], 0x04)) << "a button is no value";
}

TEST(HidReportDescriptor, ConsumerSelector) {
    const HidReportDescriptor d = MustParse(kConsumer);
    ASSERT_EQ(d.TopLevelCollections().size(), 1u);
    EXPECT_EQ(d.TopLevelCollections()[0].usagePage, 0x000C);
    EXPECT_EQ(d.TopLevelCollections()[0].reportIds, Bytes{3});
    EXPECT_TRUE(d.UsesReportIds());
    EXPECT_EQ(d.InputReportByteLength(), 3u);
    EXPECT_EQ(d.OutputReportByteLength(), 0u);
    ASSERT_EQ(d.InputFields().size(), 1u);
    const HidField& field = d.InputFields()[0];
    EXPECT_EQ(field.reportId, 3);
    EXPECT_TRUE(field.isButton);
    EXPECT_EQ(field.logicalMax, 0x7FFF);

    const struct {
        Bytes report;
        std::optional<Usages> usages;
    } cases[] = {
        {{0x03, 0x11, 0x18}, Usages{0x1811}},
        {{0x03, 0x00, 0x00}, Usages{}},
        {{0x03, 0xFF, 0x7F}, Usages{0x7FFF}},
        {{0x03, 0x00, 0x80}, Usages{}},  // beyond the logical maximum
        {{0x04, 0x11, 0x18}, std::nullopt},
        {{0x03, 0x11}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(d.GetUsages(c.report, field), c.usages) << ::testing::PrintToString(c.report);
    }
}

TEST(HidReportDescriptor, VendorCollection) {
    const HidReportDescriptor d = MustParse(kVendor);
    ASSERT_EQ(d.TopLevelCollections().size(), 1u);
    EXPECT_EQ(d.TopLevelCollections()[0].usagePage, 0xFF1C);
    EXPECT_EQ(d.TopLevelCollections()[0].usage, 0x92);
    EXPECT_EQ(d.TopLevelCollections()[0].reportIds, Bytes{4});
    EXPECT_EQ(d.InputReportByteLength(), 64u);
    EXPECT_EQ(d.OutputReportByteLength(), 64u);
    ASSERT_EQ(d.InputFields().size(), 1u);
    const HidField& field = d.InputFields()[0];
    EXPECT_FALSE(field.isButton);
    EXPECT_EQ(field.usagePage, 0xFF1C);

    Bytes report(64, 0);
    report[0] = 4;
    report[1] = 0xAB;
    EXPECT_EQ(d.GetUsageValue(report, field, 0x01), 0xABu);
    EXPECT_FALSE(d.GetUsageValue(report, field, 0x02));
    EXPECT_FALSE(d.GetScaledUsageValue(report, field, 0x01)) << "no physical range";
    EXPECT_FALSE(d.GetUsages(report, field));
    report.pop_back();
    EXPECT_FALSE(d.GetUsageValue(report, field, 0x01));
}

TEST(HidReportDescriptor, TwoCollectionsInOneInterface) {
    const HidReportDescriptor d = MustParse(Concat(kConsumer, kVendor));
    const auto& collections = d.TopLevelCollections();
    ASSERT_EQ(collections.size(), 2u);
    EXPECT_EQ(collections[0].usagePage, 0x000C);
    EXPECT_EQ(collections[0].usage, 0x0001);
    EXPECT_EQ(collections[0].reportIds, Bytes{3});
    EXPECT_EQ(collections[0].inputReportByteLength, 3u);
    EXPECT_EQ(collections[1].usagePage, 0xFF1C);
    EXPECT_EQ(collections[1].usage, 0x92);
    EXPECT_EQ(collections[1].reportIds, Bytes{4});
    EXPECT_EQ(collections[1].outputReportByteLength, 64u);
    EXPECT_EQ(d.InputReportByteLength(), 64u);
    ASSERT_EQ(d.InputFields().size(), 2u);
    EXPECT_EQ(d.InputFields()[0].collection, 0u);
    EXPECT_EQ(d.InputFields()[1].collection, 1u);
}

TEST(HidReportDescriptor, ArraySelectorsOutsideTheUsagesAreDropped) {
    // Logical range equal to the usage range, and a wider logical range than usages.
    Bytes wide = kConsumerTwoKeys;
    wide[9] = 0x00;                    // logical minimum 0
    wide[11] = 0xFF, wide[12] = 0x03;  // logical maximum 0x3FF
    wide[14] = 0x00;                   // usage minimum 0
    const struct {
        Bytes descriptor;
        Usages expected;
    } cases[] = {
        {kConsumerTwoKeys, {0xE9}},
        {wide, {0xE9}},
    };
    const Bytes report = {0x01, 0x01, 0x03, 0xE9, 0x00};
    for (const auto& c : cases) {
        const HidReportDescriptor d = MustParse(c.descriptor);
        ASSERT_EQ(d.InputFields().size(), 1u);
        EXPECT_EQ(d.GetUsages(report, d.InputFields()[0]), c.expected);
    }
}

TEST(HidReportDescriptor, MouseValuesAreSignedAndUnscaledWithoutPhysicalRange) {
    const HidReportDescriptor d = MustParse(kBootMouse);
    ASSERT_EQ(d.TopLevelCollections().size(), 1u) << "the Physical collection is not top-level";
    EXPECT_EQ(d.TopLevelCollections()[0].usage, 0x02);
    EXPECT_EQ(d.InputReportByteLength(), 4u);
    ASSERT_EQ(d.InputFields().size(), 3u);
    const HidField& axes = d.InputFields()[2];
    EXPECT_FALSE(axes.isButton);
    EXPECT_EQ(axes.usages, (Usages{0x30, 0x31}));
    EXPECT_EQ(axes.logicalMin, -127);
    EXPECT_EQ(axes.bitOffset, 8u);

    const Bytes report = {0x00, 0x05, 0xFF, 0x10};
    EXPECT_EQ(d.GetUsages(report, d.InputFields()[0]), (Usages{1, 3}));
    EXPECT_EQ(d.GetUsageValue(report, axes, 0x30), 0xFFu);
    EXPECT_EQ(d.GetUsageValue(report, axes, 0x31), 0x10u);
    EXPECT_FALSE(d.GetScaledUsageValue(report, axes, 0x30));
}

TEST(HidReportDescriptor, ScaledValue) {
    const HidReportDescriptor d = MustParse(kJoystickAxis);
    ASSERT_EQ(d.InputFields().size(), 1u);
    const HidField& x = d.InputFields()[0];
    EXPECT_EQ(x.physicalMax, 255);
    const struct {
        std::uint8_t raw;
        std::optional<std::int32_t> scaled;
    } cases[] = {
        {0x81, 0}, {0x7F, 255}, {0x00, 127}, {0xFF, 126}, {0x80, std::nullopt},
    };
    for (const auto& c : cases) {
        const Bytes report = {0x00, c.raw};
        EXPECT_EQ(d.GetScaledUsageValue(report, x, 0x30), c.scaled) << int{c.raw};
    }
}

TEST(HidReportDescriptor, ExtendedUsagesLongItemsAndPushPop) {
    // clang-format off
    const Bytes bytes = {
        0x0B, 0x06, 0x00, 0x01, 0x00, 0xA1, 0x01,        // Usage (Generic Desktop: Keyboard)
        0xFE, 0x02, 0x10, 0xAA, 0xBB,                    // a long item, stepped over
        0x05, 0x07, 0x15, 0x00, 0x25, 0x01,
        0x75, 0x01, 0x95, 0x02,
        0xA4, 0x75, 0x08, 0x95, 0x07, 0xB4,              // pushed and popped away again
        0x09, 0x04, 0x0B, 0xE9, 0x00, 0x0C, 0x00,        // a key and Consumer: Volume Up
        0x81, 0x02, 0x95, 0x06, 0x81, 0x03, 0xC0,
    };
    // clang-format on
    const HidReportDescriptor d = MustParse(bytes);
    ASSERT_EQ(d.TopLevelCollections().size(), 1u);
    EXPECT_EQ(d.TopLevelCollections()[0].usagePage, 0x01);
    EXPECT_EQ(d.TopLevelCollections()[0].usage, 0x06);
    EXPECT_EQ(d.InputReportByteLength(), 2u);
    ASSERT_EQ(d.InputFields().size(), 2u);
    const HidField& keys = d.InputFields()[0];
    EXPECT_EQ(keys.reportSize, 1u);
    EXPECT_EQ(keys.usagePage, 0x07);
    EXPECT_EQ(keys.usages, (Usages{0x04, 0x000C00E9}));
    EXPECT_EQ(d.GetUsages(Bytes{0x00, 0x03}, keys), (Usages{0x04, 0x000C00E9}));
}

TEST(HidReportDescriptor, AUsagePageBeforeTheMainItemCountsForTheLastUsagesDeclaredOnAnother) {
    // Each usage takes the page in force where it is declared; a Usage Page item between the
    // usages and their main item gives its page to the last of them, back to the first usage that
    // already has it. The command interface is found by its collection's page and usage.
    struct Case {
        const char* name;
        Bytes bytes;
        std::uint16_t collectionPage, collectionUsage;
        std::uint16_t fieldPage;  // of the first input field
        Usages usages;            // empty: a single usage or range, usageMin..usageMax
        std::uint32_t usageMin, usageMax;
    };
    // clang-format off
    const Case cases[] = {
        {"the command collection's usage before its page",
         {0x05, 0x01, 0x09, 0x92, 0x06, 0x1C, 0xFF, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26,
          0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02,
          0xC0},
         0xFF1C, 0x92, 0xFF1C, {}, 0x01, 0x01},
        {"key array whose range comes before Usage Page (Keyboard), LED page in force",
         {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x08, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00,
          0x25, 0x65, 0x19, 0x00, 0x29, 0x65, 0x05, 0x07, 0x81, 0x00, 0xC0},
         0x01, 0x06, 0x07, {}, 0x00, 0x65},
        {"two buttons, then the consumer page: both become consumer usages",
         {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,
          0x05, 0x09, 0x09, 0x01, 0x09, 0x02, 0x05, 0x0C,
          0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x02, 0x81, 0x02, 0xC0},
         0x0C, 0x01, 0x0C, {0x01, 0x02}, 0x01, 0x02},
        {"two buttons, then a usage declared on the consumer page: the buttons stay",
         {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,
          0x05, 0x09, 0x09, 0x01, 0x09, 0x02, 0x05, 0x0C, 0x0A, 0x24, 0x02,
          0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0xC0},
         0x0C, 0x01, 0x09, {0x01, 0x02, 0x000C0224}, 0x01, 0x000C0224},
        {"an extended usage keeps its page and does not stop the walk",
         {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,
          0x05, 0x09, 0x09, 0x01, 0x0B, 0x02, 0x00, 0x0C, 0x00, 0x09, 0x03, 0x05, 0x0D,
          0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0xC0},
         0x0C, 0x01, 0x0D, {0x01, 0x000C0002, 0x03}, 0x01, 0x000C0002},
    };
    // clang-format on
    sim::VirtualKeyboard keyboard;
    sim::SimulatedBackend backend(keyboard);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HidReportDescriptor d = MustParse(c.bytes);
        ASSERT_EQ(d.TopLevelCollections().size(), 1u);
        EXPECT_EQ(d.TopLevelCollections()[0].usagePage, c.collectionPage);
        EXPECT_EQ(d.TopLevelCollections()[0].usage, c.collectionUsage);
        ASSERT_FALSE(d.InputFields().empty());
        const HidField& field = d.InputFields()[0];
        EXPECT_EQ(field.usagePage, c.fieldPage);
        EXPECT_EQ(field.usages, c.usages);
        EXPECT_EQ(field.usageMin, c.usageMin);
        EXPECT_EQ(field.usageMax, c.usageMax);

        // The virtual keyboard's command interface with this descriptor.
        backend.SetCommandDescriptor(c.bytes);
        HidDevice device(backend);
        ASSERT_TRUE(device.Enumerate());
        const bool isCommand =
            c.collectionPage == kCommandUsagePage && c.collectionUsage == kCommandUsage;
        EXPECT_EQ(OpenNextKeyboardCollection(device, kCommandUsagePage, kCommandUsage, true),
                  isCommand);
    }
}

TEST(HidReportDescriptor, MalformedDescriptorsAreRejected) {
    Bytes unclosed = kBootKeyboard;
    unclosed.pop_back();
    Bytes withId0 = kConsumer;
    withId0[7] = 0x00;
    Bytes pushTooDeep = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01};
    pushTooDeep.insert(pushTooDeep.end(), 17, 0xA4);
    pushTooDeep.push_back(0xC0);
    Bytes idAfterDefault = kBootKeyboard;
    idAfterDefault.insert(idAfterDefault.begin() + 60, {0x85, 0x01});
    const struct {
        const char* name;
        Bytes bytes;
        const char* where;
    } cases[] = {
        {"empty", {}, "byte 0"},
        {"truncated in mid-item", Bytes(kBootKeyboard.begin(), kBootKeyboard.begin() + 5),
         "byte 4"},
        {"truncated 2-byte data", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x26, 0xFF}, "byte 6"},
        {"truncated long item", {0x05, 0x01, 0xFE, 0x04, 0x00, 0x01}, "byte 2"},
        {"unclosed collection", unclosed, "byte 62"},
        {"extra end collection", Concat(kBootKeyboard, {0xC0}), "byte 63"},
        {"absurd report count",
         {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02,
          0xC0},
         "byte 13"},
        {"report just over 4096 bytes",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x96, 0x01, 0x10, 0x81, 0x02, 0xC0},
         "byte 12"},
        {"pop without push", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xB4, 0xC0}, "byte 6"},
        {"push too deep", pushTooDeep, "byte 22"},
        {"report id 0", withId0, "byte 6"},
        {"input outside any collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, "byte 4"},
        {"two collections without report ids", Concat(kBootKeyboard, kBootKeyboard), "byte 67"},
        {"report id after reports without one", idAfterDefault, "byte 62"},
        {"report id shared by two collections", Concat(kConsumer, kConsumer), "byte 47"},
        {"delimiter set left open",
         {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xA9, 0x01, 0x09, 0x01, 0xC0},
         "byte 10"},
        {"usage range reversed",
         {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x19, 0x05, 0x29, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81,
          0x00, 0xC0},
         "byte 14"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(HidReportDescriptor::Parse(c.bytes, &error)) << c.name;
        EXPECT_NE(error.find(std::string(c.where) + ":"), std::string::npos)
            << c.name << ": " << error;
    }
}

TEST(HidReportDescriptor, OneByteMaximumIsUnsignedOnlyAboveANonNegativeMinimum) {
    const struct {
        std::uint8_t minimum;
        std::int32_t logicalMin, logicalMax;
    } cases[] = {{0x00, 0, 255}, {0x81, -127, -1}};
    for (const auto& c : cases) {
        const Bytes bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, c.minimum, 0x25,
                             0xFF, 0x75, 0x08, 0x95, 0x01, 0x09, 0x01, 0x81, 0x02,      0xC0};
        const HidReportDescriptor d = MustParse(bytes);
        ASSERT_EQ(d.InputFields().size(), 1u);
        EXPECT_EQ(d.InputFields()[0].logicalMin, c.logicalMin);
        EXPECT_EQ(d.InputFields()[0].logicalMax, c.logicalMax);
    }
}

TEST(HidReportDescriptor, ReportAtTheSizeLimitIsAccepted) {
    const Bytes bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75,
                         0x08, 0x96, 0x00, 0x10, 0x81, 0x02, 0xC0};
    const HidReportDescriptor d = MustParse(bytes);
    EXPECT_EQ(d.InputReportByteLength(), 4097u);
}

// Feeds every prefix of the real descriptors, random byte strings and hand-broken fields to the
// parser and decoders; under AddressSanitizer this shows that nothing reads past its span.
TEST(HidReportDescriptor, SurvivesPrefixesRandomBytesAndBrokenFields) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    const auto randomBytes = [&](std::size_t length) {
        Bytes out(length);
        for (auto& b : out) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        return out;
    };
    const auto exercise = [&](const HidReportDescriptor& d) {
        for (std::size_t length : {0, 1, 2, 3, 9, 64}) {
            Bytes report = randomBytes(length);
            for (const HidField& field : d.InputFields()) {
                if (!report.empty()) {
                    report[0] = field.reportId;
                }
                (void)d.GetUsages(report, field);
                const std::uint32_t usage = field.usages.empty() ? field.usageMin : field.usages[0];
                (void)d.GetUsageValue(report, field, usage);
                (void)d.GetScaledUsageValue(report, field, usage);
            }
        }
    };

    std::vector<Bytes> seeds = {kBootKeyboard,
                                kBootMouse,
                                kConsumer,
                                kVendor,
                                kConsumerTwoKeys,
                                kJoystickAxis,
                                Concat(kConsumer, kVendor)};
    int parsed = 0;
    for (const Bytes& seed : seeds) {
        for (std::size_t n = 0; n <= seed.size(); ++n) {
            const Bytes prefix(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(n));
            if (const auto d = HidReportDescriptor::Parse(prefix)) {
                ++parsed;
                exercise(*d);
            }
        }
    }
    // The whole descriptors, and the collections that open the last one followed by globals.
    EXPECT_EQ(parsed, static_cast<int>(seeds.size()) + 3);

    // Pure noise rarely gets past the first items, so most strings are real descriptors with a
    // few bytes overwritten; those parse often enough to exercise the decoders on odd fields.
    int randomParsed = 0;
    for (int i = 0; i < 4000; ++i) {
        Bytes bytes;
        if (i % 4 == 0) {
            bytes = randomBytes(static_cast<std::size_t>(byte(random) % 80));
        } else {
            bytes = seeds[static_cast<std::size_t>(byte(random)) % seeds.size()];
            for (int k = 1 + byte(random) % 3; k > 0; --k) {
                bytes[static_cast<std::size_t>(byte(random)) % bytes.size()] =
                    static_cast<std::uint8_t>(byte(random));
            }
        }
        if (const auto d = HidReportDescriptor::Parse(bytes)) {
            ++randomParsed;
            exercise(*d);
        }
    }
    EXPECT_GT(randomParsed, 100);

    const HidReportDescriptor d = MustParse(kBootKeyboard);
    const Bytes report(9, 0xFF);
    HidField broken = d.InputFields()[2];
    for (std::uint32_t size : {0u, 1u, 32u, 33u, 0xFFFFFFFFu}) {
        for (std::uint32_t count : {0u, 1u, 0xFFFFFFFFu}) {
            for (std::uint32_t offset : {0u, 64u, 0xFFFFFFFFu}) {
                for (bool isArray : {false, true}) {
                    broken.reportSize = size;
                    broken.reportCount = count;
                    broken.bitOffset = offset;
                    broken.isArray = isArray;
                    broken.isButton = isArray;
                    broken.usageMin = 0;
                    broken.usageMax = 0xFFFFFFFF;
                    broken.logicalMin = std::numeric_limits<std::int32_t>::min();
                    broken.logicalMax = std::numeric_limits<std::int32_t>::max();
                    broken.physicalMin = std::numeric_limits<std::int32_t>::min();
                    broken.physicalMax = std::numeric_limits<std::int32_t>::max();
                    (void)d.GetUsages(report, broken);
                    (void)d.GetUsageValue(report, broken, 7);
                    (void)d.GetScaledUsageValue(report, broken, 7);
                }
            }
        }
    }
}

}  // namespace
}  // namespace korvel
