#include <gtest/gtest.h>

#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "support/keyboard_fixture.h"
#include "support/temp_folder.h"
#include "sync/device_backup.h"
#include "sync/profile_transfer.h"

namespace korvel::test {
namespace {

using korvel::fixtures::ReadBytes;
using korvel::fixtures::TempFolder;

MacroRecord Macro(std::uint16_t id, std::u16string name, std::uint8_t loops, int actions) {
    MacroRecord record;
    record.macroId = id;
    record.name = std::move(name);
    record.loopCount = loops;
    const ScanCode keys[] = {0x01E, 0x02A, 0x122, 0x11D, 0x030};
    for (int i = 0; i < actions; ++i) {
        record.actions.push_back({static_cast<std::uint32_t>(10 * (i % 4000)), keys[i % 5],
                                  static_cast<std::uint16_t>(i % 2)});
    }
    return record;
}

class Backup : public KeyboardFixture {
protected:
    TempFolder folder;
    std::filesystem::path Documents() const { return folder.Path(); }
};

TEST_F(Backup, RoundTripBringsBackEveryEntryAndMacroTheKeyboardHolds) {
    store.EditingConfig().SetMacros(
        {Macro(1, u"alpha", 1, 4), Macro(2, u"beta", 0, 7), Macro(3, u"gamma", 5, 1)});
    const KeyEntry held[] = {
        {kEntryDisabled, 0, 0}, {kEntryKey, 0, 0x030},   {kEntryKey, 0, 0x036},
        {kEntryMacro, 0, 3},    {kEntryStopMacro, 0, 0}, {kEntryMedia, 0, 17},
        {kEntryFunction, 0, 6}, {kEntryKey, 0, 0x15B},   {kEntryMacro, 0, 1},
    };
    const ScanCode keys[] = {0x01E, 0x01F, 0x020, 0x021, 0x022, 0x023, 0x024, 0x00D, 0x148};
    for (int block = 0; block < kOnboardProfiles; ++block) {
        for (std::size_t i = 0; i < std::size(keys); ++i) {
            Editing(block, keys[i]) = held[(i + static_cast<std::size_t>(block)) % std::size(held)];
        }
    }
    // Texts stay on the host: a program key keeps its own function, a text key is silent.
    Editing(0, 0x02C) = {kEntryLaunch, 0, 0};
    Editing(0, 0x02D) = {kEntryText, 0, 0};
    store.EditingConfig().Strings().SetText(GlobalEntryIndex(0, SlotOfScan(0x02C)), u"prog.exe");
    store.EditingConfig().Strings().SetText(GlobalEntryIndex(0, SlotOfScan(0x02D)), u"words");
    ASSERT_EQ(Apply(true), 1);

    const auto file = folder / "backup.kvp";
    ASSERT_TRUE(BackupDeviceToFile(link, keyCodec, Texts(), file));
    const ConfigImage applied = *store.ActiveConfig().Image();
    const auto macros = store.EditingConfig().Macros();
    ReleaseEditingConfig(store);
    ASSERT_TRUE(LoadProfileFile(store, file));
    const ConfigImage& back = *store.EditingConfig().Image();
    for (int block = 0; block < kOnboardProfiles; ++block) {
        ProfileBlock expected = applied.blocks[static_cast<std::size_t>(block)];
        // Every block read back carries the G codes, as the keyboard's tables have no G keys.
        for (int slot = kFirstGKeySlot; slot <= kLastGKeySlot; ++slot) {
            expected[static_cast<std::size_t>(slot)].aux = GKeyCodeOfSlot(slot);
        }
        if (block == 0) {
            expected[SlotOfScan(0x02C)] = {kEntryDefault, 0, 0};
            expected[SlotOfScan(0x02D)] = {kEntryDisabled, 0, 0};
        }
        EXPECT_EQ(back.blocks[static_cast<std::size_t>(block)], expected) << "block " << block;
    }
    EXPECT_EQ(back.blocks[3], ProfileBlock{});
    EXPECT_EQ(store.EditingConfig().Macros(), macros);
    EXPECT_EQ(back.header.macroCount, 3);
    EXPECT_EQ(back.header.stringPoolBytes, 0u);
    ScriptedPrompts silent;
    EXPECT_EQ(ValidateProfileFile(file, silent, nullptr), 1);
}

TEST_F(Backup, AKeyboardFailingHalfWayLeavesTheWorkingFileByteIdentical) {
    ASSERT_TRUE(EnsureProfileDirectory(Documents()));
    const auto file = WorkingFile(Documents());
    ASSERT_TRUE(BackupDeviceToFile(link, keyCodec, Texts(), file));
    const std::string before = ReadBytes(file);
    ASSERT_EQ(before.size(), kConfigImageBytes);

    // Info block, the first table and part of the second are read; then the keyboard is silent.
    link.SetActiveProfileCache(-1);
    keyboard.SilenceReplies(-1, 1 + 7 + 3);
    EXPECT_FALSE(BackupDeviceToFile(link, keyCodec, Texts(), file));
    EXPECT_EQ(ReadBytes(file), before);
    keyboard.SilenceReplies(0);

    // The keyboard disappears while the macro area is read.
    link.SetActiveProfileCache(-1);
    channel.UnplugAfterWrites(1 + 21 + 1);
    EXPECT_FALSE(BackupDeviceToFile(link, keyCodec, Texts(), file));
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ProfileDirectory(Documents())),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(Backup, ADamagedMacroAreaSizeIsBoundByTheCapacity) {
    auto memory = keyboard.Memory();
    memory.macroArea[0] = 0xAA;
    memory.macroArea[1] = 0x55;
    memory.macroArea[2] = 0xFF;  // 65535 bytes claimed in an area of 8192
    memory.macroArea[3] = 0xFF;
    memory.macroArea[4] = 3;  // three macros whose offsets point nowhere
    keyboard.SetMemory(memory);
    const auto file = folder / "damaged-area.kvp";
    ASSERT_TRUE(BackupDeviceToFile(link, keyCodec, Texts(), file));
    ASSERT_TRUE(LoadProfileFile(store, file));
    EXPECT_LE(store.EditingConfig().MacroCount(), 3);
}

TEST_F(Backup, ReloadReadsTheKeyboardOrFallsBackToDefaults) {
    Editing(0, 0x01E) = {kEntryDisabled, 0, 0};
    ASSERT_EQ(Apply(true), 1);
    CreateDefaultConfig(store, {}, 0, true);
    EXPECT_EQ(ReloadFromDevice(store, link, keyCodec, Texts(), Documents()),
              ReloadOutcome::FromKeyboard);
    EXPECT_TRUE(std::filesystem::exists(WorkingFile(Documents())));
    EXPECT_EQ(Editing(0, 0x01E).type, kEntryDisabled);

    link.SetActiveProfileCache(-1);
    keyboard.SilenceReplies(-1);
    EXPECT_EQ(ReloadFromDevice(store, link, keyCodec, Texts(), Documents()),
              ReloadOutcome::Defaults);
    EXPECT_EQ(*store.EditingConfig().Image(), *CreateDefaultImage(0));
    EXPECT_EQ(store.EditingConfig().MacroCount(), 0);
}

TEST_F(Backup, BackupImportBackupGivesTheSameFile) {
    // Function codes the tool has no name for go back as read; codes that name no key the tool
    // can send read as "disabled", which goes back as 00 00 00 and reads the same again.
    struct Case {
        DeviceKeyCode code;
        bool keyboardKeepsIt;
    };
    const Case cases[] = {
        {{0x05, 0x05, 0x00}, true},  {{0x05, 0x05, 0x08}, true}, {{0x05, 0x05, 0x09}, true},
        {{0x05, 0x05, 0x0A}, true},  {{0x05, 0x05, 0xFF}, true}, {{0x02, 0x01, 0x00}, false},
        {{0x02, 0x02, 0xCD}, false}, {{0x02, 0x01, 0x02}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int{c.code.b0} << ' ' << int{c.code.b1}
                                        << ' ' << int{c.code.b2});
        sim::KeyboardMemory memory = sim::MakeFactoryMemory();
        // Position 10 of profile 1, and position 20 of profile 3.
        for (const int at : {kKeyTableBytes + 3 * 10, 2 * kKeyTableBytes + 3 * 20}) {
            memory.keyTables[static_cast<std::size_t>(at)] = c.code.b0;
            memory.keyTables[static_cast<std::size_t>(at) + 1] = c.code.b1;
            memory.keyTables[static_cast<std::size_t>(at) + 2] = c.code.b2;
        }
        keyboard.SetMemory(memory);
        const auto first = folder / "first.kvp";
        const auto second = folder / "second.kvp";
        ASSERT_TRUE(BackupDeviceToFile(link, keyCodec, Texts(), first));
        ASSERT_TRUE(EnsureProfileDirectory(Documents()));
        const ImportResult result = ImportAndDownload(parts, Documents(), first);
        ASSERT_EQ(result.outcome, ImportOutcome::Applied);
        ASSERT_TRUE(BackupDeviceToFile(link, keyCodec, Texts(), second));
        EXPECT_EQ(ReadBytes(second), ReadBytes(first));
        EXPECT_EQ(keyboard.Memory().keyTables == memory.keyTables, c.keyboardKeepsIt);
    }
}

TEST_F(Backup, ImportLoadsSavesTheWorkingFileAndDownloads) {
    store.EditingConfig().SetMacros({Macro(1, u"m", 1, 2)});
    Editing(2, 0x01E) = {kEntryMacro, 0, 1};
    const auto file = folder / "import.kvp";
    ASSERT_TRUE(ExportProfileFile(store, file));
    ASSERT_TRUE(EnsureProfileDirectory(Documents()));
    ASSERT_TRUE(CreateDefaultConfig(store, WorkingFile(Documents()), 0, false));
    CreateDefaultConfig(store, {}, 0, true);
    store.EditingConfig().SetMacros({});

    const ImportResult result = ImportAndDownload(parts, Documents(), file);
    EXPECT_EQ(result.outcome, ImportOutcome::Applied);
    EXPECT_EQ(result.workingFile, WorkingFileState::Saved);
    EXPECT_EQ(ReadBytes(WorkingFile(Documents())), ReadBytes(file));
    int positionOfA = 0;
    while (keyCodec.ScanOfPosition(positionOfA) != 0x01E) {
        ++positionOfA;
    }
    EXPECT_EQ(KeyCodeAt(KeyboardTable(2), positionOfA), (DeviceKeyCode{0x05, 0x01, 0x00}));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(Backup, ImportOfABadFileLeavesEditingConfigAlone) {
    Editing(0, 0x01E) = {kEntryDisabled, 0, 0};
    const auto goodFile = folder / "good.kvp";
    store.EditingConfig().SetMacros({Macro(1, u"m", 1, 2)});
    ASSERT_TRUE(ExportProfileFile(store, goodFile));
    store.EditingConfig().SetMacros({});
    const ConfigImage before = *store.EditingConfig().Image();
    const std::string good = ReadBytes(goodFile);

    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::u16string> messages;
    };
    std::string badHeader = good;
    badHeader[4] = 9;
    const auto file = folder / "bad.kvp";
    const Case cases[] = {
        {"header fails", badHeader, {u"format: " + file.u16string(), u"import failed"}},
        {"header passes, file ends early",
         good.substr(0, good.size() - 10),
         {u"import failed\n" + file.u16string() +
          u": the file ends before the data its header announces"}},
        {"not a profile file at all",
         "hello",
         {u"import failed\n" + file.u16string() +
          u": the file ends before the data its header announces"}},
    };
    for (const Case& c : cases) {
        korvel::fixtures::WriteBytes(file, c.bytes);
        ScriptedPrompts casePrompts;
        keyboard.ClearReceived();
        const ImportResult result = ImportProfileFile(store, KnownMacroCapacity(link), casePrompts,
                                                      Texts(), Documents(), file);
        EXPECT_EQ(result.outcome, ImportOutcome::Refused) << c.what;
        std::vector<std::u16string> shown;
        for (const auto& p : casePrompts.Shown()) {
            shown.push_back(p.text);
        }
        EXPECT_EQ(shown, c.messages) << c.what;
        EXPECT_EQ(*store.EditingConfig().Image(), before) << c.what;
        EXPECT_EQ(store.EditingConfig().MacroCount(), 0) << c.what;
        EXPECT_TRUE(keyboard.Received().empty()) << c.what;
    }
}

}  // namespace
}  // namespace korvel::test
