#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include <QLabel>
#include "device/command_report.h"
#include "device/device_link.h"
#include "device/sim/simulated_backend.h"
#include "gui/editors/editor_controls.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/korvel_dlg.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/mainwnd/window_skins.h"
#include "gui/own_skin.h"
#include "gui/platform/single_instance.h"
#include "gui/recording_launcher.h"
#include "gui/skin/skin_rect.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_locations.h"
#include "model/image/config_store.h"
#include "model/keys/key_codec.h"
#include "support/scripted_prompts.h"
#include "support/small_mount.h"
#include "sync/profile_transfer.h"
#include "text/text_table.h"

namespace korvel {
namespace {

using fixtures::CountCommands;
using fixtures::PumpUntil;

class MainWindow : public fixtures::MainWindowFixture {};
// Tests whose outcome hangs on the device threads and the keyboard service meeting the window's
// thread: the sanitizer runs select them by the name ("Threaded").
class ThreadedMainWindow : public MainWindow {};

TEST_F(ThreadedMainWindow, HiddenUntilTheKeyboardArrivesThenShowsItsKeys) {
    auto window = Start();
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); })) << "the open message shows it";
    EXPECT_TRUE(KeyA(*window)->IsChecked());
    EXPECT_EQ(KeyA(*window)->toolTip(), "A: sends B");
    EXPECT_FALSE(window->Keys().ButtonOfControl(kKeyEsc)->IsChecked()) << "Esc is not assigned";
    EXPECT_EQ(window->Tray().ShownIcon(), kIconKeyboardPresent);
    EXPECT_FALSE(window->Applier().IsModified());
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_TRUE(window->Profiles().Button(kProfileButton1)->IsChecked())
        << "profile 1 is the active one";
    EXPECT_FALSE(window->Profiles().Button(kProfileButton2)->IsChecked());
    window->Shutdown();
}

TEST_F(MainWindow, LightingPanelAndProfileBarAreLaidOutFromTheSkin) {
    auto window = Start();
    const DialogSkin& skin = window->Skin();
    const auto rect = [&](const char* key) { return skin.Rect("BUTTONINFO", key); };
    auto* label = qobject_cast<QLabel*>(window->Lighting().Control(kPanelLabel));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), rect("CONTROL_DengStatic"));
    EXPECT_EQ(label->text(), skin.Value("Control_Name1", "Deng", {})) << "English labels";
    EXPECT_FALSE(label->text().isEmpty());
    EXPECT_EQ(window->Lighting().Control(kBrightnessSlider)->geometry(),
              rect("CONTROL_LightSlider"));
    EXPECT_EQ(window->Profiles().Button(kReportRate4)->geometry(), rect("FUNC_REPORT4"));
    EXPECT_EQ(window->Control(kControlSceneMode), window->Profiles().Button(kControlSceneMode));
    window->Shutdown();
}

TEST_F(MainWindow, StartSwitchKeepsItHidden) {
    auto window = Start(true);
    ASSERT_TRUE(PumpUntil([&] { return window->Tray().ShownIcon() == kIconKeyboardPresent; }));
    ASSERT_TRUE(Idle(*window));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(KeyA(*window)->IsChecked()) << "the keys are loaded all the same";
    // The lighting is read beside the hidden window: showing it waits for nothing.
    EXPECT_EQ(CountCommands(keyboard, CMD_READ_PARAMS), 3) << "the three lighting records";

    QWidget* lightingSwitch = window->Lighting().Control(kPanelSwitch);
    keyboard.ClearReceived();
    window->OnOpenMainWindow();
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(lightingSwitch->isVisible());

    // Hidden and shown again without a new arrival: nothing is read again.
    window->hide();
    window->OnOpenMainWindow();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->KeyboardBusy());
    EXPECT_EQ(CountCommands(keyboard, CMD_READ_PARAMS), 0);
    window->Shutdown();
}

TEST_F(ThreadedMainWindow, UnplugHidesAndReplugComesBack) {
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    keyboard.SetPlugged(false);
    ASSERT_TRUE(PumpUntil([&] { return window->Tray().ShownIcon() == kIconKeyboardGone; }));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(link.ActiveProfileCache(), -1);

    window->OnOpenMainWindow();  // the tray's Open with no keyboard
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, texts.Text(TextKey::MAIN_NO_DEVICE_PROMPT));
    EXPECT_FALSE(window->isVisible());

    keyboard.SetPlugged(true);
    ASSERT_TRUE(PumpUntil([&] { return window->Tray().ShownIcon() == kIconKeyboardPresent; }));
    EXPECT_FALSE(window->isVisible()) << "only the first arrival opens the window";
    window->OnOpenMainWindow();
    EXPECT_TRUE(window->isVisible());
    window->Shutdown();
}

