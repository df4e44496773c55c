#include "gui/platform/quit_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include "base/quit_during_transaction.h"

namespace korvel {
namespace {

int g_pair[2] = {-1, -1};

void OnQuitSignal(int signal) {
    // Only async-signal-safe calls here: one byte into the pair.
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pair[0], &number, 1);
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pair) != 0) {
        g_pair[0] = g_pair[1] = -1;
        return;
    }
    HandleQuitSignals(OnQuitSignal);
    m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::OnReadable);
}

QuitSignals::~QuitSignals() {
    HandleQuitSignals(nullptr);
    delete m_notifier;
    for (int& end : g_pair) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

void QuitSignals::OnReadable() {
    char number = 0;
    if (::read(g_pair[1], &number, 1) == 1) {
        emit quitRequested(number);
    }
}

}  // namespace korvel
