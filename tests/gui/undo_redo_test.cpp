#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "gui/editors/editor_controls.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/lighting_controls.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/edit_history.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/color_picker.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/png_button.h"
#include "model/keys/led_index.h"
#include "model/lighting/lighting_state.h"

namespace korvel {
namespace {

constexpr quint32 kEvdevC = 46;

class UndoRedo : public fixtures::MainWindowFixture {
protected:
    // A in onboard profile 1 made to send C, through the key editor as a user does.
    void RemapAToC(CKorvelDlg& window) {
        window.Editors().OpenKeyEditor(kKeyA);
        Korvel_DlgComposite* editor = window.Editors().KeyEditor();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, kEvdevC + 8, 0, 0);
        QApplication::sendEvent(editor, &press);
        static_cast<CPngButton*>(editor->Control(kEditorOk))->click();
    }
    // What A sends in profile 1 of the staged configuration.
    KeyEntry StagedA() {
        auto lock = store.EditingConfig().Lock();
        return store.EditingConfig().Image()->blocks[0][SlotOfScan(0x01E)];
    }
    // The colour key `scan` has in the keyboard's profile 1, as #rrggbb's three bytes.
    std::array<int, 3> KeyboardColorOf(ScanCode scan) const {
        const auto colors = keyboard.Memory().keyColors;
        const auto at = static_cast<std::size_t>(3 * LedOfScan(scan));
        return {colors[at], colors[at + 1], colors[at + 2]};
    }
    std::string UndoText(CKorvelDlg& window) { return window.History().UndoText().toStdString(); }
};

TEST_F(UndoRedo, KeysPaintedColoursAndTheEffectUndoInTurnAndRedo) {
    auto window = StartShown();
    EditHistory& history = window->History();
    fixtures::LightingControl<CPictureButton>(*window, kPanelSwitch)->click();
    fixtures::ChooseEffect(*window, kCustomEffect);
    fixtures::LightingControl<CColorPicker>(*window, kPaintColorPicker)->Choose(QColor(0, 255, 0));
    ASSERT_TRUE(Idle(*window));
    const KeyEntry sendsB = StagedA();
    const std::array<int, 3> white = {255, 255, 255};
    const std::array<int, 3> green = {0, 255, 0};
    ASSERT_EQ(KeyboardColorOf(0x01E), white);

    RemapAToC(*window);
    EXPECT_EQ(StagedA(), (KeyEntry{kEntryKey, 0, 0x02E}));
    EXPECT_EQ(UndoText(*window), "Undo assignment of A");
    window->Keys().ButtonOfControl(kKeyA)->click();
    window->Keys().ButtonOfControl(kKeyS)->click();
    fixtures::ChooseEffect(*window, 3);
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(KeyboardColorOf(0x01E), green);
    EXPECT_EQ(KeyboardColorOf(0x01F), green);
    EXPECT_EQ(RecordByte(0, 0), 3);
    EXPECT_EQ(UndoText(*window), "Undo effect");
    // A step is named in the language chosen when it is shown, not when it was made.
    window->SwitchLanguage(0);
    EXPECT_EQ(history.UndoText(), QStringLiteral("撤销灯效"));
    window->SwitchLanguage(1);

    // The effect: written back at once.
    history.Undo();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(RecordByte(0, 0), kCustomEffect);
    EXPECT_EQ(window->Lighting().State().current.effect, kCustomEffect);
    EXPECT_EQ(UndoText(*window), "Undo key colours");
    // The two painted keys, the last first.
    history.Undo();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(KeyboardColorOf(0x01F), white);
    EXPECT_EQ(KeyboardColorOf(0x01E), green);
    history.Undo();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(KeyboardColorOf(0x01E), white);
    EXPECT_EQ(window->Keys().ButtonOfControl(kKeyA)->Tint(), QColor(255, 255, 255));
    // The remap: staged again as it was, which is what the keyboard holds: nothing to apply.
    EXPECT_TRUE(window->Applier().IsModified());
    history.Undo();
    EXPECT_EQ(StagedA(), sendsB);
    EXPECT_FALSE(window->Applier().IsModified());
    EXPECT_EQ(window->Keys().ButtonOfControl(kKeyA)->toolTip(), "A: sends B");
    EXPECT_EQ(UndoText(*window), "Undo paint colour");
    EXPECT_EQ(history.RedoText().toStdString(), "Redo assignment of A");

    // Redone, the remap is staged again and waits to be applied; the lighting stays as it is.
    keyboard.ClearReceived();
    history.Redo();
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(StagedA(), (KeyEntry{kEntryKey, 0, 0x02E}));
    EXPECT_TRUE(window->Applier().IsModified());
    EXPECT_TRUE(keyboard.Received().empty());
    EXPECT_EQ(history.RedoText().toStdString(), "Redo key colours");
    window->Shutdown();
}

TEST_F(UndoRedo, ADragIsOneStepAndAProfileSwitchStartsANewHistory) {
    auto window = StartShown();
    EditHistory& history = window->History();
    fixtures::LightingControl<CPictureButton>(*window, kPanelSwitch)->click();
    ASSERT_TRUE(Idle(*window));
    const int brightness = RecordByte(0, 1);
    auto* slider = static_cast<CImageSlider*>(window->Lighting().Control(kBrightnessSlider));
    const auto send = [slider](QEvent::Type type, int p, Qt::MouseButtons held) {
        const QPoint at((2 * p + 1) * slider->width() / 12, slider->height() / 2);
        QMouseEvent event(type, at, slider->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(slider, &event);
    };
    send(QEvent::MouseButtonPress, 5, Qt::LeftButton);
    for (int p : {4, 3, 2, 1}) {
        send(QEvent::MouseMove, p, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    send(QEvent::MouseButtonRelease, 1, Qt::NoButton);
    ASSERT_TRUE(Idle(*window));
    ASSERT_NE(RecordByte(0, 1), brightness);
    EXPECT_EQ(history.Stack().count(), 1);
    // By the window's shortcuts.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const int dragged = RecordByte(0, 1);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int brightness;
    } keys[] = {
        {Qt::Key_Z, Qt::ControlModifier, brightness},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, dragged},
        {Qt::Key_Z, Qt::ControlModifier, brightness},
        {Qt::Key_Y, Qt::ControlModifier, dragged},
    };
    for (const auto& k : keys) {
        QTest::keyClick(window.get(), k.key, k.modifiers);
        ASSERT_TRUE(Idle(*window));
        EXPECT_EQ(RecordByte(0, 1), k.brightness);
    }

    QSignalSpy shown(&window->Switcher(), &ProfileSwitcher::profileShown);
    window->Switcher().SwitchProfile(1);
    ASSERT_TRUE(shown.wait(5000));
    ASSERT_TRUE(Idle(*window));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(UndoText(*window), "Undo");
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
