#include <gtest/gtest.h>

#include <chrono>

#include "device/sim/keyboard_memory.h"
#include "model/files/backup_folder.h"
#include "support/keyboard_fixture.h"
#include "support/temp_folder.h"
#include "sync/keyboard_backup.h"

namespace korvel::test {
namespace {

using fixtures::TempFolder;

// A keyboard whose every area holds something other than the factory's: what a user set up.
sim::KeyboardMemory Configured(sim::KeyboardMemory memory, std::uint8_t seed) {
    std::uint8_t next = seed;
    const auto fill = [&next](auto&& area) {
        for (auto& b : area) {
            b = next;
            next = static_cast<std::uint8_t>(next * 5 + 3);
        }
    };
    fill(memory.keyTables);
    fill(memory.params);
    // Each colour page holds the 126 lights; the rest of its 512 bytes is nobody's.
    for (int page = 0; page < kOnboardProfiles; ++page) {
        fill(std::span(memory.keyColors).subspan(page * kKeyColorPageStride, kBackupKeyColorBytes));
    }
    fill(memory.macroArea);
    memory.info[kInfoActiveProfileOffset] = seed % 3;
    return memory;
}

class CompleteBackups : public KeyboardFixture {
protected:
    int Count(std::uint8_t command) const { return static_cast<int>(ReceivedWith(command).size()); }
};

TEST_F(CompleteBackups, RestoringMakesTheKeyboardHoldAgainWhatItHeld) {
    keyboard.SetMemory(Configured(keyboard.Memory(), 7));
    const sim::KeyboardMemory before = keyboard.Memory();
    const auto backup = ReadCompleteBackup(link);
    ASSERT_TRUE(backup);
    EXPECT_EQ(backup->activeProfile, 1);
    EXPECT_EQ(backup->macroArea.size(), 8192u);
    ASSERT_TRUE(backup->keyColors);
    // Keys, macros, lighting (the report rate with it) and the active profile all change.
    keyboard.SetMemory(Configured(keyboard.Memory(), 200));
    ASSERT_NE(keyboard.Memory(), before);

    keyboard.ClearReceived();
    std::vector<std::pair<int, int>> progress;
    const RestoreResult restored = RestoreCompleteBackup(
        link, *backup, keyCodec,
        [&progress](int done, int planned) { progress.emplace_back(done, planned); });
    ASSERT_EQ(restored.outcome, RestoreOutcome::Restored) << DescribeRestore(restored);
    EXPECT_EQ(keyboard.Memory(), before);
    EXPECT_EQ(FormatCompleteBackup(*ReadCompleteBackup(link)), FormatCompleteBackup(*backup));

    // On the wire: one sequence of writes, opened and closed, then the profile switch and the
    // read-back; each record exactly at its profile's place.
    const auto received = keyboard.Received();
    EXPECT_EQ(received[0].Command(), CMD_READ_INFO);
    EXPECT_EQ(received[1].Command(), CMD_BEGIN);
    EXPECT_EQ(Count(CMD_WRITE_KEYTABLE), 3 * 7);
    EXPECT_EQ(Count(CMD_WRITE_MACROS), (8192 + 55) / 56);
    EXPECT_EQ(Count(CMD_WRITE_KEYCOLORS), 3 * 7);
    const auto records = ReceivedWith(CMD_WRITE_PARAMS);
    ASSERT_EQ(records.size(), 3u);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(records[p].Address(), p * 42);
        EXPECT_EQ(records[p].Length(), 42);
    }
    EXPECT_EQ(Count(CMD_WRITE_INFO), 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().first, progress.back().second);
}

TEST_F(CompleteBackups, ABackupOfAnotherKindOfKeyboardIsRefusedUnsent) {
    const auto backup = ReadCompleteBackup(link);
    ASSERT_TRUE(backup);
    struct Case {
        sim::FactoryOptions keyboard;
        const char* said;
    };
    const Case cases[] = {
        {{.macroCapacityUnits = 32}, "8192 bytes of macro memory; this one has 4096"},
        {{.perKeyColors = false}, "the backup holds per-key colours; this keyboard has none"},
    };
    for (const Case& c : cases) {
        keyboard.SetMemory(sim::MakeFactoryMemory(c.keyboard));
        keyboard.ClearReceived();
        const RestoreResult restored = RestoreCompleteBackup(link, *backup, keyCodec);
        EXPECT_EQ(restored.outcome, RestoreOutcome::DoesNotFit);
        EXPECT_NE(DescribeRestore(restored).find(c.said), std::string::npos)
            << DescribeRestore(restored);
        EXPECT_EQ(keyboard.Received().size(), 1u);  // the information block, read
    }
}

TEST_F(CompleteBackups, AWriteTheKeyboardDidNotKeepIsFoundAndNamed) {
    keyboard.SetMemory(Configured(keyboard.Memory(), 9));
    const auto backup = ReadCompleteBackup(link);
    ASSERT_TRUE(backup);
    keyboard.SetMemory(sim::MakeFactoryMemory());
    // The fourth write is the first record, profile 1's lighting: its effect byte is spoiled.
    keyboard.CorruptWrites(1, 7);
    const RestoreResult restored = RestoreCompleteBackup(link, *backup, keyCodec);
    ASSERT_EQ(restored.outcome, RestoreOutcome::CheckFailed);
    EXPECT_NE(DescribeRestore(restored).find("profile 1, lighting effect (byte 0)"),
              std::string::npos)
        << DescribeRestore(restored);
}

TEST_F(CompleteBackups, AnAutomaticBackupIsWrittenUnderTheTimeAndOperation) {
    TempFolder documents;
    const auto now = std::chrono::system_clock::from_time_t(1'800'000'000);
    const AutomaticBackupResult first =
        TakeAutomaticBackup(link, documents.Path(), kBackupBeforeImport, now);
    ASSERT_EQ(first.outcome, AutomaticBackupOutcome::Written);
    EXPECT_EQ(first.file,
              BackupsFolder(documents.Path()) / AutomaticBackupName(now, kBackupBeforeImport));
    std::string error;
    EXPECT_EQ(LoadCompleteBackupFile(first.file, error), ReadCompleteBackup(link)) << error;
    // A second in the same second does not replace the first.
    const AutomaticBackupResult second =
        TakeAutomaticBackup(link, documents.Path(), kBackupBeforeImport, now);
    EXPECT_NE(second.file, first.file);
    EXPECT_EQ(ListAutomaticBackups(BackupsFolder(documents.Path())).size(), 2u);

    // Where the Documents folder is missing nothing is read into a file nobody can find.
    const AutomaticBackupResult nowhere =
        TakeAutomaticBackup(link, documents / "missing", kBackupBeforeImport, now);
    EXPECT_EQ(nowhere.outcome, AutomaticBackupOutcome::WriteFailed);
    EXPECT_FALSE(nowhere.write);

    keyboard.SetPlugged(false);
    link.Disconnect();
    EXPECT_EQ(TakeAutomaticBackup(link, documents.Path(), kBackupBeforeImport, now).outcome,
              AutomaticBackupOutcome::KeyboardUnreadable);
}

}  // namespace
}  // namespace korvel::test
