#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace korvel {

// One running copy of the program. The first copy listens on a local socket; a later copy
// connects, hands over its wish (show the window, or close) and ends. Each wish is 8 bytes: the
// message and its tag, as two big-endian 32-bit numbers.
//
// Threads: the GUI thread only; requests arrive through the event loop.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        // This is the copy that runs (it listens, unless the platform refused the server).
        Run,
        // Another copy was told what to do, or "/Kill" found nothing to close: end with code 0.
        Exit,
    };

    // `serverName` is the path of the socket file; a name that is not absolute lies in the
    // temporary folder. Tests give names of their own so that two "copies" can meet inside one
    // process.
    explicit SingleInstance(QString serverName = DefaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // "Halvorn", in the user's runtime folder where the platform has one, so that the copies of
    // two users logged in at once do not meet.
    static QString DefaultServerName();

    // Settles the start: with `kill`, sends the running copy the kill message and always says
    // Exit; otherwise sends the open message to a running copy (Exit) or becomes the running copy
    // (Run). A server left behind by a copy that crashed is removed first.
    Outcome Claim(bool kill);

    bool IsListening() const;
    const QString& ServerName() const { return m_serverName; }

    // Before any application object exists: "/Kill" sends the kill message to a running copy
    // (true: this start ends, whether or not one answered); a plain start sends the open message
    // (true when a running copy took it). False: this start goes on to Claim and runs. Needs no
    // display, so that a start from a script or at logout only hands its wish over.
    static bool HandOver(bool kill, const QString& serverName = DefaultServerName());

    // Sends one message to the copy listening on `serverName`; false when none answered.
    static bool SendToRunning(const QString& serverName, int message, std::uint32_t tag);

signals:
    // Every message another copy sent, as it came; the main window routes it by number and tag.
    void messageReceived(int message, quint32 tag);
    // The messages with their right tags: show the main window, and close the program.
    void openRequested();
    void killRequested();

private:
    struct Connection;
    struct Server;

    void AcceptConnections();
    void ReadFrom(Connection* connection);
    void Deliver(std::uint32_t message, std::uint32_t tag);

    QString m_serverName;
    std::unique_ptr<Server> m_server;
};

}  // namespace korvel
