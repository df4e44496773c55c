#include <gtest/gtest.h>

#include "model/keys/key_table_codec.h"
#include "model/macros/macro_blob.h"
#include "support/keyboard_fixture.h"

namespace korvel::test {
namespace {

DeviceKeyCode CodeAt(const KeyTableBytes& table, int position) {
    return KeyCodeAt(table, position);
}

int PositionOf(ScanCode sc) {
    const KeyCodec codec;
    for (int k = 0; k < kMatrixPositions; ++k) {
        if (codec.ScanOfPosition(k) == sc) {
            return k;
        }
    }
    return -1;
}

class Download : public KeyboardFixture {
protected:
    // Every table of the keyboard starts as zeros, so that a table the download left out shows.
    void BlankKeyboardTables() {
        auto memory = keyboard.Memory();
        memory.keyTables.fill(0);
        keyboard.SetMemory(memory);
    }
};

TEST_F(Download, AllDefaultEntriesSendTheDefaultTable) {
    BlankKeyboardTables();
    EXPECT_EQ(Apply(true), 1);
    for (int p = 0; p < kOnboardProfiles; ++p) {
        EXPECT_EQ(KeyboardTable(p), kBuiltInDefaultKeyTable) << "profile " << p;
    }
    EXPECT_TRUE(prompts.Shown().empty());
    // begin, one macro-area report (the empty 16-byte area), 3 x 7 key-table reports, end
    EXPECT_EQ(keyboard.Received().size(), 1u + 1u + 21u + 1u);
    EXPECT_EQ(keyboard.Received().front().Command(), CMD_BEGIN);
    EXPECT_EQ(keyboard.Received().back().Command(), CMD_END);
    const auto macroArea = keyboard.Memory().macroArea;
    EXPECT_EQ(std::vector<std::uint8_t>(macroArea.begin(), macroArea.begin() + 8),
              (std::vector<std::uint8_t>{0xAA, 0x55, 16, 0, 0, 0, 1, 0}));
}

struct WireCase {
    const char* what;
    ScanCode key;
    KeyEntry entry;
    DeviceKeyCode expected;
    bool expectDefault = false;
};

TEST_F(Download, EachEntrySendsItsCode) {
    store.EditingConfig().SetMacros(
        {TwoActionMacro(4, u"a"), TwoActionMacro(9, u"b"), TwoActionMacro(2, u"c")});
    const WireCase cases[] = {
        {"second right shift code is a plain key",
         0x00D,
         {kEntryKey, 0, 0x136},
         {0x02, 0x02, 0xE5}},
        {"right shift is a modifier", 0x01E, {kEntryKey, 0, 0x036}, {0x02, 0x01, 0x20}},
        {"media target has no keyboard usage", 0x030, {kEntryKey, 0, 0x122}, {0x02, 0x02, 0x00}},
        {"third macro of the list", 0x01F, {kEntryMacro, 0, 2}, {0x05, 0x01, 0x02}},
        {"missing macro id", 0x020, {kEntryMacro, 0, 77}, {0x05, 0x01, 0x00}},
        {"media index 0", 0x021, {kEntryMedia, 0, 0}, {0x03, 0x83, 0x01}},
        {"media index 1", 0x022, {kEntryMedia, 0, 1}, {0x03, 0xCD, 0x00}},
        {"program launch keeps the default", 0x023, {kEntryLaunch, 0, 0}, {}, true},
        {"text block is silent", 0x024, {kEntryText, 0, 0}, {0x00, 0x00, 0x00}},
        {"disabled", 0x025, {kEntryDisabled, 0, 0}, {0x00, 0x00, 0x00}},
        {"stop macro", 0x026, {kEntryStopMacro, 0, 0}, {0x05, 0x02, 0x00}},
        {"function", 0x010, {kEntryFunction, 0, 3}, {0x05, 0x05, 0x03}},
        {"unknown type from a damaged file", 0x011, {12, 0, 5}, {}, true},
        {"media index out of range", 0x012, {kEntryMedia, 0, 18}, {}, true},
    };
    for (const WireCase& c : cases) {
        Editing(1, c.key) = c.entry;
    }
    store.EditingConfig().Strings().SetText(GlobalEntryIndex(1, SlotOfScan(0x023)), u"calc.exe");
    store.EditingConfig().Strings().SetText(GlobalEntryIndex(1, SlotOfScan(0x024)), u"hello");
    ASSERT_EQ(Apply(true), 1);
    const KeyTableBytes table = KeyboardTable(1);
    for (const WireCase& c : cases) {
        const int position = PositionOf(c.key);
        ASSERT_GE(position, 0) << c.what;
        const DeviceKeyCode expected =
            c.expectDefault ? CodeAt(kBuiltInDefaultKeyTable, position) : c.expected;
        EXPECT_EQ(CodeAt(table, position), expected) << c.what;
    }
    // The key of positions 54 and 105 moves as one.
    EXPECT_EQ(CodeAt(table, 54), (DeviceKeyCode{0x02, 0x02, 0xE5}));
    EXPECT_EQ(CodeAt(table, 105), (DeviceKeyCode{0x02, 0x02, 0xE5}));
    // Only block 1 was changed.
    EXPECT_EQ(KeyboardTable(0), kBuiltInDefaultKeyTable);
    EXPECT_EQ(KeyboardTable(2), kBuiltInDefaultKeyTable);
}

TEST_F(Download, OneProfileSendsOnlyTheActiveOnesTable) {
    auto memory = keyboard.Memory();
    memory.info[kInfoActiveProfileOffset] = 2;
    keyboard.SetMemory(memory);
    BlankKeyboardTables();
    ASSERT_EQ(Apply(false), 1);
    const auto writes = ReceivedWith(CMD_WRITE_KEYTABLE);
    ASSERT_EQ(writes.size(), 7u);
    EXPECT_EQ(writes.front().Address(), 2 * kKeyTableBytes);
    EXPECT_EQ(KeyboardTable(2), kBuiltInDefaultKeyTable);
    EXPECT_EQ(KeyboardTable(0), KeyTableBytes{});
    EXPECT_EQ(KeyboardTable(1), KeyTableBytes{});

    ASSERT_EQ(Apply(true), 1);
    const auto allWrites = ReceivedWith(CMD_WRITE_KEYTABLE);
    ASSERT_EQ(allWrites.size(), 21u);
    EXPECT_EQ(allWrites[0].Address(), 0);
    EXPECT_EQ(allWrites[7].Address(), kKeyTableBytes);
    EXPECT_EQ(allWrites[14].Address(), 2 * kKeyTableBytes);
}

TEST_F(Download, OneProfileWithTheActiveProfileUnknownSendsNothing) {
    keyboard.SilenceReplies(-1);
    EXPECT_EQ(Apply(false), 0);
    EXPECT_TRUE(ReceivedWith(CMD_BEGIN).empty());
    EXPECT_TRUE(ReceivedWith(CMD_WRITE_MACROS).empty());
    EXPECT_TRUE(ReceivedWith(CMD_WRITE_KEYTABLE).empty());
}

struct CapacityCase {
    const char* what;
    int capacity;
    int result;
    bool sent;
    std::uint16_t namesFlag;
    std::vector<std::u16string> messages;
};

TEST_F(Download, MacroCapacityRule) {
    // One macro, six-character name, two actions: 42 bytes with the name, 30 without.
    store.EditingConfig().SetMacros({TwoActionMacro(1, u"Abcdef")});
    const CapacityCase cases[] = {
        {"full size fits exactly", 42, 1, true, 1, {}},
        {"only the bare size fits", 41, 1, true, 0, {u"localised: names dropped"}},
        {"bare size equals the capacity", 30, 1, true, 0, {u"localised: names dropped"}},
        {"too big even without names",
         29,
         0,
         false,
         0,
         {std::u16string(kMacroSpaceExceededMessage)}},
    };
    for (const CapacityCase& c : cases) {
        ScriptedPrompts fresh;
        DownloadParts caseParts{store, link, keyCodec, fresh, Texts()};
        DownloadReport report;
        link.SetMacroCapacity(c.capacity);
        auto memory = keyboard.Memory();
        std::fill(memory.macroArea.begin(), memory.macroArea.end(), 0xEE);
        keyboard.SetMemory(memory);
        keyboard.ClearReceived();
        EXPECT_EQ(StageAndDownload(caseParts, true, &report), c.result) << c.what;
        std::vector<std::u16string> shown;
        for (const auto& prompt : fresh.Shown()) {
            shown.push_back(prompt.text);
        }
        EXPECT_EQ(shown, c.messages) << c.what;
        if (!c.sent) {
            EXPECT_TRUE(keyboard.Received().empty()) << c.what;
            EXPECT_EQ(keyboard.Memory().macroArea[0], 0xEE) << c.what;
            continue;
        }
        const auto area = keyboard.Memory().macroArea;
        const int size = area[2] | area[3] << 8;
        EXPECT_EQ(size, c.namesFlag ? 42 : 30) << c.what;
        EXPECT_EQ(area[6], c.namesFlag) << c.what;
        EXPECT_EQ(report.macroAreaBytes, static_cast<std::uint32_t>(size));
    }
}

TEST_F(Download, AFailingCommandDoesNotStopTheSequenceButTheLastTableDecides) {
    // begin, macro area, 14 reports of the first two tables go through; the third table fails.
    keyboard.AnswerWithStatus(0xFF, 1, 1 + 1 + 14);
    keyboard.ClearReceived();
    DownloadReport report;
    EXPECT_EQ(StageAndDownload(parts, true, &report), 0);
    EXPECT_EQ(ReceivedWith(CMD_END).size(), 1u);
    EXPECT_EQ(report.profilesWritten, 2);

    // A failing begin does not matter when the tables are taken.
    keyboard.AnswerWithStatus(0xFF, 1, 0);
    EXPECT_EQ(Apply(true), 1);
}

TEST_F(Download, UsesTheDefaultTableCurrentAtTheTime) {
    KeyTableBytes table = kBuiltInDefaultKeyTable;
    // Position 54 now plays the macro stop code, which belongs to no key: it keeps its code.
    table[3 * 54] = 0x05;
    table[3 * 54 + 1] = 0x02;
    table[3 * 54 + 2] = 0x00;
    keyCodec.ReplaceDefaultKeyTable(table);
    Editing(0, 0x00D) = {kEntryDisabled, 0, 0};
    ASSERT_EQ(Apply(true), 1);
    EXPECT_EQ(CodeAt(KeyboardTable(0), 54), (DeviceKeyCode{0x05, 0x02, 0x00}));
    EXPECT_EQ(CodeAt(KeyboardTable(0), 105), (DeviceKeyCode{0x00, 0x00, 0x00}));
}

TEST(DecodeKeyTable, TheDefaultTableGivesAFreshBlock) {
    ProfileBlock block;
    block.fill(KeyEntry{3, 3, 3, 3, 3});
    DecodeKeyTable(kBuiltInDefaultKeyTable, block, kBuiltInDefaultKeyTable);
    EXPECT_EQ(block, FreshProfileBlock());
}

struct DecodeCase {
    DeviceKeyCode code;
    KeyEntry expected;
};

TEST(DecodeKeyTable, EachCodeGivesItsAssignment) {
    const DecodeCase cases[] = {
        {{0x05, 0x01, 0x00}, {kEntryMacro, 0, 1}},     {{0x05, 0x01, 0x07}, {kEntryMacro, 0, 8}},
        {{0x05, 0x02, 0x33}, {kEntryStopMacro, 0, 0}}, {{0x05, 0x05, 0x04}, {kEntryFunction, 0, 4}},
        {{0x05, 0x09, 0x04}, {kEntryDisabled, 0, 0}},  {{0x03, 0xCD, 0x00}, {kEntryMedia, 0, 1}},
        {{0x03, 0x83, 0x01}, {kEntryMedia, 0, 0}},     {{0x03, 0x34, 0x12}, {kEntryDisabled, 0, 0}},
        {{0x02, 0x02, 0x05}, {kEntryKey, 0, 0x030}},   {{0x02, 0x02, 0xE5}, {kEntryKey, 0, 0x036}},
        {{0x02, 0x02, 0x00}, {kEntryDisabled, 0, 0}},  {{0x02, 0x01, 0x20}, {kEntryKey, 0, 0x036}},
        {{0x02, 0x01, 0x00}, {kEntryDisabled, 0, 0}},  {{0x02, 0x07, 0x04}, {kEntryDisabled, 0, 0}},
        {{0x02, 0x02, 0xCD}, {kEntryDisabled, 0, 0}},  // not a key sent as a keyboard code
        {{0x00, 0x00, 0x00}, {kEntryDisabled, 0, 0}},  {{0x01, 0x10, 0x00}, {kEntryDisabled, 0, 0}},
        {{0x04, 0x10, 0x00}, {kEntryDisabled, 0, 0}},
    };
    const int position = PositionOf(0x01E);
    for (const DecodeCase& c : cases) {
        KeyTableBytes table = kBuiltInDefaultKeyTable;
        table[static_cast<std::size_t>(3 * position)] = c.code.b0;
        table[static_cast<std::size_t>(3 * position + 1)] = c.code.b1;
        table[static_cast<std::size_t>(3 * position + 2)] = c.code.b2;
        ProfileBlock block{};
        DecodeKeyTable(table, block, kBuiltInDefaultKeyTable);
        ProfileBlock expected = FreshProfileBlock();
        expected[SlotOfScan(0x01E)] = c.expected;
        EXPECT_EQ(block, expected)
            << int(c.code.b0) << ' ' << int(c.code.b1) << ' ' << int(c.code.b2);
    }
}

TEST(DecodeKeyTable, EncodedTablesComeBackAsTheSameEntries) {
    ProfileBlock block = FreshProfileBlock();
    block[SlotOfScan(0x01E)] = {kEntryKey, 0, 0x030};
    block[SlotOfScan(0x01D)] = {kEntryKey, 0, 0x038};
    block[SlotOfScan(0x02C)] = {kEntryMedia, 0, 17};
    block[SlotOfScan(0x02D)] = {kEntryFunction, 0, 8};
    block[SlotOfScan(0x02E)] = {kEntryMacro, 0, 3};
    block[SlotOfScan(0x02F)] = {kEntryDisabled, 0, 0};
    block[SlotOfScan(0x00D)] = {kEntryStopMacro, 0, 0};
    const KeyTableBytes table = EncodeKeyTable(
        block, kBuiltInDefaultKeyTable, [](std::uint16_t id) { return std::uint16_t(id - 1); });
    ProfileBlock decoded{};
    DecodeKeyTable(table, decoded, kBuiltInDefaultKeyTable);
    EXPECT_EQ(decoded, block);
}

}  // namespace
}  // namespace korvel::test
