#include <gtest/gtest.h>

#include <random>

#include "model/macros/macro_blob.h"

namespace korvel {
namespace {

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

MacroRecord PressAndReleaseA(std::u16string name) {
    MacroRecord record;
    record.name = std::move(name);
    record.loopCount = 1;
    record.macroId = 1;
    record.actions = {{120, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}};
    return record;
}

TEST(MacroBlob, NoMacrosIsAHeaderOnly) {
    const BlobForm form = ChooseBlobForm(MeasureMacros({}), 8192);
    EXPECT_EQ(form.outcome, BlobFormOutcome::WithNames);
    ASSERT_EQ(form.size, 16);
    const auto blob = BuildMacroBlob(std::span<const MacroRecord>{}, form.size, form.withNames);
    ASSERT_TRUE(blob);
    const std::vector<std::uint8_t> expected = {0xAA, 0x55, 16, 0, 0, 0, 1, 0,
                                                0,    0,    0,  0, 0, 0, 0, 0};
    EXPECT_EQ(*blob, expected);
    EXPECT_TRUE(ParseMacroBlob(*blob, u"Macro").records.empty());
}

TEST(MacroBlob, OneNamedMacroWithAndWithoutNames) {
    const std::vector<MacroRecord> macros = {PressAndReleaseA(u"Hello!")};
    EXPECT_EQ(MeasureMacros(macros), (MacroBlobSizes{42, 30}));

    const auto full = BuildMacroBlob(macros, 42, true);
    ASSERT_TRUE(full);
    ASSERT_EQ(full->size(), 42u);
    EXPECT_EQ(U16At(*full, 2), 42);
    EXPECT_EQ(U16At(*full, 4), 1);
    EXPECT_EQ(U16At(*full, 6), 1);
    EXPECT_EQ(U16At(*full, 16), 18);  // the only entry follows the offset table
    EXPECT_EQ(U16At(*full, 18), 2);   // action count
    EXPECT_EQ((*full)[20], 1);        // loop count
    EXPECT_EQ((*full)[21], 6);        // name length
    EXPECT_EQ(U16At(*full, 22), 0xA00C);
    EXPECT_EQ((*full)[24], 2);
    EXPECT_EQ((*full)[25], 0x04);
    EXPECT_EQ(U16At(*full, 26), 0x2000);
    EXPECT_EQ(U16At(*full, 30), u'H');
    EXPECT_EQ(U16At(*full, 40), u'!');

    const auto bare = BuildMacroBlob(macros, 30, false);
    ASSERT_TRUE(bare);
    ASSERT_EQ(bare->size(), 30u);
    EXPECT_EQ(U16At(*bare, 2), 30);
    EXPECT_EQ(U16At(*bare, 6), 0);
    EXPECT_EQ((*bare)[21], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(bare->begin() + 22, bare->end()),
              std::vector<std::uint8_t>(full->begin() + 22, full->begin() + 30));
}

TEST(MacroBlob, CapacityRule) {
    struct Case {
        MacroBlobSizes sizes;
        std::uint32_t capacity;
        BlobFormOutcome outcome;
        std::uint16_t size;
    };
    const Case cases[] = {
        {{42, 30}, 42, BlobFormOutcome::WithNames, 42},  // exactly the full size keeps the names
        {{42, 30}, 8192, BlobFormOutcome::WithNames, 42},
        {{42, 30}, 41, BlobFormOutcome::WithoutNames, 30},
        {{42, 30}, 30, BlobFormOutcome::WithoutNames, 30},
        {{42, 30}, 29, BlobFormOutcome::Refused, 0},
        {{42, 30}, 0, BlobFormOutcome::Refused, 0},
        // The area's size field has 16 bits, whatever the capacity says.
        {{70000, 66000}, 100000, BlobFormOutcome::Refused, 0},
        {{70000, 60000 - 1}, 100000, BlobFormOutcome::WithoutNames, 59999},
    };
    for (const Case& c : cases) {
        const BlobForm form = ChooseBlobForm(c.sizes, c.capacity);
        EXPECT_EQ(form.outcome, c.outcome) << c.capacity;
        EXPECT_EQ(form.size, c.size) << c.capacity;
        EXPECT_EQ(form.withNames, c.outcome == BlobFormOutcome::WithNames);
        switch (c.outcome) {
            case BlobFormOutcome::WithNames:
                EXPECT_TRUE(form.message.empty());
                break;
            case BlobFormOutcome::WithoutNames:
                EXPECT_EQ(form.messageKey, "EXTRA_PROFILE_SPACE_TIGHT");
                EXPECT_EQ(form.message,
                          u"shortage of hardware space, cancelled the macro name of storage.");
                break;
            case BlobFormOutcome::Refused:
                EXPECT_TRUE(form.messageKey.empty());
                EXPECT_EQ(form.message.substr(0, 39), u"Macro space exceeds the hardware space.");
                break;
        }
    }
}

TEST(MacroBlob, ChooseAndBuildFromTheHolder) {
    ConfigStore store;
    ActiveHolder& active = store.ActiveConfig();
    active.SetMacros({PressAndReleaseA(u"Hello!")});
    EXPECT_EQ(MeasureMacroBlob(active), (MacroBlobSizes{42, 30}));
    const BlobForm form = ChooseBlobForm(active, 40);
    EXPECT_EQ(form.outcome, BlobFormOutcome::WithoutNames);
    const auto blob = BuildMacroBlob(active, form.size, form.withNames);
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->size(), 30u);
}

TEST(MacroBlob, ActionEncodingByKeyKind) {
    struct Case {
        MacroAction action;
        std::uint16_t word;
        std::uint8_t byte2;
        std::uint8_t byte3;
        MacroAction readBack;
    };
    const Case cases[] = {
        {{0, 0x02A, kMacroPress}, 0xA000, 0x01, 0x02, {0, 0x02A, kMacroPress}},      // Left Shift
        {{0, 0x15C, kMacroRelease}, 0x2000, 0x01, 0x80, {0, 0x15C, kMacroRelease}},  // Right Win
        {{0, 0x136, kMacroPress}, 0xA000, 0x02, 0xE5, {0, 0x036, kMacroPress}},      // plain code
        {{15, 0x01E, kMacroPress}, 0xA001, 0x02, 0x04, {10, 0x01E, kMacroPress}},
        {{9, 0x01E, kMacroPress}, 0xA000, 0x02, 0x04, {0, 0x01E, kMacroPress}},
        {{40000, 0x01E, kMacroPress}, 0xA000 | 4000, 0x02, 0x04, {40000, 0x01E, kMacroPress}},
        // Too long for the 12-bit field: the longest delay rather than a wrapped short one.
        {{50000, 0x01E, kMacroPress}, 0xAFFF, 0x02, 0x04, {40950, 0x01E, kMacroPress}},
        {{0, 0x122, kMacroPress}, 0xB000, 0xCD, 0x00, {0, 0x122, kMacroPress}},  // media
        {{0, 0x16D, kMacroPress}, 0xB000, 0x83, 0x01, {0, 0x16D, kMacroPress}},
        {{0, 0x15E, kMacroRelease}, 0x4000, 0x81, 0x00, {0, 0x15E, kMacroRelease}},  // system
        {{0, 0x0AA, kMacroPress}, 0x8000, 0x00, 0x00, {0, 0x000, kMacroPress}},      // no code
    };
    for (const Case& c : cases) {
        MacroRecord record;
        record.actions = {c.action};
        const auto blob = BuildMacroBlob(std::vector<MacroRecord>{record}, 26, false);
        ASSERT_TRUE(blob);
        EXPECT_EQ(U16At(*blob, 22), c.word) << c.action.key;
        EXPECT_EQ((*blob)[24], c.byte2) << c.action.key;
        EXPECT_EQ((*blob)[25], c.byte3) << c.action.key;
        const ParsedMacroArea area = ParseMacroBlob(*blob, u"Macro");
        ASSERT_EQ(area.records.size(), 1u);
        EXPECT_FALSE(area.damaged);
        EXPECT_EQ(area.records[0].actions, std::vector<MacroAction>{c.readBack}) << c.action.key;
    }
}

TEST(MacroBlob, BuildRefusesASizeTooSmallAndPadsALargerOne) {
    const std::vector<MacroRecord> macros = {PressAndReleaseA(u"Hello!")};
    EXPECT_FALSE(BuildMacroBlob(macros, 41, true));
    EXPECT_FALSE(BuildMacroBlob(macros, 29, false));
    const auto padded = BuildMacroBlob(macros, 64, true);
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->size(), 64u);
    EXPECT_EQ(U16At(*padded, 2), 64);
    EXPECT_EQ(ParseMacroBlob(*padded, u"M").records[0].name, u"Hello!");
}

