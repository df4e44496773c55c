#include "base/text_encoding.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct DecodeCase {
    const char* name;
    std::string_view bytes;
    std::u16string_view text;
};

class Utf8Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decoding, GivesUpOnlyTheDamagedBytes) {
    EXPECT_EQ(Utf8ToUtf16(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Decoding,
    ::testing::Values(DecodeCase{"Ascii", "key=value", u"key=value"},
                      DecodeCase{"Chinese", "\xE5\xAE\x8F", u"宏"},
                      DecodeCase{"OutsideTheBasicPlane", "\xF0\x9F\x8E\xAE", u"\U0001F3AE"},
                      DecodeCase{"StrayContinuationByte",
                                 "a\x80"
                                 "b",
                                 u"a\uFFFDb"},
                      DecodeCase{"ByteNeverInUtf8", "\xFF", u"\uFFFD"},
                      DecodeCase{"OverlongSlash", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      DecodeCase{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      DecodeCase{"BeyondUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      DecodeCase{"CutShortAtTheEnd", "x\xE5\xAE", u"x\uFFFD\uFFFD"},
                      DecodeCase{"CutShortBeforeAscii", "\xE5=1", u"\uFFFD=1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextEncoding, Utf8RoundTripKeepsEveryCodePoint) {
    const std::u16string text = u"A\u00E9\u5B8F\U0001F3AE\uFFFD";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
}

TEST(TextEncoding, UnpairedSurrogatesBecomeReplacementInUtf8) {
    const std::u16string text{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    EXPECT_EQ(Utf16ToUtf8(text),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(TextEncoding, Utf16LittleEndianDropsAnOddTrailingByte) {
    EXPECT_EQ(Utf16LittleEndianToUtf16(std::string_view("a\0\x8F\x5B\x41", 5)), u"a宏");
    EXPECT_EQ(Utf16ToUtf16LittleEndian(u"a宏"), std::string_view("a\0\x8F\x5B", 4));
}

TEST(TextEncoding, DetectsTheByteOrderMark) {
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF[a]"), TextEncoding::Utf8WithBom);
    EXPECT_EQ(DetectEncoding("\xFF\xFE[\0"), TextEncoding::Utf16LittleEndianWithBom);
    EXPECT_EQ(DetectEncoding("[a]"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("\xEF\xBB"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding(""), TextEncoding::Utf8);
}

TEST(TextEncoding, CuttingNeverSplitsASurrogatePair) {
    const std::u16string text = u"ab\U0001F3AE";
    EXPECT_EQ(CutToUnits(text, 3), u"ab");
    EXPECT_EQ(CutToUnits(text, 4), text);
    EXPECT_EQ(CutToUnits(text, 2), u"ab");
    EXPECT_EQ(CutToUnits(text, 0), u"");
    EXPECT_EQ(CutToUnits(text, 100), text);
}

}  // namespace
}  // namespace korvel
