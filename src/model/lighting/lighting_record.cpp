#include "model/lighting/lighting_record.h"

#include <algorithm>

namespace korvel {

const std::array<std::uint8_t, kDefaultParamRecordBytes> kDefaultParamRecord = {
    0x01, 0x05, 0x03, 0x00, 0x01, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
    0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

Color ProfileParamRecord::ColorAt(int offset) const {
    return ColorFromWire(
        std::span<const std::uint8_t, kColorBytes>(bytes.data() + offset, kColorBytes));
}

void ProfileParamRecord::SetColorAt(int offset, Color color) {
    const auto wire = ColorToWire(color);
    std::copy(wire.begin(), wire.end(), bytes.begin() + offset);
}

LightingValues DecodeRecord(const ProfileParamRecord& record) {
    const auto& b = record.bytes;
    LightingValues values;
    values.effect = b[kParamEffect];
    values.brightness = b[kParamBrightness];
    values.speed = b[kParamSpeed];
    values.direction = b[kParamDirection];
    values.multicolor = b[kParamMulticolor] != 0;
    values.effectColor = record.ColorAt(kParamEffectColor);
    values.baseColor = record.ColorAt(kParamBaseColor);
    values.paintColor = record.ColorAt(kParamPaintColor);
    values.reportRate = std::min<int>(b[kParamReportRate], kMaxReportRate);
    values.paintTool = b[kParamPaintTool] > kMaxPaintTool ? 0 : b[kParamPaintTool];
    values.effect17Color = b[kParamEffect17Color] > kMaxEffect17Color ? 0 : b[kParamEffect17Color];
    return values;
}

}  // namespace korvel
