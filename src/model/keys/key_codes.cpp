#include "model/keys/key_codes.h"

#include <array>
#include <cstdio>

namespace korvel {

KeySlot SlotOfScan(ScanCode sc) {
    if (sc < 0x100) {
        return static_cast<KeySlot>(sc);
    }
    return static_cast<KeySlot>((sc - 0x80) & 0xFF);
}

ScanCode ScanOfSlot(KeySlot slot) {
    return slot < 0x80 ? ScanCode{slot} : static_cast<ScanCode>(slot + 0x80);
}

std::u16string ListPositionName(int position) {
    const ScanCode sc = ScanOfListPosition(position);
    if (sc == 0) {
        return {};
    }
    return std::u16string(KeyDescriptorOf(SlotOfScan(sc)).name);
}

ScanCode ScanOfListPosition(int position) {
    if (position < 0 || position >= kAssignableKeys) {
        return 0;
    }
    for (int slot = 0; slot < kKeySlots; ++slot) {
        if (KeyDescriptorOf(static_cast<KeySlot>(slot)).listPosition == position) {
            return ScanOfSlot(static_cast<KeySlot>(slot));
        }
    }
    return 0;
}

std::uint16_t ListPositionOfScan(ScanCode sc) {
    return KeyDescriptorOf(SlotOfScan(sc)).listPosition;
}

HidUsage ScanToHidUsage(ScanCode sc) {
    const std::uint8_t h = KeyDescriptorOf(SlotOfScan(sc)).hidCode;
    if (h == 0x00 || h == 0xFF) {
        return {};
    }
    if (h >= 0x81 && h <= 0x83) {
        return {kPageGenericDesktop, h};
    }
    if (h >= 0xC0 && h <= 0xDF) {
        return {kPageConsumer, ConsumerCodeTable()[h - 0xC0]};
    }
    return {kPageKeyboard, h};
}

namespace {

constexpr std::size_t kScanOfHidCodeSize = 0x100;

// The key of each one-byte HID code, built once from the key table: the first match in slot order,
// so Pause wins over Break, 0x036 over 0x136, and code 0 meets the empty slot 0, which is no key.
const std::array<ScanCode, kScanOfHidCodeSize>& ScanOfHidCode() {
    static const std::array<ScanCode, kScanOfHidCodeSize> table = [] {
        std::array<ScanCode, kScanOfHidCodeSize> built{};
        std::array<bool, kScanOfHidCodeSize> found{};
        for (int slot = 0; slot < kKeySlots; ++slot) {
            const std::uint8_t h = KeyDescriptorOf(static_cast<KeySlot>(slot)).hidCode;
            if (!found[h]) {
                found[h] = true;
                built[h] = ScanOfSlot(static_cast<KeySlot>(slot));
            }
        }
        return built;
    }();
    return table;
}

}  // namespace

ScanCode HidUsageToScan(std::uint16_t page, std::uint16_t usage) {
    std::uint16_t code = 0;
    if (page == kPageKeyboard) {
        code = usage;
    } else if (page == kPageGenericDesktop) {
        code = (usage >= 0x81 && usage <= 0x83) ? usage : 0;
    } else if (page == kPageConsumer) {
        const auto table = ConsumerCodeTable();
        for (int i = 0; i < kConsumerCodes; ++i) {
            if (table[i] == usage) {
                code = static_cast<std::uint16_t>(0xC0 + i);
                break;
            }
        }
    }
    return code < kScanOfHidCodeSize ? ScanOfHidCode()[code] : ScanCode{0};
}

ScanCode DeviceCodeToScan(DeviceKeyCode code) {
    switch (code.b0) {
        case 0x02:
            if (code.b1 == 0x02) {
                return HidUsageToScan(kPageKeyboard, code.b2);
            }
            return ModifierScanOf(code.b2);
        case 0x03:
            return HidUsageToScan(kPageConsumer,
                                  static_cast<std::uint16_t>(code.b1 | code.b2 << 8));
        case 0x04:
            return HidUsageToScan(kPageGenericDesktop,
                                  static_cast<std::uint16_t>(code.b1 | code.b2 << 8));
        default:
            return 0;
    }
}

std::uint8_t ModifierBitOf(ScanCode sc) {
    for (const ModifierKey& m : ModifierKeyTable()) {
        if (m.scan == sc) {
            return m.bit;
        }
    }
    return 0;
}

ScanCode ModifierScanOf(std::uint8_t bits) {
    for (const ModifierKey& m : ModifierKeyTable()) {
        if (bits & m.bit) {
            return m.scan;
        }
    }
    return 0;
}

int MediaIndexOfScan(ScanCode sc) {
    const auto media = MediaKeyTable();
    for (int i = 0; i < kMediaKeys; ++i) {
        if (media[i].scan == sc) {
            return i;
        }
    }
    return -1;
}

ScanCode ScanFromKeyMessage(std::uint8_t vk, std::uint32_t lParam) {
    const KeySlot vkSlot = VirtualKeyToSlot(vk);
    const ScanCode t = ScanOfSlot(vkSlot);
    const ScanCode s = static_cast<ScanCode>((lParam >> 16) & 0x1FF);
    // Right Shift reports a virtual key that does not tell the two shifts apart.
    if (s == 0x036) {
        return 0x036;
    }
    if (vk == 0xFF) {
        return s;
    }
    if ((s & 0xFF) == 0) {
        return t;
    }
    const KeyDescriptor& d = KeyDescriptorOf(SlotOfScan(s));
    if (d.vk == vk || d.vkNumLockOff == vk) {
        return s;
    }
    if ((s & 0xFF) == vkSlot) {
        return s;
    }
    return t;
}

std::string KeySkinName(KeySlot slot) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "KEY_%03X", static_cast<unsigned>(slot));
    return buffer;
}

