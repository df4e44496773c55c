#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/backup_restorer.h"
#include "gui/mainwnd/window_dialogs.h"
#include "gui/widgets/png_button.h"
#include "model/files/backup_folder.h"
#include "support/temp_folder.h"
#include "sync/profile_transfer.h"

namespace korvel {
namespace {

// The backup of what the virtual keyboard holds, taken from its memory.
CompleteBackup BackupOf(const sim::KeyboardMemory& memory) {
    CompleteBackup backup;
    backup.activeProfile = memory.info[kInfoActiveProfileOffset];
    backup.keyColors.emplace();
    for (std::size_t p = 0; p < kOnboardProfiles; ++p) {
        std::copy_n(memory.keyTables.begin() + static_cast<std::ptrdiff_t>(p * kKeyTableBytes),
                    kKeyTableBytes, backup.keyTables[p].begin());
        std::copy_n(memory.params.begin() + static_cast<std::ptrdiff_t>(p * kParamRecordBytes),
                    kParamRecordBytes, backup.lightingRecords[p].begin());
        std::copy_n(memory.keyColors.begin() + static_cast<std::ptrdiff_t>(p * kKeyColorPageStride),
                    kBackupKeyColorBytes, (*backup.keyColors)[p].begin());
    }
    backup.macroArea = memory.macroArea;
    return backup;
}

class WindowRestore : public fixtures::MainWindowFixture {
protected:
    std::filesystem::path Documents() const { return documents.path().toStdU16String(); }
};

TEST_F(WindowRestore, TheChosenBackupIsRestoredAfterTheKeyboardIsItselfKept) {
    const sim::KeyboardMemory held = keyboard.Memory();
    const std::filesystem::path file = Documents() / "kept.json";
    ASSERT_TRUE(WriteCompleteBackupFile(file, BackupOf(held)));
    // Everything changes: profile 1 no longer plays B on A, profile 3 is active, lighting white.
    sim::KeyboardMemory changed = sim::MakeFactoryMemory();
    changed.info[kInfoActiveProfileOffset] = 2;
    keyboard.SetMemory(changed);
    auto window = StartShown();
    ASSERT_EQ(KeyA(*window)->toolTip(), "A");

    QSignalSpy restored(&window->Dialogs(), &WindowDialogs::keyboardRestored);
    prompts.QueueAnswer(Answer::Yes);
    window->Dialogs().Restorer().Restore(file);
    ASSERT_TRUE(restored.wait(5000));
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(BackupOf(keyboard.Memory()), BackupOf(held));
    // The window shows what the keyboard holds now.
    EXPECT_TRUE(fixtures::PumpUntil([&] { return KeyA(*window)->toolTip() == "A: sends B"; }));
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_TRUE(prompts.Shown()[0].isQuestion);
    EXPECT_NE(prompts.Shown()[0].text.find(u"kept.json"), std::u16string::npos);
    EXPECT_EQ(prompts.Shown()[1].text, u"The keyboard holds the backup again.");
    // What the keyboard held before the restore can itself be restored.
    const auto automatic = ListAutomaticBackups(BackupsFolder(Documents()));
    ASSERT_EQ(automatic.size(), 1u);
    EXPECT_EQ(automatic[0].operation, "restore");
    std::string error;
    EXPECT_EQ(LoadCompleteBackupFile(automatic[0].file, error), BackupOf(changed));
    window->Shutdown();
}

TEST_F(WindowRestore, AFileThatIsNoBackupOrADeclinedOneChangesNothing) {
    auto window = StartShown();
    const sim::KeyboardMemory held = keyboard.Memory();
    const std::filesystem::path newer = Documents() / "newer.json";
    std::string text = FormatCompleteBackup(BackupOf(sim::MakeFactoryMemory()));
    text.replace(text.find("\"version\": 1"), 12, "\"version\": 3");
    fixtures::WriteBytes(newer, text);
    window->Dialogs().Restorer().Restore(newer);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_FALSE(prompts.Shown()[0].isQuestion);
    EXPECT_NE(
        prompts.Shown()[0].text.find(u"the backup was made by a newer Korvel (format version 3)"),
        std::u16string::npos);

    const std::filesystem::path good = Documents() / "good.json";
    ASSERT_TRUE(WriteCompleteBackupFile(good, BackupOf(sim::MakeFactoryMemory())));
    prompts.QueueAnswer(Answer::No);
    window->Dialogs().Restorer().Restore(good);
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(prompts.Shown().size(), 2u);
    EXPECT_TRUE(keyboard.Received().empty());
    EXPECT_EQ(keyboard.Memory(), held);
    window->Shutdown();
}

// Where the automatic backup cannot be written, the import asks before it goes on without one.
TEST_F(WindowRestore, AnImportAsksBeforeGoingOnWithoutItsBackup) {
    auto window = StartShown();
    // A file where the Backups folder would be: no backup can be written there.
    std::filesystem::create_directories(Documents() / "Korvel_09A");
    fixtures::WriteBytes(BackupsFolder(Documents()), "in the way");
    const std::filesystem::path file = Documents() / "plain.kvp";
    ASSERT_TRUE(ExportProfileFile(store, file));
    QSignalSpy imported(&window->Applier(), &ApplyController::importFinished);
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        keyboard.ClearReceived();
        prompts.QueueAnswer(answer);
        ASSERT_TRUE(window->Applier().Import(file));
        ASSERT_TRUE(imported.wait(5000));
        ASSERT_TRUE(Idle(*window));
        const ShownPrompt asked = prompts.Shown().back();
        EXPECT_TRUE(asked.isQuestion);
        EXPECT_NE(asked.text.find(u"The keyboard could not be backed up first:"),
                  std::u16string::npos);
        EXPECT_NE(asked.text.find(u"Go on without a backup?"), std::u16string::npos);
        EXPECT_EQ(imported.takeFirst().at(0).toBool(), answer == Answer::Yes);
        EXPECT_EQ(fixtures::CountCommands(keyboard, CMD_WRITE_KEYTABLE),
                  answer == Answer::Yes ? 21 : 0);
    }
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
