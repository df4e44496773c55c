#include <gtest/gtest.h>

#include <optional>

#include "gui/platform/tray_state.h"

namespace korvel {
namespace {

constexpr std::uint16_t kGone = 128;
constexpr std::uint16_t kPresent = 141;
constexpr std::uint16_t kEvent = 142;

// What the event listener's status updates ask for: 0x1811 shows the event icon, 0x1810 ends it.
std::optional<std::uint16_t> SpecialStateStarts(TrayState& state) {
    return state.Show(true, 0);
}
std::optional<std::uint16_t> SpecialStateEnds(TrayState& state) {
    return state.Show(false, 0);
}

TEST(TrayState, StartsWithTheKeyboardGoneIcon) {
    const TrayState state;
    EXPECT_EQ(state.ShownIcon(), kGone);
    EXPECT_EQ(state.LastChosenIcon(), kGone);
}

TEST(TrayState, SpecialStateShowsItsIconThenTheConnectionIconAgain) {
    TrayState state;
    EXPECT_EQ(state.Show(false, kPresent), kPresent);
    EXPECT_EQ(SpecialStateStarts(state), kEvent);
    EXPECT_EQ(state.LastChosenIcon(), kPresent);
    EXPECT_EQ(SpecialStateEnds(state), kPresent);
    EXPECT_EQ(state.ShownIcon(), kPresent);
}

TEST(TrayState, UnplugDuringTheSpecialStateLeavesTheGoneIconAtItsEnd) {
    TrayState state;
    state.Show(false, kPresent);
    SpecialStateStarts(state);
    EXPECT_EQ(state.Show(false, kGone), kGone);
    EXPECT_EQ(SpecialStateEnds(state), std::nullopt);
    EXPECT_EQ(state.ShownIcon(), kGone);
}

TEST(TrayState, AnIconAlreadyShownIsNotShownAgain) {
    TrayState state;
    EXPECT_EQ(state.Show(false, kGone), std::nullopt);
    EXPECT_EQ(state.Show(false, kPresent), kPresent);
    EXPECT_EQ(state.Show(false, kPresent), std::nullopt);
    EXPECT_EQ(SpecialStateStarts(state), kEvent);
    EXPECT_EQ(SpecialStateStarts(state), std::nullopt);
    EXPECT_EQ(SpecialStateEnds(state), kPresent);
    EXPECT_EQ(SpecialStateEnds(state), std::nullopt);
}

TEST(TrayState, TheEventIconIsNeverRemembered) {
    TrayState state;
    SpecialStateStarts(state);
    EXPECT_EQ(state.LastChosenIcon(), kGone);
    EXPECT_EQ(state.Show(false, kPresent), kPresent);
    EXPECT_EQ(state.LastChosenIcon(), kPresent);
}

}  // namespace
}  // namespace korvel
