#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "base/text_encoding.h"
#include "cli/korvelctl_run.h"
#include "cli/sample_profile.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/key_table_codec.h"

namespace korvel::cli {
namespace {

using test::Korvelctl;
using test::Outcome;

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FileCommands : public ::testing::Test {
protected:
    FileCommands()
        : folder(std::filesystem::temp_directory_path() /
                 ("korvelctl-files-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "docs");
        profile = (folder / "profile.kvp").string();
        EXPECT_TRUE(test::WriteSampleProfile(store, profile));
    }
    ~FileCommands() override { std::filesystem::remove_all(folder); }

    std::string State() const { return "--simulate=" + (folder / "kb.state").string(); }
    std::string Documents() const { return (folder / "docs").string(); }

    std::filesystem::path folder;
    ConfigStore store;
    std::string profile;
};

struct FailureCase {
    std::vector<std::string> args;
    int status;
    std::string errContains;
};

TEST_F(FileCommands, UsageAndFailureExits) {
    const std::string missing = (folder / "missing.kvp").string();
    const std::string shortFile = (folder / "short.kvp").string();
    std::ofstream(shortFile) << "too short";
    const std::string badHeader = (folder / "bad.kvp").string();
    {
        std::string bytes = Slurp(profile);
        bytes[2] = 33;
        std::ofstream(badHeader, std::ios::binary) << bytes;
    }
    const std::string truncated = (folder / "truncated.kvp").string();
    {
        const std::string bytes = Slurp(profile);
        std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() - 20);
    }
    const std::string fifo = (folder / "pipe.kvp").string();
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string aFolder = (folder / "docs").string();
    const std::string docs = "--documents=" + Documents();
    const FailureCase cases[] = {
        {{"validate"}, 2, "FILE is required"},
        {{"validate", "a", "b"}, 2, "not expected: b"},
        {{"validate", missing}, 1, "no such file"},
        {{"validate", shortFile}, 1, "not a profile file"},
        {{"validate", badHeader},
         1,
         "This is not a profile file the program can read; the default settings are used "
         "instead:\n  " +
             badHeader},
        {{"validate", truncated}, 1, "ends before the data"},
        {{"validate", aFolder}, 1, aFolder + ": is a folder, not a file"},
        {{"validate", fifo}, 1, fifo + ": is a pipe, socket or device, not a file"},
        {{"dump", aFolder}, 1, aFolder + ": is a folder, not a file"},
        {{"dump", fifo}, 1, fifo + ": is a pipe, socket or device, not a file"},
        {{"dump", "/dev/null"}, 1, "/dev/null: is a pipe, socket or device, not a file"},
        {{"encode", fifo, "1"}, 1, "is a pipe, socket or device, not a file"},
        {{"blob", aFolder, "100"}, 1, "is a folder, not a file"},
        {{State(), docs, "import", aFolder}, 1, aFolder + ": is a folder, not a file"},
        {{State(), docs, "import", fifo}, 1, "is a pipe, socket or device, not a file"},
        {{"dump"}, 2, "FILE is required"},
        {{"dump", profile, "--yaml"}, 2, "not expected: --yaml"},
        {{"dump", truncated}, 1, "ends before the data"},
        {{"encode", profile}, 2, "PROFILE is required"},
        {{"encode", profile, "4"}, 2, "must be a profile 1, 2 or 3"},
        {{"encode", missing, "1"}, 1, "no such file"},
        {{"blob", profile}, 2, "CAPACITY is required"},
        {{"blob", profile, "-5"}, 2, "whole number"},
        {{"blob", profile, "lots"}, 2, "whole number"},
        {{"blob", shortFile, "100"}, 1, "ends before"},
        {{"blob", profile, "20"}, 1, "Macro space exceeds the hardware space."},
        {{State(), docs, "import"}, 2, "FILE is required"},
        {{State(), docs, "import", badHeader}, 1, "The file could not be imported"},
        {{State(), docs, "import", truncated}, 1, "The file could not be imported"},
        {{State(), "backup"}, 2, "FILE is required"},
        {{State(), "backup", (folder / "no-such-folder" / "x.kvp").string()},
         1,
         "could not be written"},
        {{State(), docs, "export"}, 2, "FILE is required"},
        {{State(), docs, "export", (folder / "no-such-folder" / "x.kvp").string()},
         1,
         "could not be written"},
    };
    for (const FailureCase& c : cases) {
        const Outcome run = Korvelctl(c.args);
        std::string line;
        for (const auto& a : c.args) {
            line += a + ' ';
        }
        EXPECT_EQ(run.status, c.status) << line << '\n' << run.err;
        EXPECT_NE(run.err.find(c.errContains), std::string::npos) << line << '\n' << run.err;
        EXPECT_EQ(run.out, "") << line;
    }
    // The header case shows the format message and then the import message, in that order.
    const Outcome both = Korvelctl({State(), docs, "import", badHeader});
    EXPECT_LT(both.err.find("This is not a profile file"), both.err.find("could not be imported"));
}

TEST_F(FileCommands, ValidateAndDump) {
    EXPECT_EQ(Korvelctl({"validate", profile}).out, "valid\n");

    const Outcome text = Korvelctl({"dump", profile});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("macroCount 2"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("slot 0x01e A: type 2, aux 0, value 48"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("macro 7 \"second\", loopCount 2, 2 actions"), std::string::npos);
    EXPECT_NE(text.out.find("\"run \"me\".exe\""), std::string::npos);

    const Outcome json = Korvelctl({"dump", profile, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_TRUE(nlohmann::json::accept(json.out)) << json.out;
    EXPECT_EQ(json.out.back(), '\n');
    const auto dumped = nlohmann::ordered_json::parse(json.out);
    std::vector<std::string> keys;
    for (const auto& [key, value] : dumped.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"header", "profiles", "macros", "strings"}));
    const auto& header = dumped["header"];
    EXPECT_EQ(header["magic"], 0x4446);
    EXPECT_EQ(header["macroCount"], 2);
    EXPECT_EQ(header["valid"], true);
    EXPECT_EQ(header.size(), 11u);
    ASSERT_EQ(dumped["profiles"].size(), 4u);
    EXPECT_EQ(
        dumped["profiles"][0][0],
        nlohmann::ordered_json::parse(R"({"slot":30,"name":"A","type":2,"aux":0,"value":48})"));
    EXPECT_EQ(dumped["profiles"][3], nlohmann::ordered_json::array());
    EXPECT_EQ(
        dumped["macros"][0],
        nlohmann::ordered_json::parse(
            R"({"id":3,"name":"abc","loopCount":2,"actions":[)"
            R"({"delayMs":120,"key":30,"direction":0},{"delayMs":0,"key":30,"direction":1}]})"));
    EXPECT_EQ(dumped["macros"][1]["name"], "second");
    EXPECT_EQ(dumped["strings"],
              nlohmann::ordered_json::parse(R"([{"entry":1056,"text":"run \"me\".exe"}])"));
}

TEST_F(FileCommands, JsonCarriesEveryCharacterOfNamesAndTexts) {
    EditingHolder& editing = store.EditingConfig();
    const std::u16string name = u"tab\there\nline \\ \"q\" \u00e9\u540d \x01";
    editing.Macros()[0].name = name;
    const std::u16string text = u"C:\\Tools\\x.exe \x1f";
    editing.Strings().SetText(GlobalEntryIndex(2, SlotOfScan(0x020)), text);
    ASSERT_TRUE(SaveProfileFile(store, true, profile));
    const Outcome json = Korvelctl({"dump", profile, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_TRUE(nlohmann::json::accept(json.out)) << json.out;
    const auto dumped = nlohmann::json::parse(json.out);
    EXPECT_EQ(dumped["macros"][0]["name"].get<std::string>(), Utf16ToUtf8(name));
    EXPECT_EQ(dumped["strings"][0]["text"].get<std::string>(), Utf16ToUtf8(text));
}

TEST_F(FileCommands, EncodeGivesTheDownloadsKeyTable) {
    for (int p = 1; p <= 3; ++p) {
        const Outcome run = Korvelctl({"encode", profile, std::to_string(p)});
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_EQ(run.out.size(), 757u);
        const KeyTableBytes expected = EncodeKeyTable(
            store.EditingConfig().Image()->blocks[static_cast<std::size_t>(p - 1)],
            kBuiltInDefaultKeyTable,
            [this](std::uint16_t id) { return MacroIndexById(store.EditingConfig(), id); });
        std::string hex;
        for (const std::uint8_t b : expected) {
            static constexpr char kDigits[] = "0123456789abcdef";
            hex += kDigits[b >> 4];
            hex += kDigits[b & 15];
        }
        EXPECT_EQ(run.out, hex + "\n") << "profile " << p;
    }
    // Macro id 7 is the second macro of the list: 05 01 01 at the position of S.
    const Outcome two = Korvelctl({"--simulate", "encode", profile, "2"});
    EXPECT_EQ(two.status, 0) << two.err;
    EXPECT_NE(two.out.find("050101"), std::string::npos);
}

TEST_F(FileCommands, BlobFollowsTheCapacityRule) {
    // Two macros of two actions: bare 16 + 4 + 2 x 12 = 44, names add 6 and 12 bytes.
    const Outcome full = Korvelctl({"blob", profile, "62"});
    ASSERT_EQ(full.status, 0) << full.err;
    EXPECT_EQ(full.out.substr(0, 16), "aa553e0002000100");
    EXPECT_EQ(full.out.substr(full.out.size() - 12), "\nnames: yes\n");
    const Outcome bare = Korvelctl({"blob", profile, "44"});
    ASSERT_EQ(bare.status, 0) << bare.err;
    EXPECT_EQ(bare.out, bare.out.substr(0, 88) + "\nnames: no\n");
    EXPECT_EQ(bare.out.substr(0, 16), "aa552c0002000000");
    EXPECT_EQ(Korvelctl({"blob", profile, "43"}).status, 1);
}

TEST_F(FileCommands, ImportBackupAndExportGoThroughTheKeyboard) {
    const std::string docs = "--documents=" + Documents();
    const Outcome imported = Korvelctl({State(), docs, "import", profile});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out,
              "macro area: 62 bytes\nprofiles written: 3\nworking file: not present, not saved\n");

    const std::string backup = (folder / "backup.kvp").string();
    ASSERT_EQ(Korvelctl({State(), "backup", backup}).status, 0);
    const Outcome dumped = Korvelctl({"dump", backup});
    EXPECT_NE(dumped.out.find("slot 0x01e A: type 2, aux 0, value 48"), std::string::npos);
    // Macro ids read back are area positions plus one; the key follows its macro.
    EXPECT_NE(dumped.out.find("macro 2 \"second\""), std::string::npos) << dumped.out;
    EXPECT_NE(dumped.out.find("slot 0x01f S: type 4, aux 0, value 2"), std::string::npos);
    EXPECT_EQ(dumped.out.find("string of entry"), std::string::npos);

    const std::string exported = (folder / "exported.kvp").string();
    ASSERT_EQ(Korvelctl({State(), docs, "export", exported}).status, 0);
    EXPECT_EQ(Slurp(exported), Slurp(backup));
    EXPECT_EQ(Slurp(WorkingFile(Documents())), Slurp(backup));

    // With the working file in place, an import keeps it up to date.
    const Outcome again = Korvelctl({State(), docs, "import", profile});
    EXPECT_NE(again.out.find("working file: saved"), std::string::npos);
    EXPECT_EQ(Slurp(WorkingFile(Documents())), Slurp(profile));
}

TEST_F(FileCommands, BackupAndTheStateFileGoThroughLinksToFilesNotYetCreated) {
    namespace fs = std::filesystem;
    const fs::path state = folder / "kb.state";
    fs::create_symlink(folder / "state-target", state);
    ASSERT_EQ(Korvelctl({State(), "profile", "2"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(state)));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "state-target")));
    EXPECT_EQ(Korvelctl({State(), "profile"}).out, "2\n");

