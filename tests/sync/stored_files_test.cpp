// What a failed or refused write of a stored file does to the files and to what the program holds.
#include <gtest/gtest.h>

#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/macros/macro_blob.h"
#include "support/keyboard_fixture.h"
#include "support/temp_folder.h"
#include "sync/device_backup.h"
#include "sync/profile_transfer.h"

namespace korvel::test {
namespace {

using korvel::fixtures::ReadBytes;
using korvel::fixtures::TempFolder;

MacroRecord LongMacro(std::uint16_t id, int actions) {
    MacroRecord record;
    record.macroId = id;
    record.name = u"long";
    record.loopCount = 1;
    for (int i = 0; i < actions; ++i) {
        record.actions.push_back({10, 0x01E, static_cast<std::uint16_t>(i % 2)});
    }
    return record;
}

class StoredFiles : public KeyboardFixture {
protected:
    StoredFiles() { EnsureProfileDirectory(Documents()); }
    std::filesystem::path Documents() const { return folder.Path(); }
    std::filesystem::path Working() const { return WorkingFile(Documents()); }

    TempFolder folder;
};

TEST_F(StoredFiles, AnImportTheKeyboardCannotHoldChangesNeitherTheWorkingFileNorTheWindow) {
    // 5 × 600 actions of 4 bytes: far beyond the keyboard's 8192 bytes, with or without names.
    store.EditingConfig().SetMacros({LongMacro(1, 600), LongMacro(2, 600), LongMacro(3, 600),
                                     LongMacro(4, 600), LongMacro(5, 600)});
    const auto file = folder / "large.kvp";
    ASSERT_TRUE(ExportProfileFile(store, file));
    CreateDefaultConfig(store, {}, 0, true);
    store.EditingConfig().SetMacros({});
    Editing(0, 0x01E) = {kEntryDisabled, 0, 0};
    ASSERT_TRUE(SaveProfileFile(store, true, Working()));
    const std::string workingBefore = ReadBytes(Working());
    const ConfigImage editingBefore = *store.EditingConfig().Image();
    keyboard.ClearReceived();

    const ImportResult result = ImportAndDownload(parts, Documents(), file);
    EXPECT_EQ(result.outcome, ImportOutcome::NoRoom);
    EXPECT_EQ(ReadBytes(Working()), workingBefore);
    EXPECT_EQ(*store.EditingConfig().Image(), editingBefore);
    EXPECT_EQ(store.EditingConfig().MacroCount(), 0);
    EXPECT_TRUE(keyboard.Received().empty());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, kMacroSpaceExceededMessage);
}

TEST_F(StoredFiles, AWorkingFileThatCannotBeWrittenNeverReplacesWhatTheKeyboardHolds) {
    Editing(0, 0x01E) = {kEntryDisabled, 0, 0};
    ASSERT_EQ(Apply(true), 1);
    CreateDefaultConfig(store, {}, 0, true);
    // Something that is not a file stands where the working file belongs.
    std::filesystem::create_directory(Working());

    FileWriteResult write;
    EXPECT_EQ(ReloadFromDevice(store, link, keyCodec, Texts(), Documents(), &write),
              ReloadOutcome::FromKeyboardUnsaved);
    EXPECT_EQ(write.status, FileWriteResult::Status::NotRegularFile);
    EXPECT_EQ(Editing(0, 0x01E).type, kEntryDisabled) << "the keyboard's setup, not the defaults";
    EXPECT_TRUE(std::filesystem::is_directory(Working()));

    const auto file = folder / "other.kvp";
    ASSERT_TRUE(ExportProfileFile(store, file));
    const ImportResult result = ImportAndDownload(parts, Documents(), file);
    EXPECT_EQ(result.outcome, ImportOutcome::Applied);
    EXPECT_EQ(result.workingFile, WorkingFileState::Failed);
    EXPECT_EQ(FileWriteFailedText(Texts(), Working(), result.workingFileWrite),
              u"The file could not be written; it is as it was before:\n  " +
                  Working().u16string() + u" (not a regular file)");
}

TEST_F(StoredFiles, ABackupTellsAFailedReadFromAFailedWrite) {
    std::filesystem::create_directory(folder / "dir.kvp");
    EXPECT_EQ(BackupDeviceToFile(link, keyCodec, Texts(), folder / "dir.kvp").outcome,
              BackupOutcome::WriteFailed);
    link.SetActiveProfileCache(-1);
    keyboard.SilenceReplies(-1);
    EXPECT_EQ(BackupDeviceToFile(link, keyCodec, Texts(), folder / "x.kvp").outcome,
              BackupOutcome::ReadFailed);
    EXPECT_FALSE(std::filesystem::exists(folder / "x.kvp"));
}

}  // namespace
}  // namespace korvel::test
