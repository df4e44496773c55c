#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvel {

// The key numbering of the whole program. A ScanCode is the set-1 make code of a key, with 0x100
// added when the make code carries the E0 prefix; 0 means no key.
using ScanCode = std::uint16_t;
// Index of a key's entry in a profile block: plain keys 0..127, E0 keys 128..255.
using KeySlot = std::uint8_t;

inline constexpr int kKeySlots = 256;
inline constexpr int kAssignableKeys = 106;
inline constexpr int kMediaKeys = 18;
inline constexpr int kFunctionKeys = 9;
inline constexpr int kGKeys = 9;
inline constexpr int kConsumerCodes = 32;
inline constexpr std::uint16_t kListPositionNone = 0xFFFF;

// HID usage pages the keyboard speaks.
inline constexpr std::uint16_t kPageGenericDesktop = 0x01;
inline constexpr std::uint16_t kPageKeyboard = 0x07;
inline constexpr std::uint16_t kPageConsumer = 0x0C;

struct HidUsage {
    std::uint16_t page = 0;  // 0: the key has no usage
    std::uint16_t usage = 0;
    friend bool operator==(const HidUsage&, const HidUsage&) = default;
};

// What one matrix position does, as the keyboard stores it (type byte first).
struct DeviceKeyCode {
    std::uint8_t b0 = 0;
    std::uint8_t b1 = 0;
    std::uint8_t b2 = 0;
    friend bool operator==(const DeviceKeyCode&, const DeviceKeyCode&) = default;
};

struct KeyDescriptor {
    std::u16string_view name;       // literal display name; empty for media keys and empty slots
    std::uint8_t vk = 0;            // virtual-key code, 0xFF when the key has none
    std::uint8_t vkNumLockOff = 0;  // virtual-key code with Num Lock off
    std::uint8_t hidCode = 0;       // see ScanToHidUsage
    std::uint16_t listPosition = kListPositionNone;
    std::int8_t mediaIndex = -1;  // 0..17: the name is the localised name of that media key
};

struct MediaKey {
    std::string_view languageKey;  // key of the localised name
    std::uint16_t consumerUsage;
    ScanCode scan;
    std::uint8_t hidCode;
};

struct ModifierKey {
    ScanCode scan;
    std::uint8_t bit;  // bit of the HID modifier byte
};

// Slot <-> ScanCode folding: 0x100..0x17F become 128..255.
KeySlot SlotOfScan(ScanCode sc);
ScanCode ScanOfSlot(KeySlot slot);

const KeyDescriptor& KeyDescriptorOf(KeySlot slot);
std::span<const std::uint16_t, kConsumerCodes> ConsumerCodeTable();
std::span<const MediaKey, kMediaKeys> MediaKeyTable();
std::span<const ModifierKey, 8> ModifierKeyTable();
// Language keys FUNC_KEY_DESC1..FUNC_KEY_DESC9 of the keyboard's editing functions.
std::span<const std::string_view, kFunctionKeys> FunctionKeyLanguageKeys();

// The assignable-key list: position 0..105. Lookups take the first descriptor in slot order.
std::u16string ListPositionName(int position);
ScanCode ScanOfListPosition(int position);
std::uint16_t ListPositionOfScan(ScanCode sc);

HidUsage ScanToHidUsage(ScanCode sc);
ScanCode HidUsageToScan(std::uint16_t page, std::uint16_t usage);
ScanCode DeviceCodeToScan(DeviceKeyCode code);

std::uint8_t ModifierBitOf(ScanCode sc);
ScanCode ModifierScanOf(std::uint8_t bits);

// Media index 0..17 of a ScanCode, -1 for a key that is not a media key.
int MediaIndexOfScan(ScanCode sc);

// The virtual-key table: the KeySlot a virtual-key code stands for, 0 for none.
KeySlot VirtualKeyToSlot(std::uint8_t vk);

// Turns what a keyboard hook reports (virtual key, lParam with the scan code in bits 16..24) into
// a ScanCode; 0 means the event is not a key of this program.
ScanCode ScanFromKeyMessage(std::uint8_t vk, std::uint32_t lParam);

// Keys whose press never reaches a program (Print Screen, SysRq, the Korean Hangul and Hanja
// keys): only their release arrives, which then stands for the whole key.
bool KeyDeliversNoPress(ScanCode key);

// Skin entry names of the key buttons: "KEY_%03X" of the slot, "FUNC_G%d" of a G key.
std::string KeySkinName(KeySlot slot);

// G keys live behind the 256 key slots of a profile block.
enum class GKeyBank { A, B };
inline constexpr int kFirstGKeySlot = 256;
inline constexpr int kLastGKeySlot = 273;
int GKeySlot(int n, GKeyBank bank);           // n = 1..9
int GKeyNumberOfSlot(int blockSlot);          // 1..9 of either bank; 0 for other slots
std::uint16_t GKeyCodeOfSlot(int blockSlot);  // 0 for slots that are not G keys
// The G-key slot whose code this is (a G key's press on the event interface); 0 for any other.
int GKeySlotOfCode(std::uint16_t code);
std::u16string GKeyLabel(int n);  // "G%d"
std::string GKeySkinName(int n);  // "FUNC_G%d"

}  // namespace korvel
