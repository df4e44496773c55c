#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>

#include "gui/language_file_fixture.h"
#include "gui/platform/tray_icon.h"
#include "gui/platform/tray_icon_pictures.h"
#include "gui/platform/tray_menu.h"
#include "ports/main_window_link.h"
#include "text/text_table.h"

namespace korvel {
namespace {

const QString kOpenZh = QString::fromUtf8("\xE6\x89\x93\xE5\xBC\x80");
const QString kAboutZh = QString::fromUtf8("\xE5\x85\xB3\xE4\xBA\x8E");
const QString kExitZh = QString::fromUtf8("\xE9\x80\x80\xE5\x87\xBA");

QStringList TextsOf(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        texts << action->text();
    }
    return texts;
}

TEST(TrayMenu, HoldsOpenAboutExitWithTheirCommandsAndOpenAsDefault) {
    fixtures::LanguageFileFixture file(fixtures::TwoLanguageText(1));
    ASSERT_TRUE(file.IsValid());
    TextTable texts(file.FilePath());
    QMenu menu;
    FillTrayMenu(menu, texts);
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(TextsOf(menu), (QStringList{"Open", "About", "Exit"}));
    EXPECT_EQ(menu.actions()[0]->data().toInt(), 32771);
    EXPECT_EQ(menu.actions()[1]->data().toInt(), 32773);
    EXPECT_EQ(menu.actions()[2]->data().toInt(), 32774);
    EXPECT_EQ(menu.defaultAction(), menu.actions()[0]);
}

TEST(TrayMenu, FollowsALanguageSwitch) {
    fixtures::LanguageFileFixture file(fixtures::TwoLanguageText(1));
    TextTable texts(file.FilePath());
    QMenu menu;
    FillTrayMenu(menu, texts);
    EXPECT_EQ(TextsOf(menu), (QStringList{"Open", "About", "Exit"}));

    ASSERT_TRUE(texts.SwitchLanguage(0));
    FillTrayMenu(menu, texts);
    EXPECT_EQ(TextsOf(menu), (QStringList{kOpenZh, kAboutZh, kExitZh}));
    EXPECT_EQ(menu.defaultAction(), menu.actions()[0]);

    ASSERT_TRUE(texts.SwitchLanguage(1));
    FillTrayMenu(menu, texts);
    EXPECT_EQ(TextsOf(menu), (QStringList{"Open", "About", "Exit"}));
}

TEST(TrayMenu, AnyLanguageValueButOneIsChinese) {
    for (int value : {0, 2, 7}) {
        fixtures::LanguageFileFixture file(fixtures::TwoLanguageText(value));
        TextTable texts(file.FilePath());
        QMenu menu;
        FillTrayMenu(menu, texts);
        EXPECT_EQ(TextsOf(menu), (QStringList{kOpenZh, kAboutZh, kExitZh})) << value;
    }
}

TEST(TrayMenu, MissingTextsAreEmptyButTheCommandsStay) {
    fixtures::LanguageFileFixture file("[LANGUAGE]\nlanguage=1\n[ENGINSH]\nMENU_22=About\n");
    TextTable texts(file.FilePath());
    QMenu menu;
    FillTrayMenu(menu, texts);
    EXPECT_EQ(TextsOf(menu), (QStringList{"", "About", ""}));
    EXPECT_EQ(menu.actions()[2]->data().toInt(), 32774);
}

TEST(TrayIcon, WithoutANotificationAreaEveryCallDoesNothing) {
    fixtures::LanguageFileFixture file(fixtures::TwoLanguageText(1));
    TextTable texts(file.FilePath());
    CTrayIcon tray(texts, nullptr, [] { return false; });
    EXPECT_FALSE(tray.Create("Test keyboard", kIconKeyboardGone));
    EXPECT_FALSE(tray.IsCreated());
    tray.SetIcon(kIconKeyboardPresent);
    tray.SetTooltipText("other");
    EXPECT_EQ(tray.ShownIcon(), 0);
    EXPECT_TRUE(tray.TooltipText().isEmpty());
    EXPECT_EQ(tray.Menu(), nullptr);
    tray.Remove();
    EXPECT_FALSE(tray.IsCreated());
}

TEST(TrayIcon, TheOffscreenDesktopHasNoNotificationArea) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    fixtures::LanguageFileFixture file(fixtures::TwoLanguageText(1));
    TextTable texts(file.FilePath());
    CTrayIcon tray(texts);
    EXPECT_FALSE(tray.Create("Test keyboard", kIconKeyboardGone));
    tray.SetIcon(kIconKeyboardEvent);
    EXPECT_EQ(tray.ShownIcon(), 0);
}