TEST_F(MainWindow, ApplySendsTheEditedKeysAndNothingWhenUnchanged) {
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    QSignalSpy finished(&window->Applier(), &ApplyController::applyFinished);

    keyboard.ClearReceived();
    window->Applier().Apply();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(finished.takeFirst().at(0).toBool());
    EXPECT_TRUE(keyboard.Received().empty()) << "nothing modified: nothing sent";

    {
        // Esc (slot 1) sends F1 (ScanCode 0x03B) in the active profile 0.
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[0][1] = KeyEntry{kEntryKey, 0, 0x03B};
    }
    window->Applier().SetModified(true);
    window->Applier().Apply();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    EXPECT_FALSE(window->Applier().IsModified());
    EXPECT_EQ(CountCommands(keyboard, CMD_BEGIN), 1);
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYTABLE), 7) << "the active profile only";
    EXPECT_EQ(CountCommands(keyboard, CMD_END), 1);
    const auto tables = keyboard.Memory().keyTables;
    EXPECT_EQ(tables[8 * 3 + 2], 0x3A) << "position 8 (Esc) now sends F1";
    EXPECT_EQ(tables[19 * 3 + 2], 0x05) << "A still sends B";
    window->Shutdown();
}

// A Documents folder the program cannot write never keeps the keyboard from being updated: Apply
// sends the edits, then says that the working file could not be saved, where and why; and a
// folder that cannot be made is named as the cause, not the missing file it leads to.
TEST_F(MainWindow, AnUnwritableDocumentsFolderNeverBlocksApplyAndIsNamedAsTheCause) {
    fixtures::SmallMount profiles(
        std::filesystem::path(documents.path().toStdU16String()) / kProfileFolderName, 1 << 20);
    if (!profiles.Mounted()) {
        GTEST_SKIP() << "mounting a read-only folder needs root";
    }
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    ASSERT_TRUE(profiles.MakeReadOnly());
    QSignalSpy finished(&window->Applier(), &ApplyController::applyFinished);
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[0][1] = KeyEntry{kEntryKey, 0, 0x03B};
    }
    window->Applier().SetModified(true);
    window->Applier().Apply();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    EXPECT_EQ(keyboard.Memory().keyTables[8 * 3 + 2], 0x3A) << "Esc now sends F1";
    ASSERT_FALSE(prompts.Shown().empty());
    const std::u16string said = prompts.Shown().back().text;
    EXPECT_NE(said.find(WorkingFile(profiles.Path().parent_path()).filename().u16string()),
              std::u16string::npos);
    EXPECT_NE(said.find(u"Read-only file system"), std::u16string::npos);
    window->Shutdown();
}

TEST_F(MainWindow, AReadOnlyEmptyDocumentsFolderIsNamedAsTheCauseAtStart) {
    fixtures::SmallMount folder(std::filesystem::path(documents.path().toStdU16String()), 1 << 20);
    if (!folder.Mounted() || !folder.MakeReadOnly()) {
        GTEST_SKIP() << "mounting a read-only folder needs root";
    }
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    ASSERT_FALSE(prompts.Shown().empty());
    const std::u16string said = prompts.Shown().back().text;
    EXPECT_NE(said.find(u"Read-only file system"), std::u16string::npos);
    EXPECT_EQ(said.find(u"No such file"), std::u16string::npos);
    window->Shutdown();
}

TEST_F(MainWindow, SecondStartShowsTheRunningWindowAndKillEndsIt) {
    const QString name = QStringLiteral("korvel-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(name);
    ASSERT_EQ(running.Claim(false), SingleInstance::Outcome::Run);
    auto window = Start(true);
    window->FollowInstance(running);
    ASSERT_TRUE(PumpUntil([&] { return window->Tray().ShownIcon() == kIconKeyboardPresent; }));
    EXPECT_FALSE(window->isVisible());

    SingleInstance second(name);
    EXPECT_EQ(second.Claim(false), SingleInstance::Outcome::Exit);
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));

    QSignalSpy exit(window.get(), &CKorvelDlg::exitRequested);
    SingleInstance killer(name);
    EXPECT_EQ(killer.Claim(true), SingleInstance::Outcome::Exit);
    ASSERT_TRUE(PumpUntil([&] { return exit.count() == 1; }));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, ImportLoadsShowsAndDownloadsAllProfiles) {
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    const std::filesystem::path file = documents.filePath("esc.kvp").toStdU16String();
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[0][1] = KeyEntry{kEntryKey, 0, 0x03B};
    }
    ASSERT_TRUE(ExportProfileFile(store, file));
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[0][1] = KeyEntry{};
    }
    keyboard.ClearReceived();
    QSignalSpy imported(&window->Applier(), &ApplyController::importFinished);
    EXPECT_TRUE(window->Applier().Import(file));
    ASSERT_TRUE(Idle(*window));
    ASSERT_EQ(imported.size(), 1);
    EXPECT_TRUE(imported.at(0).at(0).toBool());
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYTABLE), 21);
    EXPECT_TRUE(window->Keys().ButtonOfControl(kKeyEsc)->IsChecked());
    EXPECT_EQ(window->Keys().ButtonOfControl(kKeyEsc)->toolTip(), "Esc: sends F1");
    EXPECT_FALSE(window->Applier().IsModified());

    keyboard.ClearReceived();
    const std::filesystem::path junk = documents.filePath("junk.kvp").toStdU16String();
    std::ofstream(junk) << "not a profile";
    EXPECT_FALSE(window->Applier().Import(junk));
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(imported.size(), 1) << "refused at once";
    EXPECT_TRUE(keyboard.Received().empty());
    EXPECT_FALSE(prompts.Shown().empty()) << "the format message";
    EXPECT_TRUE(window->Keys().ButtonOfControl(kKeyEsc)->IsChecked()) << "nothing was lost";
    window->Shutdown();
}

