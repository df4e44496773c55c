#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace korvel::fixtures {

// A D-Bus daemon of the test's own, so that nothing reaches the user's session bus: the window's
// service and the stand-ins for the screen saver and logind meet there.
class PrivateBus {
public:
    PrivateBus() {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty()) {
            return;
        }
        m_daemon.start(daemon, {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (m_daemon.waitForReadyRead(5000)) {
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        for (const QString& name : m_names) {
            QDBusConnection::disconnectFromBus(name);
        }
        m_daemon.kill();
        m_daemon.waitForFinished(2000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool Running() const { return !m_address.isEmpty(); }
    // A connection of its own to the daemon, under `name`.
    QDBusConnection Connect(const QString& name) {
        m_names << name;
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};

}  // namespace korvel::fixtures
