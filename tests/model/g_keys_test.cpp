#include <gtest/gtest.h>

#include "model/image/config_image.h"
#include "model/keys/evdev_key_codes.h"
#include "model/keys/g_key_play.h"
#include "model/keys/g_keys_kept.h"

namespace korvel {
namespace {

TEST(GKeyCodes, EachCodeTheKeyboardSendsNamesItsGKeyAndNothingElseDoes) {
    for (int slot = kFirstGKeySlot; slot <= kLastGKeySlot; ++slot) {
        EXPECT_EQ(GKeySlotOfCode(GKeyCodeOfSlot(slot)), slot);
    }
    EXPECT_EQ(GKeySlotOfCode(0x0301), GKeySlot(1, GKeyBank::A));
    EXPECT_EQ(GKeySlotOfCode(0x1309), GKeySlot(9, GKeyBank::B));
    for (const std::uint16_t other : {0x0000, 0x0300, 0x030A, 0x0401, 0x1810, 0x1811, 0x1300}) {
        EXPECT_EQ(GKeySlotOfCode(other), 0) << std::hex << other;
    }
}

TEST(EvdevKeyCodes, EveryNamedKeyAndMediaKeyHasACodeThatLeadsBackToIt) {
    int named = 0;
    for (int slot = 0; slot < kKeySlots; ++slot) {
        const ScanCode sc = ScanOfSlot(static_cast<KeySlot>(slot));
        const KeyDescriptor& key = KeyDescriptorOf(static_cast<KeySlot>(slot));
        if (key.name.empty() && key.mediaIndex < 0) {
            continue;
        }
        if (const std::uint32_t code = EvdevCodeOfScan(sc); code != 0) {
            ++named;
            EXPECT_EQ(ScanOfEvdevCode(code), sc) << std::hex << sc;
        }
    }
    EXPECT_GE(named, 100);
    for (const MediaKey& media : MediaKeyTable()) {
        EXPECT_NE(EvdevCodeOfScan(media.scan), 0u) << media.languageKey;
    }
    // Pause and Num Lock swap their plain codes; A is its make code.
    EXPECT_EQ(EvdevCodeOfScan(0x045), 119u);
    EXPECT_EQ(EvdevCodeOfScan(0x145), 69u);
    EXPECT_EQ(EvdevCodeOfScan(0x01E), 30u);
}

constexpr ScanCode kB = 0x030, kH = 0x023, kI = 0x017;

MacroRecord Macro(std::uint16_t id, std::u16string name, std::vector<ScanCode> keys) {
    MacroRecord macro;
    macro.macroId = id;
    macro.name = std::move(name);
    macro.loopCount = 1;
    for (const ScanCode key : keys) {
        macro.actions.push_back({20, key, kMacroPress});
        macro.actions.push_back({20, key, kMacroRelease});
    }
    return macro;
}

KeyEntry& G(ConfigImage& image, int block, int n) {
    return image.blocks[static_cast<std::size_t>(block)]
                       [static_cast<std::size_t>(GKeySlot(n, GKeyBank::A))];
}

// What the keyboard gives back: the key tables' blocks with fresh G keys, macros numbered by
// their place in the area.
struct FromKeyboard {
    std::unique_ptr<ConfigImage> image = CreateDefaultImage(0);
    std::vector<MacroRecord> macros;
    FromKeyboard() {
        for (int block = 0; block < 3; ++block) {
            image->blocks[static_cast<std::size_t>(block)] = FreshProfileBlock();
        }
    }
};

TEST(GKeysKept, AReadBackOfTheKeyboardKeepsTheWorkingFilesGKeys) {
    auto working = CreateDefaultImage(0);
    const std::vector<MacroRecord> workingMacros = {Macro(5, u"hi", {kH, kI}), Macro(9, u"b", {kB}),
                                                    Macro(12, u"h", {kH})};
    G(*working, 0, 1) = {kEntryKey, 0x0301, kB};
    G(*working, 1, 2) = {kEntryMacro, 2, 5};   // at the same place on the keyboard
    G(*working, 2, 3) = {kEntryMacro, 3, 9};   // moved on the keyboard, found by name
    G(*working, 0, 4) = {kEntryMacro, 1, 12};  // not on the keyboard: added
    G(*working, 0, 5) = {kEntryText, 0x0305, 7};
    G(*working, 0, 6) = {kEntryMedia, 0x0306, 3};

    FromKeyboard read;
    read.macros = {Macro(1, u"hi", {kH, kI}), Macro(2, u"other", {kI}), Macro(3, u"b", {kB})};
    KeepGKeyAssignments(*working, workingMacros, *read.image, read.macros);

    EXPECT_EQ(G(*read.image, 0, 1), (KeyEntry{kEntryKey, 0x0301, kB}));
    EXPECT_EQ(G(*read.image, 1, 2), (KeyEntry{kEntryMacro, 2, 1}));
    EXPECT_EQ(G(*read.image, 2, 3), (KeyEntry{kEntryMacro, 3, 3}));
    ASSERT_EQ(read.macros.size(), 4u);
    EXPECT_EQ(read.macros[3].name, u"h");
    EXPECT_EQ(G(*read.image, 0, 4), (KeyEntry{kEntryMacro, 1, read.macros[3].macroId}));
    EXPECT_EQ(read.macros[3].macroId, 4);
    // A text has no pool to live in; an unassigned key keeps its code.
    EXPECT_EQ(G(*read.image, 0, 5), (KeyEntry{kEntryDefault, 0x0305, 0}));
    EXPECT_EQ(G(*read.image, 0, 6), (KeyEntry{kEntryMedia, 0x0306, 3}));
    EXPECT_EQ(G(*read.image, 1, 9), (KeyEntry{kEntryDefault, 0x0309, 0}));
}

TEST(GKeysKept, AMacroThatFindsNoRoomLeavesItsGKeyUnassigned) {
    auto working = CreateDefaultImage(0);
    const std::vector<MacroRecord> workingMacros = {Macro(1, u"h", {kH})};
    G(*working, 0, 1) = {kEntryMacro, 1, 1};
    FromKeyboard read;
    for (std::uint16_t id = 1; id <= kMaxMacros; ++id) {
        read.macros.push_back(Macro(id, u"b", {kB}));
    }
    KeepGKeyAssignments(*working, workingMacros, *read.image, read.macros);
    EXPECT_EQ(read.macros.size(), static_cast<std::size_t>(kMaxMacros));
    EXPECT_EQ(G(*read.image, 0, 1), (KeyEntry{kEntryDefault, 0x0301, 0}));
}

TEST(GKeyPlay, WhatEachAssignmentPlays) {
    ConfigStore store;
    CreateDefaultConfig(store, {}, 0, true);
    auto& editing = store.EditingConfig();
    editing.Macros() = {Macro(4, u"hi", {kH, kI})};
    editing.Macros()[0].loopCount = 3;
    ConfigImage& image = *editing.Image();
    G(image, 1, 1) = {kEntryKey, 0x0301, kB};
    G(image, 1, 2) = {kEntryFunction, 0x0302, 8};  // Select All
    G(image, 1, 3) = {kEntryMacro, 2, 4};
    G(image, 1, 4) = {kEntryMacro, 0x0304, 4};
    G(image, 1, 5) = {kEntryStopMacro, 0x0305, 0};
    G(image, 1, 6) = {kEntryFunction, 0x0306, 9};  // no such function
    const auto play = [&](int n) { return GKeyPlayOf(editing, 1, GKeySlot(n, GKeyBank::A)); };
    EXPECT_EQ(play(1).keys, (std::vector<ScanCode>{kB}));
    EXPECT_EQ(play(2).keys, (std::vector<ScanCode>{0x01D, 0x01E}));
    EXPECT_EQ(play(3).kind, GKeyPlay::Kind::Macro);
    EXPECT_EQ(play(3).cycles, 2);
    EXPECT_EQ(play(3).actions, editing.Macros()[0].actions);
    EXPECT_EQ(play(4).cycles, 3);  // the G key's code is no cycles count: the macro's own
    EXPECT_EQ(play(5).kind, GKeyPlay::Kind::StopMacro);
    EXPECT_EQ(play(6).kind, GKeyPlay::Kind::Nothing);
    EXPECT_EQ(play(7).kind, GKeyPlay::Kind::Nothing);
    // Another profile, or a slot that is no G key, plays nothing.
    EXPECT_EQ(GKeyPlayOf(editing, 0, GKeySlot(1, GKeyBank::A)).kind, GKeyPlay::Kind::Nothing);
    EXPECT_EQ(GKeyPlayOf(editing, -1, GKeySlot(1, GKeyBank::A)).kind, GKeyPlay::Kind::Nothing);
    EXPECT_EQ(GKeyPlayOf(editing, 1, 0x30).kind, GKeyPlay::Kind::Nothing);
}

}  // namespace
}  // namespace korvel