TEST_F(MainWindow, LanguageSwitchChangesTheTips) {
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    window->SwitchLanguage(0);
    EXPECT_TRUE(KeyA(*window)->toolTip().startsWith("A")) << KeyA(*window)->toolTip().toStdString();
    EXPECT_NE(KeyA(*window)->toolTip(), "A: sends B");
    window->SwitchLanguage(1);
    EXPECT_EQ(KeyA(*window)->toolTip(), "A: sends B");
    window->Shutdown();
}

TEST_F(ThreadedMainWindow, KeyboardEventsReachTheWindow) {
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    QSignalSpy refresh(window.get(), &CKorvelDlg::lightingRefreshRequested);
    keyboard.InjectEvent(0x0401);
    ASSERT_TRUE(PumpUntil([&] { return refresh.count() == 1; }));
    keyboard.InjectEvent(0x1811);
    ASSERT_TRUE(PumpUntil([&] { return window->Tray().ShownIcon() == kIconKeyboardEvent; }));
    keyboard.InjectEvent(0x1810);
    ASSERT_TRUE(PumpUntil([&] { return window->Tray().ShownIcon() == kIconKeyboardPresent; }));
    window->Shutdown();
}

TEST_F(ThreadedMainWindow, ExitStopsTheDeviceThreads) {
    auto window = Start();
    ASSERT_TRUE(PumpUntil([&] { return Settled(*window); }));
    QSignalSpy exit(window.get(), &CKorvelDlg::exitRequested);
    window->ExitProgram();
    EXPECT_EQ(exit.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Presence().Running());
}

TEST_F(MainWindow, F1AndTheLinkOpenTheUserGuide) {
    auto window = StartShown();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F1);
    window->Control(kControlLink)->click();
    const QUrl guide = QUrl::fromLocalFile(QString::fromStdU16String(paths.HelpFile().u16string()));
    ASSERT_EQ(launcher.opened.size(), 2);
    EXPECT_EQ(launcher.opened[0], guide) << "F1";
    EXPECT_EQ(launcher.opened[1], guide) << "the link";
    window->Shutdown();
}

// Disabled image buttons are drawn from the disabled picture with a dimmed caption.
TEST_F(MainWindow, ADisabledApplyShowsItsDisabledFace) {
    auto window = StartShown();
    CPngButton* apply = window->Control(kControlApply);
    ASSERT_FALSE(window->Applier().IsModified());
    ASSERT_FALSE(apply->isEnabled());
    EXPECT_EQ(apply->CurrentSurface(), &window->Control(kControlOk)->Surfaces()->disabled);
    window->Shutdown();
}

// The window hands each dialog the skin its source gives: captions, places and pictures come from
// there alone, and a picture that skin lacks is named when the dialog cannot be built.
TEST_F(MainWindow, EveryDialogTakesItsLookFromTheSkinItIsHanded) {
    std::vector<WindowSkin> asked;
    skins = [&](WindowSkin dialog) -> std::shared_ptr<const DialogSkin> {
        asked.push_back(dialog);
        auto own = std::make_shared<fixtures::OwnSkin>(ShippedSkin(paths, texts, dialog));
        if (dialog == WindowSkin::KeyEditor) {
            own->SetValue("BUTTONINFO", "CONTROL_OK", "7,9,40,20");
        }
        if (dialog == WindowSkin::MacroEditor) {
            own->SetPicture(own->Value("SCREEN", "Main", {}), "/nonexistent/back.jpg");
        }
        return own;
    };
    auto window = StartShown();
    EXPECT_EQ(window->Control(kControlApply)->text(), "<PROFILE_APPLY>");

    window->Editors().OpenKeyEditor(kKeyA);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Control(kEditorOk)->geometry(), QRect(7, 9, 40, 20));
    EXPECT_EQ(static_cast<CPngButton*>(editor->Control(kEditorOk))->text(), "<MACRO_OK>");
    editor->CancelEditor();

    window->Editors().OpenMacroEditor();
    EXPECT_EQ(window->Editors().MacroEditor(), nullptr) << "its background is missing";
    ASSERT_FALSE(prompts.Shown().empty());
    EXPECT_NE(prompts.Shown().back().text.find(u"/nonexistent/back.jpg"), std::u16string::npos);

    EXPECT_EQ(asked, (std::vector<WindowSkin>{WindowSkin::Main, WindowSkin::KeyEditor,
                                              WindowSkin::MacroEditor}));
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
