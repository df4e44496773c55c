#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>

#include "gui/editors/profile_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/widgets/png_button.h"
#include "model/keys/led_index.h"

namespace korvel {
namespace {

using fixtures::CountCommands;
using fixtures::PumpUntil;

// The profile bar and profile switching, on a keyboard whose profile 1 plays B on A and whose
// profile 2 plays C on A.
class ProfileBar : public fixtures::MainWindowFixture {
protected:
    ProfileBar() {
        sim::KeyboardMemory memory = keyboard.Memory();
        memory.keyTables[kKeyTableBytes + 19 * 3 + 2] = 0x06;
        keyboard.SetMemory(memory);
    }
    int ActiveOnKeyboard() const { return keyboard.Memory().info[kInfoActiveProfileOffset]; }
    QString TipOfA(CKorvelDlg& window) { return KeyA(window)->toolTip(); }
};

TEST_F(ProfileBar, EveryKeyLiesAbovePicturesAndTakesItsOwnMouse) {
    auto window = StartShown();
    for (int key = 0; key < kGridKeys; ++key) {
        CPngButton* button = window->Keys().ButtonOfGridKey(key);
        EXPECT_EQ(window->childAt(button->geometry().center()), button)
            << button->objectName().toStdString();
    }
    window->Shutdown();
}

TEST_F(ProfileBar, ProfileButtonSwitchesTheKeyboardAndShowsThatProfilesKeys) {
    auto window = StartShown();
    window->Control(kProfileButton2)->click();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(ActiveOnKeyboard(), 1);
    EXPECT_TRUE(window->Profiles().Button(kProfileButton2)->IsChecked());
    EXPECT_FALSE(window->Profiles().Button(kProfileButton1)->IsChecked());
    EXPECT_EQ(TipOfA(*window), "A: sends C");
    EXPECT_EQ(window->Control(kControlSceneMode)->text(), "Profile 2");
    EXPECT_EQ(window->Control(kControlSceneMode)->toolTip(), "Active profile: Profile 2");

    keyboard.ClearReceived();
    window->Control(kProfileButton2)->click();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_INFO), 0) << "already active: no switch";

    EXPECT_TRUE(window->Switcher().SwitchProfile(3)) << "3 and above mean the first profile";
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(ActiveOnKeyboard(), 0);
    EXPECT_EQ(TipOfA(*window), "A: sends B");
    window->Shutdown();
}

TEST_F(ProfileBar, SwitchingAwayFromUnsavedEditsAnsweredNoShowsTheWorkingFile) {
    auto window = StartShown();
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[1][SlotOfScan(0x01E)] = KeyEntry{kEntryKey, 0, 0x03B};
    }
    window->Applier().SetModified(true);
    prompts.QueueAnswer(Answer::No);
    EXPECT_TRUE(window->Switcher().SwitchProfile(1));
    ASSERT_TRUE(Idle(*window));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, texts.Text(TextKey::PROFILE_SELECT_PROMPT));
    EXPECT_EQ(TipOfA(*window), "A: sends C") << "the working file, not the edit";
    EXPECT_FALSE(window->Applier().IsModified());
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYTABLE), 0);
    window->Shutdown();
}

TEST_F(ProfileBar, SwitchIsRefusedWhileAnEditorIsOpen) {
    auto window = StartShown();
    window->Editors().EditorOpened();
    EXPECT_FALSE(window->Switcher().SwitchProfile(1));
    EXPECT_EQ(ActiveOnKeyboard(), 0);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, texts.Text(TextKey::PROFILE_SEELCT_PROMPT2));
    window->Editors().EditorClosed();
    window->Shutdown();
}

TEST_F(ProfileBar, FailedSwitchKeepsTheKeysAndSaysSo) {
    auto window = StartShown();
    {
        auto lock = store.EditingConfig().Lock();
        store.EditingConfig().Image()->blocks[0][SlotOfScan(0x001)] = KeyEntry{kEntryKey, 0, 0x03B};
    }
    window->Applier().SetModified(true);
    prompts.QueueAnswer(Answer::No);
    // The information block is read, its write is refused.
    keyboard.AnswerWithStatus(0xFF, 1, 1);
    EXPECT_TRUE(window->Switcher().SwitchProfile(1)) << "asked; the keyboard's answer comes later";
    ASSERT_TRUE(Idle(*window));
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[1].text, texts.ReadText("PROFILE_SWITCH_FAILED", Language::English));
    EXPECT_EQ(ActiveOnKeyboard(), 0);
    EXPECT_EQ(link.ActiveProfileCache(), 0) << "read again";
    EXPECT_EQ(TipOfA(*window), "A: sends B") << "not the default image";
    EXPECT_TRUE(window->Profiles().Button(kProfileButton1)->IsChecked());
    EXPECT_EQ(window->Control(kControlSceneMode)->text(), "Profile 1");
    window->Shutdown();
}

