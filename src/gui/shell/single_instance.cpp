#include "gui/shell/single_instance.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <utility>

#include "gui/shell/window_messages.h"

namespace korvel {
namespace {

// A running copy answers at once; a copy that takes longer is taken to be gone.
constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 1000;
constexpr qint64 kMessageBytes = 8;

}  // namespace

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
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    bool listening = server->listen(m_serverName);
    if (!listening && server->serverError() == QAbstractSocket::AddressInUseError) {
        // Either a copy started at the same moment and won, or the name is left over from a copy
        // that crashed: only a copy that answers is a running one.
        if (SendToRunning(m_serverName, kMsgOpenMainWindow, kTagOpen)) {
            delete server;
            return Outcome::Exit;
        }
        QLocalServer::removeServer(m_serverName);
        listening = server->listen(m_serverName);
    }
    if (!listening) {
        // Without a server the program still runs; it only cannot be found by a later copy.
        delete server;
        return Outcome::Run;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
    return Outcome::Run;
}

bool SingleInstance::IsListening() const {
    return m_server != nullptr && m_server->isListening();
}

bool SingleInstance::SendToRunning(const QString& serverName, int message, std::uint32_t tag) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << static_cast<quint32>(message) << static_cast<quint32>(tag);
    socket.write(bytes);
    const bool written = socket.waitForBytesWritten(kWriteTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(kWriteTimeoutMs);
    }
    return written;
}

void SingleInstance::AcceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            ReadMessage(socket);
            socket->deleteLater();
        });
        // The message may have arrived with the connection itself.
        ReadMessage(socket);
    }
}

void SingleInstance::ReadMessage(QLocalSocket* socket) {
    while (socket->bytesAvailable() >= kMessageBytes) {
        QDataStream in(socket->read(kMessageBytes));
        quint32 message = 0;
        quint32 tag = 0;
        in >> message >> tag;
        emit messageReceived(static_cast<int>(message), tag);
        if (static_cast<int>(message) == kMsgOpenMainWindow && tag == kTagOpen) {
            emit openRequested();
        } else if (static_cast<int>(message) == kMsgKillMainWindow && tag == kTagKill) {
            emit killRequested();
        }
    }
}

}  // namespace korvel