class CreatedTrayIcon : public ::testing::Test {
protected:
    fixtures::LanguageFileFixture m_file{fixtures::TwoLanguageText(1)};
    TextTable m_texts{m_file.FilePath()};
    CTrayIcon m_tray{m_texts, nullptr, [] { return true; }};
};

TEST_F(CreatedTrayIcon, ShowsTheIconAndTooltipItWasGiven) {
    ASSERT_TRUE(m_tray.Create("Test keyboard", kIconKeyboardGone));
    EXPECT_TRUE(m_tray.IsCreated());
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardGone);
    EXPECT_EQ(m_tray.TooltipText(), "Test keyboard");
    m_tray.SetIcon(kIconKeyboardPresent);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardPresent);
    m_tray.SetIcon(kIconKeyboardEvent);
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardEvent);
    m_tray.SetTooltipText("Another name");
    EXPECT_EQ(m_tray.TooltipText(), "Another name");
    m_tray.Remove();
    EXPECT_FALSE(m_tray.IsCreated());
    EXPECT_EQ(m_tray.ShownIcon(), 0);
    m_tray.SetIcon(kIconKeyboardPresent);
    EXPECT_EQ(m_tray.ShownIcon(), 0);
}

TEST_F(CreatedTrayIcon, MenuCommandsBecomeRequests) {
    ASSERT_TRUE(m_tray.Create("Test keyboard", kIconKeyboardGone));
    QSignalSpy opens(&m_tray, &CTrayIcon::openRequested);
    QSignalSpy abouts(&m_tray, &CTrayIcon::aboutRequested);
    QSignalSpy exits(&m_tray, &CTrayIcon::exitRequested);
    QMenu* menu = m_tray.Menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    menu->actions()[0]->trigger();
    menu->actions()[1]->trigger();
    menu->actions()[2]->trigger();
    EXPECT_EQ(opens.count(), 1);
    EXPECT_EQ(abouts.count(), 1);
    EXPECT_EQ(exits.count(), 1);
}

TEST_F(CreatedTrayIcon, ALeftClickAsksForTheWindowAndOtherClicksDoNothing) {
    ASSERT_TRUE(m_tray.Create("Test keyboard"));
    EXPECT_EQ(m_tray.ShownIcon(), kIconKeyboardGone);
    auto* icon = m_tray.findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    QSignalSpy opens(&m_tray, &CTrayIcon::openRequested);
    QSignalSpy abouts(&m_tray, &CTrayIcon::aboutRequested);
    QSignalSpy exits(&m_tray, &CTrayIcon::exitRequested);
    emit icon->activated(QSystemTrayIcon::MiddleClick);
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_EQ(opens.count(), 0);
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(opens.count(), 1) << "a single left click";
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(opens.count(), 2);
    EXPECT_EQ(abouts.count() + exits.count(), 0);
}

TEST_F(CreatedTrayIcon, TheMenuIsFilledAgainEachTimeItOpens) {
    ASSERT_TRUE(m_tray.Create("Test keyboard", kIconKeyboardGone));
    QMenu* menu = m_tray.Menu();
    EXPECT_EQ(TextsOf(*menu), (QStringList{"Open", "About", "Exit"}));
    ASSERT_TRUE(m_texts.SwitchLanguage(0));
    emit menu->aboutToShow();
    EXPECT_EQ(TextsOf(*menu), (QStringList{kOpenZh, kAboutZh, kExitZh}));
    EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);
}

TEST_F(CreatedTrayIcon, ExitFromTheMenuMayRemoveTheIconAtOnce) {
    ASSERT_TRUE(m_tray.Create("Test keyboard", kIconKeyboardGone));
    QObject::connect(&m_tray, &CTrayIcon::exitRequested, &m_tray, [this] { m_tray.Remove(); });
    m_tray.Menu()->actions()[2]->trigger();
    EXPECT_FALSE(m_tray.IsCreated());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(TrayIconPictures, ThreeDistinctPicturesAtEverySize) {
    for (int size : {16, 32}) {
        const QImage gone = DrawKeyboardIcon(kIconKeyboardGone, size).toImage();
        const QImage present = DrawKeyboardIcon(kIconKeyboardPresent, size).toImage();
        const QImage event = DrawKeyboardIcon(kIconKeyboardEvent, size).toImage();
        EXPECT_EQ(gone.size(), QSize(size, size));
        EXPECT_NE(gone, present);
        EXPECT_NE(present, event);
        EXPECT_NE(gone, event);
    }
    EXPECT_FALSE(KeyboardIcon(kIconKeyboardPresent).isNull());
}

}  // namespace
}  // namespace korvel
