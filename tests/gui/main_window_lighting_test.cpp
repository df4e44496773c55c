#include <gtest/gtest.h>

#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <set>

#include "gui/editors/korvel_dlg_composite.h"
#include "gui/lighting_controls.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/skin/skin_rect.h"
#include "gui/widgets/color_picker.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/png_button.h"
#include "model/keys/led_index.h"
#include "model/lighting/lighting_state.h"
#include "text/private_profile.h"

namespace korvel {
namespace {

using fixtures::CountCommands;

constexpr int kAllPanelControls[] = {
    kPanelLabel,
    kPanelSwitch,
    kEffectSelector,
    kBrightnessLabel,
    kBrightnessSlider,
    kSpeedLabel,
    kSpeedSlider,
    kDirectionLabel,
    kDirectionFirst,
    kDirectionSecond,
    kColorLabel,
    kColorPicker,
    kMulticolorLabel,
    kMulticolorCheck,
    kReactiveColorLabel,
    kReactiveColorPicker,
    kReactiveMulticolorLabel,
    kReactiveMulticolorCheck,
    kEffect17Red,
    kEffect17Yellow,
    kEffect17Green,
    kEffect17Blue,
    kPaintColorLabel,
    kPaintColorPicker,
    kBaseColorLabel,
    kBaseColorPicker,
    kToolLabel,
    kToolPaintColor,
    kToolBaseColor,
    kPresetSelector,
};

class LightingPanelTest : public fixtures::MainWindowFixture {
protected:
    template <typename T>
    T* Get(CKorvelDlg& window, int id) {
        return fixtures::LightingControl<T>(window, id);
    }
    void ChooseEffect(CKorvelDlg& window, int effect) { fixtures::ChooseEffect(window, effect); }
    std::set<int> Visible(CKorvelDlg& window) {
        std::set<int> shown;
        for (int id : kAllPanelControls) {
            if (window.Lighting().Control(id)->isVisibleTo(&window)) {
                shown.insert(id);
            }
        }
        return shown;
    }
    // A click or drag on the slider at position p of its six.
    static QPoint At(CImageSlider* slider, int p) {
        return QPoint((2 * p + 1) * slider->width() / 12, slider->height() / 2);
    }
    static QRect ParseSkinRectOf(CKorvelDlg& window, const char* key) {
        return window.Skin().Rect("BUTTONINFO", key);
    }
    std::u16string DengCheck() const {
        return ReadProfileString(paths.LightingSettingsFile(), u"KEYCOLOR", u"DengCheck", u"");
    }
};

TEST_F(LightingPanelTest, EachControlWritesItsFieldOfTheCurrentProfile) {
    auto window = StartShown();
    window->Control(kProfileButton2)->click();  // profile 1: its record starts at 42
    ASSERT_TRUE(Idle(*window));
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<ParamWrite> writes;
    };
    auto& w = *window;
    const std::vector<Case> cases = {
        {"effect 4", [&] { ChooseEffect(w, 4); }, {{42, {4}}}},
        {"effect 2 also writes the multicolour flag",
         [&] { ChooseEffect(w, 2); },
         {{42, {2}}, {46, {1}}}},
        {"brightness 2",
         [&] {
             QTest::mouseClick(Get<CImageSlider>(w, kBrightnessSlider), Qt::LeftButton, {},
                               At(Get<CImageSlider>(w, kBrightnessSlider), 2));
         },
         {{43, {2}}}},
        {"speed position 4 is speed 1",
         [&] {
             QTest::mouseClick(Get<CImageSlider>(w, kSpeedSlider), Qt::LeftButton, {},
                               At(Get<CImageSlider>(w, kSpeedSlider), 4));
         },
         {{44, {1}}}},
        {"left", [&] { Get<CPictureButton>(w, kDirectionFirst)->click(); }, {{45, {1}}}},
        {"right", [&] { Get<CPictureButton>(w, kDirectionSecond)->click(); }, {{45, {0}}}},
        {"colour",
         [&] { Get<CColorPicker>(w, kColorPicker)->Choose(QColor(1, 2, 3)); },
         {{46, {0}}, {47, {1, 2, 3}}}},
        {"multicolour", [&] { Get<CPictureButton>(w, kMulticolorCheck)->click(); }, {{46, {1}}}},
        {"green", [&] { Get<CPictureButton>(w, kEffect17Green)->click(); }, {{59, {2}}}},
        {"paint colour",
         [&] { Get<CColorPicker>(w, kPaintColorPicker)->Choose(QColor(0, 255, 0)); },
         {{54, {0, 255, 0}}}},
        {"tool 2", [&] { Get<CPictureButton>(w, kToolBaseColor)->click(); }, {{58, {1}}}},
        {"tool 1", [&] { Get<CPictureButton>(w, kToolPaintColor)->click(); }, {{58, {0}}}},
        {"report rate 3", [&] { w.Control(kReportRate3)->click(); }, {{57, {2}}}},
    };
    for (const Case& c : cases) {
        keyboard.ClearReceived();
        c.act();
        ASSERT_TRUE(Idle(w));
        EXPECT_EQ(ParamWrites(), c.writes) << c.what;
    }
    EXPECT_EQ(RecordByte(1, 1), 2);
    EXPECT_EQ(RecordByte(0, 1), 5) << "profile 0 untouched";
    window->Shutdown();
}

TEST_F(LightingPanelTest, EffectsShowTheirOwnControlsOnlyWhileThePanelIsOn) {
    auto window = StartShown();
    EXPECT_EQ(Visible(*window), (std::set<int>{kPanelLabel, kPanelSwitch})) << "off";
    Get<CPictureButton>(*window, kPanelSwitch)->click();
    EXPECT_TRUE(window->Lighting().IsOn());
    EXPECT_EQ(DengCheck(), u"1");
    // Turned on, the controls show what was read before.
    EXPECT_EQ(Get<CImageSlider>(*window, kBrightnessSlider)->Position(), RecordByte(0, 1));
    const LightingState& state = window->Lighting().State();
    EXPECT_EQ(Get<QComboBox>(*window, kEffectSelector)->currentIndex(),
              state.effectSlots.PositionOf(state.current.effect));
    Get<CPictureButton>(*window, kPanelSwitch)->click();
    EXPECT_EQ(Visible(*window), (std::set<int>{kPanelLabel, kPanelSwitch}));
    Get<CPictureButton>(*window, kPanelSwitch)->click();

    ChooseEffect(*window, 4);
    EXPECT_EQ(Visible(*window),
              (std::set<int>{kPanelLabel, kPanelSwitch, kEffectSelector, kBrightnessLabel,
                             kBrightnessSlider, kSpeedLabel, kSpeedSlider}));
    ChooseEffect(*window, 6);
    EXPECT_EQ(Visible(*window),
              (std::set<int>{kPanelLabel, kPanelSwitch, kEffectSelector, kBrightnessLabel,
                             kBrightnessSlider, kReactiveColorLabel, kReactiveColorPicker,
                             kReactiveMulticolorLabel, kReactiveMulticolorCheck}));
    ChooseEffect(*window, 12);
    const QRect suffix3 = ParseSkinRectOf(*window, "CONTROL_BLFXLStaPic3");
    EXPECT_EQ(window->Lighting().Control(kDirectionFirst)->geometry(), suffix3);
    ChooseEffect(*window, 2);
    EXPECT_EQ(window->Lighting().Control(kDirectionFirst)->geometry(),
              ParseSkinRectOf(*window, "CONTROL_BLFXLStaPic2"));

    window->Control(kProfileButton2)->click();
    ASSERT_TRUE(Idle(*window));
    EXPECT_FALSE(window->Lighting().IsOn());
    EXPECT_EQ(DengCheck(), u"0");
    EXPECT_EQ(Visible(*window), (std::set<int>{kPanelLabel, kPanelSwitch}));
    window->Shutdown();
}

TEST_F(LightingPanelTest, ColourPickTurnsMulticolourOffAndTintsEveryKey) {
    auto window = StartShown();
    Get<CPictureButton>(*window, kPanelSwitch)->click();
    ChooseEffect(*window, 1);
    EXPECT_TRUE(Get<CPictureButton>(*window, kMulticolorCheck)->IsDown());
    EXPECT_FALSE(window->Keys().ButtonOfGridKey(0)->Tint()) << "multicolour: no tint";
    const QColor blue(0, 0, 255);
    Get<CColorPicker>(*window, kColorPicker)->Choose(blue);
    EXPECT_FALSE(Get<CPictureButton>(*window, kMulticolorCheck)->IsDown());
    EXPECT_FALSE(Get<CPictureButton>(*window, kReactiveMulticolorCheck)->IsDown());
    EXPECT_EQ(Get<CColorPicker>(*window, kReactiveColorPicker)->Color(), blue);
    for (int key = 0; key < kGridKeys; ++key) {
        EXPECT_EQ(window->Keys().ButtonOfGridKey(key)->Tint(), blue) << key;
    }
    Get<CPictureButton>(*window, kPanelSwitch)->click();
    EXPECT_FALSE(window->Keys().ButtonOfGridKey(0)->Tint()) << "panel off: no tint";
    window->Shutdown();
}

TEST_F(LightingPanelTest, SliderDraggedAcrossItsRangeWritesItsLastPositionOnly) {
    auto window = StartShown();
    auto* slider = Get<CImageSlider>(*window, kBrightnessSlider);
    const auto send = [&](QEvent::Type type, int p, Qt::MouseButtons held) {
        QMouseEvent event(type, At(slider, p), slider->mapToGlobal(At(slider, p)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(slider, &event);
    };
    send(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    for (int p = 1; p <= 5; ++p) {
        send(QEvent::MouseMove, p, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, 5, Qt::NoButton);
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(RecordByte(0, 1), 5);
    EXPECT_LE(CountCommands(keyboard, CMD_WRITE_PARAMS), 1);

    send(QEvent::MouseButtonPress, 5, Qt::LeftButton);
    for (int p : {4, 3, 2, 1, 0, 1, 2}) {
        send(QEvent::MouseMove, p, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, 2, Qt::NoButton);
    ASSERT_TRUE(Idle(*window));
    EXPECT_EQ(RecordByte(0, 1), 2);
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_PARAMS), 1) << "one write for the drag";
    window->Shutdown();
}

TEST_F(LightingPanelTest, CustomEffectPaintsTheClickedKey) {
    auto window = StartShown();
    Get<CPictureButton>(*window, kPanelSwitch)->click();
    ChooseEffect(*window, kCustomEffect);
    Get<CColorPicker>(*window, kPaintColorPicker)->Choose(QColor(0, 255, 0));
    keyboard.ClearReceived();
    KeyA(*window)->click();
    ASSERT_TRUE(Idle(*window));
    const int led = LedOfScan(0x01E);
    const auto colors = keyboard.Memory().keyColors;
    EXPECT_EQ(colors[static_cast<std::size_t>(3 * led)], 0);
    EXPECT_EQ(colors[static_cast<std::size_t>(3 * led + 1)], 255);
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYCOLORS), 1);
    EXPECT_EQ(KeyA(*window)->Tint(), QColor(0, 255, 0));
    window->Shutdown();
}

// With the panel on and an effect that cannot be painted, a key click opens the key's editor
// instead of doing nothing; the panel's switch says what it does.
TEST_F(LightingPanelTest, AKeyThatCannotBePaintedOpensItsEditor) {
    auto window = StartShown();
    Get<CPictureButton>(*window, kPanelSwitch)->click();
    ChooseEffect(*window, 3);
    ASSERT_TRUE(window->Lighting().IsOn());
    EXPECT_FALSE(window->Lighting().PaintsKeys());
    keyboard.ClearReceived();
    KeyA(*window)->click();
    ASSERT_NE(window->Editors().KeyEditor(), nullptr);
    EXPECT_TRUE(window->Editors().KeyEditor()->isVisible());
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYCOLORS), 0);
    window->Editors().KeyEditor()->CancelEditor();
    EXPECT_FALSE(Get<CPictureButton>(*window, kPanelSwitch)->toolTip().isEmpty());
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
