#include <gtest/gtest.h>

#include "model/keys/key_entry_code.h"

namespace korvel {
namespace {

TEST(KeyEntryCode, EachTypeSendsItsCode) {
    const DeviceKeyCode def{0x02, 0x02, 0x2E};
    struct Case {
        std::uint16_t type;
        std::uint32_t value;
        DeviceKeyCode expected;
    };
    const Case cases[] = {
        {kEntryDefault, 0, def},
        {kEntryDisabled, 0, {0x00, 0x00, 0x00}},
        {kEntryKey, 0x01E, {0x02, 0x02, 0x04}},
        {kEntryKey, 0x036, {0x02, 0x01, 0x20}},
        {kEntryKey, 0x136, {0x02, 0x02, 0xE5}},  // the second Right Shift code is a plain key
        {kEntryKey, 0x122, {0x02, 0x02, 0x00}},  // media target
        {kEntryKey, 0x15E, {0x02, 0x02, 0x00}},  // system key
        {kEntryKey, 0x0AA, {0x02, 0x02, 0x00}},  // unnamed code
        {kEntryKey, 0x1001E, {0x02, 0x02, 0x00}},
        {kEntryLaunch, 18, def},
        {kEntryMacro, 3, {0x05, 0x01, 0x02}},
        {kEntryStopMacro, 0, {0x05, 0x02, 0x00}},
        {kEntryText, 0, {0x00, 0x00, 0x00}},
        {kEntryMedia, 1, {0x03, 0xCD, 0x00}},
        {kEntryMedia, 0, {0x03, 0x83, 0x01}},
        {kEntryMedia, 18, def},
        {kEntryFunction, 8, {0x05, 0x05, 0x08}},
        {kEntryFunction, 9, {0x05, 0x05, 0x09}},  // read back from a keyboard: sent as read
        {kEntryFunction, 0xFF, {0x05, 0x05, 0xFF}},
        {kEntryFunction, 0x1FF, {0x05, 0x05, 0xFF}},  // the low byte of the value
        {9, 0, def},
        {0xFFFF, 5, def},
    };
    for (const Case& c : cases) {
        KeyEntry entry;
        entry.type = c.type;
        entry.value = c.value;
        EXPECT_EQ(EncodeKeyEntry(entry, def, 0x02), c.expected) << c.type << " " << c.value;
    }
}

}  // namespace
}  // namespace korvel
