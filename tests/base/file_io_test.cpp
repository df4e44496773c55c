#include "base/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <thread>
#include <vector>

#include "support/small_mount.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;
using fixtures::ReadBytes;
using fixtures::TempFolder;
using fixtures::WriteBytes;

// Everything in the folder but what the test put there: temporary files left behind.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplaceFile, WritesNewAndExistingFilesKeepingTheirPermissions) {
    TempFolder folder;
    ASSERT_TRUE(ReplaceFile(folder / "new.kvp", std::string_view("fresh")));
    EXPECT_EQ(ReadBytes(folder / "new.kvp"), "fresh");

    WriteBytes(folder / "private.kvp", "old");
    fs::permissions(folder / "private.kvp", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(ReplaceFile(folder / "private.kvp", std::string_view("new")));
    EXPECT_EQ(ReadBytes(folder / "private.kvp"), "new");
    EXPECT_EQ(fs::status(folder / "private.kvp").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"new.kvp", "private.kvp"}));
}

TEST(ReplaceFile, WritesTheFileASymbolicLinkNamesAndKeepsTheLink) {
    struct Link {
        const char* name;    // in the folder
        const char* target;  // as the link holds it; relative ones start from the link's folder
    };
    struct Case {
        const char* what;
        std::vector<Link> links;  // created in this order; "sub/" is created beforehand
        bool targetExists;        // "real.kvp" holds "old" before the write
        const char* written;      // the file that holds "new" afterwards; null: the write fails
        std::errc error;
    };
    const Case cases[] = {
        {"to an existing file", {{"link.kvp", "real.kvp"}}, true, "real.kvp", {}},
        {"to a file not yet created", {{"link.kvp", "real.kvp"}}, false, "real.kvp", {}},
        {"relative, from a subfolder", {{"sub/link.kvp", "../real.kvp"}}, false, "real.kvp", {}},
        {"through another link",
         {{"second.kvp", "real.kvp"}, {"link.kvp", "second.kvp"}},
         false,
         "real.kvp",
         {}},
        {"into a folder that does not exist",
         {{"link.kvp", "missing/real.kvp"}},
         false,
         nullptr,
         std::errc::no_such_file_or_directory},
        {"in a loop",
         {{"link.kvp", "other.kvp"}, {"other.kvp", "link.kvp"}},
         false,
         nullptr,
         std::errc::too_many_symbolic_link_levels},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        fs::create_directory(folder / "sub");
        if (c.targetExists) {
            WriteBytes(folder / "real.kvp", "old");
        }
        for (const Link& link : c.links) {
            fs::create_symlink(link.target, folder / link.name);
        }
        const fs::path written = folder / c.links.back().name;
        const FileWriteResult result = ReplaceFile(written, std::string_view("new"));
        for (const Link& link : c.links) {
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / link.name))) << link.name;
        }
        if (c.written != nullptr) {
            EXPECT_TRUE(result) << result.Reason();
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / c.written)));
            EXPECT_EQ(ReadBytes(folder / c.written), "new");
        } else {
            EXPECT_EQ(result.status, FileWriteResult::Status::Failed);
            EXPECT_EQ(result.error, c.error) << result.Reason();
            EXPECT_FALSE(fs::exists(folder / "real.kvp"));
            EXPECT_FALSE(fs::exists(folder / "missing"));
        }
    }
}

TEST(ReplaceFile, WritesFilesWithNamesOfEveryLengthTheFolderAllows) {
    TempFolder folder;
    for (const std::size_t length : {1u, 233u, 234u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'n');
        ASSERT_TRUE(ReplaceFile(folder / name, std::string_view("first")));
        const FileWriteResult again = ReplaceFile(folder / name, std::string_view("second"));
        EXPECT_TRUE(again) << again.Reason();
        EXPECT_EQ(ReadBytes(folder / name), "second");
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{name});
        fs::remove(folder / name);
    }
}

TEST(ReplaceFile, RefusesWhatIsNotARegularFile) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    fs::create_directory(folder / "dir");
    for (const fs::path& target : {folder / "pipe", folder / "dir", fs::path("/dev/null")}) {
        const FileWriteResult result = ReplaceFile(target, std::string_view("x"));
        EXPECT_EQ(result.status, FileWriteResult::Status::NotRegularFile) << target;
        EXPECT_EQ(result.Reason(), "not a regular file");
    }
    EXPECT_TRUE(fs::is_fifo(folder / "pipe"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"dir", "pipe"}));
}

