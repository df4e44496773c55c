#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "ports/input_injector.h"

namespace korvel::test {

// The computer's input as a list of "down 0x030" / "up 0x030" lines, one per key event.
class RecordingInjector : public InputInjector {
public:
    bool Key(ScanCode key, bool press) override {
        char line[16];
        std::snprintf(line, sizeof line, "%s 0x%03x", press ? "down" : "up", key);
        std::lock_guard lock(m_mutex);
        m_events.emplace_back(line);
        return true;
    }

    std::vector<std::string> Events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_events.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
};

}  // namespace korvel::test
