#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/command_socket.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/lighting_panel.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/profile_bar.h"
#include "gui/shell/command_forwarding.h"
#include "gui/widgets/png_button.h"
#include "model/lighting/lighting_state.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::PumpUntil;

class ThreadedWindowHandover : public fixtures::MainWindowFixture {
protected:
    // Hands a korvelctl command to the window's server as korvelctl does.
    CommandReply Send(std::vector<std::string> args) {
        ForwardedCommand command;
        command.args = std::move(args);
        command.workingFolder = folder.Path().string();
        CommandReply reply;
        std::string error;
        // The window's thread waits here only in the test: the command needs nothing of it.
        EXPECT_EQ(ForwardCommand(folder / "k.sock", command, reply, error),
                  ForwardOutcome::Answered)
            << error;
        return reply;
    }

    fixtures::TempFolder folder;
};

TEST_F(ThreadedWindowHandover, TheWindowShowsWhatKorvelctlChanged) {
    auto window = StartShown();
    std::string error;
    auto server = ServeKorvelctl(*window, folder / "k.sock", nullptr, error);
    ASSERT_NE(server, nullptr) << error;
    QSignalSpy shown(&window->Switcher(), &ProfileSwitcher::profileShown);

    const CommandReply profile = Send({"profile", "2"});
    EXPECT_EQ(profile.status, 0) << profile.err;
    ASSERT_TRUE(PumpUntil([&] { return shown.size() == 1 && !window->KeyboardBusy(); }));
    EXPECT_EQ(link.ActiveProfileCache(), 1);
    EXPECT_TRUE(window->Profiles().Button(kProfileButton2)->IsChecked());
    EXPECT_EQ(window->Control(kControlSceneMode)->text(), "Profile 2");

    const CommandReply lighting = Send({"lighting", "set", "effect", "3"});
    EXPECT_EQ(lighting.status, 0) << lighting.err;
    ASSERT_TRUE(PumpUntil(
        [&] { return window->Lighting().State().current.effect == 3 && !window->KeyboardBusy(); }));
    EXPECT_EQ(RecordByte(1, 0), 3);
    server.reset();
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
