#include <gtest/gtest.h>

#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#endif

#include "gui/shell/single_instance.h"
#include "gui/shell/window_messages.h"

namespace korvel {
namespace {

// Each test has a server name of its own, in a folder of its own, so that tests never meet the
// program itself or each other.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString Name() const { return m_folder.filePath(QStringLiteral("halvorn")); }

    QTemporaryDir m_folder;
};

TEST_F(SingleInstanceTest, TheFirstCopyRuns) {
    SingleInstance first(Name());
    EXPECT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    EXPECT_TRUE(first.IsListening());
}

TEST_F(SingleInstanceTest, ASecondCopyShowsTheFirstAndEnds) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy messages(&first, &SingleInstance::messageReceived);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    QSignalSpy kills(&first, &SingleInstance::killRequested);

    SingleInstance second(Name());
    EXPECT_EQ(second.Claim(false), SingleInstance::Outcome::Exit);
    EXPECT_FALSE(second.IsListening());

    ASSERT_TRUE(opens.wait(2000));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.at(0).at(0).toInt(), kMsgOpenMainWindow);
    EXPECT_EQ(messages.at(0).at(1).value<quint32>(), kTagOpen);
    EXPECT_EQ(kills.count(), 0);
    EXPECT_TRUE(first.IsListening());
}

TEST_F(SingleInstanceTest, KillClosesTheFirstAndEnds) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy messages(&first, &SingleInstance::messageReceived);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    QSignalSpy kills(&first, &SingleInstance::killRequested);

    SingleInstance second(Name());
    EXPECT_EQ(second.Claim(true), SingleInstance::Outcome::Exit);

    ASSERT_TRUE(kills.wait(2000));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.at(0).at(0).toInt(), kMsgKillMainWindow);
    EXPECT_EQ(messages.at(0).at(1).value<quint32>(), kTagKill);
    EXPECT_EQ(opens.count(), 0);
}

TEST_F(SingleInstanceTest, KillWithNothingRunningEndsWithoutStarting) {
    SingleInstance lone(Name());
    EXPECT_EQ(lone.Claim(true), SingleInstance::Outcome::Exit);
    EXPECT_FALSE(lone.IsListening());
    // And the name stays free for the next real start.
    SingleInstance next(Name());
    EXPECT_EQ(next.Claim(false), SingleInstance::Outcome::Run);
}

TEST_F(SingleInstanceTest, AWrongTagIsPassedOnButAsksForNothing) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy messages(&first, &SingleInstance::messageReceived);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    QSignalSpy kills(&first, &SingleInstance::killRequested);

    ASSERT_TRUE(SingleInstance::SendToRunning(Name(), kMsgOpenMainWindow, kTagKill));
    ASSERT_TRUE(SingleInstance::SendToRunning(Name(), kMsgKillMainWindow, kTagOpen));
    ASSERT_TRUE(messages.wait(2000));
    while (messages.count() < 2 && messages.wait(2000)) {
    }
    EXPECT_EQ(messages.count(), 2);
    EXPECT_EQ(opens.count(), 0);
    EXPECT_EQ(kills.count(), 0);
}

TEST_F(SingleInstanceTest, ManyLaterCopiesAreAllHeard) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    for (int i = 0; i < 5; ++i) {
        SingleInstance later(Name());
        EXPECT_EQ(later.Claim(false), SingleInstance::Outcome::Exit);
    }
    while (opens.count() < 5 && opens.wait(2000)) {
    }
    EXPECT_EQ(opens.count(), 5);
}

TEST_F(SingleInstanceTest, TheNameIsFreeAgainWhenTheFirstCopyEnds) {
    {
        SingleInstance first(Name());
        ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    }
    SingleInstance next(Name());
    EXPECT_EQ(next.Claim(false), SingleInstance::Outcome::Run);
}

#ifdef Q_OS_UNIX
// What a copy that crashed leaves behind: a socket file that nobody listens on.
void LeaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    ASSERT_LT(static_cast<std::size_t>(bytes.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST_F(SingleInstanceTest, AServerLeftByACrashedCopyIsTakenOver) {
    LeaveStaleSocket(Name());
    ASSERT_TRUE(QFile::exists(Name()));

    SingleInstance first(Name());
    EXPECT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    ASSERT_TRUE(first.IsListening());

    QSignalSpy opens(&first, &SingleInstance::openRequested);
    SingleInstance second(Name());
    EXPECT_EQ(second.Claim(false), SingleInstance::Outcome::Exit);
    EXPECT_TRUE(opens.wait(2000));
}
#endif

TEST(SingleInstanceName, IsHalvorn) {
    EXPECT_TRUE(SingleInstance::DefaultServerName().endsWith(QLatin1String("Halvorn")));
}

}  // namespace
}  // namespace korvel
