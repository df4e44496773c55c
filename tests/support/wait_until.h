#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace korvel::test {

// Polls until `done` holds or five seconds pass; threads in these tests react within
// milliseconds, the bound only keeps a broken build from hanging.
inline bool WaitUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace korvel::test
