// korvelctl on a full and on a read-only disk: every failed write says which file and why, exits 1
// and leaves the file it would have replaced byte for byte as it was.
#include <gtest/gtest.h>

#include "cli/korvelctl_run.h"
#include "cli/sample_profile.h"
#include "model/files/profile_locations.h"
#include "support/small_mount.h"
#include "support/temp_folder.h"

namespace korvel::cli::test {
namespace {

using fixtures::ReadBytes;

TEST(FullAndReadOnlyDisk, FailedWritesAreToldAndChangeNothing) {
    fixtures::TempFolder folder;
    fixtures::SmallMount disk(folder / "disk", 256 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    ConfigStore store;
    ASSERT_TRUE(WriteSampleProfile(store, folder / "sample.kvp"));
    const std::string state = "--simulate=" + (folder / "kb.state").string();
    const std::string docs = "--documents=" + disk.Path().string();
    // The working file and an earlier export live on the small disk.
    ASSERT_EQ(Korvelctl({state, docs, "import", (folder / "sample.kvp").string()}).status, 0);
    ASSERT_EQ(Korvelctl({state, docs, "export", (disk.Path() / "old.kvp").string()}).status, 0);
    const std::string working = ReadBytes(WorkingFile(disk.Path()));
    const std::string old = ReadBytes(disk.Path() / "old.kvp");
    ASSERT_FALSE(working.empty());

    // Fill what is left of the disk.
    fixtures::WriteBytes(disk.Path() / "filler", std::string(256 * 1024, 'x'));
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    };
    const Case full[] = {
        {{state, "backup", (disk.Path() / "old.kvp").string()}, "No space left on device"},
        {{state, docs, "export", (disk.Path() / "old.kvp").string()}, "No space left on device"},
        {{state, docs, "import", (folder / "sample.kvp").string()}, "No space left on device"},
    };
    for (const Case& c : full) {
        const Outcome run = Korvelctl(c.args);
        EXPECT_EQ(run.status, 1) << c.args[1] << ": " << run.err;
        EXPECT_NE(run.err.find("could not be written"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes(WorkingFile(disk.Path())), working);
    EXPECT_EQ(ReadBytes(disk.Path() / "old.kvp"), old);
    // Without room for its backup the import does not go on; told to go on without one, it
    // reaches the keyboard all the same and says so with what to do.
    const Outcome imported =
        Korvelctl({state, docs, "import", "--no-backup", (folder / "sample.kvp").string()});
    EXPECT_NE(imported.err.find("the keyboard was updated"), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("run the import again or start korvel"), std::string::npos);

    ASSERT_TRUE(disk.MakeReadOnly());
    const Outcome readOnly = Korvelctl({state, "backup", (disk.Path() / "old.kvp").string()});
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_NE(readOnly.err.find("Read-only file system"), std::string::npos) << readOnly.err;
    EXPECT_EQ(ReadBytes(disk.Path() / "old.kvp"), old);
}

}  // namespace
}  // namespace korvel::cli::test
