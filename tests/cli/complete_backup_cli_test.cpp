#include <gtest/gtest.h>

#include <filesystem>

#include "cli/keyboard_folder.h"
#include "cli/sample_profile.h"
#include "model/files/backup_folder.h"
#include "model/image/config_store.h"
#include "support/temp_folder.h"

namespace korvel::cli {
namespace {

using fixtures::ReadBytes;
using test::Outcome;

class CompleteBackupCommands : public test::KeyboardFolder {
protected:
    CompleteBackupCommands() { EXPECT_TRUE(test::WriteSampleProfile(store, profile)); }

    std::string File(const char* name) const { return (folder / name).string(); }
    std::vector<BackupEntry> Automatic() const {
        return ListAutomaticBackups(BackupsFolder(Documents()));
    }

    ConfigStore store;
    std::string profile = (folder / "profile.kvp").string();
};

TEST_F(CompleteBackupCommands, RestoreBringsBackKeysMacrosLightingReportRateAndProfile) {
    ASSERT_EQ(Run({"import", "--no-backup", profile}).status, 0);
    ASSERT_EQ(Run({"lighting", "set", "effect", "20", "2"}).status, 0);
    ASSERT_EQ(Run({"profile", "2"}).status, 0);
    const Outcome taken = Run({"backup", "--complete", File("before.json")});
    ASSERT_EQ(taken.status, 0) << taken.err;
    EXPECT_EQ(taken.out, "");

    // Everything changes: keys and macros (the factory's empty ones), lighting, the report rate,
    // the active profile.
    ConfigStore empty;
    CreateDefaultConfig(empty, {}, 0, true);
    ASSERT_TRUE(SaveProfileFile(empty, true, File("empty.kvp")));
    ASSERT_EQ(Run({"import", "--no-backup", File("empty.kvp")}).status, 0);
    for (const char* field : {"brightness 1", "color #123456", "report-rate 0", "effect 7"}) {
        const std::string text = field;
        const std::size_t space = text.find(' ');
        ASSERT_EQ(Run({"lighting", "set", text.substr(0, space), text.substr(space + 1)}).status,
                  0);
    }
    ASSERT_EQ(Run({"profile", "3"}).status, 0);
    ASSERT_EQ(Run({"backup", "--complete", File("changed.json")}).status, 0);
    ASSERT_NE(ReadBytes(folder / "changed.json"), ReadBytes(folder / "before.json"));

    const Outcome restored = Run({"restore", File("before.json")});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(restored.out, "restored: the keyboard holds the backup\n");
    // What was replaced was kept first, and can itself be restored.
    ASSERT_EQ(Automatic().size(), 1u);
    EXPECT_EQ(Automatic()[0].operation, "restore");
    EXPECT_EQ(ReadBytes(Automatic()[0].file), ReadBytes(folder / "changed.json"));
    EXPECT_NE(restored.err.find(Automatic()[0].file.string()), std::string::npos) << restored.err;

    ASSERT_EQ(Run({"backup", "--complete", File("after.json")}).status, 0);
    EXPECT_EQ(ReadBytes(folder / "after.json"), ReadBytes(folder / "before.json"));
    EXPECT_EQ(Run({"profile"}).out, "2\n");
}

TEST_F(CompleteBackupCommands, ADamagedOrNewerBackupIsRefusedAndChangesNothing) {
    ASSERT_EQ(Run({"backup", "--complete", File("good.json")}).status, 0);
    ASSERT_EQ(Run({"import", "--no-backup", profile}).status, 0);
    ASSERT_EQ(Run({"backup", "--complete", File("now.json")}).status, 0);
    const std::string good = ReadBytes(folder / "good.json");
    std::string newer = good;
    newer.replace(newer.find("\"version\": 1"), 12, "\"version\": 2");
    fixtures::WriteBytes(folder / "newer.json", newer);
    fixtures::WriteBytes(folder / "cut.json", good.substr(0, good.size() / 2));
    fixtures::WriteBytes(folder / "profile.json", ReadBytes(profile));
    const struct {
        const char* file;
        const char* said;
    } cases[] = {
        {"newer.json", "the backup was made by a newer Korvel (format version 2)"},
        {"cut.json", "the file is not a JSON document"},
        {"profile.json", "the file is not a JSON document"},
        {"missing.json", "there is no such file"},
    };
    for (const auto& c : cases) {
        const Outcome refused = Run({"restore", File(c.file)});
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find(c.said), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("the keyboard was not changed"), std::string::npos);
    }
    ASSERT_EQ(Run({"backup", "--complete", File("still.json")}).status, 0);
    EXPECT_EQ(ReadBytes(folder / "still.json"), ReadBytes(folder / "now.json"));
    EXPECT_TRUE(Automatic().empty());
}

TEST_F(CompleteBackupCommands, EachImportIsBackedUpFirstAndTheNewestTwentyAreKept) {
    for (int i = 0; i < 22; ++i) {
        const Outcome imported = Run({"import", profile});
        ASSERT_EQ(imported.status, 0) << imported.err;
    }
    const auto kept = Automatic();
    ASSERT_EQ(kept.size(), kAutomaticBackupsKept);
    for (const BackupEntry& entry : kept) {
        EXPECT_EQ(entry.operation, "import");
    }
    // A file that cannot be imported is refused without a backup; --no-backup takes none.
    const std::string before = ReadBytes(kept.front().file);
    EXPECT_EQ(Run({"import", File("missing.kvp")}).status, 1);
    EXPECT_EQ(Run({"import", "--no-backup", profile}).status, 0);
    EXPECT_EQ(Automatic().front().file, kept.front().file);
    EXPECT_EQ(ReadBytes(Automatic().front().file), before);
}

}  // namespace
}  // namespace korvel::cli
