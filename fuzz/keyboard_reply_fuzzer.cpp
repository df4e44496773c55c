// Replies of a keyboard decoded on the host: the first byte chooses a key table, a lighting record
// or an information block, the rest are its bytes (zero-padded). Whatever they hold, the decoded
// values stay in their ranges, and a key table decoded and sent back is sent back the same after
// another backup: backup and import repeated leave the keyboard as the first import left it.
#include <algorithm>
#include <cstdlib>

#include "device/default_key_table.h"
#include "device/device_info_block.h"
#include "model/keys/key_table_codec.h"
#include "model/lighting/lighting_record.h"

namespace {

using namespace korvel;

template <typename Array>
Array Filled(const std::uint8_t* data, std::size_t size) {
    Array bytes{};
    std::copy_n(data, std::min(size, bytes.size()), bytes.begin());
    return bytes;
}

void KeyTable(const std::uint8_t* data, std::size_t size) {
    const KeyTableBytes table = Filled<KeyTableBytes>(data, size);
    ProfileBlock first;
    DecodeKeyTable(table, first, kBuiltInDefaultKeyTable);
    // Macro n of the area is macro id n + 1.
    const auto position = [](std::uint16_t id) { return static_cast<std::uint16_t>(id - 1); };
    const KeyTableBytes sent = EncodeKeyTable(first, kBuiltInDefaultKeyTable, position);
    ProfileBlock second;
    DecodeKeyTable(sent, second, kBuiltInDefaultKeyTable);
    // Two codes the keyboard plays alike may read back as one assignment, so the first round may
    // change bytes; from then on nothing drifts.
    if (EncodeKeyTable(second, kBuiltInDefaultKeyTable, position) != sent) {
        std::abort();
    }
}

void LightingRecord(const std::uint8_t* data, std::size_t size) {
    ProfileParamRecord record;
    record.bytes = Filled<decltype(record.bytes)>(data, size);
    const LightingValues values = DecodeRecord(record);
    if (values.reportRate < 0 || values.reportRate > 3 || values.paintTool < 0 ||
        values.paintTool > 1 || values.effect17Color < 0 || values.effect17Color > 3) {
        std::abort();
    }
}

void InformationBlock(const std::uint8_t* data, std::size_t size) {
    DeviceInfoBlock block;
    block.bytes = Filled<decltype(block.bytes)>(data, size);
    const std::vector<int> effects = block.Effects();
    if (effects.size() > kInfoEffectSlots || block.MacroCapacityBytes() < 0 ||
        block.MacroCapacityBytes() > 255 * kMacroCapacityUnit) {
        std::abort();
    }
    for (const int effect : effects) {
        if (effect <= 0 || effect > 255) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    switch (data[0] % 3) {
        case 0:
            KeyTable(data + 1, size - 1);
            break;
        case 1:
            LightingRecord(data + 1, size - 1);
            break;
        default:
            InformationBlock(data + 1, size - 1);
            break;
    }
    return 0;
}
