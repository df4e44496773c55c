#include <gtest/gtest.h>

#include <chrono>
#include <nlohmann/json.hpp>

#include "model/files/backup_folder.h"
#include "model/files/complete_backup.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::TempFolder;

// Every byte of every area set, so that a field written or read in the wrong place shows.
CompleteBackup Varied(bool keyColors = true, std::size_t macroBytes = 8192) {
    CompleteBackup backup;
    backup.activeProfile = 2;
    std::uint8_t next = 1;
    for (std::size_t p = 0; p < kOnboardProfiles; ++p) {
        for (auto& b : backup.keyTables[p]) {
            b = next++;
        }
        for (auto& b : backup.lightingRecords[p]) {
            b = next += 7;
        }
    }
    if (keyColors) {
        backup.keyColors.emplace();
        for (auto& table : *backup.keyColors) {
            for (auto& b : table) {
                b = next += 3;
            }
        }
    }
    backup.macroArea.resize(macroBytes);
    for (auto& b : backup.macroArea) {
        b = next += 5;
    }
    return backup;
}

TEST(CompleteBackupFormat, ReadsBackExactlyWhatItWrote) {
    for (const bool keyColors : {true, false}) {
        for (const std::size_t macroBytes :
             {std::size_t{0}, std::size_t{128}, std::size_t{32640}}) {
            const CompleteBackup backup = Varied(keyColors, macroBytes);
            const std::string text = FormatCompleteBackup(backup);
            std::string error;
            const auto read = ParseCompleteBackup(text, error);
            ASSERT_TRUE(read) << error;
            EXPECT_EQ(*read, backup);
            EXPECT_EQ(FormatCompleteBackup(*read), text);
        }
    }
}

TEST(CompleteBackupFormat, IsTheDocumentedJson) {
    const nlohmann::json document = nlohmann::json::parse(FormatCompleteBackup(Varied()));
    EXPECT_EQ(document["format"], "korvel-keyboard-backup");
    EXPECT_EQ(document["version"], 1);
    EXPECT_EQ(document["activeProfile"], 3);  // counted from 1, as users count
    ASSERT_EQ(document["profiles"].size(), 3u);
    EXPECT_EQ(document["profiles"][0]["keyTable"].get<std::string>().substr(0, 6), "010203");
    EXPECT_EQ(document["profiles"][0]["keyTable"].get<std::string>().size(), 756u);
    EXPECT_EQ(document["profiles"][0]["lighting"].get<std::string>().size(), 84u);
    EXPECT_EQ(document["profiles"][0]["keyColors"].get<std::string>().size(), 756u);
    EXPECT_EQ(document["macroArea"].get<std::string>().size(), 16384u);
}

// A valid document with one member replaced (or removed, for null).
std::string With(const std::string& pointer, const nlohmann::json& value) {
    nlohmann::json document = nlohmann::json::parse(FormatCompleteBackup(Varied()));
    if (value.is_null()) {
        const nlohmann::json::json_pointer at(pointer);
        document[at.parent_pointer()].erase(at.back());
    } else {
        document[nlohmann::json::json_pointer(pointer)] = value;
    }
    return document.dump();
}

