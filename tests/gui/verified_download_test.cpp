#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/picture_button.h"
#include "model/keys/key_codes.h"
#include "model/lighting/effect_list.h"
#include "model/lighting/lighting_state.h"

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

TEST_F(VerifiedDownload, TheLightingOfTheRestoredDefaultsIsReadBackToo) {
    auto window = StartShown();
    static_cast<CPictureButton*>(window->Lighting().Control(kPanelSwitch))->click();
    ASSERT_TRUE(Idle(*window));
    QSignalSpy finished(&window->Applier(), &ApplyController::applyFinished);
    const auto restoreDefaults = [&] {
        prompts.QueueAnswer(Answer::Yes);
        window->Applier().RestoreDefaults();
        ASSERT_TRUE(finished.wait(5000));
        ASSERT_TRUE(Idle(*window));
    };
    // Once as it should go, to count the lighting's writes, which come before the keys'.
    keyboard.ClearReceived();
    restoreDefaults();
    int lightingWrites = 0;
    for (const CommandReport& report : keyboard.Received()) {
        if (report.Command() == CMD_WRITE_KEYTABLE || report.Command() == CMD_WRITE_MACROS) {
            break;
        }
        lightingWrites +=
            report.Command() == CMD_WRITE_PARAMS || report.Command() == CMD_WRITE_KEYCOLORS;
    }
    ASSERT_GT(lightingWrites, 0);
    ASSERT_EQ(prompts.Shown().size(), 1u);

    // Then with a keyboard that keeps other bytes of each of them.
    keyboard.CorruptWrites(lightingWrites);
    prompts.QueueAnswer(Answer::Yes);  // send the lighting again
    restoreDefaults();
    ASSERT_EQ(prompts.Shown().size(), 3u);
    const std::u16string asked = prompts.Shown()[2].text;
    EXPECT_NE(asked.find(u"Read back, the keyboard does not hold what was sent."),
              std::u16string::npos);
    EXPECT_NE(asked.find(u"profile 1, "), std::u16string::npos)
        << QString::fromStdU16String(asked).toStdString();
    // Sent again, it holds the default lighting the panel shows.
    const auto& shown = window->Lighting().State().records[0].bytes;
    EXPECT_EQ(RecordByte(0, 0), kFirstEffect);
    for (std::size_t b = 0; b < shown.size(); ++b) {
        EXPECT_EQ(RecordByte(0, static_cast<int>(b)), shown[b]) << b;
    }
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
