#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/png_button.h"
#include "model/keys/key_codes.h"

namespace korvel {
namespace {

using ClosingTest = fixtures::MainWindowFixture;

// × with a remap not yet applied asks; each answer does what it says.
TEST_F(ClosingTest, ClosingWithUnappliedEditsAsksApplyDiscardOrCancel) {
    auto window = StartShown();
    QSignalSpy exited(window.get(), &CKorvelDlg::exitRequested);
    const auto close = [&] { window->Control(kControlClose)->click(); };
    StageRemapOfA(*window, 0x02E);  // C
    close();                        // no answer queued: Cancel, as Escape gives
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown().back().text,
              u"Some changes have not been applied to the keyboard yet. Apply them before Korvel "
              u"ends?");
    EXPECT_TRUE(exited.isEmpty());
    EXPECT_TRUE(window->Applier().IsModified());
    EXPECT_EQ(KeyboardCodeOfA(), (std::vector<std::uint8_t>{0x02, 0x02, 0x05}))
        << "the keyboard's own B";

    // Apply, while the keyboard refuses every write: the apply fails and the program stays with
    // the edit.
    keyboard.AnswerWithStatus(sim::kStatusBadRequest, 1000);
    prompts.QueuePendingEditsAnswer(PendingEdits::Apply);
    close();
    EXPECT_TRUE(exited.isEmpty());
    EXPECT_TRUE(window->Applier().IsModified());
    keyboard.AnswerWithStatus(sim::kStatusOk, 0);

    prompts.QueuePendingEditsAnswer(PendingEdits::Apply);
    close();
    EXPECT_EQ(exited.size(), 1);
    EXPECT_EQ(KeyboardCodeOfA(), (std::vector<std::uint8_t>{0x02, 0x02, 0x06}));
}

TEST_F(ClosingTest, DiscardEndsWithoutSendingAndAnAppliedWindowIsNotAsked) {
    auto window = StartShown();
    QSignalSpy exited(window.get(), &CKorvelDlg::exitRequested);
    const auto close = [&] { window->Control(kControlClose)->click(); };
    StageRemapOfA(*window, 0x02E);
    prompts.QueuePendingEditsAnswer(PendingEdits::Discard);
    close();
    EXPECT_EQ(exited.size(), 1);
    EXPECT_EQ(KeyboardCodeOfA(), (std::vector<std::uint8_t>{0x02, 0x02, 0x05}));
    EXPECT_EQ(prompts.Shown().size(), 1u);

    auto again = StartShown();
    QSignalSpy exitedAgain(again.get(), &CKorvelDlg::exitRequested);
    again->Control(kControlClose)->click();
    EXPECT_EQ(exitedAgain.size(), 1);
    EXPECT_EQ(prompts.Shown().size(), 1u) << "nothing to ask about";
}

}  // namespace
}  // namespace korvel
