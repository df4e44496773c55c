#pragma once

namespace korvel {

// A program that talks to the keyboard itself (korvelctl) must not leave it inside a transaction:
// once HoldQuitSignalsInTransactions() has run, SIGINT, SIGTERM and SIGHUP that arrive between
// TransactionBegins() and TransactionEnds() end the program only when the transaction has ended
// (its end is on the wire); outside a transaction they end it at once, as by default.
void HoldQuitSignalsInTransactions();
// Installs `handler` for SIGINT, SIGTERM and SIGHUP (restarting interrupted calls); null restores
// their default action.
void HandleQuitSignals(void (*handler)(int));
// Called by the keyboard's begin and end commands; transactions do not nest.
void TransactionBegins();
void TransactionEnds();

}  // namespace korvel