int GKeySlot(int n, GKeyBank bank) {
    return (bank == GKeyBank::A ? 255 : 264) + n;
}

int GKeyNumberOfSlot(int blockSlot) {
    if (blockSlot >= kFirstGKeySlot && blockSlot <= kLastGKeySlot) {
        return (blockSlot - kFirstGKeySlot) % kGKeys + 1;
    }
    return 0;
}

bool KeyDeliversNoPress(ScanCode key) {
    return key == 0x054 || key == 0x071 || key == 0x072 || key == 0x137;
}

namespace {
// The code of each G-key slot, 256..273: the value its entry carries in aux and the event code
// the keyboard sends on its consumer-control interface when the key is pressed. Codes of bank B
// never arrive from the keyboard (only bank A is ever shown), but they are the same family. No
// keyboard was at hand to confirm the codes it sends: this is the one place to correct them.
constexpr std::array<std::uint16_t, kLastGKeySlot - kFirstGKeySlot + 1> kGKeyCodes = {
    0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308, 0x0309,
    0x1301, 0x1302, 0x1303, 0x1304, 0x1305, 0x1306, 0x1307, 0x1308, 0x1309,
};
}  // namespace

std::uint16_t GKeyCodeOfSlot(int blockSlot) {
    if (blockSlot < kFirstGKeySlot || blockSlot > kLastGKeySlot) {
        return 0;
    }
    return kGKeyCodes[static_cast<std::size_t>(blockSlot - kFirstGKeySlot)];
}

int GKeySlotOfCode(std::uint16_t code) {
    for (std::size_t i = 0; i < kGKeyCodes.size(); ++i) {
        if (kGKeyCodes[i] == code) {
            return kFirstGKeySlot + static_cast<int>(i);
        }
    }
    return 0;
}

std::u16string GKeyLabel(int n) {
    std::u16string label = u"G";
    for (char c : std::to_string(n)) {
        label.push_back(static_cast<char16_t>(c));
    }
    return label;
}

std::string GKeySkinName(int n) {
    return "FUNC_G" + std::to_string(n);
}

}  // namespace korvel
