// The lighting panel's controls: built from the skin, dressed with their pictures, labelled and
// connected.
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
#include "gui/skin/skin_picture.h"
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

namespace lighting_panel {

QColor ToQColor(Color color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

Color FromQColor(const QColor& color) {
    return MakeColor(static_cast<std::uint8_t>(color.red()),
                     static_cast<std::uint8_t>(color.green()),
                     static_cast<std::uint8_t>(color.blue()));
}

}  // namespace lighting_panel

namespace {

const QString kLabelStyle = QStringLiteral("color: #d8dce4; background: transparent;");

// Arrow keys and the wheel never change a selector: an effect changes only when the user picks
// one from the list.
class SelectorGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) {
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
                key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End ||
                key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// One control of the panel, of its kind, on the dialog; selectors filtered by `guard`.
QWidget* MakeControl(const PanelControl& control, QWidget* dialog, QObject* guard) {
    switch (control.kind) {
        case Kind::Label: {
            auto* label = new QLabel(dialog);
            label->setStyleSheet(kLabelStyle);
            return label;
        }
        case Kind::Picture:
            return new CPictureButton(dialog);
        case Kind::Slider:
            return new CImageSlider(kSliderPositions, dialog);
        case Kind::Selector: {
            auto* selector = new QComboBox(dialog);
            selector->setFocusPolicy(Qt::StrongFocus);
            selector->installEventFilter(guard);
            return selector;
        }
        case Kind::ColourPicker:
            return new CColorPicker(dialog);
    }
    return nullptr;
}

const PanelControl& PanelEntry(int controlId) {
    return *std::find_if(std::begin(kPanel), std::end(kPanel),
                         [controlId](const PanelControl& c) { return c.id == controlId; });
}

}  // namespace

void LightingPanel::Build() {
    // Until the keyboard's lighting has been read only the panel's title shows: the switch would
    // claim a state nobody has read. The other controls start hidden.
    for (int id : {kPanelLabel, kPanelSwitch}) {
        const PanelControl& control = PanelEntry(id);
        Add(control.id, control.entry, MakeControl(control, m_dialog, nullptr));
    }
    Control(kPanelSwitch)->setVisible(false);
    auto* guard = new SelectorGuard(this);
    for (const PanelControl& control : kPanel) {
        if (control.id != kPanelLabel && control.id != kPanelSwitch) {
            Add(control.id, control.entry, MakeControl(control, m_dialog, guard));
        }
    }
    auto* presets = Selector(kPresetSelector);
    for (const LightingPreset& preset : LightingPresets()) {
        presets->addItem(
            QString::fromLatin1(preset.name.data(), static_cast<qsizetype>(preset.name.size())));
    }
    presets->setCurrentIndex(0);
    for (const auto& [id, widget] : m_controls) {
        if (id != kPanelLabel && id != kPanelSwitch) {
            widget->setVisible(false);
        }
    }
    SetLabels(m_language);
    Connect();
}

QWidget* LightingPanel::Add(int controlId, const char* entry, QWidget* control) {
    control->setObjectName(QString::fromLatin1(entry));
    PlaceControl(control, m_skin, QStringLiteral("BUTTONINFO"), QString::fromLatin1(entry));
    m_controls[controlId] = control;
    return control;
}

void LightingPanel::Dress(std::size_t panelIndex) {
    const PanelControl& control = kPanel[panelIndex];
    if (!m_dressed.insert(control.id).second) {
        return;
    }
    if (control.kind == Kind::Picture) {
        PictureOf(control.id)
            ->SetPictures(Picture(QString::fromLatin1(control.picture)),
                          Picture(QString::fromLatin1(control.down)));
    } else if (control.kind == Kind::Slider) {
        const int base = control.id == kSpeedSlider ? kSpeedFaceBase : 0;
        std::vector<QPixmap> faces;
        for (int p = 0; p < kSliderPositions; ++p) {
            faces.push_back(Picture(QStringLiteral("%1.bmp").arg(base + p)));
        }
        Slider(control.id)->SetFaces(std::move(faces));
    }
}

void LightingPanel::SetLabels(int language) {
    m_language = language;
    NameControlsForAssistance();
    const QString labels = language == 0   ? QStringLiteral("Control_Name")
                           : language == 1 ? QStringLiteral("Control_Name1")
                                           : QString();
    for (const PanelControl& control : kPanel) {
        const auto built = m_controls.find(control.id);
        if (control.kind == Kind::Label && built != m_controls.end()) {
            static_cast<QLabel*>(built->second)
                ->setText(labels.isEmpty()
                              ? QString()
                              : m_skin.Value(labels, QString::fromLatin1(control.textKey), {}));
        }
    }
}

void LightingPanel::NameControlsForAssistance() {
    // The panel's pictures, sliders and selectors say what they are only by their looks or by a
    // label beside them.
    static constexpr std::pair<int, const char*> kNames[] = {
        {kPanelSwitch, "LIGHTING_SWITCH_PROMPT"},
        {kEffectSelector, "A11Y_EFFECT"},
        {kBrightnessSlider, "A11Y_BRIGHTNESS"},
        {kSpeedSlider, "A11Y_SPEED"},
        {kDirectionFirst, "A11Y_DIRECTION_1"},
        {kDirectionSecond, "A11Y_DIRECTION_2"},
        {kColorPicker, "A11Y_COLOR"},
        {kMulticolorCheck, "A11Y_MULTICOLOR"},
        {kReactiveColorPicker, "A11Y_COLOR"},
        {kReactiveMulticolorCheck, "A11Y_MULTICOLOR"},
        {kEffect17Red, "A11Y_RED"},
        {kEffect17Yellow, "A11Y_YELLOW"},
        {kEffect17Green, "A11Y_GREEN"},
        {kEffect17Blue, "A11Y_BLUE"},
        {kPaintColorPicker, "A11Y_PAINT_COLOR"},
        {kBaseColorPicker, "A11Y_BASE_COLOR"},
        {kToolPaintColor, "A11Y_TOOL_PAINT"},
        {kToolBaseColor, "A11Y_TOOL_BASE"},
        {kPresetSelector, "A11Y_PRESET"},
    };
    for (const auto& [id, key] : kNames) {
        if (const auto built = m_controls.find(id); built != m_controls.end()) {
            built->second->setAccessibleName(m_skin.Caption(key));
        }
    }
}

void LightingPanel::SetLanguage(int language, const QString& otherColorText) {
    SetLabels(language);
    m_otherColorText = otherColorText;
    for (const PanelControl& control : kPanel) {
        if (control.kind == Kind::ColourPicker) {
            Picker(control.id)->SetOtherText(otherColorText);
        }
    }
    FillEffectSelector();
}

void LightingPanel::Connect() {
    connect(Selector(kEffectSelector), &QComboBox::activated, this,
            &LightingPanel::OnEffectSelected);
    for (int id : {kBrightnessSlider, kSpeedSlider}) {
        connect(Slider(id), &CImageSlider::moved, this,
                [this, id](int position) { PostSlider(id, position); });
    }
    connect(PictureOf(kDirectionFirst), &QAbstractButton::clicked, this, [this] {
        Change("direction", [](LightingOps& ops) { ops.SetDirection(kDirectionLeft); });
        ShowDirection(m_state->current.effect, kDirectionLeft);
    });
    connect(PictureOf(kDirectionSecond), &QAbstractButton::clicked, this, [this] {
        Change("direction", [](LightingOps& ops) { ops.SetDirection(kDirectionRight); });
        ShowDirection(m_state->current.effect, kDirectionRight);
    });
    for (int id : {kColorPicker, kReactiveColorPicker}) {
        connect(Picker(id), &CColorPicker::picked, this, &LightingPanel::OnEffectColor);
    }
    for (int id : {kMulticolorCheck, kReactiveMulticolorCheck}) {
        connect(PictureOf(id), &QAbstractButton::clicked, this, &LightingPanel::ToggleMulticolor);
    }
    for (int color = 0; color < 4; ++color) {
        connect(PictureOf(kEffect17Pictures[color]), &QAbstractButton::clicked, this,
                [this, color] {
                    Change("effect17", [color](LightingOps& ops) { ops.SetEffect17Color(color); });
                    ShowValues(m_state->current);
                });
    }
    connect(Picker(kPaintColorPicker), &CColorPicker::picked, this, [this](const QColor& color) {
        Change("paint-color", [c = FromQColor(color)](LightingOps& ops) { ops.SetPaintColor(c); });
    });
    connect(Picker(kBaseColorPicker), &CColorPicker::picked, this, [this](const QColor& color) {
        Change({}, [c = FromQColor(color)](LightingOps& ops) { ops.ChooseBaseColor(c); });
    });
    const auto tool = [this](int which) {
        Change("tool", [which](LightingOps& ops) { ops.SetPaintTool(which); });
        ShowValues(m_state->current);
    };
    connect(PictureOf(kToolPaintColor), &QAbstractButton::clicked, this,
            [tool] { tool(kPaintToolPaintColor); });
    connect(PictureOf(kToolBaseColor), &QAbstractButton::clicked, this,
            [tool] { tool(kPaintToolBaseColor); });
    connect(Selector(kPresetSelector), &QComboBox::activated, this, [this](int preset) {
        Change({}, [preset](LightingOps& ops) { ops.ApplyPreset(preset); });
    });
}

QWidget* LightingPanel::Control(int controlId) {
    const auto it = m_controls.find(controlId);
    return it == m_controls.end() ? nullptr : it->second;
}

CImageSlider* LightingPanel::Slider(int controlId) {
    return static_cast<CImageSlider*>(Control(controlId));
}

CPictureButton* LightingPanel::PictureOf(int controlId) {
    return static_cast<CPictureButton*>(Control(controlId));
}

CColorPicker* LightingPanel::Picker(int controlId) {
    return static_cast<CColorPicker*>(Control(controlId));
}

QComboBox* LightingPanel::Selector(int controlId) {
    return static_cast<QComboBox*>(Control(controlId));
}

const QPixmap& LightingPanel::Picture(const QString& file) const {
    const auto known = m_pictures.find(file);
    if (known != m_pictures.end()) {
        return known->second;
    }
    return m_pictures.emplace(file, LoadSkinPixmap(m_skin.PicturePath(file))).first->second;
}

}  // namespace korvel
