#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel::fuzz {

// A command line from fuzz bytes: the arguments after the program name, separated by NUL bytes
// (which no real argument can hold).
inline std::vector<std::string> ArgumentsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    if (size == 0) {
        args.clear();
    }
    return args;
}

}  // namespace korvel::fuzz
