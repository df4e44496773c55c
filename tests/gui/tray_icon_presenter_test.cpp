#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <thread>

#include "gui/language_file_fixture.h"
#include "gui/platform/tray_icon.h"
#include "gui/platform/tray_icon_presenter.h"
#include "ports/main_window_link.h"
#include "text/text_table.h"

namespace korvel {
namespace {

class TrayIconPresenterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tray.Create("Test keyboard", kIconKeyboardGone)); }

    // Lets queued requests act, for at most two seconds.
    void WaitForIcon(int icon) {
        QElapsedTimer clock;
        clock.start();
        while (m_tray.ShownIcon() != icon && clock.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }

    fixtures::LanguageFileFixture m_file{fixtures::TwoLanguageText(1)};
    TextTable m_texts{m_file.FilePath()};
    CTrayIcon m_tray{m_texts, nullptr, [] { return true; }};
    TrayIconPresenter m_presenter{m_tray};
};
// The device threads' calls ("Threaded": the sanitizer runs take them).
class ThreadedTrayIconPresenter : public TrayIconPresenterTest {};

TEST_F(TrayIconPresenterTest, OnTheGuiThreadTheIconChangesAtOnce) {
    m_presenter.ShowTrayState(false, kIconKeyboardPresent);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardPresent);
    m_presenter.ShowTrayState(true, 0);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardEvent);
    m_presenter.ShowTrayState(false, 0);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardPresent);
}

TEST_F(ThreadedTrayIconPresenter, FromDeviceThreadsTheIconChangesOnTheGuiThreadInOrder) {
    std::thread presence([this] { m_presenter.ShowTrayState(false, kIconKeyboardPresent); });
    presence.join();
    std::thread special([this] { m_presenter.ShowTrayState(true, 0); });
    special.join();
    // Not yet: nothing has been handed to the GUI thread's event loop.
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardGone);
    WaitForIcon(kIconKeyboardEvent);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardEvent);

    // Two requests queued together: handled the other way round, the keyboard-gone icon would
    // end on top instead of the event icon.
    std::thread unplug([this] {
        m_presenter.ShowTrayState(false, kIconKeyboardGone);
        m_presenter.ShowTrayState(true, 0);
    });
    unplug.join();
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardEvent);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardEvent);
    EXPECT_EQ(m_presenter.State().LastChosenIcon(), kIconKeyboardGone);
    m_presenter.ShowTrayState(false, 0);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardGone);
}

TEST(TrayIconPresenter, WithoutANotificationAreaTheStateIsStillKept) {
    fixtures::LanguageFileFixture file(fixtures::TwoLanguageText(1));
    TextTable texts(file.FilePath());
    CTrayIcon tray(texts, nullptr, [] { return false; });
    tray.Create("Test keyboard", kIconKeyboardGone);
    TrayIconPresenter presenter(tray);
    presenter.ShowTrayState(false, kIconKeyboardPresent);
    EXPECT_EQ(presenter.State().ShownIcon(), kIconKeyboardPresent);
    EXPECT_EQ(tray.ShownIcon(), 0);
}

}  // namespace
}  // namespace korvel
