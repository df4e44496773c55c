#include <gtest/gtest.h>

#include "model/keys/key_codec.h"
#include "model/keys/key_entry_code.h"

namespace korvel {
namespace {

TEST(KeyCodec, KeyNamesComeFromTheTablesOrTheUnknownText) {
    KeyCodec codec;
    struct Case {
        ScanCode scan;
        std::u16string name;
    };
    const Case cases[] = {
        {0x0AA, u"Unknown Key: 0aa"}, {0x000, u"Unknown Key: 000"}, {0x001, u"Esc"},
        {0x148, u"\u2191"},           {0x136, u"Right Shift"},      {0x122, u"Hello world"},
        {0x17F, u"Unknown Key: 17f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(codec.KeyNameOf(c.scan), c.name) << std::hex << c.scan;
    }
}

// One label per slot of a profile block, for the window's keys and the key editor's title alike.
TEST(KeyCodec, SlotLabelsNameKeysAndGKeysOfBothBanks) {
    KeyCodec codec;
    EXPECT_EQ(codec.SlotLabel(SlotOfScan(0x01E)), codec.KeyNameOf(0x01E));
    EXPECT_EQ(codec.SlotLabel(GKeySlot(1, GKeyBank::A)), u"G1");
    EXPECT_EQ(codec.SlotLabel(GKeySlot(9, GKeyBank::A)), u"G9");
    EXPECT_EQ(codec.SlotLabel(GKeySlot(1, GKeyBank::B)), u"G1");
    EXPECT_EQ(codec.SlotLabel(GKeySlot(9, GKeyBank::B)), u"G9");
}

TEST(KeyCodec, LoadedTextsNameMediaFunctionAndUnknownKeys) {
    KeyCodec codec;
    KeyTexts texts;
    texts.unknownKey = u"?%X?";
    texts.mediaNames[1] = u"Play/Pause";
    texts.mediaNames[2] = u"";
    texts.functionNames[8] = u"All";
    codec.SetTexts(texts);
    EXPECT_EQ(codec.KeyNameOf(0x122), u"Play/Pause");
    EXPECT_EQ(codec.MediaKeyName(1), u"Play/Pause");
    EXPECT_EQ(codec.KeyNameOf(0x124), u"?124?");  // an empty media name counts as none
    EXPECT_EQ(codec.KeyNameOf(0x0AA), u"?AA?");
    EXPECT_EQ(codec.FunctionKeyName(8), u"All");
    EXPECT_EQ(codec.FunctionKeyName(0), u"Open");
    EXPECT_EQ(codec.FunctionKeyName(9), u"");
    EXPECT_EQ(codec.MediaKeyName(18), u"");
    EXPECT_EQ(codec.MediaKeyName(-1), u"");
}

TEST(KeyCodec, KeyNamesAreCutToTheNameBuffer) {
    KeyCodec codec;
    KeyTexts texts;
    texts.mediaNames[0] = std::u16string(400, u'x');
    codec.SetTexts(texts);
    EXPECT_EQ(codec.KeyNameOf(0x16D).size(), kKeyNameCapacity - 1);
}

TEST(KeyCodec, FormatWithNumberFillsOnlyOneIntegerConversion) {
    struct Case {
        std::u16string format;
        unsigned value;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"Unknown Key: %03x", 0xAA, u"Unknown Key: 0aa"},
        {u"%d%%", 42, u"42%"},
        {u"%s %03x", 0x1F, u"%s 01f"},       // a text conversion is never fed the number
        {u"%x and %x", 0x1F, u"1f and %x"},  // a second conversion has no argument
        {u"%lu", 7, u"7"},
        {u"%999d", 7, u"%999d"},
        {u"trailing %", 7, u"trailing %"},
        {u"%-4X|", 0xB, u"B   |"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatWithNumber(c.format, c.value), c.expected);
    }
}

TEST(KeyCodec, ReplacedDefaultTableIsUsedFromThenOn) {
    KeyCodec codec;
    EXPECT_EQ(codec.DefaultKeyTable(), kBuiltInDefaultKeyTable);
    EXPECT_EQ(codec.ScanOfPosition(8), 0x001);
    KeyTableBytes table = kBuiltInDefaultKeyTable;
    table[8 * 3 + 2] = 0x04;  // position 8 becomes A
    codec.ReplaceDefaultKeyTable(table);
    EXPECT_EQ(codec.DefaultCodeAt(8), (DeviceKeyCode{0x02, 0x02, 0x04}));
    EXPECT_EQ(codec.ScanOfPosition(8), 0x01E);
    EXPECT_EQ(codec.DefaultCodeAt(126), DeviceKeyCode{});
    EXPECT_EQ(codec.DefaultCodeAt(-1), DeviceKeyCode{});
}

// Every position of the factory table that names a key decodes to an assignable or media key, and
// the codes that key entries produce for that key give back the position's own three bytes.
TEST(KeyCodec, DefaultTableDecodesAndEncodesBackToItself) {
    KeyCodec codec;
    int namedPositions = 0;
    for (int k = 0; k < kMatrixPositions; ++k) {
        const DeviceKeyCode code = codec.DefaultCodeAt(k);
        const ScanCode sc = codec.ScanOfPosition(k);
        if (sc == 0) {
            EXPECT_TRUE(code.b0 == 0x00 || code.b0 == 0x05) << k;
            continue;
        }
        ++namedPositions;
        if (code.b0 != 0x03) {
            EXPECT_LT(ListPositionOfScan(sc), kAssignableKeys) << k;
        }
        KeyEntry entry;
        EXPECT_EQ(EncodeKeyEntry(entry, code, 0), code) << k;
        if (code.b0 == 0x03) {
            entry.type = kEntryMedia;
            entry.value = static_cast<std::uint32_t>(MediaIndexOfScan(sc));
        } else {
            entry.type = kEntryKey;
            entry.value = sc;
        }
        EXPECT_EQ(EncodeKeyEntry(entry, DeviceKeyCode{}, 0), code) << k;
    }
    EXPECT_EQ(namedPositions, 100);  // 6 internal, 1 stop-macro, 19 empty
    EXPECT_EQ(codec.ScanOfPosition(54), 0x00D);
    EXPECT_EQ(codec.ScanOfPosition(105), 0x00D);
    EXPECT_EQ(codec.ScanOfPosition(112), 0x110);
    EXPECT_EQ(codec.ScanOfPosition(53), 0);
}

}  // namespace
}  // namespace korvel
