#include "base/quit_during_transaction.h"

#include <atomic>
#include <csignal>

namespace korvel {
namespace {

constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<bool> g_inTransaction{false};
std::atomic<int> g_pending{0};

void EndBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnQuitSignal(int signal) {
    if (g_inTransaction.load()) {
        g_pending.store(signal);
        return;
    }
    EndBySignal(signal);
}

}  // namespace

void HandleQuitSignals(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler != nullptr ? handler : SIG_DFL;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kQuitSignals) {
        sigaction(signal, &action, nullptr);
    }
}

void HoldQuitSignalsInTransactions() {
    HandleQuitSignals(OnQuitSignal);
}

void TransactionBegins() {
    g_inTransaction.store(true);
}

void TransactionEnds() {
    g_inTransaction.store(false);
    if (const int signal = g_pending.exchange(0); signal != 0) {
        EndBySignal(signal);
    }
}

}  // namespace korvel