TEST(CompleteBackupFormat, RefusesWhatItDoesNotUnderstandAndSaysWhere) {
    const std::string table(756, '0');
    const struct {
        std::string text;
        std::string said;
    } cases[] = {
        {"", "not a JSON document"},
        {FormatCompleteBackup(Varied()).substr(0, 500), "not a JSON document"},
        {"[1, 2]", "$: an object was expected"},
        {With("/format", "something-else"), "$.format: this is not a keyboard backup"},
        {With("/version", 2),
         "$.version: the backup was made by a newer Korvel (format version 2)"},
        {With("/version", 0), "$.version: there is no format version 0"},
        {With("/version", "1"), "$.version: a whole number was expected"},
        {With("/comment", "hi"), "$: the member \"comment\" is not part of this format"},
        {With("/macroArea", nullptr), "$: the member \"macroArea\" is missing"},
        {With("/activeProfile", 0), "$.activeProfile: must be 1..3, not 0"},
        {With("/activeProfile", 4), "$.activeProfile: must be 1..3, not 4"},
        {With("/macroArea", "00"), "$.macroArea: a keyboard's macro area is a multiple of 128"},
        {With("/macroArea", std::string(257, '0')), "$.macroArea: a string of hexadecimal"},
        {With("/profiles/1/keyTable", table.substr(2)),
         "$.profiles[1].keyTable: must hold 378 bytes"},
        {With("/profiles/2/keyTable", "zz" + table.substr(2)),
         "$.profiles[2].keyTable: digit 0 is not a hexadecimal digit"},
        {With("/profiles/0/lighting", 5), "$.profiles[0].lighting: a string of hexadecimal"},
        {With("/profiles/1/keyColors", nullptr), "$.profiles: either every profile has"},
        {With("/profiles/0/extra", 1), "$.profiles[0]: the member \"extra\" is not part"},
        {With("/profiles", nlohmann::json::array()), "$.profiles: an array of 3 profiles"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseCompleteBackup(c.text, error)) << c.said;
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
    }
}

std::chrono::system_clock::time_point At(int second) {
    return std::chrono::system_clock::from_time_t(1'800'000'000 + second);
}

TEST(AutomaticBackups, AreNamedByTimeAndOperationAndListedNewestFirst) {
    const std::string name = AutomaticBackupName(At(0), kBackupBeforeDefaults);
    ASSERT_TRUE(BackupEntryOf(name));
    EXPECT_EQ(BackupEntryOf(name)->operation, "restore-defaults");
    EXPECT_EQ(BackupEntryOf("2026-12-11_09-30-15_import_2.json")->taken, "2026-12-11 09:30:15");
    for (const char* other : {"notes.json", "2026-12-11_09-30-15_import.kvp",
                              "2026-12-11_09-30-15_.json", "x2026-12-11_09-30-15_import.json"}) {
        EXPECT_FALSE(BackupEntryOf(other)) << other;
    }

    TempFolder folder;
    for (int i = 0; i < 25; ++i) {
        fixtures::WriteBytes(folder / AutomaticBackupName(At(i * 60), kBackupBeforeImport), "{}");
    }
    fixtures::WriteBytes(folder / "2026-01-01_00-00-00_import_2.json", "{}");
    fixtures::WriteBytes(folder / "2026-01-01_00-00-00_import.json", "{}");
    fixtures::WriteBytes(folder / "mine.json", "{}");
    const auto listed = ListAutomaticBackups(folder.Path());
    ASSERT_EQ(listed.size(), 27u);
    EXPECT_EQ(listed.front().file.filename(),
              AutomaticBackupName(At(24 * 60), kBackupBeforeImport));
    EXPECT_EQ(listed[25].file.filename(), "2026-01-01_00-00-00_import_2.json");
    EXPECT_EQ(listed[26].file.filename(), "2026-01-01_00-00-00_import.json");

    PruneAutomaticBackups(folder.Path());
    const auto kept = ListAutomaticBackups(folder.Path());
    ASSERT_EQ(kept.size(), kAutomaticBackupsKept);
    EXPECT_EQ(kept.back().file.filename(), AutomaticBackupName(At(5 * 60), kBackupBeforeImport));
    EXPECT_TRUE(std::filesystem::exists(folder / "mine.json"));
}

TEST(AutomaticBackups, AFileThatIsNoBackupIsRefusedWithItsReason) {
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(LoadCompleteBackupFile(folder / "missing.json", error));
    EXPECT_EQ(error, "there is no such file");
    fixtures::WriteBytes(folder / "big.json", std::string(kMaxBackupFileBytes + 1, ' '));
    EXPECT_FALSE(LoadCompleteBackupFile(folder / "big.json", error));
    EXPECT_NE(error.find("larger than any backup"), std::string::npos);
    ASSERT_TRUE(WriteCompleteBackupFile(folder / "b.json", Varied()));
    EXPECT_EQ(LoadCompleteBackupFile(folder / "b.json", error), Varied());
}

}  // namespace
}  // namespace korvel
