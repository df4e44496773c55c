#include <gtest/gtest.h>

#include <random>

#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "ports/settings_store.h"
#include "support/keyboard_fixture.h"
#include "support/profile_bytes.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "sync/profile_transfer.h"

namespace korvel::test {
namespace {

using fixtures::FixChecksum;
using fixtures::PutU16;
using fixtures::PutU32;

using korvel::fixtures::ReadBytes;
using korvel::fixtures::TempFolder;

std::vector<std::uint8_t> MinimalFile() {
    auto image = CreateDefaultImage(0);
    ByteWriter writer;
    WriteConfigImage(writer, *image);
    return writer.Take();
}

void Write(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct ValidationCase {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> change;
    int expected;
    bool formatMessage;
};

TEST(ValidateProfileFile, HeaderCases) {
    const ValidationCase cases[] = {
        {"minimal file", [](auto&) {}, 1, false},
        {"one header byte changed, checksum not fixed", [](auto& b) { b[12] ^= 1; }, 0, true},
        {"101 macros with size and checksum agreeing",
         [](auto& b) {
             PutU16(b, 14, 101);
             PutU32(b, 8, kConfigImageBytes + 101u * kMacroRecordBytes);
             FixChecksum(b);
         },
         0, true},
        {"reserved flag 1",
         [](auto& b) {
             b[30] = 1;
             FixChecksum(b);
         },
         1, false},
        {"reserved flag 2",
         [](auto& b) {
             b[30] = 2;
             FixChecksum(b);
         },
         0, true},
        {"real size larger than the header says", [](auto& b) { b.resize(b.size() + 100, 0x5A); },
         1, false},
        {"shorter than an image", [](auto& b) { b.resize(kConfigImageBytes - 1); }, 0, false},
        {"total bytes disagree",
         [](auto& b) {
             PutU32(b, 8, kConfigImageBytes + 2);
             FixChecksum(b);
         },
         0, true},
    };
    TempFolder folder;
    for (const ValidationCase& c : cases) {
        std::vector<std::uint8_t> bytes = MinimalFile();
        ASSERT_EQ(bytes.size(), 32832u);
        c.change(bytes);
        const auto file = folder / "case.kvp";
        Write(file, bytes);
        ScriptedPrompts prompts;
        EXPECT_EQ(ValidateProfileFile(file, prompts, nullptr), c.expected) << c.what;
        ASSERT_EQ(prompts.Shown().size(), c.formatMessage ? 1u : 0u) << c.what;
        if (c.formatMessage) {
            EXPECT_EQ(prompts.Shown()[0].text,
                      u"wrong file format, revert to the default values: \n  " + file.u16string());
        }
    }
    ScriptedPrompts prompts;
    EXPECT_EQ(ValidateProfileFile(folder / "missing.kvp", prompts, nullptr), 0);
    EXPECT_TRUE(prompts.Shown().empty());
}

class ProfileFiles : public KeyboardFixture {
protected:
    TempFolder folder;
};

TEST_F(ProfileFiles, StringsAtPoolOffsetsZeroAndEighteenComeBack) {
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->Entry(5) = {kEntryLaunch, 0, 0};
        store.EditingConfig().Image()->Entry(700) = {kEntryText, 0, 0};
        store.EditingConfig().Strings().SetText(5, u"abcd.exe");
        store.EditingConfig().Strings().SetText(700, u"typed text");
    }
    const auto file = folder / "strings.kvp";
    ASSERT_TRUE(SaveProfileFile(store, true, file));
    const std::string bytes = ReadBytes(file);
    const std::uint32_t poolBytes = 18 + 22;
    ASSERT_EQ(bytes.size(), kConfigImageBytes + poolBytes);
    const ConfigImage saved = *store.EditingConfig().Image();
    EXPECT_EQ(saved.Entry(5).value, 0u);
    EXPECT_EQ(saved.Entry(700).value, 18u);
    EXPECT_EQ(saved.header.stringPoolBytes, poolBytes);
    EXPECT_EQ(bytes.substr(kConfigImageBytes, 4), std::string("a\0b\0", 4));

    ReleaseEditingConfig(store);
    ASSERT_TRUE(LoadProfileFile(store, file));
    const EditingHolder& editing = store.EditingConfig();
    ASSERT_NE(editing.Strings().Text(5), nullptr);
    EXPECT_EQ(*editing.Strings().Text(5), u"abcd.exe");
    ASSERT_NE(editing.Strings().Text(700), nullptr);
    EXPECT_EQ(*editing.Strings().Text(700), u"typed text");
    EXPECT_EQ(editing.StringBytes(), poolBytes);
    EXPECT_EQ(*editing.Image(), saved);
}

TEST_F(ProfileFiles, BlockThreeAndMacrosSurviveSaveAndLoad) {
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[3][17] = {kEntryMedia, 9, 4, 0x1234, 0x5678};
        store.EditingConfig().SetMacros(
            {TwoActionMacro(3, u"first"), TwoActionMacro(1, u"second")});
    }
    const auto file = folder / "blocks.kvp";
    ASSERT_TRUE(SaveProfileFile(store, true, file));
    const ConfigImage saved = *store.EditingConfig().Image();
    const auto macros = store.EditingConfig().Macros();
    ReleaseEditingConfig(store);
    ASSERT_TRUE(LoadProfileFile(store, file));
    EXPECT_EQ(*store.EditingConfig().Image(), saved);
    EXPECT_EQ(store.EditingConfig().Macros(), macros);
    EXPECT_EQ(std::filesystem::file_size(file), kConfigImageBytes + 2u * kMacroRecordBytes);
    ScriptedPrompts silent;
    EXPECT_EQ(ValidateProfileFile(file, silent, nullptr), 1);
}

TEST_F(ProfileFiles, DamagedFilesFailToLoadAndLeaveEditingConfigAlone) {
    store.EditingConfig().SetMacros({TwoActionMacro(1, u"m")});
    const auto good = folder / "good.kvp";
    ASSERT_TRUE(SaveProfileFile(store, true, good));
    const std::string goodBytes = ReadBytes(good);

    std::vector<std::pair<const char*, std::string>> damaged = {
        {"empty", ""},
        {"truncated image", goodBytes.substr(0, 1000)},
        {"truncated macro", goodBytes.substr(0, kConfigImageBytes + 100)},
    };
    {
        std::vector<std::uint8_t> more(goodBytes.begin(), goodBytes.end());
        PutU16(more, 14, 7);  // claims seven macros, holds one
        FixChecksum(more);
        damaged.push_back({"more macros than it holds", std::string(more.begin(), more.end())});
        std::vector<std::uint8_t> pool(goodBytes.begin(), goodBytes.end());
        PutU32(pool, 16, 0x7FFFFFFF);  // a pool far beyond the end
        damaged.push_back({"pool beyond the end", std::string(pool.begin(), pool.end())});
        std::vector<std::uint8_t> actions(goodBytes.begin(), goodBytes.end());
        PutU16(actions, kConfigImageBytes + 508, 2001);
        damaged.push_back({"macro with 2001 actions", std::string(actions.begin(), actions.end())});
    }
    std::mt19937 random(7);
    for (int i = 0; i < 20; ++i) {
        std::string noise(static_cast<std::size_t>(random() % 70000), '\0');
        for (char& c : noise) {
            c = static_cast<char>(random());
        }
        damaged.push_back({"random bytes", noise});
    }

    const ConfigImage before = *store.EditingConfig().Image();
    for (const auto& [what, bytes] : damaged) {
        const auto file = folder / "damaged.kvp";
        korvel::fixtures::WriteBytes(file, bytes);
        EXPECT_FALSE(LoadProfileFile(store, file)) << what;
        EXPECT_EQ(*store.EditingConfig().Image(), before) << what;
        EXPECT_EQ(store.EditingConfig().MacroCount(), 1) << what;
        ScriptedPrompts prompts;
        const int valid = ValidateProfileFile(file, prompts, nullptr);
        EXPECT_LE(valid, 1) << what;
    }
    EXPECT_FALSE(LoadProfileFile(store, folder / "missing.kvp"));
}

TEST_F(ProfileFiles, MutatedFilesLoadWholeOrNotAtAll) {
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().SetMacros({TwoActionMacro(1, u"m"), TwoActionMacro(2, u"n")});
        store.EditingConfig().Image()->Entry(9) = {kEntryText, 0, 0};
        store.EditingConfig().Strings().SetText(9, u"some text");
    }
    const auto good = folder / "good.kvp";
    ASSERT_TRUE(SaveProfileFile(store, true, good));
    const std::string goodBytes = ReadBytes(good);
    std::mt19937 random(11);
    const auto file = folder / "mutated.kvp";
    for (int round = 0; round < 300; ++round) {
        std::string bytes = goodBytes;
        // Damage the header and the places where counts and sizes live more often than the rest.
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = random() % 2 ? random() % 32 : random() % bytes.size();
            bytes[at] = static_cast<char>(random());
        }
        if (random() % 3 == 0) {
            bytes.resize(random() % bytes.size());
        }
        korvel::fixtures::WriteBytes(file, bytes);
        CreateDefaultConfig(store, {}, 0, true);
        store.EditingConfig().SetMacros({});
        const ConfigImage before = *store.EditingConfig().Image();
        if (LoadProfileFile(store, file)) {
            EXPECT_LE(store.EditingConfig().MacroCount(), kMaxMacros);
        } else {
            EXPECT_EQ(*store.EditingConfig().Image(), before) << "round " << round;
            EXPECT_EQ(store.EditingConfig().MacroCount(), 0) << "round " << round;
        }
        ScriptedPrompts prompts;
        EXPECT_LE(ValidateProfileFile(file, prompts, nullptr), 1);
    }
}

