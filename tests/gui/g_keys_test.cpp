#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include "gui/editors/editor_controls.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/main_window_fixture.h"
#include "gui/widgets/png_button.h"
#include "model/files/profile_file.h"
#include "model/files/profile_locations.h"
#include "model/keys/key_buttons.h"
#include "support/recording_injector.h"

namespace korvel {
namespace {

using Events = std::vector<std::string>;
using fixtures::PumpUntil;

// Kernel key codes of B, H and I; the xkb keycode in a key event's native scan code is 8 more.
constexpr quint32 kEvdevB = 48, kEvdevH = 35, kEvdevI = 23;
const Events kHi = {"down 0x023", "up 0x023", "down 0x017", "up 0x017"};

class GKeysTest : public fixtures::MainWindowFixture {
protected:
    GKeysTest() { gKeyInput = &input; }

    static void Send(QWidget* target, quint32 evdev, bool release = false) {
        QKeyEvent event(release ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_unknown,
                        Qt::NoModifier, evdev + 8, 0, 0, QString());
        QApplication::sendEvent(target, &event);
    }
    static void Click(QWidget* control) { static_cast<CPngButton*>(control)->click(); }

    void Apply(CKorvelDlg& window) {
        QSignalSpy finished(&window.Applier(), &ApplyController::applyFinished);
        window.Applier().Apply();
        EXPECT_TRUE(finished.wait(5000));
    }

    // The keyboard reports G key n; what the computer received once it has been played.
    Events Press(int n, std::size_t events) {
        input.Clear();
        keyboard.InjectEvent(GKeyCodeOfSlot(GKeySlot(n, GKeyBank::A)));
        EXPECT_TRUE(PumpUntil([&] { return input.Events().size() >= events; }));
        return input.Events();
    }

    // G1 and G2 of profile 1 in the window's configuration and in the working file.
    std::array<KeyEntry, 2> Shown() {
        auto lock = store.EditingConfig().Lock();
        const ProfileBlock& block = store.EditingConfig().Image()->blocks[0];
        return {block[GKeySlot(1, GKeyBank::A)], block[GKeySlot(2, GKeyBank::A)]};
    }
    std::array<KeyEntry, 2> Saved() {
        const auto contents = ReadProfileFile(WorkingFile(paths.DocumentsDirectory()));
        EXPECT_TRUE(contents.has_value());
        const ProfileBlock& block = contents->image->blocks[0];
        return {block[GKeySlot(1, GKeyBank::A)], block[GKeySlot(2, GKeyBank::A)]};
    }

    test::RecordingInjector input;
};

TEST_F(GKeysTest, AssignmentsOutliveARestartAndArePlayedWhenTheKeyboardPressesThem) {
    auto window = StartShown();
    window->Editors().OpenKeyEditor(kKeyG1);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    EXPECT_EQ(static_cast<QLabel*>(editor->Control(kHeadingLabel))->text(),
              "Korvel plays the G keys on this computer while it runs.");
    Send(editor, kEvdevB);
    Send(editor, kEvdevB, true);
    Click(editor->Control(kEditorOk));

    // G2 plays the macro "H, I" twice.
    window->Editors().OpenKeyEditor(GKeyControlId(2));
    Click(editor->Control(kPageMacro));
    Click(editor->Control(kMacroAdd));
    Click(editor->Control(kMacroRecord));
    for (const quint32 key : {kEvdevH, kEvdevI}) {
        Send(editor, key);
        Send(editor, key, true);
    }
    Click(editor->Control(kMacroRecord));
    auto* cycles = static_cast<QLineEdit*>(editor->Control(kMacroCycles));
    cycles->setText("2");
    emit cycles->textEdited(cycles->text());
    Click(editor->Control(kEditorOk));
    Apply(*window);

    const std::array<KeyEntry, 2> assigned = Shown();
    EXPECT_EQ(assigned[0], (KeyEntry{kEntryKey, 0x0301, 0x030}));
    EXPECT_EQ(assigned[1].type, kEntryMacro);
    EXPECT_EQ(assigned[1].aux, 2);
    EXPECT_EQ(Saved(), assigned);
    EXPECT_EQ(Press(1, 2), (Events{"down 0x030", "up 0x030"}));
    Events twice = kHi;
    twice.insert(twice.end(), kHi.begin(), kHi.end());
    EXPECT_EQ(Press(2, 8), twice);
    window->Shutdown();
    window.reset();

    // The next start reads the keyboard again, which has no place for the G keys.
    input.Clear();
    window = StartShown();
    EXPECT_EQ(Shown(), assigned);
    EXPECT_EQ(Saved(), assigned);
    EXPECT_NE(window->Keys().GKeyButton(1)->toolTip().indexOf("B"), -1);
    EXPECT_EQ(Press(2, 8), twice);
    EXPECT_EQ(Press(1, 2), (Events{"down 0x030", "up 0x030"}));
    window->Shutdown();
}

TEST_F(GKeysTest, WithoutAWayToSendKeysTheEditorSaysSoAndWhy) {
    gKeyInput = nullptr;
    auto window = StartShown();
    window->Editors().OpenKeyEditor(kKeyG1);
    Korvel_DlgComposite* editor = window->Editors().KeyEditor();
    EXPECT_EQ(static_cast<QLabel*>(editor->Control(kHeadingLabel))->text(),
              "Korvel cannot send keys on this computer: the G keys do nothing.");
    EXPECT_EQ(static_cast<QLabel*>(editor->Control(kHeadingLabel))->toolTip(),
              "no way to send keys was opened");
    Click(editor->Control(kEditorCancel));
    // Keys of the keyboard's own say nothing of it.
    window->Editors().OpenKeyEditor(kKeyA);
    EXPECT_EQ(static_cast<QLabel*>(editor->Control(kHeadingLabel))->text().indexOf("G keys"), -1);
    Click(editor->Control(kEditorCancel));
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