TEST(ReplaceFile, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    fixtures::SmallMount disk(folder / "disk", 64 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    const fs::path file = disk.Path() / "working.kvp";
    WriteBytes(file, "old");

    const std::string tooLarge(200 * 1024, 'x');
    FileWriteResult result = ReplaceFile(file, tooLarge);
    EXPECT_EQ(result.status, FileWriteResult::Status::Failed);
    EXPECT_EQ(result.error, std::errc::no_space_on_device);
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(Names(disk.Path()), std::vector<std::string>{"working.kvp"});

    ASSERT_TRUE(disk.MakeReadOnly());
    result = ReplaceFile(file, std::string_view("new"));
    EXPECT_EQ(result.status, FileWriteResult::Status::Failed);
    EXPECT_EQ(result.error, std::errc::read_only_file_system);
    EXPECT_EQ(ReadBytes(file), "old");
}

TEST(ReplaceFile, ParallelWritersOfOneFileAllSucceedAndNeverTearIt) {
    TempFolder folder;
    const fs::path file = folder / "state";
    std::vector<std::thread> writers;
    std::vector<int> succeeded(16, 0);
    for (int i = 0; i < 16; ++i) {
        writers.emplace_back([&, i] {
            const std::string bytes(4096, static_cast<char>('a' + i));
            for (int round = 0; round < 20; ++round) {
                succeeded[static_cast<std::size_t>(i)] += ReplaceFile(file, bytes) ? 1 : 0;
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    for (const int count : succeeded) {
        EXPECT_EQ(count, 20);
    }
    const std::string last = ReadBytes(file);
    ASSERT_EQ(last.size(), 4096u);
    EXPECT_EQ(last, std::string(4096, last[0]));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"state"});
}

TEST(RegularFileReader, OpensOnlyRegularFilesAndNeverWaits) {
    TempFolder folder;
    WriteBytes(folder / "file", "12345");
    fs::create_symlink("file", folder / "link");
    fs::create_symlink("nowhere", folder / "dangling");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    using Status = RegularFileReader::Status;
    struct Case {
        fs::path path;
        Status status;
        FileReadStatus whole;  // what ReadFileBytes makes of it
    };
    const Case cases[] = {
        {folder / "file", Status::Ok, FileReadStatus::Ok},
        {folder / "link", Status::Ok, FileReadStatus::Ok},
        {folder / "missing", Status::Missing, FileReadStatus::Missing},
        {folder / "file" / "below", Status::Missing, FileReadStatus::Missing},
        {folder / "dangling", Status::Missing, FileReadStatus::Missing},
        {folder.Path(), Status::Folder, FileReadStatus::Unreadable},
        // Nobody writes to the pipe: opening it for reading would wait.
        {folder / "pipe", Status::NotRegularFile, FileReadStatus::Unreadable},
        {"/dev/null", Status::NotRegularFile, FileReadStatus::Unreadable},
    };
    for (const Case& c : cases) {
        RegularFileReader reader(c.path);
        EXPECT_EQ(reader.GetStatus(), c.status) << c.path;
        EXPECT_EQ(reader.Size(), c.status == Status::Ok ? 5u : 0u) << c.path;
        EXPECT_EQ(ReadFileBytes(c.path, 5).status, c.whole) << c.path;
    }
}

TEST(RegularFileReader, ReadsTheFileItOpenedWhateverTakesItsNameLater) {
    TempFolder folder;
    WriteBytes(folder / "file", "short");
    RegularFileReader reader(folder / "file");
    ASSERT_EQ(reader.GetStatus(), RegularFileReader::Status::Ok);
    ASSERT_TRUE(ReplaceFile(folder / "file", std::string_view("a good deal longer")));
    EXPECT_EQ(reader.Size(), 5u);
    std::string bytes(6, '\0');
    const auto got = reader.Read(std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), 6));
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(bytes.substr(0, *got), "short");
}

TEST(ReadFileBytes, RefusesAFileLargerThanAllowedBeforeReadingIt) {
    TempFolder folder;
    WriteBytes(folder / "f", "12345");
    EXPECT_EQ(ReadFileBytes(folder / "f", 5).bytes, "12345");
    EXPECT_EQ(ReadFileBytes(folder / "f", 4).status, FileReadStatus::TooLarge);
    EXPECT_EQ(ReadFileBytes(folder / "missing", 4).status, FileReadStatus::Missing);
    EXPECT_EQ(ReadFileBytes(folder.Path(), 4).status, FileReadStatus::Unreadable);
}

}  // namespace
}  // namespace korvel
