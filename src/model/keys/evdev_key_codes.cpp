#include "model/keys/evdev_key_codes.h"

#include <array>

namespace korvel {
namespace {

// The kernel's key codes 1..88 are the set-1 make codes of the same keys, except Num Lock (69),
// which the key tables number as an E0 key since Pause owns its plain code, and 84 and 85, which
// no key of the tables has.
constexpr std::uint32_t kLastPlainEvdevCode = 88;

constexpr bool PlainCode(std::uint32_t code) {
    return code >= 1 && code <= kLastPlainEvdevCode && code != 84 && code != 85;
}

struct EvdevKey {
    std::uint32_t evdev;
    ScanCode scan;
};
// Keys whose kernel code is not their make code: the E0 keys, Pause, and the media keys.
constexpr std::array<EvdevKey, 39> kEvdevKeys = {{
    {69, 0x145},  {96, 0x11C},  {97, 0x11D},  {98, 0x135},  {99, 0x137},  {100, 0x138},
    {102, 0x147}, {103, 0x148}, {104, 0x149}, {105, 0x14B}, {106, 0x14D}, {107, 0x14F},
    {108, 0x150}, {109, 0x151}, {110, 0x152}, {111, 0x153}, {119, 0x045}, {125, 0x15B},
    {126, 0x15C}, {127, 0x15D}, {86, 0x056},  {113, 0x120}, {114, 0x12E}, {115, 0x130},
    {163, 0x119}, {164, 0x122}, {165, 0x110}, {166, 0x124}, {140, 0x121}, {155, 0x16C},
    {172, 0x132}, {217, 0x165}, {158, 0x16A}, {159, 0x169}, {128, 0x168}, {173, 0x167},
    {156, 0x166}, {157, 0x16B}, {226, 0x16D},
}};

}  // namespace

ScanCode ScanOfEvdevCode(std::uint32_t evdev) {
    for (const EvdevKey& key : kEvdevKeys) {
        if (key.evdev == evdev) {
            return key.scan;
        }
    }
    return PlainCode(evdev) ? static_cast<ScanCode>(evdev) : 0;
}

std::uint32_t EvdevCodeOfScan(ScanCode sc) {
    for (const EvdevKey& key : kEvdevKeys) {
        if (key.scan == sc) {
            return key.evdev;
        }
    }
    return PlainCode(sc) ? sc : 0;
}

}  // namespace korvel
