#include <gtest/gtest.h>

#include "model/files/backup_folder.h"

#include <QLabel>
#include <QTest>
#include <filesystem>
#include <optional>

#include "device/command_report.h"
#include "gui/editors/update_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/window_skins.h"
#include "model/files/profile_file.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::TempFolder;
using fixtures::WriteBytes;

// The firmware update dialog on the window's keyboard, its file pickers answered by the test.
class UpdateDialog : public fixtures::MainWindowFixture {
protected:
    std::unique_ptr<CKorvel_DlgUpdate> Make(CKorvelDlg& window) {
        const auto enterBoot = [&window](std::function<void(bool)> done) {
            window.Dialogs().EnterBootLoader(std::move(done));
        };
        UpdateDialogParts parts{texts, prompts, enterBoot, store, launcher, folder.Path()};
        parts.chooseUpdater = [this](QWidget*, const std::filesystem::path& start) {
            pickerStarts.push_back(start);
            return nextUpdater;
        };
        parts.chooseBackupFile = [this](QWidget*) { return nextBackup; };
        auto dialog = std::make_unique<CKorvel_DlgUpdate>(
            std::move(parts), ShippedSkin(paths, texts, WindowSkin::Update));
        EXPECT_TRUE(dialog->Initialise()) << dialog->SkinError().toStdString();
        return dialog;
    }
    // An updater program in the package folder; `executable` false leaves it without x bits.
    std::filesystem::path Updater(bool executable) {
        const auto file = folder / (executable ? "flash.sh" : "flash.bin");
        WriteBytes(file, "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(file, executable ? std::filesystem::perms::owner_all
                                                      : std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_write);
        return file;
    }
    std::u16string LastMessage() const {
        const auto shown = prompts.Shown();
        return shown.empty() ? std::u16string() : shown.back().text;
    }
    int BootRequests() const {
        int count = 0;
        for (const CommandReport& report : keyboard.Received()) {
            count += report.bytes[3] == 0xEE && report.bytes[4] == 0xEE;
        }
        return count;
    }

    TempFolder folder;
    std::optional<std::filesystem::path> nextUpdater;
    std::optional<std::filesystem::path> nextBackup;
    std::vector<std::filesystem::path> pickerStarts;
};

TEST_F(UpdateDialog, RefusalsSendNothingAndStartNothing) {
    auto window = StartShown();
    struct Case {
        const char* name;
        std::optional<bool> executable;  // none: no file chosen
        bool plugged;
        bool asked;  // the keyboard is asked: the refusal comes once it has answered
        TextKey message;
    };
    const Case cases[] = {
        {"no file chosen", std::nullopt, true, false, TextKey::MAIN_UPDATE_ERROR_TEXT},
        {"a file that cannot be executed", false, true, false, TextKey::MAIN_SHELL_ERROR_TEXT},
        {"the keyboard unplugged", true, false, true, TextKey::MAIN_BOOT_ERROR_TEXT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = Make(*window);
        nextUpdater = c.executable ? std::optional(Updater(*c.executable)) : std::nullopt;
        dialog->ChooseUpdater();
        keyboard.SetPlugged(c.plugged);
        keyboard.ClearReceived();
        EXPECT_EQ(dialog->Update(), c.asked);
        ASSERT_TRUE(Idle(*window));
        EXPECT_EQ(LastMessage(), texts.Text(c.message));
        EXPECT_EQ(BootRequests(), 0);
        EXPECT_TRUE(keyboard.Received().empty());
        EXPECT_FALSE(keyboard.InBootLoader());
        EXPECT_TRUE(launcher.started.isEmpty());
        keyboard.SetPlugged(true);
    }
    window->Shutdown();
}

TEST_F(UpdateDialog, UpdateAsksForTheBootLoaderThenStartsTheUpdaterOnceAndCloses) {
    auto window = StartShown();
    auto dialog = Make(*window);
    nextUpdater = Updater(true);
    dialog->show();
    dialog->ChooseUpdater();
    EXPECT_EQ(pickerStarts, std::vector<std::filesystem::path>{folder.Path()});
    EXPECT_EQ(dialog->PathLabel()->text().toStdU16String(), nextUpdater->u16string());
    keyboard.ClearReceived();

    EXPECT_TRUE(dialog->Update());
    ASSERT_TRUE(Idle(*window));
    // The keyboard is backed up first, with reads alone; the boot-loader report comes last.
    const auto received = keyboard.Received();
    ASSERT_FALSE(received.empty());
    for (std::size_t i = 0; i + 1 < received.size(); ++i) {
        const std::uint8_t command = received[i].Command();
        EXPECT_TRUE(command == CMD_BEGIN || command == CMD_END || command == CMD_READ_INFO ||
                    command == CMD_READ_KEYTABLE || command == CMD_READ_PARAMS ||
                    command == CMD_READ_KEYCOLORS || command == CMD_READ_MACROS)
            << i << ": " << int{command};
    }
    const auto kept = ListAutomaticBackups(BackupsFolder(documents.path().toStdU16String()));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].operation, "firmware-update");
    std::array<std::uint8_t, 64> boot{};
    boot[0] = 4;
    boot[3] = 0xEE;
    boot[4] = 0xEE;
    EXPECT_EQ(received.back().bytes, boot);
    EXPECT_TRUE(keyboard.InBootLoader());
    EXPECT_EQ(launcher.started,
              QList<QString>{QString::fromStdU16String(nextUpdater->u16string())});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(prompts.Shown().empty());

    EXPECT_TRUE(dialog->Initialise());
    EXPECT_TRUE(dialog->UpdaterPath().empty());
    EXPECT_EQ(dialog->PathLabel()->text().toStdU16String(),
              texts.ReadText("UPDATE_NO_FILE", texts.CaptionLanguage()));
    window->Shutdown();
}

TEST_F(UpdateDialog, EscapeClosesItAndEnterDoesNot) {
    auto window = StartShown();
    auto dialog = Make(*window);
    dialog->show();
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    window->Shutdown();
}

TEST_F(UpdateDialog, ACancelledPickerForgetsTheEarlierChoice) {
    auto window = StartShown();
    auto dialog = Make(*window);
    nextUpdater = Updater(true);
    dialog->ChooseUpdater();
    nextUpdater.reset();
    dialog->ChooseUpdater();
    EXPECT_TRUE(dialog->UpdaterPath().empty());
    window->Shutdown();
}

TEST_F(UpdateDialog, BackupWithTheKeyboardUnpluggedWritesTheConfigurationTheProgramHolds) {
    auto window = StartShown();
    auto dialog = Make(*window);
    keyboard.SetPlugged(false);
    keyboard.ClearReceived();
    nextBackup = folder / "before-update.kvp";
    EXPECT_TRUE(dialog->Backup());
    EXPECT_EQ(LastMessage(), texts.Text(TextKey::MAIN_UPDATE_BACKUP_OK));
    const std::vector<std::uint8_t> held = SerializeEditingConfig(store.EditingConfig());
    EXPECT_EQ(fixtures::ReadBytes(*nextBackup), std::string(held.begin(), held.end()));
    EXPECT_TRUE(keyboard.Received().empty());

    nextBackup = folder.Path();  // a folder: not a file to write
    EXPECT_FALSE(dialog->Backup());
    EXPECT_EQ(LastMessage(), texts.Text(TextKey::MAIN_UPDATE_BACKUP_NG));
    keyboard.SetPlugged(true);
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
