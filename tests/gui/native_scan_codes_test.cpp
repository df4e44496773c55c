#include <gtest/gtest.h>

#include "gui/platform/native_scan_codes.h"

namespace korvel {
namespace {

TEST(NativeScanCodes, XkbKeycodesBecomeScanCodes) {
    struct Case {
        std::uint32_t xkb;
        ScanCode scan;
    };
    const Case cases[] = {
        {9, 0x001},
        {38, 0x01E},
        {50, 0x02A},
        {62, 0x036},
        {64, 0x038},
        {77, 0x145},
        {87, 0x04F},
        {94, 0x056},
        {95, 0x057},
        {96, 0x058},
        {104, 0x11C},
        {105, 0x11D},
        {106, 0x135},
        {107, 0x137},
        {108, 0x138},
        {110, 0x147},
        {111, 0x148},
        {113, 0x14B},
        {118, 0x152},
        {119, 0x153},
        {127, 0x045},
        {133, 0x15B},
        {134, 0x15C},
        {135, 0x15D},
        {121, 0x120},
        {172, 0x122},
        // Not keys of this program: nothing, never another key.
        {0, 0},
        {8, 0},
        {92, 0},
        {93, 0},
        {248, 0},
        {100000, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScanCodeOfNativeKey(c.xkb, NativeKeyNumbering::Xkb), c.scan) << c.xkb;
    }
}

TEST(NativeScanCodes, WindowsScanCodesArePassedWhenKnown) {
    for (ScanCode sc : {0x01E, 0x11C, 0x15B, 0x137}) {
        EXPECT_EQ(ScanCodeOfNativeKey(sc, NativeKeyNumbering::Windows), sc);
    }
    EXPECT_EQ(ScanCodeOfNativeKey(0x200, NativeKeyNumbering::Windows), 0);
    EXPECT_EQ(ScanCodeOfNativeKey(0x17F, NativeKeyNumbering::Windows), 0);
}

}  // namespace
}  // namespace korvel
