#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
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

// Records what the keyboard would have been sent, at the moment it is sent.
class RecordingDownload : public HardwareDownload {
public:
    explicit RecordingDownload(ConfigStore& store, int result) : m_store(store), m_result(result) {}
    int Download(bool allProfiles) override {
        ++calls;
        lastAllProfiles = allProfiles;
        const ActiveHolder& active = m_store.ActiveConfig();
        auto lock = active.Lock();
        sentImage = *active.Image();
        sentPool = active.Pool();
        sentMacros = active.Macros();
        // The download looks macro positions up in EditingConfig while both locks are held.
        secondMacroPosition = MacroIndexById(m_store.EditingConfig(), 9);
        // Another thread must not get in meanwhile.
        otherThreadGotEditingLock = std::async(std::launch::async, [this] {
                                        return m_store.EditingConfig().TryLock().owns_lock();
                                    }).get();
        return m_result;
    }
    int calls = 0;
    bool lastAllProfiles = false;
    ConfigImage sentImage;
    std::vector<std::uint8_t> sentPool;
    std::vector<MacroRecord> sentMacros;
    std::uint16_t secondMacroPosition = 0;
    bool otherThreadGotEditingLock = true;

private:
    ConfigStore& m_store;
    int m_result;
};

TEST(ConfigStore, ApplyCopiesPacksAndDownloads) {
    ConfigStore store;
    ASSERT_TRUE(CreateDefaultConfig(store, {}, 0, true));
    EditingHolder& editing = store.EditingConfig();
    auto editingLock = editing.Lock();  // apply is called with the editing lock held
    editing.Image()->Entry(5) = {kEntryLaunch, 0, 0, 0, 0};
    editing.Strings().SetText(5, u"C:\\a.exe");
    editing.Image()->Entry(700) = {kEntryText, 0, 0, 0, 0};
    editing.Strings().SetText(700, u"hello");
    editing.SetMacros({Macro(3), Macro(9)});

    RecordingDownload download(store, 1);
    EXPECT_EQ(ApplyConfig(store, false, download), 1);
    ASSERT_EQ(download.calls, 1);
    EXPECT_FALSE(download.lastAllProfiles);
    EXPECT_EQ(download.sentImage.header.macroCount, 2);
    EXPECT_EQ(download.sentImage.header.stringPoolBytes, 30u);
    EXPECT_EQ(download.sentImage.header.totalBytes, 32832u + 2 * 16512 + 30);
    EXPECT_EQ(download.sentImage.header.checksum, ConfigHeaderChecksum(download.sentImage.header));
    EXPECT_EQ(download.sentImage.Entry(700).value, 18u);
    EXPECT_EQ(editing.Image()->Entry(700).value, 18u);  // both copies know the offsets
    EXPECT_EQ(PoolTextAt(download.sentPool, 18), u"hello");
    EXPECT_EQ(download.sentMacros, editing.Macros());
    EXPECT_EQ(download.secondMacroPosition, 1);
    EXPECT_FALSE(download.otherThreadGotEditingLock);

    RecordingDownload failing(store, 0);
    EXPECT_EQ(ApplyConfig(store, true, failing), 0);
    EXPECT_TRUE(failing.lastAllProfiles);
}

TEST(ConfigStore, ApplyWithoutAnEditingImageSendsNothing) {
    ConfigStore store;
    RecordingDownload download(store, 1);
    EXPECT_EQ(ApplyConfig(store, true, download), 0);
    EXPECT_EQ(download.calls, 0);
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
