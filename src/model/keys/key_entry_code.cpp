#include "model/keys/key_entry_code.h"

namespace korvel {

DeviceKeyCode EncodeKeyEntry(const KeyEntry& entry, DeviceKeyCode defaultCode,
                             std::uint8_t macroPosition) {
    switch (entry.type) {
        case kEntryDefault:
        case kEntryLaunch:
            // The keyboard cannot start a program: the key keeps its own function.
            return defaultCode;
        case kEntryDisabled:
        case kEntryText:
            return {0x00, 0x00, 0x00};
        case kEntryKey: {
            // Only the eight exact modifier codes become modifiers: 0x136 is a plain key here.
            const ScanCode target = static_cast<ScanCode>(entry.value);
            if (entry.value <= 0xFFFF) {
                if (const std::uint8_t bit = ModifierBitOf(target); bit != 0) {
                    return {0x02, 0x01, bit};
                }
            }
            const HidUsage usage = entry.value <= 0xFFFF ? ScanToHidUsage(target) : HidUsage{};
            const std::uint8_t code =
                usage.page == kPageKeyboard ? static_cast<std::uint8_t>(usage.usage) : 0;
            return {0x02, 0x02, code};
        }
        case kEntryMacro:
            return {0x05, 0x01, macroPosition};
        case kEntryStopMacro:
            return {0x05, 0x02, 0x00};
        case kEntryMedia: {
            if (entry.value >= static_cast<std::uint32_t>(kMediaKeys)) {
                return defaultCode;
            }
            const std::uint16_t usage = MediaKeyTable()[entry.value].consumerUsage;
            return {0x03, static_cast<std::uint8_t>(usage & 0xFF),
                    static_cast<std::uint8_t>(usage >> 8)};
        }
        case kEntryFunction:
            // The index goes as read from the keyboard, also one the tool has no name for.
            return {0x05, 0x05, static_cast<std::uint8_t>(entry.value & 0xFF)};
        default:
            return defaultCode;
    }
}

}  // namespace korvel
