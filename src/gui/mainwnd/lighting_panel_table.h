#pragma once

// The lighting panel's controls, for its two source files only: what each control is, where the
// skin places it and for which effects it shows.

#include <QColor>

#include "gui/mainwnd/main_window_controls.h"
#include "model/lighting/lighting_color.h"

namespace korvel::lighting_panel {

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
inline constexpr PanelControl kPanel[] = {
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

inline constexpr int kSliderPositions = 6;
inline constexpr int kSpeedFaceBase = 6;  // the speed slider's faces are "6.bmp" .. "11.bmp"
inline constexpr int kEffect17Pictures[] = {kEffect17Red, kEffect17Yellow, kEffect17Green,
                                            kEffect17Blue};
inline constexpr int kDirectionControls[] = {kDirectionLabel, kDirectionFirst, kDirectionSecond};
inline constexpr const char* kDirectionEntries[] = {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic",
                                                    "CONTROL_BLFXRStaPic"};

QColor ToQColor(Color color);
Color FromQColor(const QColor& color);

}  // namespace korvel::lighting_panel
