#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>

#include "device/device_info_block.h"
#include "gui/main_window_fixture.h"
#include "gui/mainwnd/program_profiles.h"
#include "gui/own_x_server.h"
#include "model/files/program_rules.h"

// After Qt's headers, whose names Xlib's macros would otherwise take.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace korvel {
namespace {

using fixtures::PumpUntil;

// Two program windows on an X server of the test's own, and the part of a window manager that
// matters here: announcing the window in front in the root window's _NET_ACTIVE_WINDOW.
class Desktop {
public:
    explicit Desktop(const std::string& name) : m_display(XOpenDisplay(name.c_str())) {}
    ~Desktop() {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }
    bool Open() const { return m_display != nullptr; }

    Window AddWindow(const char* windowClass) {
        const Window window =
            XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 40, 30, 0, 0, 0);
        XClassHint hint{const_cast<char*>("test"), const_cast<char*>(windowClass)};
        XSetClassHint(m_display, window, &hint);
        const unsigned long pid = static_cast<unsigned long>(getpid());
        XChangeProperty(m_display, window, XInternAtom(m_display, "_NET_WM_PID", False),
                        XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pid), 1);
        XMapWindow(m_display, window);
        XFlush(m_display);
        return window;
    }

    void Activate(Window window) {
        XChangeProperty(m_display, DefaultRootWindow(m_display),
                        XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&window), 1);
        XFlush(m_display);
    }

private:
    Display* m_display;
};

class ProgramProfilesTest : public fixtures::MainWindowFixture {
protected:
    void SetUp() override {
        if (!server.Started()) {
            GTEST_SKIP() << server.Problem();
        }
        ASSERT_TRUE(desktop.Open());
        ProgramRules rules;
        rules.rules = {{u"Painter", 1}, {u"korvel_gui_tests", 0}};  // profile 2; by executable
        rules.otherwise = std::nullopt;
        rulesFile = std::filesystem::path(documents.path().toStdU16String()) / "rules.ini";
        ASSERT_TRUE(WriteProgramRules(rulesFile, rules));
        programRules = rulesFile;
        followDisplay = QString::fromStdString(server.Name());
    }

    int KeyboardProfile() const { return keyboard.Memory().info[kInfoActiveProfileOffset]; }

    fixtures::OwnXServer server;
    Desktop desktop{server.Started() ? server.Name() : std::string(":none")};
    std::filesystem::path rulesFile;
};

TEST_F(ProgramProfilesTest, EachProgramInFrontBringsItsProfileAndBurstsSwitchSeldom) {
    auto window = StartShown();
    const Window painter = desktop.AddWindow("Painter");
    const Window terminal = desktop.AddWindow("Terminal");  // no rule of its class: its executable

    desktop.Activate(painter);
    ASSERT_TRUE(PumpUntil([&] { return KeyboardProfile() == 1 && Idle(*window); }));
    desktop.Activate(terminal);
    ASSERT_TRUE(PumpUntil([&] { return KeyboardProfile() == 0 && Idle(*window); }));
    EXPECT_EQ(window->Programs().Switches(), 2);

    // Twenty activations within a second, the last one the painter's: at most four switches, the
    // last one to the painter's profile.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        desktop.Activate(i % 2 == 1 ? painter : terminal);
        PumpUntil([&] { return clock.elapsed() >= 45 * (i + 1); }, 1000);
    }
    const qint64 took = clock.elapsed();
    ASSERT_TRUE(PumpUntil([&] { return KeyboardProfile() == 1 && Idle(*window); }));
    // One switch per 300 ms at most: four within a second (more only where a loaded machine
    // stretched the burst).
    EXPECT_LE(window->Programs().Switches() - 2,
              std::max<qint64>(4, took / ProgramProfiles::kQuietMs + 1));
}

TEST_F(ProgramProfilesTest, NoSwitchWhileEditsAreNotAppliedThenOnceTheyAre) {
    auto window = StartShown();
    const Window painter = desktop.AddWindow("Painter");
    StageRemapOfA(*window, 0x030);
    desktop.Activate(painter);
    PumpUntil([] { return false; }, 700);
    EXPECT_EQ(KeyboardProfile(), 0);
    EXPECT_EQ(window->Programs().Switches(), 0);
    window->Applier().SetModified(false);
    ASSERT_TRUE(PumpUntil([&] { return KeyboardProfile() == 1 && Idle(*window); }));
}

}  // namespace
}  // namespace korvel
