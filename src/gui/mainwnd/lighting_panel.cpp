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
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/color_picker.h"
#include "gui/widgets/image_slider.h"
#include "gui/widgets/ini_file.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/png_button.h"
#include "gui/widgets/skin_placement.h"
#include "model/lighting/effect_list.h"
#include "model/lighting/lighting_presets.h"
#include "model/lighting/lighting_state.h"
#include "sync/lighting_ops.h"

namespace korvel {
namespace {

enum class Kind { Label, Picture, Slider, Selector, ColourPicker };

// Which effects show a control.
enum class Shown { Always, Handled, Speed, Direction, Colour, Reactive, Effect17, Custom };

struct PanelControl {
    int id;
    const char* entry;
    Kind kind;
    Shown shown;
    const char* textKey;  // labels: key of the skin's label sections
    const char* picture;  // pictures: the plain face
    const char* down;     // pictures: the pressed, selected or on face
};

// clang-format off
constexpr PanelControl kPanel[] = {
    {kPanelLabel,              "CONTROL_DengStatic",    Kind::Label,        Shown::Always,    "Deng",   nullptr,       nullptr},
    {kPanelSwitch,             "CONTROL_DengStaPic",    Kind::Picture,      Shown::Always,    nullptr,  "dengup.bmp",  "dengdown.bmp"},
    {kEffectSelector,          "CONTROL_XGcombox",      Kind::Selector,     Shown::Handled,   nullptr,  nullptr,       nullptr},
    {kBrightnessLabel,         "CONTROL_LightStatic",   Kind::Label,        Shown::Handled,   "Light",  nullptr,       nullptr},
    {kBrightnessSlider,        "CONTROL_LightSlider",   Kind::Slider,       Shown::Handled,   nullptr,  nullptr,       nullptr},
    {kSpeedLabel,              "CONTROL_SpeedStatic",   Kind::Label,        Shown::Speed,     "Speed",  nullptr,       nullptr},
    {kSpeedSlider,             "CONTROL_SpeedSlider",   Kind::Slider,       Shown::Speed,     nullptr,  nullptr,       nullptr},
    {kDirectionLabel,          "CONTROL_BLFXStatic",    Kind::Label,        Shown::Direction, "FX",     nullptr,       nullptr},
    {kDirectionFirst,          "CONTROL_BLFXLStaPic",   Kind::Picture,      Shown::Direction, nullptr,  "leftup.bmp",  "leftdown.bmp"},
    {kDirectionSecond,         "CONTROL_BLFXRStaPic",   Kind::Picture,      Shown::Direction, nullptr,  "rightup.bmp", "rightdown.bmp"},
    {kColorLabel,              "CONTROL_HXysStatic",    Kind::Label,        Shown::Colour,    "Color",  nullptr,       nullptr},
    {kColorPicker,             "CONTROL_HXysButton",    Kind::ColourPicker, Shown::Colour,    nullptr,  nullptr,       nullptr},
    {kMulticolorLabel,         "CONTROL_HXsjsStatic",   Kind::Label,        Shown::Colour,    "DC",     nullptr,       nullptr},
    {kMulticolorCheck,         "CONTROL_HXsjsStaPic",   Kind::Picture,      Shown::Colour,    nullptr,  "sjsup.bmp",   "sjsdown.bmp"},
    {kReactiveColorLabel,      "CONTROL_FYYSStatic",    Kind::Label,        Shown::Reactive,  "Color",  nullptr,       nullptr},
    {kReactiveColorPicker,     "CONTROL_FYYSButton",    Kind::ColourPicker, Shown::Reactive,  nullptr,  nullptr,       nullptr},
    {kReactiveMulticolorLabel, "CONTROL_FYSJSStatic",   Kind::Label,        Shown::Reactive,  "DC",     nullptr,       nullptr},
    {kReactiveMulticolorCheck, "CONTROL_FYSJSStaPic",   Kind::Picture,      Shown::Reactive,  nullptr,  "sjsup.bmp",   "sjsdown.bmp"},
    {kEffect17Red,             "CONTROL_HONGPIC",       Kind::Picture,      Shown::Effect17,  nullptr,  "hong.bmp",    "hongok.bmp"},
    {kEffect17Yellow,          "CONTROL_HUANGPIC",      Kind::Picture,      Shown::Effect17,  nullptr,  "huang.bmp",   "huangok.bmp"},
    {kEffect17Green,           "CONTROL_LVPIC",         Kind::Picture,      Shown::Effect17,  nullptr,  "lv.bmp",      "lvok.bmp"},
    {kEffect17Blue,            "CONTROL_LANPIC",        Kind::Picture,      Shown::Effect17,  nullptr,  "lan.bmp",     "lanok.bmp"},
    {kPaintColorLabel,         "CONTROL_USERysStatic",  Kind::Label,        Shown::Custom,    "Color",  nullptr,       nullptr},
    {kPaintColorPicker,        "CONTROL_USERysButton",  Kind::ColourPicker, Shown::Custom,    nullptr,  nullptr,       nullptr},
    {kBaseColorLabel,          "CONTROL_USERjsStatic",  Kind::Label,        Shown::Custom,    "JColor", nullptr,       nullptr},
    {kBaseColorPicker,         "CONTROL_USERjsButton",  Kind::ColourPicker, Shown::Custom,    nullptr,  nullptr,       nullptr},
    {kToolLabel,               "CONTROL_USERgjStatic",  Kind::Label,        Shown::Custom,    "Tool",   nullptr,       nullptr},
    {kToolPaintColor,          "CONTROL_USERgjStaPic1", Kind::Picture,      Shown::Custom,    nullptr,  "user1up.bmp", "user1down.bmp"},
    {kToolBaseColor,           "CONTROL_USERgjStaPic2", Kind::Picture,      Shown::Custom,    nullptr,  "user2up.bmp", "user2down.bmp"},
    {kPresetSelector,          "CONTROL_umCombo",       Kind::Selector,     Shown::Custom,    nullptr,  nullptr,       nullptr},
};
// clang-format on

constexpr int kSliderPositions = 6;
constexpr int kSpeedFaceBase = 6;  // the speed slider's faces are "6.bmp" .. "11.bmp"
constexpr int kEffect17Pictures[] = {kEffect17Red, kEffect17Yellow, kEffect17Green, kEffect17Blue};
constexpr int kDirectionControls[] = {kDirectionLabel, kDirectionFirst, kDirectionSecond};
constexpr const char* kDirectionEntries[] = {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic",
                                             "CONTROL_BLFXRStaPic"};

const QString kLabelStyle = QStringLiteral("color: #d8dce4; background: transparent;");

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

QColor ToQColor(Color color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

Color FromQColor(const QColor& color) {
    return MakeColor(static_cast<std::uint8_t>(color.red()),
                     static_cast<std::uint8_t>(color.green()),
                     static_cast<std::uint8_t>(color.blue()));
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
            selector->setFocusPolicy(Qt::ClickFocus);
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

LightingPanel::LightingPanel(QWidget* dialog, const CIniFile& skin, const QString& skinFolder,
                             int language, class KeyGrid& keys, DeviceLink& link,
                             KeyboardJobs& jobs, std::filesystem::path settingsFile)
    : QObject(dialog),
      m_skin(skin),
      m_keys(keys),
      m_skinFolder(skinFolder),
      m_language(language),
      m_jobs(jobs),
      m_state(std::make_unique<LightingState>()),
      m_offline(std::make_unique<DeviceLink>()),
      m_ops(std::make_unique<LightingOps>(*m_state, *m_offline, *this, settingsFile)),
      m_keyboard(MakeKeyboardSide(link, settingsFile)),
      m_dialog(dialog) {
    // Until the keyboard's lighting has been read only the panel's title shows: the switch would
    // claim a state nobody has read. The other controls start hidden.
    for (int id : {kPanelLabel, kPanelSwitch}) {
        const PanelControl& control = PanelEntry(id);
        Add(control.id, control.entry, MakeControl(control, dialog, nullptr));
    }
    Control(kPanelSwitch)->setVisible(false);
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

int LightingPanel::ReportRate() const {
    return m_state->current.reportRate;
}

void LightingPanel::Build() {
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
    const QString labels = language == 0   ? QStringLiteral("Control_Name")
                           : language == 1 ? QStringLiteral("Control_Name1")
                                           : QString();
    for (const PanelControl& control : kPanel) {
        const auto built = m_controls.find(control.id);
        if (control.kind == Kind::Label && built != m_controls.end()) {
            static_cast<QLabel*>(built->second)
                ->setText(labels.isEmpty()
                              ? QString()
                              : m_skin.Read(labels, QString::fromLatin1(control.textKey), {}));
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
    return m_pictures.emplace(file, QPixmap(QDir(m_skinFolder).filePath(file))).first->second;
}

void LightingPanel::FillEffectSelector() {
    QComboBox* selector = Selector(kEffectSelector);
    const QSignalBlocker block(selector);
    selector->clear();
    for (const EffectSlotTable::Slot& slot : m_state->effectSlots.Slots()) {
        selector->addItem(
            QString::fromStdU16String(EffectName(m_skin.Profile(), m_language, slot.effect)));
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
