#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ports/main_window_link.h"
#include "support/wait_until.h"

namespace korvel::test {

// A main window that writes down what the device threads ask of it, keeps the tray icon the way
// the real window does, and notices two tray updates running at once.
class RecordingWindow : public MainWindowLink {
public:
    void SendReloadFromKeyboard() override { Add("reload"); }
    void SendKeyboardGone() override { Add("gone"); }
    void PostOpenMainWindow() override { Add("open"); }
    void HideMainWindow() override { Add("hide"); }
    bool IsReady() const override { return ready.load(); }
    void StartLightingRefresh() override { Add("lighting"); }

    void ShowTrayState(bool eventIcon, std::uint16_t icon) override {
        if (++m_inTray > 1) {
            overlapped.store(true);
        }
        std::this_thread::sleep_for(trayDelay);
        {
            std::lock_guard lock(m_mutex);
            if (eventIcon) {
                m_shown = kIconKeyboardEvent;
            } else if (icon != 0) {
                m_shown = icon;
                m_lastChosen = icon;
            } else {
                m_shown = m_lastChosen;
            }
            m_events.push_back("tray " + std::to_string(m_shown));
        }
        --m_inTray;
    }

    std::vector<std::string> Events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_events.clear();
    }

    std::atomic<bool> ready{true};
    std::atomic<bool> overlapped{false};
    std::chrono::milliseconds trayDelay{0};

private:
    void Add(std::string event) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
    std::uint16_t m_shown = 0;
    std::uint16_t m_lastChosen = 0;
    std::atomic<int> m_inTray{0};
};

}  // namespace korvel::test
