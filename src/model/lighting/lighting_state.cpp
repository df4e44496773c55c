#include "model/lighting/lighting_state.h"

#include <algorithm>

namespace korvel {

int LightingState::Profile() const {
    return std::clamp(currentProfile, 0, kOnboardProfiles - 1);
}

std::optional<Color> KeyTint(const LightingState& state, int gridKey) {
    if (!state.lightingPanelOn || gridKey < 0 || gridKey >= kGridKeys) {
        return std::nullopt;
    }
    const int effect = state.current.effect;
    if (effect == kCustomEffect) {
        if (!state.HasPerKeyColors()) {
            return std::nullopt;
        }
        return state.CurrentTable().ColorOf(KeyGrid()[gridKey].led);
    }
    if (EffectUsesColor(effect) && !state.current.multicolor) {
        return state.current.effectColor;
    }
    return std::nullopt;
}

LightingPicture PictureOf(const LightingState& state, int profile) {
    const auto p = static_cast<std::size_t>(std::clamp(profile, 0, kOnboardProfiles - 1));
    return {state.records[p], state.colorTables[p], state.followsBaseColor[p]};
}

}  // namespace korvel
