#include <gtest/gtest.h>

#include <QLabel>

#include "version.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/editors/about_dialog.h"
#include "gui/language_file_fixture.h"
#include "gui/recording_launcher.h"
#include "text/text_table.h"

namespace korvel {
namespace {

class AboutDialogTest : public ::testing::Test {
protected:
    fixtures::LanguageFileFixture m_file{fixtures::TwoLanguageText(1)};
    TextTable m_texts{m_file.FilePath()};
    fixtures::RecordingLauncher m_launcher;
};

TEST_F(AboutDialogTest, ShowsTheTextsOfTheCaptionLanguage) {
    CAboutDlg box(m_texts, m_launcher, "https://korvel.example/");
    EXPECT_EQ(box.IntroText()->text(), "English about line");
    EXPECT_EQ(box.CopyrightText()->text(), "English copyright line");
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.IntroText()->property("controlId").toInt(), 1206);
    EXPECT_EQ(box.CopyrightText()->property("controlId").toInt(), 1205);
    EXPECT_EQ(box.LinkButton()->property("controlId").toInt(), 1124);
    const auto* version = box.findChild<QLabel*>(QStringLiteral("about_version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Korvel ") + QString::fromLatin1(kVersion));
}

TEST_F(AboutDialogTest, FollowsALanguageSwitchWhenShownAgain) {
    CAboutDlg box(m_texts, m_launcher, "https://korvel.example/");
    box.ShowBox();
    ASSERT_TRUE(m_texts.SwitchLanguage(0));
    box.ShowBox();
    EXPECT_EQ(box.IntroText()->text(), "Chinese about line");
    EXPECT_EQ(box.CopyrightText()->text(), "Chinese copyright line");
    ASSERT_TRUE(m_texts.SwitchLanguage(1));
    box.ShowBox();
    EXPECT_EQ(box.IntroText()->text(), "English about line");
}

TEST_F(AboutDialogTest, TheLinkShowsAndOpensTheAddressItWasGiven) {
    const QString address = "https://korvel.example/support?a=1&b=2";
    CAboutDlg box(m_texts, m_launcher, address);
    EXPECT_EQ(box.LinkAddress(), address);
    EXPECT_EQ(box.LinkButton()->text(), "https://korvel.example/support?a=1&&b=2");
    box.ShowBox();
    QTest::mouseClick(box.LinkButton(), Qt::LeftButton);
    ASSERT_EQ(m_launcher.opened.size(), 1);
    EXPECT_EQ(m_launcher.opened[0], QUrl(address));
    EXPECT_TRUE(m_launcher.started.isEmpty());
}

TEST_F(AboutDialogTest, OkAndEscapeOnlyHideTheBox) {
    CAboutDlg box(m_texts, m_launcher, "https://korvel.example/");
    EXPECT_FALSE(box.isModal());
    EXPECT_EQ(box.findChildren<QPushButton*>().size(), 2) << "the link and OK, no Cancel";
    box.ShowBox();
    ASSERT_TRUE(box.isVisible());
    QTest::mouseClick(box.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_FALSE(box.testAttribute(Qt::WA_DeleteOnClose));
    box.ShowBox();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    box.ShowBox();
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(m_launcher.opened.isEmpty());
}

TEST_F(AboutDialogTest, TextsThatLookLikeMarkupAreShownAsTheyAre) {
    fixtures::LanguageFileFixture file(
        "[LANGUAGE]\nlanguage=1\n[ENGINSH]\nGUANYU_JIESHAO=<b>bold</b>\n");
    TextTable texts(file.FilePath());
    CAboutDlg box(texts, m_launcher, "");
    EXPECT_EQ(box.IntroText()->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.IntroText()->text(), "<b>bold</b>");
    EXPECT_TRUE(box.CopyrightText()->text().isEmpty());
    QTest::mouseClick(box.LinkButton(), Qt::LeftButton);
    EXPECT_TRUE(m_launcher.opened.isEmpty());
}

}  // namespace
}  // namespace korvel