TEST_F(ProfileFiles, TextOffsetsOutsideThePoolAreIgnored) {
    std::vector<std::uint8_t> bytes = MinimalFile();
    const std::vector<std::uint8_t> pool = {'o', 0, 'k', 0,
                                            0,   0, 'x', 0};  // "ok", then unterminated
    bytes.insert(bytes.end(), pool.begin(), pool.end());
    PutU32(bytes, 16, static_cast<std::uint32_t>(pool.size()));
    PutU32(bytes, 8, kConfigImageBytes + static_cast<std::uint32_t>(pool.size()));
    auto entry = [&](int k, std::uint16_t type, std::uint32_t value) {
        const std::size_t at = kConfigHeaderBytes + 16u * static_cast<std::size_t>(k);
        PutU16(bytes, at, type);
        PutU32(bytes, at + 4, value);
    };
    entry(1, kEntryLaunch, 0);
    entry(2, kEntryText, 1);          // odd: rounded down to 0
    entry(3, kEntryText, 6);          // no terminator before the end
    entry(4, kEntryLaunch, 0x10000);  // outside
    FixChecksum(bytes);
    const auto file = folder / "offsets.kvp";
    Write(file, bytes);
    ASSERT_TRUE(LoadProfileFile(store, file));
    const StringSlotTable& strings = store.EditingConfig().Strings();
    ASSERT_NE(strings.Text(1), nullptr);
    EXPECT_EQ(*strings.Text(1), u"ok");
    ASSERT_NE(strings.Text(2), nullptr);
    EXPECT_EQ(*strings.Text(2), u"ok");
    EXPECT_EQ(strings.Text(3), nullptr);
    EXPECT_EQ(strings.Text(4), nullptr);
    EXPECT_EQ(strings.StringBytes(), 12u);
}

