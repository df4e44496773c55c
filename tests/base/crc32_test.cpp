#include "base/crc32.h"

#include <gtest/gtest.h>

#include <string_view>

namespace korvel {
namespace {

TEST(Crc32, MatchesTheCheckValuesOfTheCommonCrc32) {
    const auto crc = [](std::string_view text) {
        return Crc32(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(crc(""), 0x00000000u);
    EXPECT_EQ(crc("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

}  // namespace
}  // namespace korvel
