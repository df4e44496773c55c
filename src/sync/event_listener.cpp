#include "sync/event_listener.h"

#include <vector>

#include "device/keyboard_identity.h"
#include "model/keys/key_codes.h"

namespace korvel {

EventListener::EventListener(HidBackend& backend, MainWindowLink& window, ListenerTimings timings)
    : m_backend(backend), m_window(window), m_timings(timings), m_device(backend) {}

EventListener::~EventListener() {
    Stop();
}

void EventListener::Start() {
    m_worker.Start([this] { Run(); });
}

void EventListener::RequestStop() {
    m_worker.RequestStop();
    // Set even when no read waits yet: the next read sees it at once.
    m_device.Cancel();
}

void EventListener::Stop() {
    RequestStop();
    m_worker.Stop();
    m_device.Close();
    ReapStatusThreads(true);
}

void EventListener::Run() {
    while (!m_worker.Stopping()) {
        if (!m_device.Enumerate()) {
            m_ended.store(true);
            return;
        }
        if (OpenNextKeyboardCollection(m_device, kEventUsagePage, kEventUsage, false)) {
            Listen();
            m_device.Close();
        }
        m_device.ReleasePaths();
        ReapStatusThreads(false);
        if (!m_worker.Sleep(m_timings.search)) {
            return;
        }
    }
}

void EventListener::Listen() {
    std::vector<std::uint8_t> report(
        std::max<std::size_t>(m_device.Capabilities().inputReportByteLength, 1));
    m_listening.store(true);
    while (!m_worker.Stopping()) {
        std::size_t count = 0;
        if (!m_device.ReadReport(report.data(), report.size(), &count, ReportChannel::kInfinite)) {
            break;
        }
        if (!m_device.UnpackInput(std::span<const std::uint8_t>(report.data(), count))) {
            continue;
        }
        const auto& items = m_device.InputItems();
        if (!items.empty()) {
            const HidDataItem& first = items.front();
            OnEvent(first.isButton ? (first.usageList.empty() ? 0 : first.usageList.front())
                                   : first.usage);
        }
    }
    m_listening.store(false);
}

void EventListener::OnEvent(std::uint16_t code) {
    if (m_observer) {
        m_observer(code);
    }
    switch (code) {
        case kEventLightingChanged:
            m_window.StartLightingRefresh();
            break;
        case kEventStateStarted:
        case kEventStateEnded: {
            std::lock_guard lock(m_statusMutex);
            ReapStatusThreadsLocked(false);
            StatusThread& entry = m_statusThreads.emplace_back();
            const bool eventIcon = code == kEventStateStarted;
            const std::uint64_t ticket = m_nextTicket++;
            entry.thread = std::thread([this, &entry, eventIcon, ticket] {
                StatusUpdate(eventIcon, ticket);
                entry.done.store(true);
            });
            break;
        }
        default:
            if (const int slot = GKeySlotOfCode(code); slot != 0 && m_gKeys) {
                m_gKeys(slot);
            }
            break;
    }
}

void EventListener::StatusUpdate(bool eventIcon, std::uint64_t ticket) {
    // Both waits end at once when the listener is stopped, so Stop never waits out a hold.
    while (m_serving.load() != ticket) {
        if (!m_worker.Sleep(m_timings.busyPoll)) {
            return;
        }
    }
    m_window.ShowTrayState(eventIcon, 0);
    m_worker.Sleep(m_timings.statusHold);
    m_serving.store(ticket + 1);
}

void EventListener::ReapStatusThreads(bool all) {
    std::lock_guard lock(m_statusMutex);
    ReapStatusThreadsLocked(all);
}

void EventListener::ReapStatusThreadsLocked(bool all) {
    for (auto it = m_statusThreads.begin(); it != m_statusThreads.end();) {
        if (all || it->done.load()) {
            it->thread.join();
            it = m_statusThreads.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace korvel