    const fs::path backup = folder / "backup.kvp";
    fs::create_symlink("backup-target.kvp", backup);
    const Outcome run = Korvelctl({State(), "backup", backup.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(backup)));
    EXPECT_EQ(Korvelctl({"validate", (folder / "backup-target.kvp").string()}).out, "valid\n");
}

TEST_F(FileCommands, DumpAndEncodeReadAFileReplacedWhileTheyRunWhole) {
    // Two profile files of different lengths take turns under one name, as a program saving it
    // over and over would leave it; every read gets one of them whole.
    namespace fs = std::filesystem;
    ConfigStore empty;
    CreateDefaultConfig(empty, {}, 0, true);
    ASSERT_TRUE(SaveProfileFile(empty, true, folder / "short.kvp"));
    ASSERT_NE(fs::file_size(folder / "short.kvp"), fs::file_size(profile));
    const fs::path shared = folder / "shared.kvp";
    fs::copy_file(profile, shared);
    std::atomic<bool> done{false};
    std::thread saver([&] {
        for (int turn = 0; !done.load(); ++turn) {
            std::error_code ignored;
            fs::create_hard_link(turn % 2 == 0 ? folder / "short.kvp" : fs::path(profile),
                                 folder / "next.kvp", ignored);
            fs::rename(folder / "next.kvp", shared, ignored);
        }
    });
    int failed = 0;
    std::string lastError;
    for (int run = 0; run < 300; ++run) {
        const Outcome dumped = Korvelctl({"dump", shared.string()});
        const Outcome encoded = Korvelctl({"encode", shared.string(), "1"});
        for (const Outcome* outcome : {&dumped, &encoded}) {
            if (outcome->status != 0) {
                ++failed;
                lastError = outcome->err;
            }
        }
    }
    done = true;
    saver.join();
    EXPECT_EQ(failed, 0) << lastError;
}

}  // namespace
}  // namespace korvel::cli