TEST(MacroBlob, ReadBackGivesRecordsInAreaOrder) {
    std::vector<MacroRecord> macros = {PressAndReleaseA(u"First"), PressAndReleaseA(u"Second"),
                                       PressAndReleaseA(u"")};
    macros[0].macroId = 7;
    macros[1].loopCount = 5;
    macros[1].isNew = 1;
    const MacroBlobSizes sizes = MeasureMacros(macros);
    for (bool withNames : {true, false}) {
        const std::uint16_t size =
            static_cast<std::uint16_t>(withNames ? sizes.fullSize : sizes.bareSize);
        const auto blob = BuildMacroBlob(macros, size, withNames);
        ASSERT_TRUE(blob);
        const ParsedMacroArea area = ParseMacroBlob(*blob, u"Macro");
        EXPECT_FALSE(area.damaged);
        ASSERT_EQ(area.records.size(), 3u);
        const std::u16string names[2][3] = {{u"Macro1", u"Macro2", u"Macro3"},
                                            {u"First", u"Second", u"Macro3"}};
        for (std::size_t i = 0; i < 3; ++i) {
            const MacroRecord& r = area.records[i];
            EXPECT_EQ(r.macroId, i + 1);
            EXPECT_EQ(r.isNew, 0);
            EXPECT_EQ(r.playMode, 0);
            EXPECT_EQ(r.loopCount, macros[i].loopCount);
            EXPECT_EQ(r.actions, macros[i].actions);
            EXPECT_EQ(r.name, names[withNames][i]);
        }
    }
}

