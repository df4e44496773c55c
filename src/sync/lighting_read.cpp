#include "sync/lighting_ops.h"

#include <algorithm>

#include "device/command_report.h"
#include "device/command_set.h"
#include "device/result_codes.h"
#include "text/private_profile.h"

namespace korvel {
namespace {

constexpr char16_t kPanelSection[] = u"KEYCOLOR";
constexpr char16_t kPanelKey[] = u"DengCheck";

}  // namespace

LightingOps::LightingOps(LightingState& state, DeviceLink& link, LightingView& view,
                         std::filesystem::path settingsFile)
    : m_state(state), m_link(link), m_view(view), m_settingsFile(std::move(settingsFile)) {}

int LightingOps::ReadAllLighting() {
    return Read(true);
}

int LightingOps::ReadCurrentLighting() {
    return Read(false);
}

int LightingOps::Read(bool allProfiles) {
    m_lastReadComplete = false;
    m_view.ClearEffectSelector();
    std::fill_n(m_state.info.bytes.begin() + kInfoEffectListOffset, kInfoEffectSlots, 0);
    m_state.effectSlots = EffectSlotTable();

    DeviceInfoBlock block;
    if (DevReadInfo(m_link, block) != DEV_OK) {
        return -1;
    }
    m_state.info = block;
    m_state.effectSlots = EffectSlotTable(m_state.Effects());

    // Each chunk and record lands only when its read was taken, so a keyboard that stops
    // answering half-way leaves the rest as it was.
    std::array<std::uint8_t, kReportDataBytes> reply{};
    const auto readColors = [&](int profile) {
        return [this, &reply, profile]() {
            for (int k = 0; k < kKeyColorChunks; ++k) {
                const int result = DevReadKeyColors(m_link, reply, kKeyColorChunkBytes,
                                                    k * kLedsPerChunk, profile);
                if (result != DEV_OK) {
                    return result;
                }
                std::copy_n(reply.begin(), kKeyColorChunkBytes,
                            m_state.colorTables[profile].Chunk(k).begin());
            }
            return DEV_OK;
        };
    };
    const Step readRecords = [this, &reply]() {
        for (int r = 0; r < kOnboardProfiles; ++r) {
            const int result = DevReadParams(m_link, reply, kParamReadBytes,
                                             static_cast<std::uint16_t>(r * kParamRecordBytes));
            if (result != DEV_OK) {
                return result;
            }
            std::copy_n(reply.begin(), kParamRecordBytes, m_state.records[r].bytes.begin());
        }
        return DEV_OK;
    };
    const bool colors = m_state.HasPerKeyColors();
    int result = DEV_OK;
    if (colors && allProfiles) {
        result = Sequence({readColors(0), readColors(1), readColors(2), readRecords});
    } else if (colors) {
        result = Sequence({readColors(m_state.Profile()), readRecords});
    } else {
        result = Sequence({readRecords});
    }
    m_lastReadComplete = result == DEV_OK;

    DecodeCurrentRecord();
    m_state.lightingPanelOn =
        !m_settingsFile.empty() &&
        ReadProfileString(m_settingsFile, kPanelSection, kPanelKey, u"0") == u"1";
    TintGrid();
    return 0;
}

void LightingOps::DecodeCurrentRecord() {
    m_state.current = DecodeRecord(m_state.CurrentRecord());
}

void LightingOps::RecomputeBaseMembership() {
    if (!m_state.HasPerKeyColors()) {
        return;
    }
    const auto grid = KeyGrid();
    for (int p = 0; p < kOnboardProfiles; ++p) {
        const Color base = m_state.records[p].ColorAt(kParamBaseColor);
        for (int key = 0; key < kGridKeys; ++key) {
            m_state.followsBaseColor[p][key] =
                m_state.colorTables[p].ColorOf(grid[key].led) == base;
        }
    }
}

bool LightingOps::SetLightingPanelOn(bool on) {
    m_state.lightingPanelOn = on;
    TintGrid();
    if (m_settingsFile.empty()) {
        return false;
    }
    return WriteProfileString(m_settingsFile, kPanelSection, kPanelKey, on ? u"1" : u"0");
}

void LightingOps::TintGrid() {
    for (int key = 0; key < kGridKeys; ++key) {
        TintKey(key);
    }
}

void LightingOps::TintKey(int gridKey) {
    m_view.TintKey(gridKey, KeyTint(m_state, gridKey));
}

}  // namespace korvel
