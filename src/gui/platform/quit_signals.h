#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvel {

// SIGTERM, SIGINT and SIGHUP (logout, a closed terminal, `kill`) end the program as the kill
// message does: the handler only writes a byte into a socket pair, and quitRequested() is emitted
// on the GUI thread, where the window ends its transaction and saves before it exits.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    // False when the socket pair or the handlers could not be set up (the signals then end the
    // program at once, as before).
    bool Watching() const { return m_notifier != nullptr; }

signals:
    void quitRequested(int signal);

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace korvel
