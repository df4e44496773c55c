#include "device/device_info_block.h"

namespace korvel {

std::vector<int> DeviceInfoBlock::Effects() const {
    std::vector<int> effects;
    for (std::size_t slot = 0; slot < kInfoEffectSlots; ++slot) {
        if (const int id = bytes[kInfoEffectListOffset + slot]; id != 0) {
            effects.push_back(id);
        }
    }
    return effects;
}

}  // namespace korvel
