#include <iostream>
#include <string>
#include <vector>

#include "base/quit_during_transaction.h"
#include "cli/run_cli.h"

int main(int argc, char** argv) {
    // Interrupted while the keyboard is inside a transaction, the program ends it first.
    korvel::HoldQuitSignalsInTransactions();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvel::cli::RunCli(args, std::cout, std::cerr);
}
