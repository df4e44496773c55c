#include "model/keys/key_tip.h"

#include "model/keys/key_codec.h"
#include "model/keys/key_codes.h"

namespace korvel {

KeyTip KeyTipText(std::u16string_view label, const KeyEntry& entry, const KeyCodec& codec,
                  const std::vector<MacroRecord>& macros, const KeyTipTexts& texts) {
    KeyTip tip{std::u16string(label), entry.type != kEntryDefault};
    if (!tip.assigned) {
        return tip;
    }
    tip.text += texts.set;
    const auto low16 = static_cast<std::uint16_t>(entry.value & 0xFFFF);
    switch (entry.type) {
        case kEntryKey:
            tip.text += texts.single + codec.KeyNameOf(low16) + texts.close;
            break;
        case kEntryMacro: {
            tip.text += texts.macro;
            for (const MacroRecord& macro : macros) {
                if (macro.macroId == low16) {
                    tip.text += macro.name;
                    break;
                }
            }
            tip.text += texts.close;
            break;
        }
        case kEntryMedia: {
            tip.text += texts.media;
            const auto media = MediaKeyTable();
            if (entry.value < media.size()) {
                tip.text += codec.KeyNameOf(media[entry.value].scan);
            }
            tip.text += texts.close;
            break;
        }
        case kEntryFunction:
            tip.text +=
                texts.function + codec.FunctionKeyName(static_cast<int>(entry.value)) + texts.close;
            break;
        default:
            break;
    }
    return tip;
}

}  // namespace korvel
