#include "sync/lighting_ops.h"

#include <algorithm>

#include "device/command_set.h"
#include "device/result_codes.h"
#include "model/lighting/lighting_presets.h"

namespace korvel {

int LightingOps::UploadKeyColors() {
    const KeyColorTable& table = m_state.CurrentTable();
    for (int k = 0; k < kKeyColorChunks; ++k) {
        const int result =
            DevWriteKeyColors(m_link, table.Chunk(k), k * kLedsPerChunk, m_state.Profile());
        if (result != DEV_OK) {
            return result;
        }
    }
    return DEV_OK;
}

int LightingOps::SetBaseColor(Color color) {
    const bool colors = m_state.HasPerKeyColors();
    if (colors) {
        const auto grid = KeyGrid();
        const auto& followers = m_state.CurrentFollowers();
        for (int key = 0; key < kGridKeys; ++key) {
            if (followers[key]) {
                m_state.CurrentTable().SetColor(grid[key].led, color);
                TintKey(key);
            }
        }
    }
    StoreParam(kParamBaseColor, ColorToWire(color));
    DecodeCurrentRecord();
    const Step writeBase = SendParam(kParamBaseColor, static_cast<int>(kColorBytes));
    if (!colors) {
        return Sequence({writeBase});
    }
    return Sequence({writeBase, [this] { return UploadKeyColors(); }});
}

int LightingOps::ChooseBaseColor(Color color) {
    int result = DEV_OK;
    if (color != m_state.current.baseColor) {
        result = SetBaseColor(color);
    }
    const int again = WriteColorField(kParamBaseColor, color);
    return result != DEV_OK ? result : again;
}

int LightingOps::PaintKey(int gridKey) {
    if (!m_state.lightingPanelOn || m_state.current.effect != kCustomEffect ||
        !m_state.HasPerKeyColors() || gridKey < 0 || gridKey >= kGridKeys) {
        return LIGHTING_REFUSED;
    }
    const GridKey& key = KeyGrid()[gridKey];
    // G-key buttons open the key editor instead.
    if (key.kind == GridKeyKind::GKey) {
        return LIGHTING_REFUSED;
    }
    const LightingValues& values = m_state.current;
    Color color = values.paintColor;
    bool follows = values.paintColor == values.baseColor;
    if (values.paintTool == kPaintToolBaseColor) {
        color = values.baseColor;
        follows = true;
    }
    m_state.CurrentTable().SetColor(key.led, color);
    m_state.CurrentFollowers()[gridKey] = follows;
    TintKey(gridKey);

    const auto wire = ColorToWire(color);
    return Sequence({[this, wire, led = key.led] {
        return DevWriteKeyColors(m_link, wire, led, m_state.Profile());
    }});
}

int LightingOps::ApplyPreset(int preset) {
    if (preset < 0 || preset >= kLightingPresetCount || !m_state.HasPerKeyColors()) {
        return LIGHTING_REFUSED;
    }
    const auto grid = KeyGrid();
    KeyColorTable& table = m_state.CurrentTable();
    auto& followers = m_state.CurrentFollowers();
    for (int key = 0; key < kGridKeys; ++key) {
        table.SetColor(grid[key].led, kBlack);
        followers[key] = true;
        TintKey(key);
    }
    int result = SetBaseColor(kBlack);

    for (const PresetKey& entry : LightingPresets()[preset].keys) {
        const int key = GridKeyOfScan(entry.scan);
        table.SetColor(grid[key].led, entry.color);
        followers[key] = entry.color == kBlack;
        TintKey(key);
    }

    StoreParam(kParamBaseColor, ColorToWire(kBlack));
    DecodeCurrentRecord();
    m_view.ShowValues(m_state.current);
    const int final = Sequence({SendParam(kParamBaseColor, static_cast<int>(kColorBytes)),
                                [this] { return UploadKeyColors(); }});
    return result != DEV_OK ? result : final;
}

int LightingOps::RestoreLightingDefaults() {
    if (!m_state.lightingPanelOn) {
        return LIGHTING_REFUSED;
    }
    int result = DEV_OK;
    const auto keep = [&result](int step) {
        if (result == DEV_OK) {
            result = step;
        }
    };

    // A keyboard that does not offer effect 1 has no selector position for it; the default
    // record below still makes it the effect.
    if (m_state.Effects().Contains(kFirstEffect)) {
        m_view.ShowEffect(kFirstEffect);
        keep(SetEffect(kFirstEffect));
    }

    const bool colors = m_state.HasPerKeyColors();
    if (colors) {
        ProfileParamRecord& record = m_state.CurrentRecord();
        record.SetColorAt(kParamPaintColor, kRed);
        record.SetColorAt(kParamBaseColor, kWhite);
        DecodeCurrentRecord();
        m_state.CurrentTable().Fill(kWhite);
        m_state.CurrentFollowers().fill(true);
        TintGrid();
        keep(Sequence({[this] { return UploadKeyColors(); }}));
    }

    StoreParam(0, kDefaultParamRecord);
    DecodeCurrentRecord();
    keep(Sequence({SendParam(0, kDefaultParamRecordBytes)}));

    // The presets live in the colour tables, which only a keyboard with per-key colours has.
    if (colors) {
        m_view.ShowPreset(0);
        keep(ApplyPreset(0));
    }

    for (int key = 0; key < kGridKeys; ++key) {
        m_view.TintKey(key, std::nullopt);
    }
    m_view.ShowValues(m_state.current);
    return result;
}

int LightingOps::PutBackLighting(const LightingPicture& picture) {
    m_state.CurrentRecord() = picture.record;
    m_state.CurrentTable() = picture.table;
    m_state.CurrentFollowers() = picture.followers;
    DecodeCurrentRecord();
    TintGrid();
    if (!m_state.HasPerKeyColors()) {
        return Sequence({SendParam(0, kParamRecordBytes)});
    }
    return Sequence({SendParam(0, kParamRecordBytes), [this] { return UploadKeyColors(); }});
}

}  // namespace korvel
