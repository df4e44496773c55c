#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/main_window_fixture.h"
#include "model/keys/key_codes.h"

namespace korvel {
namespace {

class VerifiedDownload : public fixtures::MainWindowFixture {
protected:
    bool Apply(CKorvelDlg& window) {
        QSignalSpy finished(&window.Applier(), &ApplyController::applyFinished);
        window.Applier().Apply();
        EXPECT_TRUE(finished.wait(5000));
        return !finished.isEmpty() && finished.front().front().toBool();
    }
};

TEST_F(VerifiedDownload, ASpoiledWriteIsNamedAndSentAgainOrLeftUnapplied) {
    auto window = StartShown();
    StageRemapOfA(*window, 0x02E);  // C
    // The keyboard acknowledges the download's first write (the macro area) but keeps other bytes.
    keyboard.CorruptWrites(1);
    prompts.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(Apply(*window));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    const ShownPrompt asked = prompts.Shown().front();
    EXPECT_TRUE(asked.isQuestion);
    EXPECT_NE(asked.text.find(u"Read back, the keyboard does not hold what was sent. Send it again?"
                              u"\n\nthe keyboard does not hold what was sent (1 byte differs):\n"
                              u"  macro area, byte 0 of 16: sent aa, it holds 55"),
              std::u16string::npos)
        << QString::fromStdU16String(asked.text).toStdString();
    // Sent again, it holds.
    EXPECT_EQ(keyboard.Memory().macroArea[0], 0xAA);
    EXPECT_EQ(KeyboardCodeOfA(), (std::vector<std::uint8_t>{0x02, 0x02, 0x06}));
    EXPECT_FALSE(window->Applier().IsModified());

    // Declined: the apply failed and the edit stays to be applied.
    StageRemapOfA(*window, 0x030);  // B
    keyboard.CorruptWrites(1, 2);   // the key table's first report
    prompts.QueueAnswer(Answer::No);
    EXPECT_FALSE(Apply(*window));
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_NE(prompts.Shown().back().text.find(u"profile 1, "), std::u16string::npos);
    EXPECT_TRUE(window->Applier().IsModified());
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
