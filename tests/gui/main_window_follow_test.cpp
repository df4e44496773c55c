#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <map>
#include <set>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/picture_button.h"
#include "model/lighting/lighting_record.h"
#include "model/lighting/lighting_state.h"
#include "sync/event_listener.h"

namespace korvel {
namespace {

using fixtures::PumpUntil;

// The window follows the keyboard and the language: what it shows is what a window started
// afresh would show.
class WindowFollows : public fixtures::MainWindowFixture {
protected:
    // Every text the window shows, by widget: captions, labels, tooltips and list entries.
    static std::map<QString, QStringList> ShownTexts(CKorvelDlg& window) {
        std::map<QString, QStringList> shown;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            QStringList texts;
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                texts << button->text();
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                texts << label->text();
            } else if (auto* selector = qobject_cast<QComboBox*>(widget)) {
                for (int i = 0; i < selector->count(); ++i) {
                    texts << selector->itemText(i);
                }
            }
            texts << widget->toolTip();
            if (!widget->objectName().isEmpty()) {
                shown[widget->objectName()] += texts;
            }
        }
        return shown;
    }
    // The window started in `language`, and what it shows once the keyboard is there.
    std::map<QString, QStringList> StartedIn(int language) {
        texts.SwitchLanguage(language);
        auto window = StartShown();
        auto shown = ShownTexts(*window);
        window->Shutdown();
        return shown;
    }
};

TEST_F(WindowFollows, LightingEventRefreshesThePanelsControls) {
    auto window = StartShown();
    static_cast<CPictureButton*>(window->Lighting().Control(kPanelSwitch))->click();
    // The keyboard changes profile 0 to effect 4 at brightness 2 by itself, then says so.
    sim::KeyboardMemory memory = keyboard.Memory();
    memory.params[kParamEffect] = 4;
    memory.params[kParamBrightness] = 2;
    keyboard.SetMemory(memory);
    keyboard.InjectEvent(kEventLightingChanged);

    auto* slider = static_cast<CImageSlider*>(window->Lighting().Control(kBrightnessSlider));
    ASSERT_TRUE(PumpUntil([&] { return slider->Position() == 2; }));
    auto* selector = static_cast<QComboBox*>(window->Lighting().Control(kEffectSelector));
    const int position = window->Lighting().State().effectSlots.PositionOf(4);
    EXPECT_EQ(selector->currentIndex(), position);
    EXPECT_EQ(selector->currentText(), "Spectrum");
    std::set<int> visible;
    for (int id :
         {kEffectSelector, kSpeedSlider, kDirectionFirst, kColorPicker, kPaintColorPicker}) {
        if (window->Lighting().Control(id)->isVisibleTo(window.get())) {
            visible.insert(id);
        }
    }
    EXPECT_EQ(visible, (std::set<int>{kEffectSelector, kSpeedSlider})) << "effect 4's controls";
    window->Shutdown();
}

TEST_F(WindowFollows, LanguageSwitchRedoesEveryTextAsAFreshStartShowsIt) {
    const auto chinese = StartedIn(0);
    const auto english = StartedIn(1);
    ASSERT_NE(chinese, english);

    keyboard.ClearReceived();
    auto window = StartShown();
    window->SwitchLanguage(0);
    const auto switched = ShownTexts(*window);
    for (const auto& [name, texts] : chinese) {
        EXPECT_EQ(switched.at(name), texts) << name.toStdString();
    }
    window->SwitchLanguage(1);
    EXPECT_EQ(ShownTexts(*window), english);
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