TEST(MacroBlob, ForeignAreaHoldsNoMacros) {
    EXPECT_TRUE(ParseMacroBlob({}, u"Macro").records.empty());
    const std::vector<std::uint8_t> foreign = {0x55, 0xAA, 16, 0, 1, 0, 0, 0,  0,
                                               0,    0,    0,  0, 0, 0, 0, 18, 0};
    const ParsedMacroArea area = ParseMacroBlob(foreign, u"Macro");
    EXPECT_TRUE(area.records.empty());
    EXPECT_FALSE(area.damaged);
}

// Each prefix is copied into a buffer of exactly that size, so a read past it would be a read
// past the allocation.
TEST(MacroBlob, TruncatedAreasAreReadOnlyAsFarAsTheyGo) {
    const std::vector<MacroRecord> macros = {PressAndReleaseA(u"Hello!"), PressAndReleaseA(u"Two")};
    const auto blob =
        BuildMacroBlob(macros, static_cast<std::uint16_t>(MeasureMacros(macros).fullSize), true);
    ASSERT_TRUE(blob);
    for (std::size_t length = 0; length < blob->size(); ++length) {
        const std::vector<std::uint8_t> prefix(blob->begin(),
                                               blob->begin() + static_cast<long>(length));
        const ParsedMacroArea area = ParseMacroBlob(prefix, u"Macro");
        EXPECT_LE(area.records.size(), 2u);
        EXPECT_EQ(area.damaged, length >= 2) << length;
        for (std::size_t i = 0; i < area.records.size(); ++i) {
            EXPECT_EQ(area.records[i].macroId, i + 1);
            EXPECT_LE(area.records[i].actions.size(), 2u);
        }
    }
}

