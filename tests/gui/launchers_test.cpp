#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "gui/platform/launchers.h"
#include "gui/recording_launcher.h"
#include "text/app_paths.h"

namespace korvel {
namespace {

class LaunchersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_program.isValid()); }

    AppPaths Paths() const {
        return AppPaths(m_program.path().toStdU16String(),
                        (m_program.path() + "/Documents").toStdU16String());
    }
    void MakeFile(const QString& relative, QFile::Permissions permissions) {
        const QString path = m_program.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        ASSERT_TRUE(file.setPermissions(permissions));
    }

    QTemporaryDir m_program;
    fixtures::RecordingLauncher m_launcher;
};

TEST_F(LaunchersTest, HelpOpensTheHelpFile) {
    MakeFile("Help/index.html", QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(ShowHelp(m_launcher, Paths()));
    ASSERT_EQ(m_launcher.opened.size(), 1);
    EXPECT_EQ(m_launcher.opened[0], QUrl::fromLocalFile(m_program.filePath("Help/index.html")));
    EXPECT_TRUE(m_launcher.started.isEmpty());
}

TEST_F(LaunchersTest, MissingHelpIsQuietlyLeftAlone) {
    EXPECT_FALSE(ShowHelp(m_launcher, Paths()));
    EXPECT_TRUE(m_launcher.opened.isEmpty());
}

TEST_F(LaunchersTest, TheCompanionProgramStartsWhenItIsThere) {
    MakeFile(kCompanionProgramName, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(StartCompanionProgram(m_launcher, Paths()));
    ASSERT_EQ(m_launcher.started.size(), 1);
    EXPECT_EQ(m_launcher.started[0], m_program.filePath(kCompanionProgramName));
}

TEST_F(LaunchersTest, AMissingCompanionProgramIsNotStartedOrReported) {
    EXPECT_FALSE(StartCompanionProgram(m_launcher, Paths()));
    EXPECT_TRUE(m_launcher.started.isEmpty());
}

#ifndef _WIN32
TEST_F(LaunchersTest, ACompanionProgramThatCannotRunIsNotStarted) {
    MakeFile(kCompanionProgramName, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(StartCompanionProgram(m_launcher, Paths()));
    EXPECT_TRUE(m_launcher.started.isEmpty());
}
#endif

TEST_F(LaunchersTest, LinkAddresses) {
    EXPECT_TRUE(OpenLinkAddress(m_launcher, "https://korvel.example/support"));
    EXPECT_TRUE(OpenLinkAddress(m_launcher, " www.korvel.example "));
    EXPECT_FALSE(OpenLinkAddress(m_launcher, "   "));
    EXPECT_FALSE(OpenLinkAddress(m_launcher, ""));
    ASSERT_EQ(m_launcher.opened.size(), 2);
    EXPECT_EQ(m_launcher.opened[0], QUrl("https://korvel.example/support"));
    EXPECT_EQ(m_launcher.opened[1].host(), "www.korvel.example");
}

// The default skin's link is the shipped user guide; a skin without a link opens the guide too.
TEST_F(LaunchersTest, LinkPathsAreFilesOfTheDataFolder) {
    const AppPaths paths = Paths();
    const QString guide =
        QUrl::fromLocalFile(QString::fromStdU16String(paths.HelpFile().u16string())).toString();
    EXPECT_EQ(ResolveLinkAddress("Help/index.html", paths), guide);
    EXPECT_EQ(ResolveLinkAddress("  ", paths), guide);
    EXPECT_EQ(ResolveLinkAddress("https://korvel.example/", paths), "https://korvel.example/");
}

}  // namespace
}  // namespace korvel
