#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "model/image/config_store.h"

namespace korvel {
namespace {

MacroRecord Macro(std::uint16_t id, std::u16string name = u"M") {
    MacroRecord record;
    record.macroId = id;
    record.name = std::move(name);
    record.actions = {{120, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}};
    return record;
}

class ConfigFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        m_dir =
            std::filesystem::temp_directory_path() / ("korvel-config-" + std::to_string(random()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::filesystem::path m_dir;
};

TEST(ConfigStore, StagingCopiesAndPacksWhatADownloadSends) {
    ConfigStore store;
    ASSERT_TRUE(CreateDefaultConfig(store, {}, 0, true));
    EditingHolder& editing = store.EditingConfig();
    auto editingLock = editing.Lock();  // staged with the editing lock held, as an Apply does
    editing.Image()->Entry(5) = {kEntryLaunch, 0, 0, 0, 0};
    editing.Strings().SetText(5, u"C:\\a.exe");
    editing.Image()->Entry(700) = {kEntryText, 0, 0, 0, 0};
    editing.Strings().SetText(700, u"hello");
    editing.SetMacros({Macro(3), Macro(9)});

    ASSERT_TRUE(StageConfig(store));
    const ActiveHolder& active = store.ActiveConfig();
    auto activeLock = active.Lock();
    const ConfigImage& staged = *active.Image();
    EXPECT_EQ(staged.header.macroCount, 2);
    EXPECT_EQ(staged.header.stringPoolBytes, 30u);
    EXPECT_EQ(staged.header.totalBytes, 32832u + 2 * 16512 + 30);
    EXPECT_EQ(staged.header.checksum, ConfigHeaderChecksum(staged.header));
    EXPECT_EQ(staged.Entry(700).value, 18u);
    EXPECT_EQ(editing.Image()->Entry(700).value, 18u);  // both copies know the offsets
    EXPECT_EQ(PoolTextAt(active.Pool(), 18), u"hello");
    EXPECT_EQ(active.Macros(), editing.Macros());

    // A later edit does not reach what was staged.
    editing.Image()->Entry(5) = {};
    EXPECT_EQ(active.Image()->Entry(5).type, kEntryLaunch);
}

TEST(ConfigStore, StagingWithoutAnEditingImageStagesNothing) {
    ConfigStore store;
    EXPECT_FALSE(StageConfig(store));
    EXPECT_EQ(store.ActiveConfig().Image(), nullptr);
}

TEST(ConfigStore, ReleaseIsIdempotentAndKeepsTheSlotTable) {
    ConfigStore store;
    ASSERT_TRUE(CreateDefaultConfig(store, {}, 0, true));
    EditingHolder& editing = store.EditingConfig();
    editing.Strings().SetText(10, u"abc");
    editing.SetMacros({Macro(1)});
    ReleaseEditingConfig(store);
    ReleaseEditingConfig(store);
    EXPECT_EQ(editing.Image(), nullptr);
    EXPECT_EQ(editing.MacroCount(), 0);
    EXPECT_EQ(editing.StringBytes(), 0u);
    editing.Strings().SetText(10, u"again");
    EXPECT_EQ(editing.StringBytes(), 12u);
    store.ActiveConfig().Release();
    store.ActiveConfig().Release();
    EXPECT_EQ(store.ActiveConfig().Image(), nullptr);
}

TEST(ConfigStore, MacroLookupsByIdAndPosition) {
    ConfigStore store;
    EditingHolder& editing = store.EditingConfig();
    editing.SetMacros({Macro(4), Macro(7), Macro(4), Macro(2)});
    struct IdCase {
        std::uint16_t id;
        std::uint16_t position;
    };
    const IdCase byId[] = {{4, 0}, {7, 1}, {2, 3}, {0, 0}, {99, 0}};
    for (const IdCase& c : byId) {
        EXPECT_EQ(MacroIndexById(editing, c.id), c.position) << c.id;
    }
    struct PositionCase {
        int position;
        std::uint16_t id;
    };
    const PositionCase atPosition[] = {{0, 4}, {3, 2}, {4, 0}, {-1, 0}};
    for (const PositionCase& c : atPosition) {
        EXPECT_EQ(MacroIdAt(editing, c.position), c.id) << c.position;
    }
}

TEST_F(ConfigFiles, DefaultConfigFileIsExactlyTheImage) {
    ConfigStore store;
    const std::filesystem::path path = m_dir / "$Profile0.kvp";
    ASSERT_TRUE(CreateDefaultConfig(store, path, 1, false));
    EXPECT_EQ(store.EditingConfig().Image(), nullptr);
    ASSERT_EQ(std::filesystem::file_size(path), 32832u);
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ConfigImage image;
    ByteReader reader(bytes);
    ASSERT_TRUE(ReadConfigImage(reader, image));
    EXPECT_EQ(image, *CreateDefaultImage(1));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "$Profile0.kvp.part"));
}

TEST_F(ConfigFiles, UnwritableDefaultConfigFails) {
    ConfigStore store;
    EXPECT_FALSE(CreateDefaultConfig(store, m_dir / "missing" / "x.kvp", 0, false));
    EXPECT_FALSE(CreateDefaultConfig(store, {}, 0, false));
}

}  // namespace
}  // namespace korvel
