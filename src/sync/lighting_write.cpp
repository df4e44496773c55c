#include "sync/lighting_ops.h"

#include <algorithm>

#include "device/command_set.h"
#include "device/result_codes.h"

namespace korvel {
namespace {

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

int LightingOps::Sequence(std::initializer_list<Step> steps) {
    return DevSequence(m_link, [steps] {
        for (const Step& step : steps) {
            if (const int result = step(); result != DEV_OK) {
                return result;
            }
        }
        return DEV_OK;
    });
}

void LightingOps::StoreParam(int offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), m_state.CurrentRecord().bytes.begin() + offset);
}

LightingOps::Step LightingOps::SendParam(int offset, int count) {
    return [this, offset, count]() {
        const int profile = m_state.Profile();
        const auto field =
            std::span<const std::uint8_t>(m_state.records[profile].bytes)
                .subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
        return DevWriteParams(m_link, field,
                              static_cast<std::uint16_t>(profile * kParamRecordBytes + offset));
    };
}

int LightingOps::WriteParamField(int offset, std::span<const std::uint8_t> bytes) {
    const auto size = static_cast<int>(bytes.size());
    if (offset < 0 || size < 1 || offset + size > kParamRecordBytes) {
        return LIGHTING_REFUSED;
    }
    StoreParam(offset, bytes);
    DecodeCurrentRecord();
    return Sequence({SendParam(offset, size)});
}

int LightingOps::WriteByteField(int offset, int value) {
    const std::uint8_t byte = static_cast<std::uint8_t>(value);
    return WriteParamField(offset, std::span(&byte, 1));
}

int LightingOps::WriteColorField(int offset, Color color) {
    const auto wire = ColorToWire(color);
    return WriteParamField(offset, wire);
}

int LightingOps::SetEffect(int effect) {
    if (!IsHandledEffect(effect) || !m_state.Effects().Contains(effect)) {
        return LIGHTING_REFUSED;
    }
    int result = DEV_OK;
    if (EffectWritesMulticolor(effect)) {
        const std::array<std::uint8_t, 1> id = {static_cast<std::uint8_t>(effect)};
        const std::array<std::uint8_t, 1> flag = {
            static_cast<std::uint8_t>(m_state.current.multicolor ? 1 : 0)};
        StoreParam(kParamEffect, id);
        StoreParam(kParamMulticolor, flag);
        DecodeCurrentRecord();
        result = Sequence({SendParam(kParamEffect, 1), SendParam(kParamMulticolor, 1)});
    } else {
        result = WriteByteField(kParamEffect, effect);
    }
    TintGrid();
    return result;
}

int LightingOps::SetBrightness(int brightness) {
    if (!InRange(brightness, 0, kMaxBrightness)) {
        return LIGHTING_REFUSED;
    }
    if (brightness == m_state.current.brightness) {
        return DEV_OK;
    }
    return WriteByteField(kParamBrightness, brightness);
}

int LightingOps::SetSpeed(int speed) {
    if (!InRange(speed, 0, kMaxSpeed)) {
        return LIGHTING_REFUSED;
    }
    if (speed == m_state.current.speed) {
        return DEV_OK;
    }
    return WriteByteField(kParamSpeed, speed);
}

int LightingOps::SetDirection(int direction) {
    if (direction != kDirectionLeft && direction != kDirectionRight) {
        return LIGHTING_REFUSED;
    }
    return WriteByteField(kParamDirection, direction);
}

int LightingOps::SetEffectColor(Color color) {
    const std::array<std::uint8_t, 1> single = {0};
    StoreParam(kParamMulticolor, single);
    StoreParam(kParamEffectColor, ColorToWire(color));
    DecodeCurrentRecord();
    const int result = Sequence({SendParam(kParamMulticolor, 1),
                                 SendParam(kParamEffectColor, static_cast<int>(kColorBytes))});
    TintGrid();
    return result;
}

int LightingOps::SetMulticolor(int multicolor) {
    if (!InRange(multicolor, 0, 1)) {
        return LIGHTING_REFUSED;
    }
    const int result = WriteByteField(kParamMulticolor, multicolor);
    TintGrid();
    return result;
}

int LightingOps::SetPaintColor(Color color) {
    return WriteColorField(kParamPaintColor, color);
}

int LightingOps::SetPaintTool(int tool) {
    if (!InRange(tool, 0, kMaxPaintTool)) {
        return LIGHTING_REFUSED;
    }
    return WriteByteField(kParamPaintTool, tool);
}

int LightingOps::SetEffect17Color(int color) {
    if (!InRange(color, 0, kMaxEffect17Color)) {
        return LIGHTING_REFUSED;
    }
    return WriteByteField(kParamEffect17Color, color);
}

int LightingOps::SetReportRate(int index) {
    if (!InRange(index, 0, kMaxReportRate)) {
        return LIGHTING_REFUSED;
    }
    return WriteByteField(kParamReportRate, index);
}

}  // namespace korvel
