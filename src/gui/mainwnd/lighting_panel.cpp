#include "gui/mainwnd/lighting_panel.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/ini_file.h"
#include "gui/widgets/skin_placement.h"

namespace korvel {
namespace {

enum class Kind { Label, Picture, Slider, Selector, ColourPicker };

struct PanelControl {
    int id;
    const char* entry;
    Kind kind;
    const char* textKey;  // labels: key of the skin's label sections
    const char* picture;  // pictures and sliders: the face shown first
};

// clang-format off
constexpr PanelControl kPanel[] = {
    {kPanelLabel, "CONTROL_DengStatic",    Kind::Label,        "Deng",   nullptr},
    {kPanelSwitch, "CONTROL_DengStaPic",    Kind::Picture,      nullptr,  "dengup.bmp"},
    {kEffectSelector, "CONTROL_XGcombox",      Kind::Selector,     nullptr,  nullptr},
    {kBrightnessLabel, "CONTROL_LightStatic",   Kind::Label,        "Light",  nullptr},
    {kBrightnessSlider, "CONTROL_LightSlider",   Kind::Slider,       nullptr,  "0.bmp"},
    {kSpeedLabel, "CONTROL_SpeedStatic",   Kind::Label,        "Speed",  nullptr},
    {kSpeedSlider, "CONTROL_SpeedSlider",   Kind::Slider,       nullptr,  "6.bmp"},
    {kDirectionLabel, "CONTROL_BLFXStatic",    Kind::Label,        "FX",     nullptr},
    {kDirectionFirst, "CONTROL_BLFXLStaPic",   Kind::Picture,      nullptr,  "leftup.bmp"},
    {kDirectionSecond, "CONTROL_BLFXRStaPic",   Kind::Picture,      nullptr,  "rightup.bmp"},
    {kColorLabel, "CONTROL_HXysStatic",    Kind::Label,        "Color",  nullptr},
    {kColorPicker, "CONTROL_HXysButton",    Kind::ColourPicker, nullptr,  nullptr},
    {kMulticolorLabel, "CONTROL_HXsjsStatic",   Kind::Label,        "DC",     nullptr},
    {kMulticolorCheck, "CONTROL_HXsjsStaPic",   Kind::Picture,      nullptr,  "sjsup.bmp"},
    {kReactiveColorLabel, "CONTROL_FYYSStatic",    Kind::Label,        "Color",  nullptr},
    {kReactiveColorPicker, "CONTROL_FYYSButton",    Kind::ColourPicker, nullptr,  nullptr},
    {kReactiveMulticolorLabel, "CONTROL_FYSJSStatic",   Kind::Label,        "DC",     nullptr},
    {kReactiveMulticolorCheck, "CONTROL_FYSJSStaPic",   Kind::Picture,      nullptr,  "sjsup.bmp"},
    {kEffect17Red, "CONTROL_HONGPIC",       Kind::Picture,      nullptr,  "hong.bmp"},
    {kEffect17Yellow, "CONTROL_HUANGPIC",      Kind::Picture,      nullptr,  "huang.bmp"},
    {kEffect17Green, "CONTROL_LVPIC",         Kind::Picture,      nullptr,  "lv.bmp"},
    {kEffect17Blue, "CONTROL_LANPIC",        Kind::Picture,      nullptr,  "lan.bmp"},
    {kPaintColorLabel, "CONTROL_USERysStatic",  Kind::Label,        "Color",  nullptr},
    {kPaintColorPicker, "CONTROL_USERysButton",  Kind::ColourPicker, nullptr,  nullptr},
    {kBaseColorLabel, "CONTROL_USERjsStatic",  Kind::Label,        "JColor", nullptr},
    {kBaseColorPicker, "CONTROL_USERjsButton",  Kind::ColourPicker, nullptr,  nullptr},
    {kToolLabel, "CONTROL_USERgjStatic",  Kind::Label,        "Tool",   nullptr},
    {kToolPaintColor, "CONTROL_USERgjStaPic1", Kind::Picture,      nullptr,  "user1up.bmp"},
    {kToolBaseColor, "CONTROL_USERgjStaPic2", Kind::Picture,      nullptr,  "user2up.bmp"},
    {kPresetSelector, "CONTROL_umCombo",       Kind::Selector,     nullptr,  nullptr},
};
// clang-format on

constexpr const char* kBitmaps[] = {
    "dengup.bmp", "dengdown.bmp",   "leftup.bmp",  "leftdown.bmp",   "rightup.bmp", "rightdown.bmp",
    "kuosan.bmp", "kuosandown.bmp", "julong.bmp",  "julongdown.bmp", "sjsup.bmp",   "sjsdown.bmp",
    "hong.bmp",   "hongok.bmp",     "huang.bmp",   "huangok.bmp",    "lv.bmp",      "lvok.bmp",
    "lan.bmp",    "lanok.bmp",      "user1up.bmp", "user1down.bmp",  "user2up.bmp", "user2down.bmp",
    "0.bmp",      "1.bmp",          "2.bmp",       "3.bmp",          "4.bmp",       "5.bmp",
    "6.bmp",      "7.bmp",          "8.bmp",       "9.bmp",          "10.bmp",      "11.bmp",
};

const QString kLabelStyle = QStringLiteral("color: #d8dce4; background: transparent;");

}  // namespace

LightingPanel::LightingPanel(QWidget* dialog, const CIniFile& skin, const QString& skinFolder,
                             int language)
    : QObject(dialog), m_skin(skin) {
    LoadPictures(skinFolder);
    const QString labels = language == 0   ? QStringLiteral("Control_Name")
                           : language == 1 ? QStringLiteral("Control_Name1")
                                           : QString();
    for (const PanelControl& control : kPanel) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case Kind::Label: {
                auto* label = new QLabel(dialog);
                label->setStyleSheet(kLabelStyle);
                if (!labels.isEmpty()) {
                    label->setText(skin.Read(labels, QString::fromLatin1(control.textKey), {}));
                }
                widget = label;
                break;
            }
            case Kind::Picture:
            case Kind::Slider: {
                auto* picture = new QLabel(dialog);
                picture->setPixmap(Picture(QString::fromLatin1(control.picture)));
                widget = picture;
                break;
            }
            case Kind::Selector:
                widget = new QComboBox(dialog);
                break;
            case Kind::ColourPicker:
                widget = new QPushButton(dialog);
                break;
        }
        Add(control.id, control.entry, widget);
    }
    // Which of them an effect uses is decided when the keyboard's lighting is shown.
    for (const auto& [id, widget] : m_controls) {
        widget->setVisible(id == kPanelLabel || id == kPanelSwitch);
    }
}

QWidget* LightingPanel::Add(int controlId, const char* entry, QWidget* control) {
    control->setObjectName(QString::fromLatin1(entry));
    PlaceControl(control, m_skin, QStringLiteral("BUTTONINFO"), QString::fromLatin1(entry));
    m_controls[controlId] = control;
    return control;
}

void LightingPanel::LoadPictures(const QString& skinFolder) {
    const QDir folder(skinFolder);
    for (const char* file : kBitmaps) {
        m_pictures[QString::fromLatin1(file)] = QPixmap(folder.filePath(QString::fromLatin1(file)));
    }
}

QWidget* LightingPanel::Control(int controlId) const {
    const auto it = m_controls.find(controlId);
    return it == m_controls.end() ? nullptr : it->second;
}

const QPixmap& LightingPanel::Picture(const QString& file) const {
    static const QPixmap kNone;
    const auto it = m_pictures.find(file);
    return it == m_pictures.end() ? kNone : it->second;
}

}  // namespace korvel
