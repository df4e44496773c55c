#include "gui/platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "base/socket_io.h"
#include "gui/platform/window_messages.h"

namespace korvel {
namespace {

// A running copy answers at once; a copy that takes longer is taken to be gone.
constexpr int kConnectTimeoutMs = 1000;
constexpr std::size_t kMessageBytes = 8;
// The socket file is the user's alone, as the running copy obeys whoever reaches it.
constexpr mode_t kSocketMode = S_IRUSR | S_IWUSR;

using Message = std::array<unsigned char, kMessageBytes>;

// The socket file a server name stands for: a name that is not absolute lies in the temporary
// folder, where earlier versions of the program put it too.
QByteArray SocketPath(const QString& serverName) {
    if (QDir::isAbsolutePath(serverName)) {
        return QFile::encodeName(serverName);
    }
    return QFile::encodeName(QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + serverName);
}

// The address of the socket file `path`; none when the path does not fit sun_path with its
// terminating zero.
std::optional<sockaddr_un> AddressOf(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto size = static_cast<std::size_t>(path.size());
    if (size == 0 || size >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.constData(), size);
    return address;
}

const sockaddr* AsSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

void CloseFd(int fd) {
    // Not repeated after EINTR: the descriptor is released either way.
    if (fd >= 0) {
        ::close(fd);
    }
}

Message Encode(std::uint32_t message, std::uint32_t tag) {
    Message bytes{};
    qToBigEndian<quint32>(message, bytes.data());
    qToBigEndian<quint32>(tag, bytes.data() + 4);
    return bytes;
}

// Connects the blocking socket `fd`, waiting about a second at most. A local connect waits only
// while the running copy's queue of new connections is full; nobody listening fails at once.
bool ConnectWithTimeout(int fd, const sockaddr_un& address) {
    const timeval timeout{kConnectTimeoutMs / 1000, (kConnectTimeoutMs % 1000) * 1000};
    // The send time-out bounds both that wait and the write after it.
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout)) != 0) {
        return false;
    }
    while (::connect(fd, AsSockaddr(address), sizeof(address)) != 0) {
        if (errno == EISCONN) {
            return true;  // an interrupted attempt got through after all
        }
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// A new listening-to-be socket bound to `address`, or -1 with errno set.
int BindSocket(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return -1;
    }
    // Linux gives the socket file the socket's own permissions, so the file is the user's alone
    // from the moment it appears, not only after the chmod that follows the bind.
    ::fchmod(fd, kSocketMode);
    if (::bind(fd, AsSockaddr(address), sizeof(address)) != 0) {
        const int error = errno;
        CloseFd(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Removes what a copy that crashed left at `path`; anything but a socket stays.
void RemoveStaleSocket(const QByteArray& path) {
    struct stat status {};
    if (::lstat(path.constData(), &status) == 0 && S_ISSOCK(status.st_mode)) {
        ::unlink(path.constData());
    }
}

}  // namespace

// One copy that connected; it may send any number of messages, in pieces of any size.
struct SingleInstance::Connection {
    Connection(int descriptor, QObject* owner)
        : fd(descriptor), notifier(new QSocketNotifier(descriptor, QSocketNotifier::Read, owner)) {}
    ~Connection() {
        // Later: the connection is dropped from inside the notifier's own signal.
        notifier->setEnabled(false);
        notifier->deleteLater();
        CloseFd(fd);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int fd;
    QSocketNotifier* notifier;
    // The start of a message whose rest has not arrived yet.
    QByteArray pending;
};

// The listening socket, its file and the connections it accepted.
struct SingleInstance::Server {
    Server(int descriptor, QByteArray socketPath, const struct stat& file, QObject* owner)
        : fd(descriptor),
          path(std::move(socketPath)),
          device(file.st_dev),
          inode(file.st_ino),
          notifier(new QSocketNotifier(descriptor, QSocketNotifier::Read, owner)) {}
    ~Server() {
        connections.clear();
        notifier->setEnabled(false);
        notifier->deleteLater();
        // A later copy may have taken this file for stale and put its own there: that one stays.
        struct stat status {};
        if (::lstat(path.constData(), &status) == 0 && status.st_dev == device &&
            status.st_ino == inode) {
            ::unlink(path.constData());
        }
        CloseFd(fd);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    void Drop(Connection* connection) {
        const auto found =
            std::find_if(connections.begin(), connections.end(),
                         [connection](const auto& c) { return c.get() == connection; });
        if (found != connections.end()) {
            connections.erase(found);
        }
    }

    int fd;
    QByteArray path;
    // The socket file this copy made.
    dev_t device;
    ino_t inode;
    QSocketNotifier* notifier;
    std::vector<std::unique_ptr<Connection>> connections;
};

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultServerName() {
#ifdef Q_OS_UNIX
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        return runtime + QLatin1Char('/') + QLatin1String(kInstanceName);
    }
#endif
    return QLatin1String(kInstanceName);
}

bool SingleInstance::HandOver(bool kill, const QString& serverName) {
    if (kill) {
        SendToRunning(serverName, kMsgKillMainWindow, kTagKill);
        return true;
    }
    return SendToRunning(serverName, kMsgOpenMainWindow, kTagOpen);
}

SingleInstance::Outcome SingleInstance::Claim(bool kill) {
    if (kill) {
        SendToRunning(m_serverName, kMsgKillMainWindow, kTagKill);
        return Outcome::Exit;
    }
    if (m_server != nullptr) {
        return Outcome::Run;
    }
    if (SendToRunning(m_serverName, kMsgOpenMainWindow, kTagOpen)) {
        return Outcome::Exit;
    }
    // Without a server the program still runs; it only cannot be found by a later copy.
    const QByteArray path = SocketPath(m_serverName);
    const std::optional<sockaddr_un> address = AddressOf(path);
    if (!address) {
        return Outcome::Run;
    }
    int fd = BindSocket(*address);
    if (fd < 0 && errno == EADDRINUSE) {
        // Either a copy started at the same moment and won, or the file is left over from a copy
        // that crashed: only a copy that answers is a running one.
        if (SendToRunning(m_serverName, kMsgOpenMainWindow, kTagOpen)) {
            return Outcome::Exit;
        }
        RemoveStaleSocket(path);
        fd = BindSocket(*address);
    }
    if (fd < 0) {
        return Outcome::Run;
    }
    struct stat file {};
    if (::chmod(path.constData(), kSocketMode) != 0 || ::lstat(path.constData(), &file) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        ::unlink(path.constData());
        CloseFd(fd);
        return Outcome::Run;
    }
    m_server = std::make_unique<Server>(fd, path, file, this);
    connect(m_server->notifier, &QSocketNotifier::activated, this,
            &SingleInstance::AcceptConnections);
    return Outcome::Run;
}

bool SingleInstance::IsListening() const {
    return m_server != nullptr;
}

bool SingleInstance::SendToRunning(const QString& serverName, int message, std::uint32_t tag) {
    const std::optional<sockaddr_un> address = AddressOf(SocketPath(serverName));
    if (!address) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const Message encoded = Encode(static_cast<std::uint32_t>(message), tag);
    const bool sent =
        ConnectWithTimeout(fd, *address) && SendAll(fd, encoded.data(), encoded.size());
    CloseFd(fd);
    return sent;
}

void SingleInstance::AcceptConnections() {
    for (;;) {
        const int fd = ::accept4(m_server->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;  // none left (EAGAIN), or none to be had now
        }
        auto connection = std::make_unique<Connection>(fd, this);
        Connection* accepted = connection.get();
        connect(accepted->notifier, &QSocketNotifier::activated, this,
                [this, accepted] { ReadFrom(accepted); });
        m_server->connections.push_back(std::move(connection));
    }
}

void SingleInstance::ReadFrom(Connection* connection) {
    // One read for each call: the notifier calls again while more waits, and a copy that sends
    // without end cannot hold the event loop.
    std::array<char, 512> buffer{};
    const ssize_t n = ::read(connection->fd, buffer.data(), buffer.size());
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
        return;
    }
    if (n > 0) {
        connection->pending.append(buffer.data(), static_cast<qsizetype>(n));
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> messages;
    const auto whole = static_cast<qsizetype>(kMessageBytes);
    qsizetype used = 0;
    for (; connection->pending.size() - used >= whole; used += whole) {
        const char* at = connection->pending.constData() + used;
        messages.emplace_back(qFromBigEndian<quint32>(at), qFromBigEndian<quint32>(at + 4));
    }
    connection->pending.remove(0, used);
    if (n <= 0) {
        // The other copy closed its end (or the connection failed): a message cut short goes too.
        m_server->Drop(connection);
    }
    // A receiver may end this object; nothing of it is touched after that.
    const QPointer<SingleInstance> self(this);
    for (const auto& [message, tag] : messages) {
        if (self.isNull()) {
            return;
        }
        Deliver(message, tag);
    }
}

void SingleInstance::Deliver(std::uint32_t message, std::uint32_t tag) {
    const QPointer<SingleInstance> self(this);
    emit messageReceived(static_cast<int>(message), tag);
    if (self.isNull()) {
        return;
    }
    if (static_cast<int>(message) == kMsgOpenMainWindow && tag == kTagOpen) {
        emit openRequested();
    } else if (static_cast<int>(message) == kMsgKillMainWindow && tag == kTagKill) {
        emit killRequested();
    }
}

}  // namespace korvel
