// The window on a keyboard that takes 30 ms per report: nothing the user does waits for it, and
// leaving in the middle of a download lets the download's transaction end first.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <chrono>

#include "device/command_report.h"
#include "gui/editors/korvel_dlg_composite.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/widgets/png_button.h"
#include "model/keys/led_index.h"

namespace korvel {
namespace {

using fixtures::CountCommands;
using fixtures::PumpUntil;

class ThreadedSlowKeyboard : public fixtures::MainWindowFixture {
protected:
    // Every DevBegin on the wire has its DevEnd before the next one, and the last is closed.
    void ExpectClosedTransactions() const {
        bool open = false;
        for (const CommandReport& report : keyboard.Received()) {
            if (report.Command() == CMD_BEGIN) {
                EXPECT_FALSE(open) << "a transaction began inside another";
                open = true;
            } else if (report.Command() == CMD_END) {
                open = false;
            }
        }
        EXPECT_FALSE(open) << "the last transaction was never closed";
    }
    // A window on a keyboard of 30 ms per report (set before the window opens the keyboard),
    // shown and settled, with the keyboard's log emptied.
    std::unique_ptr<CKorvelDlg> StartSlow() {
        backend.SetLatency(std::chrono::milliseconds(30));
        auto window = Start();
        EXPECT_TRUE(PumpUntil([&] { return Settled(*window); }, kSlowBoundMs));
        keyboard.ClearReceived();
        return window;
    }
    // The arrival's reads take some 130 reports: seconds at 30 ms each.
    static constexpr int kSlowBoundMs = 60000;

    // A remap of A to F1 in profile 1, waiting to be sent.
    void EditA(CKorvelDlg& window) {
        {
            auto lock = store.EditingConfig().Lock();
            store.EditingConfig().Image()->blocks[0][SlotOfScan(0x01E)] =
                KeyEntry{kEntryKey, 0, 0x03B};
        }
        window.Applier().SetModified(true);
    }
};

TEST_F(ThreadedSlowKeyboard, AKeyOpensItsEditorDuringApplyAndLeavingWaitsForTheTransaction) {
    auto window = StartSlow();
    // Built once beforehand, so that opening it below takes no time of its own.
    window->Editors().OpenKeyEditor(kKeyA);
    window->Editors().KeyEditor()->CancelEditor();
    EditA(*window);
    QSignalSpy exited(window.get(), &CKorvelDlg::exitRequested);
    window->Applier().Apply();
    ASSERT_TRUE(
        PumpUntil([&] { return CountCommands(keyboard, CMD_WRITE_MACROS) > 0; }, kSlowBoundMs));

    // The download holds nothing the editors need: the key's editor opens while it runs.
    window->Editors().OpenKeyEditor(kKeyA);
    ASSERT_NE(window->Editors().KeyEditor(), nullptr);
    EXPECT_TRUE(window->Editors().KeyEditor()->isVisible());
    EXPECT_TRUE(window->KeyboardBusy()) << "still sending";
    window->Editors().KeyEditor()->CancelEditor();

    window->ExitProgram();
    EXPECT_EQ(exited.size(), 1);
    ExpectClosedTransactions();
    EXPECT_EQ(CountCommands(keyboard, CMD_WRITE_KEYTABLE), 7) << "the key table went out whole";
    EXPECT_EQ(keyboard.Memory().keyTables[19 * 3 + 2], 0x3A) << "A plays F1 now";
}

TEST_F(ThreadedSlowKeyboard, ClosingWithJobsWaitingSendsNoneOfThemAfterTheRunningOne) {
    auto window = StartSlow();
    EditA(*window);
    window->Applier().Apply();
    window->Control(kProfileButton2)->click();
    window->Control(kReportRate1)->click();
    ASSERT_TRUE(PumpUntil([&] { return CountCommands(keyboard, CMD_BEGIN) > 0; }, kSlowBoundMs));
    window->Shutdown();
    ExpectClosedTransactions();
    EXPECT_EQ(CountCommands(keyboard, CMD_BEGIN), 1) << "only the running transaction ended";
}

}  // namespace
}  // namespace korvel
