#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "gui/platform/single_instance.h"
#include "gui/platform/window_messages.h"

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

// A plain socket descriptor, closed when it goes.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd;
};

sockaddr_un AddressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    EXPECT_LT(static_cast<std::size_t>(bytes.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, bytes.constData(),
                std::min(static_cast<std::size_t>(bytes.size()), sizeof(address.sun_path) - 1));
    return address;
}

// A connection to the copy listening at `path`, made as any other copy of the program would.
int ConnectRaw(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = AddressOf(path);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteRaw(int fd, const QByteArray& bytes) {
    return ::send(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL) ==
           bytes.size();
}

// One message as it travels: the message and the tag, each a big-endian 32-bit number.
QByteArray Wire(quint32 message, quint32 tag) {
    QByteArray bytes;
    for (const quint32 value : {message, tag}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.append(static_cast<char>((value >> shift) & 0xFF));
        }
    }
    return bytes;
}

// Handles what is already waiting, without waiting for more.
void HandlePendingEvents() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

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

// Before any application object: a start only hands its wish over when a copy runs, and
// "/Kill" always ends the start.
TEST_F(SingleInstanceTest, HandingOverBeforeTheApplicationIsBuilt) {
    EXPECT_FALSE(SingleInstance::HandOver(false, Name())) << "nobody runs: this start runs";
    EXPECT_TRUE(SingleInstance::HandOver(true, Name())) << "/Kill ends even with nobody to close";

    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    QSignalSpy kills(&first, &SingleInstance::killRequested);
    EXPECT_TRUE(SingleInstance::HandOver(false, Name()));
    ASSERT_TRUE(opens.wait(2000));
    EXPECT_TRUE(SingleInstance::HandOver(true, Name()));
    ASSERT_TRUE(kills.wait(2000));
    EXPECT_EQ(opens.count(), 1);
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
        EXPECT_TRUE(QFile::exists(Name()));
    }
    EXPECT_FALSE(QFile::exists(Name()));
    SingleInstance next(Name());
    EXPECT_EQ(next.Claim(false), SingleInstance::Outcome::Run);
}

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

TEST_F(SingleInstanceTest, AServerLeftByACrashedCopyDoesNotHoldUpTheSender) {
    LeaveStaleSocket(Name());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(SingleInstance::SendToRunning(Name(), kMsgOpenMainWindow, kTagOpen));
    EXPECT_LT(timer.elapsed(), 500);
}

TEST_F(SingleInstanceTest, AFileThatIsNoSocketIsLeftAlone) {
    {
        QFile file(Name());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("notes");
    }
    SingleInstance first(Name());
    EXPECT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    EXPECT_FALSE(first.IsListening());
    QFile file(Name());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("notes"));
}

TEST_F(SingleInstanceTest, TheSocketFileIsTheUsersAlone) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(Name()).constData(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(SingleInstanceTest, AMessageTravelsAsTwoBigEndianNumbers) {
    const Fd server(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_un address = AddressOf(Name());
    ASSERT_EQ(::bind(server.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
              0);
    ASSERT_EQ(::listen(server.Get(), 4), 0);

    // The connection waits in the queue with its bytes, so nothing here blocks.
    ASSERT_TRUE(SingleInstance::SendToRunning(Name(), kMsgKillMainWindow, kTagKill));
    const Fd accepted(::accept(server.Get(), nullptr, nullptr));
    ASSERT_GE(accepted.Get(), 0);
    QByteArray bytes(16, '\0');
    const ssize_t n = ::recv(accepted.Get(), bytes.data(), 16, MSG_WAITALL);
    ASSERT_EQ(n, 8) << "one message, then the sender closes";
    bytes.truncate(8);
    EXPECT_EQ(bytes, QByteArray::fromHex("00004d4b4c4c494b"));
}

TEST_F(SingleInstanceTest, TwoMessagesInOneConnectionAreBothHeard) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy messages(&first, &SingleInstance::messageReceived);
    QSignalSpy kills(&first, &SingleInstance::killRequested);

    const Fd client(ConnectRaw(Name()));
    ASSERT_GE(client.Get(), 0);
    ASSERT_TRUE(WriteRaw(client.Get(),
                         Wire(kMsgOpenMainWindow, kTagOpen) + Wire(kMsgKillMainWindow, kTagKill)));
    ASSERT_TRUE(kills.wait(2000));
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.at(0).at(0).toInt(), kMsgOpenMainWindow);
    EXPECT_EQ(messages.at(0).at(1).value<quint32>(), kTagOpen);
    EXPECT_EQ(messages.at(1).at(0).toInt(), kMsgKillMainWindow);
    EXPECT_EQ(messages.at(1).at(1).value<quint32>(), kTagKill);
}

TEST_F(SingleInstanceTest, AMessageInTwoPiecesIsHeardOnceWhole) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy messages(&first, &SingleInstance::messageReceived);
    QSignalSpy opens(&first, &SingleInstance::openRequested);

    const Fd client(ConnectRaw(Name()));
    ASSERT_GE(client.Get(), 0);
    const QByteArray bytes = Wire(kMsgOpenMainWindow, kTagOpen);
    ASSERT_TRUE(WriteRaw(client.Get(), bytes.left(3)));
    // The first piece is read on its own before the rest is sent.
    HandlePendingEvents();
    EXPECT_EQ(messages.count(), 0);
    ASSERT_TRUE(WriteRaw(client.Get(), bytes.mid(3)));
    ASSERT_TRUE(opens.wait(2000));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.at(0).at(1).value<quint32>(), kTagOpen);
}

