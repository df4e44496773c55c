#include "model/lighting/effect_list.h"

#include <algorithm>

#include "text/private_profile.h"

namespace korvel {
namespace {

bool OneOf(int effect, std::initializer_list<int> ids) {
    return std::find(ids.begin(), ids.end(), effect) != ids.end();
}

}  // namespace

bool IsHandledEffect(int effect) {
    return (effect >= kFirstEffect && effect <= kSpreadEffect) || effect == kCustomEffect;
}

bool EffectUsesSpeed(int effect) {
    return (effect >= 1 && effect <= 5) || (effect >= 7 && effect <= 15);
}

bool EffectUsesDirection(int effect) {
    return OneOf(effect, {1, 2, 3, 12, kSpreadEffect});
}

bool EffectUsesColor(int effect) {
    return EffectWritesMulticolor(effect) || effect == kReactiveEffectA ||
           effect == kReactiveEffectB;
}

bool EffectWritesMulticolor(int effect) {
    return OneOf(effect, {1, 2, 3, 5, 7, 8, 9, 13, 14, 15});
}

EffectList EffectList::Of(const DeviceInfoBlock& block) {
    EffectList list;
    std::copy_n(block.bytes.begin() + kInfoEffectListOffset, kInfoEffectSlots, list.ids.begin());
    return list;
}

bool EffectList::Contains(int effect) const {
    return effect != 0 && std::find(ids.begin(), ids.end(), effect) != ids.end();
}

EffectSlotTable::EffectSlotTable(const EffectList& list) {
    for (const std::uint8_t id : list.ids) {
        if (id != 0) {
            m_slots.push_back({static_cast<int>(m_slots.size()), id});
        }
    }
}

int EffectSlotTable::PositionOf(int effect) const {
    for (const Slot& slot : m_slots) {
        if (slot.effect == effect) {
            return slot.position;
        }
    }
    return -1;
}

int EffectSlotTable::EffectAt(int position) const {
    if (position < 0 || position >= static_cast<int>(m_slots.size())) {
        return 0;
    }
    return m_slots[static_cast<std::size_t>(position)].effect;
}

std::u16string EffectName(const PrivateProfile& mainSkin, int language, int effect) {
    const char16_t* section = language == 0 ? u"Mode" : language == 1 ? u"Mode1" : nullptr;
    if (section == nullptr) {
        return {};
    }
    std::u16string key;
    for (const char c : std::to_string(effect)) {
        key += static_cast<char16_t>(c);
    }
    return mainSkin.GetString(section, key, u"1");
}

}  // namespace korvel