TEST_F(ProfileFiles, WorkingFileIsSavedOnlyWhenItExists) {
    const auto documents = folder.Path();
    EXPECT_EQ(WorkingFile(documents), documents / "Korvel_09A" / "$Profile0");
    EXPECT_FALSE(SaveWorkingFile(store, true, documents));
    EXPECT_FALSE(std::filesystem::exists(WorkingFile(documents)));
    EXPECT_FALSE(EnsureProfileDirectory(documents / "missing" / "deep"));
    EXPECT_FALSE(std::filesystem::exists(documents / "missing"));
    ASSERT_TRUE(EnsureProfileDirectory(documents));
    ASSERT_TRUE(CreateDefaultConfig(store, WorkingFile(documents), 0, false));
    Editing(0, 0x01E) = {kEntryDisabled, 0, 0};
    const auto saved = SaveWorkingFile(store, true, documents);
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(*saved);
    ReleaseEditingConfig(store);
    ASSERT_TRUE(LoadProfileFile(store, WorkingFile(documents)));
    EXPECT_EQ(Editing(0, 0x01E).type, kEntryDisabled);
    // Nothing of the temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ProfileDirectory(documents)),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ProfileList, RowsAreWrittenAsCountAndPaths) {
    MemorySettingsStore settings;
    const std::vector<std::filesystem::path> three = {
        ProfileFilePath("/p", "a"), ProfileFilePath("/p", "b"), ProfileFilePath("/p", "c")};
    WriteProfileList(settings, three);
    EXPECT_EQ(settings.ReadString("PROFILES", "PROFILE00"), u"3");
    EXPECT_EQ(settings.ReadString("PROFILES", "PROFILE02"), u"/p/b.kvp");
    EXPECT_EQ(settings.ReadString("PROFILES", "PROFILE03"), u"/p/c.kvp");
    WriteProfileList(settings, std::span(three).first(1));
    EXPECT_EQ(settings.ReadString("PROFILES", "PROFILE00"), u"1");
    EXPECT_EQ(settings.ReadString("PROFILES", "PROFILE01"), u"/p/a.kvp");
    EXPECT_EQ(settings.ReadString("PROFILES", "PROFILE02"), std::nullopt);
    EXPECT_EQ(ReadProfileList(settings), std::vector<std::filesystem::path>{three[0]});

    // Read back as written; a row that is gone or empty is skipped, a count past the rows read
    // as far as they go.
    WriteProfileList(settings, three);
    EXPECT_EQ(ReadProfileList(settings), three);
    settings.WriteString("PROFILES", "PROFILE02", u"");
    settings.WriteString("PROFILES", "PROFILE00", u"9x");
    EXPECT_EQ(ReadProfileList(settings), (std::vector<std::filesystem::path>{three[0], three[2]}));
}

}  // namespace
}  // namespace korvel::test
