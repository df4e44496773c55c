#pragma once

#include <optional>

#include "model/lighting/lighting_color.h"
#include "model/lighting/lighting_record.h"

namespace korvel {

// What the lighting operations show in the main window: the key grid's tints and the controls
// of the lighting panel. The window implements it; tests record the calls.
//
// Threads: called on the thread that runs the lighting operations, the user-interface thread.
class LightingView {
public:
    virtual ~LightingView() = default;

    // The effect selector loses its entries; the window refills it from the EffectSlotTable.
    virtual void ClearEffectSelector() = 0;
    // Draws the key button (index into KeyGrid()) tinted at half strength, or with its skin
    // faces only when there is no tint.
    virtual void TintKey(int gridKey, std::optional<Color> tint) = 0;
    // Selects the effect in the selector and shows the controls that effect uses, as a selection
    // by the user would, without writing anything itself.
    virtual void ShowEffect(int effect) = 0;
    // Sliders, colour pickers, check and tool pictures show these values.
    virtual void ShowValues(const LightingValues& values) = 0;
    // The preset selector shows preset 0..3.
    virtual void ShowPreset(int preset) = 0;
};

// For callers without a window, such as the command line.
class SilentLightingView final : public LightingView {
public:
    void ClearEffectSelector() override {}
    void TintKey(int, std::optional<Color>) override {}
    void ShowEffect(int) override {}
    void ShowValues(const LightingValues&) override {}
    void ShowPreset(int) override {}
};

}  // namespace korvel
