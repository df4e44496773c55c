// The window on a desktop without a notification area: it is minimised where it would otherwise
// hide there, "/Start" starts it minimised, and the user is told why once.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gui/main_window_fixture.h"
#include "gui/mainwnd/main_window_controls.h"
#include "gui/mainwnd/no_tray_notice.h"
#include "gui/widgets/png_button.h"

namespace korvel {
namespace {

using fixtures::PumpUntil;

class NoTray : public fixtures::MainWindowFixture {
protected:
    std::u16string Notice() const {
        return texts.ReadText("NO_TRAY_MINIMISED", texts.CaptionLanguage());
    }
    int NoticesShown() const {
        int count = 0;
        for (const ShownPrompt& shown : prompts.Shown()) {
            count += shown.text == Notice();
        }
        return count;
    }
};

// Every way the user puts the window away.
struct PutAwayCase {
    const char* name;
    std::function<void(CKorvelDlg&)> putAway;
};

const PutAwayCase kPutAwayCases[] = {
    {"Cancel", [](CKorvelDlg& w) { w.Control(kControlCancel)->click(); }},
    {"OK", [](CKorvelDlg& w) { w.Control(kControlOk)->click(); }},
    {"the window manager's close", [](CKorvelDlg& w) { w.close(); }},
    {"Escape", [](CKorvelDlg& w) { w.reject(); }},
};

TEST_F(NoTray, EveryWayOfPuttingTheWindowAwayMinimisesItAndSaysWhyOnce) {
    trayAvailable = false;
    auto window = StartShown();
    ASSERT_FALSE(window->HidesInTray());
    ASSERT_FALSE(Notice().empty());
    for (const PutAwayCase& way : kPutAwayCases) {
        SCOPED_TRACE(way.name);
        way.putAway(*window);
        ASSERT_TRUE(Idle(*window));
        EXPECT_TRUE(window->isVisible()) << "still reachable from the task bar";
        EXPECT_TRUE(window->isMinimized());
        EXPECT_EQ(NoticesShown(), 1) << "told once, the first time only";

        window->OnOpenMainWindow();  // a second start
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
    }
    EXPECT_EQ(settings.ReadString(kWindowSection, kNoTrayToldKey), u"1");
    window->Shutdown();
}

TEST_F(NoTray, ASecondRunThatWasToldBeforeIsNotToldAgain) {
    trayAvailable = false;
    settings.WriteString(kWindowSection, kNoTrayToldKey, u"1");
    auto window = StartShown();
    window->Control(kControlCancel)->click();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_EQ(NoticesShown(), 0);
    window->Shutdown();
}

TEST_F(NoTray, WithATrayEveryWayHidesTheWindowAndSaysNothing) {
    auto window = StartShown();
    ASSERT_TRUE(window->HidesInTray());
    for (const PutAwayCase& way : kPutAwayCases) {
        SCOPED_TRACE(way.name);
        way.putAway(*window);
        ASSERT_TRUE(Idle(*window));
        EXPECT_FALSE(window->isVisible());
        window->OnOpenMainWindow();
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_EQ(NoticesShown(), 0);
    EXPECT_FALSE(settings.ReadString(kWindowSection, kNoTrayToldKey).has_value());
    window->Shutdown();
}

TEST_F(NoTray, StartSwitchStartsMinimisedThenASecondStartShowsIt) {
    trayAvailable = false;
    auto window = Start(true);
    ASSERT_TRUE(PumpUntil([&] { return window->isVisible() && window->isMinimized(); }))
        << "the keyboard's arrival opens it minimised, never hidden";
    EXPECT_EQ(NoticesShown(), 1);
    window->OnOpenMainWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(NoticesShown(), 1);
    window->Shutdown();
}

}  // namespace
}  // namespace korvel
