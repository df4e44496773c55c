#include "gui/mainwnd/lighting_panel.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

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
    {1171, "CONTROL_DengStatic",    Kind::Label,        "Deng",   nullptr},
    {1167, "CONTROL_DengStaPic",    Kind::Picture,      nullptr,  "dengup.bmp"},
    {1146, "CONTROL_XGcombox",      Kind::Selector,     nullptr,  nullptr},
    {1172, "CONTROL_LightStatic",   Kind::Label,        "Light",  nullptr},
    {1178, "CONTROL_LightSlider",   Kind::Slider,       nullptr,  "0.bmp"},
    {1166, "CONTROL_SpeedStatic",   Kind::Label,        "Speed",  nullptr},
    {1179, "CONTROL_SpeedSlider",   Kind::Slider,       nullptr,  "6.bmp"},
    {1148, "CONTROL_BLFXStatic",    Kind::Label,        "FX",     nullptr},
    {1149, "CONTROL_BLFXLStaPic",   Kind::Picture,      nullptr,  "leftup.bmp"},
    {1150, "CONTROL_BLFXRStaPic",   Kind::Picture,      nullptr,  "rightup.bmp"},
    {1154, "CONTROL_HXysStatic",    Kind::Label,        "Color",  nullptr},
    {1155, "CONTROL_HXysButton",    Kind::ColourPicker, nullptr,  nullptr},
    {1173, "CONTROL_HXsjsStatic",   Kind::Label,        "DC",     nullptr},
    {1156, "CONTROL_HXsjsStaPic",   Kind::Picture,      nullptr,  "sjsup.bmp"},
    {1151, "CONTROL_FYYSStatic",    Kind::Label,        "Color",  nullptr},
    {1152, "CONTROL_FYYSButton",    Kind::ColourPicker, nullptr,  nullptr},
    {1176, "CONTROL_FYSJSStatic",   Kind::Label,        "DC",     nullptr},
    {1175, "CONTROL_FYSJSStaPic",   Kind::Picture,      nullptr,  "sjsup.bmp"},
    {1194, "CONTROL_HONGPIC",       Kind::Picture,      nullptr,  "hong.bmp"},
    {1195, "CONTROL_HUANGPIC",      Kind::Picture,      nullptr,  "huang.bmp"},
    {1196, "CONTROL_LVPIC",         Kind::Picture,      nullptr,  "lv.bmp"},
    {1197, "CONTROL_LANPIC",        Kind::Picture,      nullptr,  "lan.bmp"},
    {1159, "CONTROL_USERysStatic",  Kind::Label,        "Color",  nullptr},
    {1160, "CONTROL_USERysButton",  Kind::ColourPicker, nullptr,  nullptr},
    {1161, "CONTROL_USERjsStatic",  Kind::Label,        "JColor", nullptr},
    {1162, "CONTROL_USERjsButton",  Kind::ColourPicker, nullptr,  nullptr},
    {1163, "CONTROL_USERgjStatic",  Kind::Label,        "Tool",   nullptr},
    {1164, "CONTROL_USERgjStaPic1", Kind::Picture,      nullptr,  "user1up.bmp"},
    {1165, "CONTROL_USERgjStaPic2", Kind::Picture,      nullptr,  "user2up.bmp"},
    {1198, "CONTROL_umCombo",       Kind::Selector,     nullptr,  nullptr},
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
        widget->setVisible(id == 1171 || id == 1167);
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
