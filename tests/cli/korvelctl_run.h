#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"

namespace korvel::cli::test {

// One in-process run of korvelctl: its exit status and what it wrote to each stream.
struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome Korvelctl(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace korvel::cli::test