TEST_F(SingleInstanceTest, AMessageCutShortIsDroppedQuietly) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy messages(&first, &SingleInstance::messageReceived);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    {
        const Fd client(ConnectRaw(Name()));
        ASSERT_GE(client.Get(), 0);
        ASSERT_TRUE(WriteRaw(client.Get(), Wire(kMsgKillMainWindow, kTagKill).left(5)));
    }
    HandlePendingEvents();
    ASSERT_TRUE(SingleInstance::SendToRunning(Name(), kMsgOpenMainWindow, kTagOpen));
    ASSERT_TRUE(opens.wait(2000));
    HandlePendingEvents();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.at(0).at(0).toInt(), kMsgOpenMainWindow);
    EXPECT_TRUE(first.IsListening());
}

TEST_F(SingleInstanceTest, AConnectionThatSendsNothingHoldsUpNobody) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    QSignalSpy opens(&first, &SingleInstance::openRequested);

    const Fd silent(ConnectRaw(Name()));
    ASSERT_GE(silent.Get(), 0);
    HandlePendingEvents();
    SingleInstance second(Name());
    EXPECT_EQ(second.Claim(false), SingleInstance::Outcome::Exit);
    EXPECT_TRUE(opens.wait(2000));
}

TEST_F(SingleInstanceTest, OnlyTheCopyThatMadeTheFileRemovesIt) {
    SingleInstance first(Name());
    ASSERT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    {
        SingleInstance second(Name());
        EXPECT_EQ(second.Claim(false), SingleInstance::Outcome::Exit);
    }
    EXPECT_TRUE(QFile::exists(Name()));
    EXPECT_TRUE(SingleInstance::SendToRunning(Name(), kMsgOpenMainWindow, kTagOpen));

    // A copy whose file was replaced in the meantime leaves the new one alone when it ends.
    auto older = std::make_unique<SingleInstance>(Name() + QStringLiteral("-2"));
    ASSERT_EQ(older->Claim(false), SingleInstance::Outcome::Run);
    ASSERT_TRUE(QFile::remove(older->ServerName()));
    SingleInstance newer(older->ServerName());
    ASSERT_EQ(newer.Claim(false), SingleInstance::Outcome::Run);
    older.reset();
    EXPECT_TRUE(SingleInstance::SendToRunning(newer.ServerName(), kMsgOpenMainWindow, kTagOpen));
}

TEST_F(SingleInstanceTest, ANameTooLongForASocketRunsWithoutListening) {
    const QString name = m_folder.filePath(QString(120, QLatin1Char('h')));
    SingleInstance first(name);
    EXPECT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
    EXPECT_FALSE(first.IsListening());
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_FALSE(SingleInstance::SendToRunning(name, kMsgOpenMainWindow, kTagOpen));
}

TEST_F(SingleInstanceTest, ANameThatIsNotAPathLivesInTheTemporaryFolder) {
    const QByteArray previous = qgetenv("TMPDIR");
    const bool hadPrevious = qEnvironmentVariableIsSet("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_folder.path()));
    {
        SingleInstance first(QStringLiteral("halvorn-relative"));
        EXPECT_EQ(first.Claim(false), SingleInstance::Outcome::Run);
        EXPECT_TRUE(first.IsListening());
        EXPECT_TRUE(QFile::exists(m_folder.filePath(QStringLiteral("halvorn-relative"))));
        SingleInstance second(QStringLiteral("halvorn-relative"));
        EXPECT_EQ(second.Claim(false), SingleInstance::Outcome::Exit);
    }
    if (hadPrevious) {
        qputenv("TMPDIR", previous);
    } else {
        qunsetenv("TMPDIR");
    }
}

TEST(SingleInstanceName, IsHalvorn) {
    EXPECT_TRUE(SingleInstance::DefaultServerName().endsWith(QLatin1String("Halvorn")));
}

}  // namespace
}  // namespace korvel
