#include "gui/platform/native_scan_codes.h"

#include <QGuiApplication>

#include "model/keys/evdev_key_codes.h"

namespace korvel {
namespace {

constexpr std::uint32_t kXkbKeycodeOffset = 8;

// Only keys the key tables name (or media keys) count; anything else is no key.
ScanCode Known(ScanCode sc) {
    if (sc == 0) {
        return 0;
    }
    if (MediaIndexOfScan(sc) >= 0) {
        return sc;
    }
    return KeyDescriptorOf(SlotOfScan(sc)).name.empty() ? 0 : sc;
}

}  // namespace

NativeKeyNumbering CurrentNativeKeyNumbering() {
    return QGuiApplication::platformName() == QLatin1String("windows") ? NativeKeyNumbering::Windows
                                                                       : NativeKeyNumbering::Xkb;
}

ScanCode ScanCodeOfNativeKey(std::uint32_t nativeScanCode, NativeKeyNumbering numbering) {
    if (numbering == NativeKeyNumbering::Windows) {
        return nativeScanCode > 0x1FF ? 0 : Known(static_cast<ScanCode>(nativeScanCode));
    }
    if (nativeScanCode <= kXkbKeycodeOffset) {
        return 0;
    }
    return Known(ScanOfEvdevCode(nativeScanCode - kXkbKeycodeOffset));
}

}  // namespace korvel
