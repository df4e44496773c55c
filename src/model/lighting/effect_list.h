#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/device_info_block.h"

namespace korvel {

class PrivateProfile;

// Effect ids the program gives a meaning to.
inline constexpr int kFirstEffect = 1;
inline constexpr int kReactiveEffectA = 6;
inline constexpr int kReactiveEffectB = 16;
inline constexpr int kEffect17 = 17;
inline constexpr int kSpreadEffect = 18;
inline constexpr int kCustomEffect = 20;  // per-key colours

// Ids 1..18 and 20; 0, 19 and ids above 20 hide every lighting control and write nothing.
bool IsHandledEffect(int effect);
bool EffectUsesSpeed(int effect);
bool EffectUsesDirection(int effect);
// The colour group (effect colour, bytes 5..7, with the multicolour flag, byte 4). The reactive
// effects 6 and 16 show it as the reactive colour group.
bool EffectUsesColor(int effect);
// Choosing one of these also writes the multicolour flag, in the same sequence as the effect.
bool EffectWritesMulticolor(int effect);

// The 32 effect ids the keyboard announces in its information block, 0 for an empty slot.
struct EffectList {
    std::array<std::uint8_t, kInfoEffectSlots> ids{};

    static EffectList Of(const DeviceInfoBlock& block);
    bool Contains(int effect) const;
    // Only a keyboard that offers effect 20 has per-key colour tables worth reading or writing.
    bool HasPerKeyColors() const { return Contains(kCustomEffect); }
};

// The effect selector's positions: the non-zero ids of the EffectList in slot order.
class EffectSlotTable {
public:
    struct Slot {
        int position;
        int effect;
    };

    EffectSlotTable() = default;
    explicit EffectSlotTable(const EffectList& list);

    // The position of the first slot holding `effect`, or -1.
    int PositionOf(int effect) const;
    // The effect at `position`, or 0 when there is none.
    int EffectAt(int position) const;
    const std::vector<Slot>& Slots() const { return m_slots; }

private:
    std::vector<Slot> m_slots;
};

// The display name of an effect, from the main skin file: section "Mode" for language 0,
// "Mode1" for language 1, key = the id in decimal, "1" when the key is missing. Other languages
// have no names.
std::u16string EffectName(const PrivateProfile& mainSkin, int language, int effect);

}  // namespace korvel
