#include <gtest/gtest.h>

#include <set>

#include "model/keys/key_buttons.h"
#include "model/keys/led_index.h"

namespace korvel {
namespace {

TEST(KeyButtons, EveryKeyButtonEditsItsKeysSlotAndIsFoundFromIt) {
    std::set<int> slots;
    for (const KeyButtonInfo& button : kKeyButtonTable) {
        const int slot = SlotOfKeyControl(button.controlId);
        EXPECT_EQ(slot, SlotOfScan(button.scan)) << button.controlId;
        EXPECT_EQ(KeyControlOfSlot(slot), button.controlId) << button.controlId;
        EXPECT_EQ(GridKeyOfKeyControl(button.controlId), GridKeyOfScan(button.scan));
        slots.insert(slot);
    }
    EXPECT_EQ(slots.size(), kKeyButtonTable.size()) << "no two buttons edit one slot";
}

TEST(KeyButtons, GKeyButtonsEditBankA) {
    const int controls[kGKeyButtons] = {kKeyG1, kKeyG2, kKeyG3, kKeyG4, kKeyG5,
                                        kKeyG6, kKeyG7, kKeyG8, kKeyG9};
    for (int n = 1; n <= kGKeyButtons; ++n) {
        const int control = controls[n - 1];
        SCOPED_TRACE(n);
        EXPECT_EQ(GKeyControlId(n), control);
        EXPECT_EQ(GKeyOfControl(control), n);
        EXPECT_EQ(SlotOfKeyControl(control), GKeySlot(n, GKeyBank::A));
        EXPECT_EQ(KeyControlOfSlot(GKeySlot(n, GKeyBank::A)), control);
        EXPECT_EQ(KeyControlOfSlot(GKeySlot(n, GKeyBank::B)), 0) << "no button edits bank B";
        EXPECT_EQ(GridKeyOfKeyControl(control), GridKeyOfGKey(n));
    }
}

TEST(KeyButtons, FnIsOnTheLightingGridButEditsNoSlot) {
    EXPECT_EQ(SlotOfKeyControl(kKeyFn), -1);
    EXPECT_EQ(GKeyOfControl(kKeyFn), 0);
    EXPECT_EQ(GridKeyOfKeyControl(kKeyFn), kFnGridKey);
}

// The buttons, G keys and Fn together are the lighting grid, each of its keys once.
TEST(KeyButtons, TheButtonsCoverTheLightingGrid) {
    std::set<int> gridKeys;
    for (const KeyButtonInfo& button : kKeyButtonTable) {
        gridKeys.insert(GridKeyOfKeyControl(button.controlId));
    }
    for (int n = 1; n <= kGKeyButtons; ++n) {
        gridKeys.insert(GridKeyOfKeyControl(GKeyControlId(n)));
    }
    gridKeys.insert(GridKeyOfKeyControl(kKeyFn));
    ASSERT_EQ(gridKeys.size(), static_cast<std::size_t>(kLightingGridKeys));
    EXPECT_EQ(*gridKeys.begin(), 0);
    EXPECT_EQ(*gridKeys.rbegin(), kLightingGridKeys - 1);
}

TEST(KeyButtons, OtherControlsAndSlotsHaveNoButton) {
    // 1005 and 1016 are window controls between the key buttons' ids.
    for (const int control : {0, -1, 999, 1005, 1016, 1144, 1175}) {
        SCOPED_TRACE(control);
        EXPECT_EQ(SlotOfKeyControl(control), -1);
        EXPECT_EQ(GridKeyOfKeyControl(control), -1);
        EXPECT_EQ(GKeyOfControl(control), 0);
    }
    // Slot 0 and 0x54 (SysRq) are keys without a button.
    for (const int slot : {-1, 0, 0x54, kLastGKeySlot + 1}) {
        EXPECT_EQ(KeyControlOfSlot(slot), 0) << slot;
    }
}

}  // namespace
}  // namespace korvel
