#include <gtest/gtest.h>

#include "model/image/string_pool.h"

namespace korvel {
namespace {

TEST(StringSlotTable, KeepsTheRunningSumOfSlotSizes) {
    StringSlotTable slots;
    slots.SetText(5, u"C:\\a.exe");  // 8 characters: 18 bytes with the terminator
    EXPECT_EQ(slots.Size(5), 18u);
    slots.SetText(700, u"hi");
    EXPECT_EQ(slots.StringBytes(), 24u);
    slots.SetText(5, u"x");  // replacing counts only the new text
    EXPECT_EQ(slots.StringBytes(), 10u);
    slots.SetText(9, std::u16string_view(u"ab\0cd", 5));  // stored texts end at their first NUL
    EXPECT_EQ(*slots.Text(9), u"ab");
    slots.ClearText(700);
    slots.ClearText(700);
    EXPECT_EQ(slots.Text(700), nullptr);
    EXPECT_EQ(slots.StringBytes(), 10u);
    slots.SetText(2048, u"ignored");
    slots.SetText(-1, u"ignored");
    EXPECT_EQ(slots.StringBytes(), 10u);
    slots.Clear();
    EXPECT_EQ(slots.StringBytes(), 0u);
    EXPECT_EQ(slots.Text(5), nullptr);
}

TEST(PackStringPool, TextsFollowAscendingEntryOrder) {
    ConfigImage image;
    StringSlotTable slots;
    // Set in a scrambled order: the pool order is the entries' order, not the editing order.
    image.Entry(1054) = {kEntryLaunch, 0, 0, 0, 0};  // block 2, slot 30
    slots.SetText(1054, u"Z");
    image.Entry(700) = {kEntryText, 0, 0, 0, 0};
    slots.SetText(700, u"text");
    image.Entry(5) = {kEntryLaunch, 0, 0, 0, 0};
    slots.SetText(5, u"C:\\a.exe");
    const std::vector<std::uint8_t> pool = PackStringPool(image, slots, slots.StringBytes());
    ASSERT_EQ(pool.size(), 18u + 10u + 4u);
    EXPECT_EQ(image.Entry(5).value, 0u);
    EXPECT_EQ(image.Entry(700).value, 18u);
    EXPECT_EQ(image.Entry(1054).value, 28u);
    EXPECT_EQ(PoolTextAt(pool, 0), u"C:\\a.exe");
    EXPECT_EQ(PoolTextAt(pool, 18), u"text");
    EXPECT_EQ(PoolTextAt(pool, 28), u"Z");
    EXPECT_EQ(pool[16], 0);
    EXPECT_EQ(pool[17], 0);
}

TEST(PackStringPool, EntriesWithoutPackedTextPointNowhere) {
    ConfigImage image;
    StringSlotTable slots;
    image.Entry(1) = {kEntryLaunch, 0, 0, 0, 0};   // no text at all
    image.Entry(2) = {kEntryKey, 0, 0x01E, 0, 0};  // a text left behind by another type
    slots.SetText(2, u"stale");
    image.Entry(3) = {kEntryText, 0, 0, 0, 0};
    slots.SetText(3, u"ok");
    const std::vector<std::uint8_t> pool = PackStringPool(image, slots, slots.StringBytes());
    EXPECT_EQ(image.Entry(1).value, kNoPoolText);
    EXPECT_EQ(image.Entry(2).value, 0x01Eu);
    EXPECT_EQ(image.Entry(3).value, 0u);
    EXPECT_EQ(pool.size(), 12u + 6u);  // the left-behind text still counts, as zeros at the end
    EXPECT_FALSE(PoolTextAt(pool, kNoPoolText));

    // A pool smaller than the texts only takes those that fit.
    ConfigImage small;
    small.Entry(3) = image.Entry(3);
    small.Entry(4) = {kEntryText, 0, 0, 0, 0};
    slots.SetText(4, u"longer");
    const std::vector<std::uint8_t> cut = PackStringPool(small, slots, 8);
    EXPECT_EQ(small.Entry(3).value, 0u);
    EXPECT_EQ(small.Entry(4).value, kNoPoolText);
    EXPECT_EQ(cut.size(), 8u);
}

TEST(PoolTextAt, DamagedOffsetsGiveNoText) {
    const std::vector<std::uint8_t> pool = {'a', 0, 0, 0, 'b', 0, 'c', 0};
    struct Case {
        std::uint32_t offset;
        std::optional<std::u16string> text;
    };
    const Case cases[] = {
        {0, u"a"},         {2, u""},          {1, std::nullopt},
        {4, std::nullopt}, {8, std::nullopt}, {0xFFFFFFFE, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PoolTextAt(pool, c.offset), c.text) << c.offset;
    }
    const std::vector<std::uint8_t> odd = {'a', 0, 0};
    EXPECT_EQ(PoolTextAt(odd, 2), std::nullopt);
}

}  // namespace
}  // namespace korvel
