#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "device/command_report.h"
#include "device/sim/virtual_keyboard.h"
#include "support/link_fixture.h"
#include "support/temp_folder.h"
#include "sync/lighting_ops.h"

namespace korvel::test {

// Remembers what the lighting operations asked the window to show.
class RecordingLightingView : public LightingView {
public:
    void ClearEffectSelector() override { ++selectorClears; }
    void TintKey(int gridKey, std::optional<Color> tint) override {
        tints[gridKey] = tint;
        tintCalls.push_back(gridKey);
    }
    void ShowEffect(int effect) override { shownEffects.push_back(effect); }
    void ShowValues(const LightingValues& values) override { shownValues.push_back(values); }
    void ShowPreset(int preset) override { shownPresets.push_back(preset); }

    void Clear() { *this = RecordingLightingView(); }

    int selectorClears = 0;
    std::map<int, std::optional<Color>> tints;  // the last tint of each key
    std::vector<int> tintCalls;
    std::vector<int> shownEffects;
    std::vector<LightingValues> shownValues;
    std::vector<int> shownPresets;
};

// (command, length, address) of a report the keyboard received.
struct Header {
    int command;
    int length;
    int address;
    bool operator==(const Header&) const = default;
};

inline void PrintTo(const Header& h, std::ostream* os) {
    *os << "{0x" << std::hex << h.command << std::dec << ", " << h.length << ", " << h.address
        << "}";
}

// A factory-new keyboard on a fast link, a fresh lighting state, a recording view and a
// settings file in a folder of its own.
class LightingFixture : public LinkFixture {
protected:
    LightingFixture() : ops(state, link, view, folder / "deze.ini") {}

    std::vector<Header> Headers() const {
        std::vector<Header> headers;
        for (const auto& report : Received()) {
            headers.push_back({report.Command(), report.Length(), report.Address()});
        }
        return headers;
    }

    // What the window has after a connect: everything read, memberships computed. The keyboard's
    // log and the view start empty afterwards.
    void Connect(int profile = 0, bool panelOn = true) {
        state.currentProfile = profile;
        ASSERT_EQ(ops.ReadAllLighting(), 0);
        ops.RecomputeBaseMembership();
        state.lightingPanelOn = panelOn;
        keyboard.ClearReceived();
        view.Clear();
        pauses.clear();
    }

    void SetKeyboardMemory(const std::function<void(sim::KeyboardMemory&)>& change) {
        auto memory = keyboard.Memory();
        change(memory);
        keyboard.SetMemory(memory);
    }

    std::array<std::uint8_t, kParamRecordBytes> RecordInKeyboard(int profile) const {
        const auto memory = keyboard.Memory();
        std::array<std::uint8_t, kParamRecordBytes> record{};
        std::copy_n(memory.params.begin() + profile * kParamRecordBytes, kParamRecordBytes,
                    record.begin());
        return record;
    }

    Color KeyboardColor(int profile, LedIndex led) const {
        const auto memory = keyboard.Memory();
        const auto* at = memory.keyColors.data() + profile * kKeyColorPageStride + led * 3;
        return MakeColor(at[0], at[1], at[2]);
    }

    // The sequence a single field write sends.
    static std::vector<Header> FieldWrite(int profile, int offset, int length) {
        return {{CMD_BEGIN, 0, 0},
                {CMD_WRITE_PARAMS, length, profile * kParamRecordBytes + offset},
                {CMD_END, 0, 0}};
    }

    static std::vector<Header> Upload(int profile) {
        std::vector<Header> headers;
        for (int k = 0; k < 7; ++k) {
            headers.push_back({CMD_WRITE_KEYCOLORS, 54, profile * 512 + 54 * k});
        }
        return headers;
    }

    korvel::fixtures::TempFolder folder;
    LightingState state;
    RecordingLightingView view;
    LightingOps ops;
};

inline std::vector<Header> Concat(std::initializer_list<std::vector<Header>> parts) {
    std::vector<Header> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

}  // namespace korvel::test
