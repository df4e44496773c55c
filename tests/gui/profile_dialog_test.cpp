#include <gtest/gtest.h>

#include "model/files/backup_folder.h"

#include <QDir>
#include <QTableWidget>
#include <fstream>

#include "gui/editors/profile_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_locations.h"

namespace korvel {
namespace {

using fixtures::CountCommands;
using fixtures::PumpUntil;

// The profile manager, opened from the scene-mode button of a window on a keyboard whose onboard
// profile 0 plays B on A, profile 1 C and profile 2 A, with profile 2 active.
class ProfileManager : public fixtures::MainWindowFixture {
protected:
    ProfileManager() {
        sim::KeyboardMemory memory = keyboard.Memory();
        memory.keyTables[kKeyTableBytes + 19 * 3 + 2] = 0x06;
        memory.info[kInfoActiveProfileOffset] = 2;
        keyboard.SetMemory(memory);
    }
    int ActiveOnKeyboard() const { return keyboard.Memory().info[kInfoActiveProfileOffset]; }
    // What the keyboard's profile p plays on A (4: A, 5: B, 6: C).
    int AOnKeyboard(int profile) const {
        return keyboard.Memory()
            .keyTables[static_cast<std::size_t>(profile) * kKeyTableBytes + 19 * 3 + 2];
    }
    CKorvel_DlgProfile* Open(CKorvelDlg& window) {
        window.Control(kControlSceneMode)->click();
        EXPECT_NE(window.Dialogs().ProfileManager(), nullptr);
        return window.Dialogs().ProfileManager();
    }
    static QStringList Column(CKorvel_DlgProfile& dialog, int column) {
        QStringList texts;
        for (int row = 0; row < dialog.List()->rowCount(); ++row) {
            texts << dialog.List()->item(row, column)->text();
        }
        return texts;
    }
    // Checks a row as a click on its check box does.
    static void Check(CKorvel_DlgProfile& dialog, int row) {
        dialog.List()->item(row, CKorvel_DlgProfile::kColumnActive)->setCheckState(Qt::Checked);
    }
    std::optional<std::u16string> Stored(int number) {
        return settings.ReadString(kProfilesSection, ProfileListKey(number));
    }
};

TEST_F(ProfileManager, OpensWithTheOnboardProfilesAndTheActiveOneChecked) {
    auto window = StartShown();
    CKorvel_DlgProfile* dialog = Open(*window);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(Column(*dialog, CKorvel_DlgProfile::kColumnName),
              QStringList({"Profile 1", "Profile 2", "Profile 3"}));
    const QString folder = QDir::toNativeSeparators(
        QString::fromStdU16String(ProfileDirectory(paths.DocumentsDirectory()).u16string()) + "/");
    EXPECT_EQ(Column(*dialog, CKorvel_DlgProfile::kColumnFolder),
              QStringList({folder, folder, folder}));
    EXPECT_EQ(dialog->CheckedRow(), 2);
    EXPECT_FALSE(dialog->IsModified());
    EXPECT_FALSE(dialog->Button(CKorvel_DlgProfile::kApply)->isEnabled());
    EXPECT_FALSE(dialog->Button(CKorvel_DlgProfile::kDelete)->isEnabled());

    window->OnKeyboardGone();
    EXPECT_TRUE(PumpUntil([&] { return window->Dialogs().ProfileManager() == nullptr; }))
        << "the keyboard's departure closes it";
    window->Shutdown();
}

TEST_F(ProfileManager, ApplyingACheckedOnboardRowSwitchesTheKeyboardAndKeepsTheList) {
    auto window = StartShown();
    CKorvel_DlgProfile* dialog = Open(*window);
    Check(*dialog, 0);
    Check(*dialog, 1);
    EXPECT_EQ(dialog->CheckedRow(), 1) << "one row at most";
    EXPECT_TRUE(dialog->Button(CKorvel_DlgProfile::kApply)->isEnabled());
    keyboard.ClearReceived();
    dialog->Button(CKorvel_DlgProfile::kApply)->click();
    ASSERT_TRUE(Idle(*window));

    EXPECT_EQ(ActiveOnKeyboard(), 1);
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYTABLE), 0) << "nothing was modified";
    EXPECT_TRUE(window->Profiles().Button(kProfileButton2)->IsChecked());
    EXPECT_EQ(KeyA(*window)->toolTip(), "A: sends C");
    EXPECT_EQ(window->Control(kControlSceneMode)->text(), "Profile 2");
    const std::u16string working = WorkingFile(paths.DocumentsDirectory()).u16string();
    EXPECT_EQ(Stored(0), u"3");
    for (int number = 1; number <= 3; ++number) {
        EXPECT_EQ(Stored(number), working) << number;
    }
    EXPECT_FALSE(dialog->IsModified());
    EXPECT_TRUE(dialog->isVisible()) << "Apply leaves it open";
    dialog->Button(CKorvel_DlgProfile::kCancel)->click();
    EXPECT_TRUE(PumpUntil([&] { return window->Dialogs().ProfileManager() == nullptr; }));
    window->Shutdown();
}