TEST(MacroBlob, DamagedAreasAreBoundedByTheirSize) {
    const std::vector<MacroRecord> macros = {PressAndReleaseA(u"Hello!"), PressAndReleaseA(u"Two")};
    const std::vector<std::uint8_t> good =
        *BuildMacroBlob(macros, static_cast<std::uint16_t>(MeasureMacros(macros).fullSize), true);
    // Entry 0 lies at 20, entry 1 at 20 + 4 + 8 + 12 = 44.
    struct Case {
        const char* what;
        std::size_t at;
        std::vector<std::uint8_t> bytes;
        std::size_t records;
        std::u16string firstName;
        std::size_t firstActions;
    };
    const Case cases[] = {
        {"offset past the end", 16, {0xFF, 0xFF}, 2, u"Macro1", 0},
        {"offset at the very end",
         16,
         {static_cast<std::uint8_t>(good.size()), 0},
         2,
         u"Macro1",
         0},
        {"huge action count", 20, {0xFF, 0xFF}, 2, u"Macro1", 9},  // what the 38 bytes hold
        {"name runs past the end", 45 + 2, {0xFF}, 2, u"Hello!", 2},
        {"macro count beyond the offsets", 4, {0xFF, 0xFF}, 23, u"Hello!", 2},  // (62-16)/2
        {"size field smaller than the area", 2, {30, 0}, 2, u"Macro1", 1},
        {"size field larger than the area", 2, {0xFF, 0xFF}, 2, u"Hello!", 2},
        {"size field below the header", 2, {4, 0}, 0, u"", 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> damaged = good;
        std::copy(c.bytes.begin(), c.bytes.end(), damaged.begin() + static_cast<long>(c.at));
        const ParsedMacroArea area = ParseMacroBlob(damaged, u"Macro");
        EXPECT_TRUE(area.damaged) << c.what;
        ASSERT_EQ(area.records.size(), c.records) << c.what;
        if (c.records > 0) {
            EXPECT_EQ(area.records[0].name, c.firstName) << c.what;
            EXPECT_EQ(area.records[0].actions.size(), c.firstActions) << c.what;
        }
    }
}

TEST(MacroBlob, RandomlyDamagedAreasStayWithinLimits) {
    std::vector<MacroRecord> macros = {PressAndReleaseA(u"Hello!"), PressAndReleaseA(u"Two"),
                                       PressAndReleaseA(u"")};
    const std::vector<std::uint8_t> good =
        *BuildMacroBlob(macros, static_cast<std::uint16_t>(MeasureMacros(macros).fullSize), true);
    std::mt19937 random(2024);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> damaged = good;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int c = 0; c < changes; ++c) {
            damaged[2 + random() % (damaged.size() - 2)] = static_cast<std::uint8_t>(random());
        }
        damaged.resize(random() % (damaged.size() + 1));
        const ParsedMacroArea area = ParseMacroBlob(damaged, u"Macro");
        ASSERT_LE(area.records.size(), static_cast<std::size_t>(kMaxMacros));
        for (const MacroRecord& r : area.records) {
            ASSERT_LE(r.actions.size(), static_cast<std::size_t>(kMaxMacroActions));
            ASSERT_LE(r.name.size(), 249u);
        }
    }
}

TEST(MacroBlob, NoMoreThanAHundredMacrosAreTaken) {
    std::vector<std::uint8_t> area(16 + 2 * 150 + 4, 0);
    area[0] = 0xAA;
    area[1] = 0x55;
    area[2] = static_cast<std::uint8_t>(area.size() & 0xFF);
    area[3] = static_cast<std::uint8_t>(area.size() >> 8);
    area[4] = 150;
    for (int i = 0; i < 150; ++i) {
        area[16 + 2 * i] = static_cast<std::uint8_t>((16 + 300) & 0xFF);
        area[17 + 2 * i] = static_cast<std::uint8_t>((16 + 300) >> 8);
    }
    const ParsedMacroArea parsed = ParseMacroBlob(area, u"Macro");
    EXPECT_TRUE(parsed.damaged);
    ASSERT_EQ(parsed.records.size(), 100u);
    EXPECT_EQ(parsed.records[99].name, u"Macro100");
}

}  // namespace
}  // namespace korvel
