#include <gtest/gtest.h>

#include <numeric>

#include "model/image/config_image.h"

namespace korvel {
namespace {

std::vector<std::uint8_t> Stored(const ConfigImage& image) {
    ByteWriter writer;
    WriteConfigImage(writer, image);
    return writer.Take();
}

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return U16At(b, at) | static_cast<std::uint32_t>(U16At(b, at + 2)) << 16;
}

TEST(ConfigImage, DefaultImageLayout) {
    const auto image = CreateDefaultImage(0);
    ASSERT_TRUE(image);
    const std::vector<std::uint8_t> b = Stored(*image);
    ASSERT_EQ(b.size(), 32832u);
    EXPECT_EQ(b[0], 0x46);
    EXPECT_EQ(b[1], 0x44);
    EXPECT_EQ(U16At(b, 2), 32);
    EXPECT_EQ(U16At(b, 4), 3);
    EXPECT_EQ(U16At(b, 6), 1);
    EXPECT_EQ(U32At(b, 8), 32832u);
    EXPECT_EQ(U16At(b, 12), 2048);
    EXPECT_EQ(b[31], 0x76);  // 0x46+0x44+0x20+3+1+0x40+0x80+0x08, low byte
    EXPECT_EQ(U16At(b, 48), 0x0C45);
    EXPECT_EQ(U16At(b, 50), 0x5304);
    EXPECT_EQ(U32At(b, 32), 0x0020484Bu);
    EXPECT_EQ(U32At(b, 52), 0x000E1C4Fu);
    // G codes sit in block 0 only.
    for (int slot = 256; slot <= 273; ++slot) {
        const std::uint16_t code = slot <= 264 ? 0x0301 + (slot - 256) : 0x1301 + (slot - 265);
        EXPECT_EQ(U16At(b, 64 + 16 * slot + 2), code) << slot;
        EXPECT_EQ(image->blocks[1][slot], KeyEntry{});
    }
    const std::size_t gBytes = 18 * 2;
    std::size_t nonZeroEntryBytes = 0;
    for (std::size_t i = 64; i < b.size(); ++i) {
        nonZeroEntryBytes += b[i] != 0;
    }
    EXPECT_EQ(nonZeroEntryBytes, gBytes);
}

TEST(ConfigImage, HeaderDescribesItsCountsAndChecksum) {
    struct Case {
        std::uint16_t macros;
        std::uint32_t pool;
        std::uint8_t flag;
        std::uint32_t totalBytes;
    };
    const Case cases[] = {
        {0, 0, 0, 32832},
        {0, 0, 1, 32832},
        {2, 18, 0, 32832 + 2 * 16512 + 18},
        {100, 70000, 0, 32832 + 100 * 16512 + 70000},
    };
    for (const Case& c : cases) {
        auto image = CreateDefaultImage(0);
        image->header.deviceDescriptorBlock[7] = 0xDEADBEEF;
        InitConfigHeader(*image, c.macros, c.pool, c.flag);
        const std::vector<std::uint8_t> b = Stored(*image);
        EXPECT_EQ(U32At(b, 8), c.totalBytes);
        EXPECT_EQ(U16At(b, 14), c.macros);
        EXPECT_EQ(U32At(b, 16), c.pool);
        EXPECT_EQ(b[30], c.flag);
        const unsigned sum = std::accumulate(b.begin(), b.begin() + 31, 0u);
        EXPECT_EQ(b[31], sum & 0xFF);
        EXPECT_EQ(ConfigHeaderChecksum(image->header), b[31]);
        EXPECT_EQ(image->header.deviceDescriptorBlock[7], 0xDEADBEEFu);  // left alone
    }
    EXPECT_EQ(CreateDefaultImage(1)->header.checksum, 0x77);
}

TEST(ConfigImage, StoredBytesReadBackUnchangedIncludingBlockThree) {
    auto image = CreateDefaultImage(0);
    image->Entry(GlobalEntryIndex(3, 30)) = {kEntryKey, 7, 0x01E, 0x11223344, 0x55667788};
    image->Entry(GlobalEntryIndex(1, 511)) = {kEntryMacro, 2, 4, 0, 0};
    image->header.reserved24 = 9;  // whatever a file carried is kept as it is
    const std::vector<std::uint8_t> b = Stored(*image);
    EXPECT_EQ(U16At(b, 64 + 16 * GlobalEntryIndex(3, 30)), kEntryKey);
    ConfigImage back;
    ByteReader reader(b);
    ASSERT_TRUE(ReadConfigImage(reader, back));
    EXPECT_EQ(back, *image);
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ConfigImage, ShortInputIsNotRead) {
    const auto image = CreateDefaultImage(0);
    std::vector<std::uint8_t> b = Stored(*image);
    b.pop_back();
    ConfigImage untouched;
    untouched.header.magic = 0x1234;
    ByteReader reader(b);
    EXPECT_FALSE(ReadConfigImage(reader, untouched));
    EXPECT_EQ(untouched.header.magic, 0x1234);
}

}  // namespace
}  // namespace korvel