TEST_F(ProfileManager, AddedAndLoadedFilesJoinTheListAndACheckedFileIsImported) {
    auto window = StartShown();
    CKorvel_DlgProfile* dialog = Open(*window);
    const std::filesystem::path folder = ProfileDirectory(paths.DocumentsDirectory());
    const std::filesystem::path fresh = folder / "fresh.kvp";
    const std::filesystem::path loaded = documents.filePath("elsewhere.kvp").toStdU16String();
    ASSERT_TRUE(window->Applier().Export(loaded));
    profileFiles.Queue(fresh);
    profileFiles.Queue(loaded);
    profileFiles.Queue(folder / "gone.kvp");

    dialog->Button(CKorvel_DlgProfile::kAdd)->click();
    dialog->Button(CKorvel_DlgProfile::kLoad)->click();
    dialog->Button(CKorvel_DlgProfile::kLoad)->click();
    ASSERT_EQ(profileFiles.StartedAt().size(), 3u);
    EXPECT_EQ(profileFiles.StartedAt()[0], folder / "New profile");
    EXPECT_EQ(profileFiles.StartedAt()[1], folder);
    EXPECT_TRUE(std::filesystem::exists(fresh)) << "Add writes a default profile file";
    EXPECT_EQ(Column(*dialog, CKorvel_DlgProfile::kColumnName),
              QStringList({"Profile 1", "Profile 2", "Profile 3", "fresh", "elsewhere", "gone"}));
    EXPECT_EQ(dialog->CheckedRow(), 2) << "added rows are not checked";

    // Only files leave the list.
    dialog->List()->selectRow(1);
    EXPECT_FALSE(dialog->Button(CKorvel_DlgProfile::kDelete)->isEnabled());
    dialog->List()->selectRow(5);
    dialog->Button(CKorvel_DlgProfile::kDelete)->click();
    EXPECT_EQ(dialog->List()->rowCount(), 5);

    // The default file's three profiles replace the keyboard's keys; profile 2 stays active.
    Check(*dialog, 3);
    dialog->Button(CKorvel_DlgProfile::kOk)->click();
    EXPECT_TRUE(PumpUntil([&] { return window->Dialogs().ProfileManager() == nullptr; }));
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(ActiveOnKeyboard(), 2);
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(AOnKeyboard(profile), 0x04) << profile;
    }
    // What the keyboard held before is kept.
    const auto kept = ListAutomaticBackups(BackupsFolder(documents.path().toStdU16String()));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].operation, "profile-import");
    EXPECT_EQ(KeyA(*window)->toolTip(), "A");
    EXPECT_EQ(Stored(0), u"5");
    EXPECT_EQ(Stored(4), fresh.u16string());
    EXPECT_EQ(Stored(5), loaded.u16string());
    EXPECT_FALSE(Stored(6));
    window->Shutdown();
}

// The files a user added stay in the list: when the manager opens again, and after a restart.
TEST_F(ProfileManager, AddedFilesAreKeptAcrossOpeningsAndRestarts) {
    const std::filesystem::path folder = ProfileDirectory(paths.DocumentsDirectory());
    {
        auto window = StartShown();
        CKorvel_DlgProfile* dialog = Open(*window);
        profileFiles.Queue(folder / "kept.kvp");
        dialog->Button(CKorvel_DlgProfile::kAdd)->click();
        dialog->Button(CKorvel_DlgProfile::kCancel)->click();
        ASSERT_TRUE(PumpUntil([&] { return window->Dialogs().ProfileManager() == nullptr; }));
        dialog = Open(*window);
        EXPECT_EQ(Column(*dialog, CKorvel_DlgProfile::kColumnName),
                  QStringList({"Profile 1", "Profile 2", "Profile 3", "kept"}));
        dialog->reject();
        window->Shutdown();
    }
    auto window = StartShown();
    CKorvel_DlgProfile* dialog = Open(*window);
    EXPECT_EQ(Column(*dialog, CKorvel_DlgProfile::kColumnName),
              QStringList({"Profile 1", "Profile 2", "Profile 3", "kept"}));
    EXPECT_EQ(dialog->RowFile(3), folder / "kept.kvp");
    dialog->reject();
    window->Shutdown();
}

TEST_F(ProfileManager, AFileThatCannotBeImportedChangesNothingAndStaysChecked) {
    auto window = StartShown();
    CKorvel_DlgProfile* dialog = Open(*window);
    const std::filesystem::path broken = documents.filePath("broken.kvp").toStdU16String();
    std::ofstream(broken) << "not a profile";
    profileFiles.Queue(broken);
    dialog->Button(CKorvel_DlgProfile::kLoad)->click();
    Check(*dialog, 3);
    keyboard.ClearReceived();
    EXPECT_FALSE(dialog->Apply());
    // The message names the file and what is wrong with it.
    EXPECT_EQ(prompts.Shown().back().text, texts.Text(TextKey::MAIN_PROMPT_INPORT) + u"\n" +
                                               broken.u16string() +
                                               u": the file ends before the data its header "
                                               u"announces");
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYTABLE), 0);
    EXPECT_EQ(AOnKeyboard(2), 0x04);
    EXPECT_EQ(AOnKeyboard(1), 0x06);
    EXPECT_EQ(dialog->CheckedRow(), 3);
    EXPECT_TRUE(dialog->IsModified());
    dialog->Button(CKorvel_DlgProfile::kCancel)->click();
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
