#include "gui/mainwnd/lighting_panel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <utility>
#include <vector>

#include "device/device_link.h"
#include "gui/mainwnd/key_grid.h"
#include "gui/mainwnd/keyboard_jobs.h"
#include "gui/mainwnd/lighting_panel_table.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/skin/dialog_skin.h"
#include "gui/widgets/color_picker.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/lighting/effect_list.h"
#include "model/lighting/lighting_presets.h"
#include "model/lighting/lighting_state.h"
#include "sync/lighting_ops.h"

namespace korvel {

using namespace lighting_panel;

namespace {

bool ShownFor(Shown shown, int effect) {
    switch (shown) {
        case Shown::Always:
            return true;
        case Shown::Handled:
            return IsHandledEffect(effect);
        case Shown::Speed:
            return EffectUsesSpeed(effect);
        case Shown::Direction:
            return EffectUsesDirection(effect);
        case Shown::Colour:
            return EffectUsesColor(effect) && effect != kReactiveEffectA &&
                   effect != kReactiveEffectB;
        case Shown::Reactive:
            return effect == kReactiveEffectA || effect == kReactiveEffectB;
        case Shown::Effect17:
            return effect == kEffect17;
        case Shown::Custom:
            return effect == kCustomEffect;
    }
    return false;
}

// Effects 1..3 take the direction rectangles with suffix 2, effect 12 those with suffix 3.
QString DirectionSuffix(int effect) {
    if (effect >= 1 && effect <= 3) {
        return QStringLiteral("2");
    }
    if (effect == 12) {
        return QStringLiteral("3");
    }
    return {};
}

// The slider message of the main window: posted by a slider with its id and new position.
class SliderEvent : public QEvent {
public:
    static QEvent::Type Id() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    SliderEvent(int controlId, int position)
        : QEvent(Id()), controlId(controlId), position(position) {}
    int controlId;
    int position;
};

}  // namespace

LightingPanel::LightingPanel(QWidget* dialog, const DialogSkin& skin, int language,
                             class KeyGrid& keys, DeviceLink& link, KeyboardJobs& jobs,
                             std::filesystem::path settingsFile)
    : QObject(dialog),
      m_skin(skin),
      m_keys(keys),
      m_language(language),
      m_jobs(jobs),
      m_state(std::make_unique<LightingState>()),
      m_offline(std::make_unique<DeviceLink>()),
      m_ops(std::make_unique<LightingOps>(*m_state, *m_offline, *this, settingsFile)),
      m_keyboard(MakeKeyboardSide(link, settingsFile)),
      m_dialog(dialog) {
    Build();
    connect(PictureOf(kPanelSwitch), &QAbstractButton::clicked, this, [this] {
        if (IsOn()) {
            TurnOff();
        } else {
            emit turnOnRequested();
        }
    });
}

LightingPanel::~LightingPanel() = default;

bool LightingPanel::IsOn() const {
    return m_state->lightingPanelOn;
}

bool LightingPanel::PaintsKeys() const {
    return m_state->lightingPanelOn && m_state->current.effect == kCustomEffect &&
           m_state->HasPerKeyColors();
}

int LightingPanel::ReportRate() const {
    return m_state->current.reportRate;
}

void LightingPanel::FillEffectSelector() {
    QComboBox* selector = Selector(kEffectSelector);
    const QSignalBlocker block(selector);
    selector->clear();
    for (const EffectSlotTable::Slot& slot : m_state->effectSlots.Slots()) {
        selector->addItem(
            QString::fromStdU16String(EffectName(m_skin.Description(), m_language, slot.effect)));
    }
    const int position = m_state->effectSlots.PositionOf(m_state->current.effect);
    if (position >= 0) {
        selector->setCurrentIndex(position);
    }
}

void LightingPanel::Redraw() {
    const int effect = m_state->current.effect;
    FillEffectSelector();
    ShowValues(m_state->current);
    PlaceDirection(effect);
    PictureOf(kPanelSwitch)->SetDown(IsOn());
    ShowControlsOf(IsOn() ? effect : 0);
    m_ops->TintGrid();
    emit redrawn();
}

void LightingPanel::TurnOn() {
    Change({}, [](LightingOps& ops) { ops.SetLightingPanelOn(true); });
    PictureOf(kPanelSwitch)->SetDown(true);
    PlaceDirection(m_state->current.effect);
    ShowControlsOf(m_state->current.effect);
    ShowValues(m_state->current);
}

void LightingPanel::TurnOff() {
    Change({}, [](LightingOps& ops) { ops.SetLightingPanelOn(false); });
    PictureOf(kPanelSwitch)->SetDown(false);
    for (int key = 0; key < kLightingGridKeys; ++key) {
        TintKey(key, std::nullopt);
    }
    ShowControlsOf(0);
    emit turnedOff();
}

void LightingPanel::ClickKey(int controlId) {
    const int gridKey = m_keys.GridKeyOfControl(controlId);
    if (gridKey >= 0) {
        Change({}, [gridKey](LightingOps& ops) { ops.PaintKey(gridKey); });
    }
}

void LightingPanel::ShowControlsOf(int effect) {
    for (std::size_t i = 0; i < std::size(kPanel); ++i) {
        const bool shown = ShownFor(kPanel[i].shown, effect);
        // A control hidden before it is needed is not built for it.
        if (!shown && m_controls.count(kPanel[i].id) == 0) {
            continue;
        }
        if (shown) {
            Dress(i);
        }
        Control(kPanel[i].id)->setVisible(shown);
    }
}

void LightingPanel::PlaceDirection(int effect) {
    const QString suffix = DirectionSuffix(effect);
    for (int i = 0; i < 3; ++i) {
        PlaceControl(Control(kDirectionControls[i]), m_skin, QStringLiteral("BUTTONINFO"),
                     QString::fromLatin1(kDirectionEntries[i]) + suffix);
    }
}

void LightingPanel::ShowDirection(int effect, int direction) {
    const bool spread = effect == kSpreadEffect;
    const auto picture = [this](const char* file) { return Picture(QString::fromLatin1(file)); };
    PictureOf(kDirectionFirst)
        ->SetPictures(picture(spread ? "kuosan.bmp" : "leftup.bmp"),
                      picture(spread ? "kuosandown.bmp" : "leftdown.bmp"));
    PictureOf(kDirectionSecond)
        ->SetPictures(picture(spread ? "julong.bmp" : "rightup.bmp"),
                      picture(spread ? "julongdown.bmp" : "rightdown.bmp"));
    PictureOf(kDirectionFirst)->SetDown(direction == kDirectionLeft);
    PictureOf(kDirectionSecond)->SetDown(direction != kDirectionLeft);
}

void LightingPanel::OnEffectSelected(int position) {
    const int effect = m_state->effectSlots.EffectAt(position);
    if (!IsHandledEffect(effect)) {
        // Effects the program does not know write nothing and show nothing.
        ShowControlsOf(0);
        Control(kEffectSelector)->hide();
        return;
    }
    PlaceDirection(effect);
    ShowDirection(effect, m_state->current.direction);
    Change("effect", [effect](LightingOps& ops) { ops.SetEffect(effect); });
    ShowControlsOf(IsOn() ? effect : 0);
    ShowValues(m_state->current);
}

void LightingPanel::OnEffectColor(const QColor& color) {
    Change("color", [c = FromQColor(color)](LightingOps& ops) { ops.SetEffectColor(c); });
    ShowValues(m_state->current);
}

void LightingPanel::ToggleMulticolor() {
    const int multicolor = m_state->current.multicolor ? 0 : 1;
    Change("multicolor", [multicolor](LightingOps& ops) { ops.SetMulticolor(multicolor); });
    ShowValues(m_state->current);
}

void LightingPanel::PostSlider(int controlId, int position) {
    QCoreApplication::postEvent(this, new SliderEvent(controlId, position));
}

bool LightingPanel::event(QEvent* event) {
    if (event->type() == SliderEvent::Id()) {
        const auto* slider = static_cast<SliderEvent*>(event);
        OnSliderMessage(slider->controlId, slider->position);
        return true;
    }
    return QObject::event(event);
}

void LightingPanel::OnSliderMessage(int controlId, int position) {
    CImageSlider* slider = Slider(controlId);
    if (slider == nullptr || position != slider->Position()) {
        return;  // the slider has moved on since: its latest message writes
    }
    if (controlId == kBrightnessSlider) {
        Change("brightness", [position](LightingOps& ops) { ops.SetBrightness(position); });
    } else if (controlId == kSpeedSlider) {
        const int speed = SpeedOfSliderPosition(position);
        Change("speed", [speed](LightingOps& ops) { ops.SetSpeed(speed); });
    }
}

void LightingPanel::ClearEffectSelector() {
    const QSignalBlocker block(Selector(kEffectSelector));
    Selector(kEffectSelector)->clear();
}

void LightingPanel::TintKey(int gridKey, std::optional<Color> tint) {
    if (CPngButton* button = m_keys.ButtonOfGridKey(gridKey)) {
        button->SetTint(tint ? std::optional<QColor>(ToQColor(*tint)) : std::nullopt);
    }
}

void LightingPanel::ShowEffect(int effect) {
    const int position = m_state->effectSlots.PositionOf(effect);
    if (position >= 0) {
        const QSignalBlocker block(Selector(kEffectSelector));
        Selector(kEffectSelector)->setCurrentIndex(position);
    }
    PlaceDirection(effect);
    ShowControlsOf(IsOn() ? effect : 0);
}

void LightingPanel::ShowValues(const LightingValues& values) {
    Slider(kBrightnessSlider)->SetPosition(values.brightness);
    Slider(kSpeedSlider)->SetPosition(SliderPositionOfSpeed(values.speed));
    for (int id : {kColorPicker, kReactiveColorPicker}) {
        Picker(id)->SetColor(ToQColor(values.effectColor));
    }
    Picker(kPaintColorPicker)->SetColor(ToQColor(values.paintColor));
    Picker(kBaseColorPicker)->SetColor(ToQColor(values.baseColor));
    for (int id : {kMulticolorCheck, kReactiveMulticolorCheck}) {
        PictureOf(id)->SetDown(values.multicolor);
    }
    PictureOf(kToolPaintColor)->SetDown(values.paintTool == kPaintToolPaintColor);
    PictureOf(kToolBaseColor)->SetDown(values.paintTool == kPaintToolBaseColor);
    for (int color = 0; color < 4; ++color) {
        PictureOf(kEffect17Pictures[color])->SetDown(values.effect17Color == color);
    }
    ShowDirection(values.effect, values.direction);
}

void LightingPanel::ShowPreset(int preset) {
    const QSignalBlocker block(Selector(kPresetSelector));
    Selector(kPresetSelector)->setCurrentIndex(preset);
}

}  // namespace korvel
