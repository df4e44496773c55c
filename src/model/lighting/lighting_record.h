#pragma once

#include <array>
#include <cstdint>

#include "device/command_set.h"
#include "model/lighting/lighting_color.h"

namespace korvel {

// Byte offsets of the fields the program edits in a ProfileParamRecord. The other bytes
// (reserved, reactive multicolour, trigger, colours D and E) are carried as read.
enum ParamOffset : int {
    kParamEffect = 0,
    kParamBrightness = 1,
    kParamSpeed = 2,
    kParamDirection = 3,
    kParamMulticolor = 4,
    kParamEffectColor = 5,  // R, G, B
    kParamBaseColor = 9,    // R, G, B
    kParamPaintColor = 12,  // R, G, B
    kParamReportRate = 15,
    kParamPaintTool = 16,
    kParamEffect17Color = 17,
};

// A record is read as a whole report's worth of bytes; only the first 42 belong to it.
inline constexpr unsigned kParamReadBytes = 56;

inline constexpr int kMaxBrightness = 5;
inline constexpr int kMaxSpeed = 5;
inline constexpr int kMaxReportRate = 3;
inline constexpr int kMaxPaintTool = 1;
inline constexpr int kMaxEffect17Color = 3;

inline constexpr int kDirectionLeft = 1;   // spread for effect 18
inline constexpr int kDirectionRight = 0;  // converge for effect 18
inline constexpr int kPaintToolPaintColor = 0;
inline constexpr int kPaintToolBaseColor = 1;

// The lighting record written by restoring the defaults: effect 1, brightness 5, speed 3,
// direction right, multicolour, red effect colour, white base colour, red paint colour, report
// rate and tool bytes 0xFF, effect-17 colour red, colours D and E white. A factory-new keyboard
// holds it with the rest of the record zero.
inline constexpr int kDefaultParamRecordBytes = 35;
extern const std::array<std::uint8_t, kDefaultParamRecordBytes> kDefaultParamRecord;

// One profile's lighting as the keyboard stores it: 42 bytes at profile * 42 of its parameter
// memory.
struct ProfileParamRecord {
    std::array<std::uint8_t, kParamRecordBytes> bytes{};

    Color ColorAt(int offset) const;
    void SetColorAt(int offset, Color color);
    bool operator==(const ProfileParamRecord&) const = default;
};

// The values the lighting panel shows, decoded from a record the way the panel reads it.
struct LightingValues {
    int effect = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    bool multicolor = false;
    Color effectColor = kBlack;
    Color baseColor = kBlack;
    Color paintColor = kBlack;
    int reportRate = 0;     // 0..3; a stored value above 3 reads as 3
    int paintTool = 0;      // 0..1; a stored value above 1 reads as 0
    int effect17Color = 0;  // 0..3; any other stored value reads as red (0)
    bool operator==(const LightingValues&) const = default;
};

LightingValues DecodeRecord(const ProfileParamRecord& record);

// The speed slider runs the other way round from the stored speed.
constexpr int SpeedOfSliderPosition(int position) {
    return kMaxSpeed - position;
}
constexpr int SliderPositionOfSpeed(int speed) {
    return kMaxSpeed - speed;
}

}  // namespace korvel
