#include <gtest/gtest.h>

#include "model/macros/macro_record.h"

namespace korvel {
namespace {

std::vector<std::uint8_t> Stored(const MacroRecord& record) {
    ByteWriter writer;
    WriteMacroRecord(writer, record);
    return writer.Take();
}

TEST(MacroRecord, StoredLayoutAndReadBack) {
    MacroRecord record;
    record.name = u"Macro1";
    record.loopCount = 3;
    record.isNew = 1;
    record.macroId = 42;
    record.actions = {{120, 0x01E, kMacroPress}, {40000, 0x15B, kMacroRelease}};
    const std::vector<std::uint8_t> b = Stored(record);
    ASSERT_EQ(b.size(), 16512u);
    EXPECT_EQ(b[0], 'M');
    EXPECT_EQ(b[10], '1');
    EXPECT_EQ(b[12], 0);
    EXPECT_EQ(b[500], 3);
    EXPECT_EQ(b[502], 1);
    EXPECT_EQ(b[506], 42);
    EXPECT_EQ(b[508], 2);
    EXPECT_EQ(b[512], 120);
    EXPECT_EQ(b[516], 0x1E);
    EXPECT_EQ(b[520 + 4], 0x5B);
    EXPECT_EQ(b[520 + 5], 0x01);
    EXPECT_EQ(b[520 + 6], 1);

    MacroRecord back;
    ByteReader reader(b);
    ASSERT_TRUE(ReadMacroRecord(reader, back));
    EXPECT_EQ(back, record);
    EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(MacroRecord, OverlongNamesAreCutToTheStoredField) {
    MacroRecord record;
    record.name = std::u16string(300, u'n');
    MacroRecord back;
    const std::vector<std::uint8_t> b = Stored(record);
    ByteReader reader(b);
    ASSERT_TRUE(ReadMacroRecord(reader, back));
    EXPECT_EQ(back.name.size(), 249u);
}

TEST(MacroRecord, DamagedRecordsAreRefused) {
    MacroRecord record;
    record.name = u"x";
    std::vector<std::uint8_t> b = Stored(record);
    b[508] = 0xD1;  // 2001 actions
    b[509] = 0x07;
    MacroRecord untouched;
    untouched.name = u"keep";
    ByteReader tooMany(b);
    EXPECT_FALSE(ReadMacroRecord(tooMany, untouched));
    b.resize(16511);
    ByteReader tooShort(b);
    EXPECT_FALSE(ReadMacroRecord(tooShort, untouched));
    EXPECT_EQ(untouched.name, u"keep");
}

TEST(MacroRecord, LowestFreeId) {
    auto list = [](std::initializer_list<int> ids) {
        std::vector<MacroRecord> records;
        for (int id : ids) {
            records.push_back(MacroRecord{});
            records.back().macroId = static_cast<std::uint16_t>(id);
        }
        return records;
    };
    EXPECT_EQ(LowestFreeMacroId(list({})), 1);
    EXPECT_EQ(LowestFreeMacroId(list({1, 2, 4})), 3);
    EXPECT_EQ(LowestFreeMacroId(list({2, 0, 150})), 1);
    std::vector<MacroRecord> full;
    for (int id = 100; id >= 1; --id) {
        full.push_back(MacroRecord{});
        full.back().macroId = static_cast<std::uint16_t>(id);
    }
    EXPECT_EQ(LowestFreeMacroId(full), 0);
}

}  // namespace
}  // namespace korvel