TEST_F(ProfileBar, RestoreDefaultsDownloadsAtOnceAndReportsAFailure) {
    auto window = StartShown();
    QSignalSpy finished(&window->Applier(), &ApplyController::applyFinished);
    window->Applier().RestoreDefaults();  // the question's default answer is No
    EXPECT_EQ(TipOfA(*window), "A: sends B");

    prompts.QueueAnswer(Answer::Yes);
    window->Applier().RestoreDefaults();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    EXPECT_EQ(TipOfA(*window), "A");
    EXPECT_EQ(keyboard.Memory().keyTables[19 * 3 + 2], 0x04) << "A plays A again";

    prompts.QueueAnswer(Answer::Yes);
    keyboard.AnswerWithStatus(0xFF, 1000);
    window->Applier().RestoreDefaults();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(finished.takeFirst().at(0).toBool());
    EXPECT_EQ(prompts.Shown().back().text,
              texts.ReadText("MAIN_PROMPT_DEFAULT_FAILED", Language::English));
    EXPECT_TRUE(window->Applier().IsModified());
    window->Shutdown();
}

TEST_F(ProfileBar, ReportRateButtonWritesTheCurrentProfilesRecord) {
    auto window = StartShown();
    EXPECT_TRUE(window->Profiles().Button(kReportRate4)->IsChecked()) << "0xFF reads as index 3";
    window->Control(kReportRate2)->click();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(ParamWrites(), (std::vector<ParamWrite>{{15, {1}}}));
    EXPECT_TRUE(window->Profiles().Button(kReportRate2)->IsChecked());
    EXPECT_FALSE(window->Profiles().Button(kReportRate4)->IsChecked());
    window->Control(kProfileButton2)->click();
    ASSERT_TRUE(Idle(*window));
    EXPECT_TRUE(window->Profiles().Button(kReportRate4)->IsChecked()) << "profile 2 keeps 0xFF";
    window->Shutdown();
}

// However the profile is switched, the report-rate buttons show the rate of the profile switched
// to: the scene-mode menu and the profile manager as much as the profile buttons.
TEST_F(ProfileBar, EveryWayOfSwitchingShowsTheNewProfilesReportRate) {
    sim::KeyboardMemory memory = keyboard.Memory();
    memory.params[kParamRecordBytes * 1 + 15] = 1;  // profile 2: 250 Hz
    keyboard.SetMemory(memory);
    auto window = StartShown();
    EXPECT_TRUE(window->Profiles().Button(kReportRate4)->IsChecked());
    const auto rate = [&] {
        for (int id : {kReportRate1, kReportRate2, kReportRate3, kReportRate4}) {
            if (window->Profiles().Button(id)->IsChecked()) {
                return id;
            }
        }
        return 0;
    };

    QMenu* scenes = window->Switcher().SceneMenu();
    scenes->actions().at(1)->trigger();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(rate(), kReportRate2) << "the scene-mode menu";

    window->Control(kControlSceneMode)->click();
    CKorvel_DlgProfile* manager = window->Dialogs().ProfileManager();
    ASSERT_NE(manager, nullptr);
    manager->List()->item(0, CKorvel_DlgProfile::kColumnActive)->setCheckState(Qt::Checked);
    manager->Button(CKorvel_DlgProfile::kApply)->click();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(rate(), kReportRate4) << "the profile manager";
    manager->reject();
    window->Shutdown();
}

TEST_F(ProfileBar, FlipSwapsFOneToFourForDOneToSixAndIsKept) {
    auto window = StartShown();
    CPngButton* f1 = window->Keys().ButtonOfControl(kKeyF1);
    const auto stored = [&] { return settings.ReadString(kProfilesSection, "Flip"); };
    EXPECT_TRUE(f1->isEnabled());
    EXPECT_FALSE(window->Flip().Key(1)->isEnabled());
    EXPECT_TRUE(window->Flip().Key(1)->testAttribute(Qt::WA_TransparentForMouseEvents))
        << "D1..D6 offer no click";
    window->Control(kFlipToggleLeft)->click();
    EXPECT_EQ(stored(), u"1");
    EXPECT_FALSE(f1->isEnabled());
    EXPECT_TRUE(window->Flip().Key(6)->isEnabled());
    EXPECT_TRUE(window->Flip().Key(1)->isVisible());
    EXPECT_EQ(window->childAt(window->Flip().Key(1)->geometry().center()), nullptr)
        << "nothing clickable where D1 stands (F1 is gone)";
    window->Control(kFlipToggleRight)->click();
    EXPECT_EQ(stored(), u"0");
    EXPECT_TRUE(f1->isEnabled());
    EXPECT_EQ(window->childAt(f1->geometry().center()), f1);
    window->Shutdown();
}

TEST_F(ProfileBar, ExportAddsTheExtensionAndSceneMenuNamesEachProfile) {
    auto window = StartShown();
    const std::filesystem::path chosen = documents.filePath("export1").toStdU16String();
    EXPECT_TRUE(window->Applier().Export(chosen));
    EXPECT_TRUE(std::filesystem::exists(chosen.string() + ".kvp"));
    EXPECT_FALSE(std::filesystem::exists(chosen));

    QStringList items;
    for (QAction* action : window->Switcher().SceneMenu()->actions()) {
        items << (action->isSeparator() ? "-" : action->text() + (action->isChecked() ? "*" : ""));
    }
    EXPECT_EQ(items, QStringList({"Profile 1*", "Profile 2", "Profile 3"}));
    window->Switcher().SceneMenu()->actions()[1]->trigger();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(ActiveOnKeyboard(), 1);
    EXPECT_TRUE(window->Profiles().Button(kProfileButton2)->IsChecked());
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
